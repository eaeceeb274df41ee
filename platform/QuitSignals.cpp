#include "QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

// One pipe per signal: its handler writes a byte, the event loop reads it.
std::array<std::array<int, 2>, NSIG> g_Pipes;
std::array<volatile std::sig_atomic_t, NSIG> g_Arrived{};
std::array<bool, NSIG> g_Installed{};

// Only async-signal-safe work here.
void OnSignalArrived(int Signal)
{
    g_Arrived[Signal] = 1;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_Pipes[Signal][1], &byte, 1);
}

bool Install(int Signal)
{
    if (g_Installed[Signal])
        return true;
    int ends[2];
    // The read end does not block: a notifier woken without a byte waiting just goes back.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0)
        return false;
    g_Pipes[Signal] = {ends[0], ends[1]};
    struct sigaction action = {};
    action.sa_handler = OnSignalArrived;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(Signal, &action, nullptr) != 0)
        return false;
    g_Installed[Signal] = true;
    return true;
}

} // namespace

bool OnSignal(int Signal, QObject* Context, std::function<void()> Run)
{
    if (Signal <= 0 || Signal >= NSIG || !Install(Signal))
        return false;
    const int readEnd = g_Pipes[Signal][0];
    auto* notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, Context);
    QObject::connect(notifier, &QSocketNotifier::activated, Context,
                     [readEnd, Run = std::move(Run)] {
                         char byte;
                         if (::read(readEnd, &byte, 1) == 1)
                             Run();
                     });
    return true;
}

bool SignalArrived(int Signal)
{
    return Signal > 0 && Signal < NSIG && g_Arrived[Signal] != 0;
}

bool OnQuitSignal(QObject* Context, std::function<void()> Stop)
{
    return OnSignal(SIGINT, Context, Stop) && OnSignal(SIGTERM, Context, std::move(Stop));
}

bool QuitSignalArrived()
{
    return SignalArrived(SIGINT) || SignalArrived(SIGTERM);
}

} // namespace platform
