// corvane-record URL [--dir FOLDER] [--by-song] [--name NAME] [--relay] [--reconnect] [--no-tags]
//                    [--save-on-signal] [--ca-file FILE] [--max-bitrate N]
#include "QuitSignals.h"
#include "RecordCommand.h"
#include "SaveRequests.h"

#include <QCoreApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-record"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto parsed = recorder::ParseRecordOptions(app.arguments());
    if (!parsed.help.isEmpty()) {
        out << parsed.help;
        return 0;
    }
    if (!parsed.options) {
        err << "corvane-record: " << parsed.error << Qt::endl;
        return 2;
    }

    recorder::RecordCommand command(*parsed.options, out, err);
    QObject::connect(&command, &recorder::RecordCommand::Finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    // Ctrl-C and SIGTERM stop the recording the normal way: every file is closed.
    platform::OnQuitSignal(&command, [&command] { command.Stop(); });
    if (parsed.options->saveOnSignal &&
        !recorder::OnSaveRequest(&command, [&command] { command.SaveSong(); })) {
        err << "corvane-record: cannot listen for SIGUSR1" << Qt::endl;
        return 1;
    }

    QTimer::singleShot(0, &command, &recorder::RecordCommand::Start);
    return app.exec();
}
