// "The program's own folder": where Settings.ini, Channel.ini, RSettings.ini and msg.wav live.
// Everything that reads or writes those files asks this one function.
#pragma once

#include <QString>

namespace core {

// The marker that makes a tree portable: a file of this name beside the executable.
inline constexpr char PortableMarker[] = "portable";

// The executable's folder when a file named "portable" lies beside it (a portable tree, the build
// tree); otherwise the per-user data folder (QStandardPaths::AppDataLocation, usually
// ~/.local/share/Corvane/Corvane_net_player), created on first use. A writable executable folder
// alone is not enough: an installed program run as root would write into /usr/local/bin.
// Needs a QCoreApplication.
QString ProgramFolder();

// The rule itself, for a given executable folder and per-user data folder.
QString ChooseProgramFolder(const QString& ExecutableFolder, const QString& UserDataFolder);

// The installed program's own read-only data (the "msg.wav" it ships): <prefix>/share/Corvane/
// Corvane_net_player, found from the executable's folder, so that a tree installed under any
// prefix (cmake --install --prefix DIR), or moved, finds it. Needs a QCoreApplication.
QString InstalledDataFolder();
QString InstalledDataFolder(const QString& ExecutableFolder);

// Tests run the program's code against a temporary folder; an empty path restores the default.
void OverrideProgramFolder(const QString& Folder);

} // namespace core
