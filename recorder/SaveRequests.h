// "Save this song" for corvane-record: SIGUSR1 from anywhere, or Enter when it runs on a terminal.
// The signal only marks itself; the save runs from the event loop.
#pragma once

#include <QObject>
#include <functional>

namespace recorder {

// Runs Save on Context's thread each time SIGUSR1 arrives or a line is entered on a terminal's
// standard input. False when the signal handler could not be installed.
bool OnSaveRequest(QObject* Context, std::function<void()> Save);

} // namespace recorder
