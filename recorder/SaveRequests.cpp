#include "SaveRequests.h"

#include <QSocketNotifier>

#include <csignal>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace recorder {
namespace {

int g_SavePipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop reads the byte.
void OnSaveSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_SavePipe[1], &byte, 1);
}

bool InstallHandler()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_SavePipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = OnSaveSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGUSR1, &action, nullptr) == 0;
}

} // namespace

bool OnSaveRequest(QObject* Context, std::function<void()> Save)
{
    static const bool installed = InstallHandler();
    if (!installed)
        return false;
    auto shared = std::make_shared<std::function<void()>>(std::move(Save));
    auto* signal = new QSocketNotifier(g_SavePipe[0], QSocketNotifier::Read, Context);
    QObject::connect(signal, &QSocketNotifier::activated, Context, [shared] {
        char byte;
        [[maybe_unused]] const auto got = ::read(g_SavePipe[0], &byte, 1);
        (*shared)();
    });
    if (::isatty(STDIN_FILENO)) {
        auto* enter = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, Context);
        QObject::connect(enter, &QSocketNotifier::activated, Context, [shared, enter] {
            char line[256];
            const auto got = ::read(STDIN_FILENO, line, sizeof line);
            if (got <= 0) {
                enter->setEnabled(false); // the terminal is gone: no more lines
                return;
            }
            for (ssize_t i = 0; i < got; ++i)
                if (line[i] == '\n')
                    (*shared)();
        });
    }
    return true;
}

} // namespace recorder
