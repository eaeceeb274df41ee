// The user's language for every window and dialog.
#pragma once

class QCoreApplication;

namespace app {

// Installs the program's translation for the system locale (LANG, LC_MESSAGES, LC_ALL), and Qt's
// own for its stock dialogs, before any window is made. Languages without a file stay English.
void InstallTranslations(QCoreApplication& Application);

} // namespace app
