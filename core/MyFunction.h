// Small routines several windows share (the old "MyFunction" module).
#pragma once

#include <QString>

class QWidget;

namespace platform {
class InetTransfer;
}

namespace core {

// Centres Window on its screen, computed in twips as the windows were designed; a window larger
// than the screen gets a negative top and left.
void CenterForm(QWidget& Window);

// Closes every open window of the program (errors ignored), in the order they end in (see
// EndingOrder), then ends the program.
void UnloadAllForms();

// Ends the program at once, as the splash's double-click does: every open window disappears, every
// fetch a window runs (its InetTransfer children) is cancelled, every event loop is told to stop,
// and nothing further is written.
void EndProgram();

// Fetches ServerURL + "/Settings/" + FileName with Inet (a nested event loop runs meanwhile) and,
// when the body starts with "ok", replaces FileName in the program folder with it, byte for byte.
// The old file stays whole until the new one is complete on disk. Returns whether it was stored.
bool DownloadSettingsFile(platform::InetTransfer& Inet, const QString& FileName);

} // namespace core
