// SIGINT and SIGTERM for the command-line programs (corvane-record, corvane-station): the signal
// only marks itself, and the event loop runs the program's own stop, so files and ports close as
// on a normal exit.
#pragma once

#include <QObject>
#include <functional>

namespace platform {

// Runs Stop on Context's thread, from the event loop, each time SIGINT or SIGTERM arrives.
// Installs the handlers once per process; false when they could not be installed.
bool OnQuitSignal(QObject* Context, std::function<void()> Stop);

// Whether SIGINT or SIGTERM has arrived since OnQuitSignal: for work that runs before the event
// loop does and checks now and then whether to give up.
bool QuitSignalArrived();

} // namespace platform
