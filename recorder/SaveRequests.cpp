#include "SaveRequests.h"

#include "QuitSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace recorder {

bool OnSaveRequest(QObject* Context, std::function<void()> Save)
{
    auto shared = std::make_shared<std::function<void()>>(std::move(Save));
    if (!platform::OnSignal(SIGUSR1, Context, [shared] { (*shared)(); }))
        return false;
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
