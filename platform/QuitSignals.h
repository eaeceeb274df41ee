// Unix signals for programs with an event loop: the handler only marks the signal, and the event
// loop runs the program's own reaction, so files and ports close as on a normal exit.
#pragma once

#include <QObject>
#include <functional>

namespace platform {

// Runs Run on Context's thread, from the event loop, each time Signal arrives. Installs the
// handler once per signal and process; false when it could not be installed.
bool OnSignal(int Signal, QObject* Context, std::function<void()> Run);

// Whether Signal has arrived since its handler was installed.
bool SignalArrived(int Signal);

// SIGINT and SIGTERM: runs Stop each time either arrives.
bool OnQuitSignal(QObject* Context, std::function<void()> Stop);

// Whether SIGINT or SIGTERM has arrived since OnQuitSignal: for work that runs before the event
// loop does and checks now and then whether to give up.
bool QuitSignalArrived();

} // namespace platform
