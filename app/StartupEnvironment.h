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
QList<EnvironmentChange>
StartupEnvironmentChanges(bool IsRoot, const std::function<QByteArray(const char*)>& Env);

// Applies StartupEnvironmentChanges to this process.
void PrepareStartupEnvironment();

} // namespace app
