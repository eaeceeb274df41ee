// "The program's own folder": where Settings.ini, Channel.ini, RSettings.ini and msg.wav live.
// Everything that reads or writes those files asks this one function.
#pragma once

#include <QString>

namespace core {

// The executable's folder when it is writable (a portable install, the build tree); otherwise
// the per-user data folder, created on first use. Needs a QCoreApplication.
QString ProgramFolder();

// Tests run the program's code against a temporary folder; an empty path restores the default.
void OverrideProgramFolder(const QString& Folder);

} // namespace core
