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
// Unless Verbose, the web engine's own log (errors it recovers from, at every start and exit) is
// kept to fatal errors, where the user has not set its level.
QList<EnvironmentChange>
StartupEnvironmentChanges(bool IsRoot, const std::function<QByteArray(const char*)>& Env,
                          bool UserBusSocketExists, bool Verbose = false);

// Applies StartupEnvironmentChanges to this process and, unless Verbose, keeps Qt's debug and
// informational messages (Qt WebEngine's set-up block, "Sandboxing disabled by user.") off
// standard error: a desktop program says nothing in normal use. Warnings still show.
void PrepareStartupEnvironment(bool Verbose);

} // namespace app
