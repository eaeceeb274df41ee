// What the program sets in its own environment before Qt starts.
#pragma once

#include <QByteArray>
#include <QList>
#include <functional>
#include <utility>

namespace app {

using EnvironmentChange = std::pair<QByteArray, QByteArray>;

// Qt WebEngine refuses to run as root without its sandbox switched off. Under Wayland with an X
// server reachable (XWayland), Qt's xcb platform is preferred, because the windows are placed at
// absolute positions and shaped, which Wayland forbids; a platform the user chose is kept.
// Without a session bus (no address, no per-user bus socket), asking for one would make libdbus
// start a bus daemon on the display that outlives the program: the bus is switched off instead.
QList<EnvironmentChange>
StartupEnvironmentChanges(bool IsRoot, const std::function<QByteArray(const char*)>& Env,
                          bool UserBusSocketExists);

// Applies StartupEnvironmentChanges to this process.
void PrepareStartupEnvironment();

} // namespace app
