#include "QuitSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

int g_SignalPipe[2] = {-1, -1};
volatile std::sig_atomic_t g_Arrived = 0;

// Only async-signal-safe work here: the event loop reads the byte.
void OnSignal(int)
{
    g_Arrived = 1;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_SignalPipe[1], &byte, 1);
}

bool InstallHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_SignalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

} // namespace

bool OnQuitSignal(QObject* Context, std::function<void()> Stop)
{
    static const bool installed = InstallHandlers();
    if (!installed)
        return false;
    auto* notifier = new QSocketNotifier(g_SignalPipe[0], QSocketNotifier::Read, Context);
    QObject::connect(notifier, &QSocketNotifier::activated, Context, [Stop = std::move(Stop)] {
        char byte;
        [[maybe_unused]] const auto got = ::read(g_SignalPipe[0], &byte, 1);
        Stop();
    });
    return true;
}

bool QuitSignalArrived()
{
    return g_Arrived != 0;
}

} // namespace platform
