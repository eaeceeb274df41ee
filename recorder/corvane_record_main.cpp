// corvane-record URL [--dir FOLDER] [--by-song] [--name NAME] [--relay]
#include "RecordCommand.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_SignalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop picks the signal up from the pipe.
void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] auto written = ::write(g_SignalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << recorder::RecordUsage() << Qt::endl;
        return 0;
    }
    const auto parsed = recorder::ParseRecordOptions(arguments);
    if (!parsed.options) {
        err << "corvane-record: " << parsed.error << Qt::endl;
        return 2;
    }

    recorder::RecordCommand command(*parsed.options, out, err);
    QObject::connect(&command, &recorder::RecordCommand::Finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_SignalPipe) == 0) {
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
    }
    QSocketNotifier signalNotifier(g_SignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &command, [&] {
        char byte;
        [[maybe_unused]] auto got = ::read(g_SignalPipe[0], &byte, 1);
        command.Stop();
    });

    QTimer::singleShot(0, &command, &recorder::RecordCommand::Start);
    return app.exec();
}
