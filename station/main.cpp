// corvane-station: the demo operator and its stream servers, on 127.0.0.1 only.
#include "QuitSignals.h"
#include "Station.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

namespace {

void Say(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

// In a portable tree (the build tree: a file "portable" beside the program) next to it, in
// build/station-data, when that is writable; else the user's data folder. An installed station
// run as root must not write into /usr.
QString DefaultDataDir()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString beside = bin.absoluteFilePath(QStringLiteral("../station-data"));
    const QFileInfo parent(QFileInfo(beside).absolutePath());
    const bool portable = QFileInfo(bin.filePath(QStringLiteral("portable"))).isFile();
    if (portable &&
        (QFileInfo(beside).isWritable() || (!QFileInfo::exists(beside) && parent.isWritable())))
        return QDir::cleanPath(beside);
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString DefaultSiteDir()
{
    const QString installed =
        QDir(QCoreApplication::applicationDirPath())
            .absoluteFilePath(QStringLiteral("../share/corvane-station/site"));
    if (QFileInfo(installed).isDir())
        return QDir::cleanPath(installed);
    return QStringLiteral(CORVANE_STATION_SITE_DIR);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-station"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The Corvane demo station: an operator's files, radio channels and a TV channel on "
        "127.0.0.1.\n\nPorts, from the base port P (default 8600):\n"
        "  P      the operator's files (Settings/Channel.ini ...)\n"
        "  P+1..3 ICY radio channels (MP3)\n"
        "  P+4    the TV channel (MPEG-TS)\n"
        "  P+5    an Icecast-style radio channel at /live.mp3\n"
        "  P+6    an HLS radio channel: the live playlist /live.m3u8 and its segments"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(
        {"p", "port"},
        QStringLiteral(
            "Base port: operator files here, channels on the next ports; 0 picks free ports."),
        QStringLiteral("port"), QStringLiteral("8600"));
    const QCommandLineOption dataOption(
        QStringLiteral("data"),
        QStringLiteral("Folder for the served files (www/) and generated media (media/)."),
        QStringLiteral("dir"));
    const QCommandLineOption mediaOption(
        QStringLiteral("media"),
        QStringLiteral("Folder for the generated media (default: <data>/media)."),
        QStringLiteral("dir"));
    const QCommandLineOption siteOption(QStringLiteral("site"),
                                        QStringLiteral("Folder of the shipped operator files."),
                                        QStringLiteral("dir"));
    const QCommandLineOption songOption(
        QStringLiteral("song-seconds"),
        QStringLiteral("Length of each generated song (the HLS radio's: "
                       "whole 2 s segments, at most four)."),
        QStringLiteral("seconds"), QStringLiteral("30"));
    const QCommandLineOption backlogOption(
        QStringLiteral("max-backlog"),
        QStringLiteral("Bytes queued for a listener before it is dropped."),
        QStringLiteral("bytes"), QStringLiteral("524288"));
    parser.addOptions({portOption, dataOption, mediaOption, siteOption, songOption, backlogOption});
    parser.process(app);

    bool portOk = false, songOk = false, backlogOk = false;
    StationOptions options;
    const uint port = parser.value(portOption).toUInt(&portOk);
    options.songSeconds = parser.value(songOption).toInt(&songOk);
    options.limits.maxBacklog = parser.value(backlogOption).toLongLong(&backlogOk);
    if (!portOk || port > 65530 || !songOk || options.songSeconds < 1 ||
        options.songSeconds > 3600 || !backlogOk || options.limits.maxBacklog < 4096) {
        std::fputs("corvane-station: --port takes 0..65530, --song-seconds 1..3600, "
                   "--max-backlog at least 4096\n",
                   stderr);
        return 2;
    }
    options.basePort = quint16(port);
    const QString data = parser.isSet(dataOption) ? parser.value(dataOption) : DefaultDataDir();
    options.wwwDir = QDir(data).absoluteFilePath(QStringLiteral("www"));
    options.mediaDir = parser.isSet(mediaOption)
                           ? QDir().absoluteFilePath(parser.value(mediaOption))
                           : QDir(data).absoluteFilePath(QStringLiteral("media"));
    options.siteDir = parser.isSet(siteOption) ? parser.value(siteOption) : DefaultSiteDir();

    // SIGINT and SIGTERM end the event loop, so the ports close and the process exits cleanly.
    platform::OnQuitSignal(&app, [] { QCoreApplication::quit(); });
    options.stopRequested = [] { return platform::QuitSignalArrived(); };
    Station station(options);
    QObject::connect(&station, &Station::Note, &app, [](const QString& line) { Say(line); });
    QString error;
    if (!station.Start(
            error, [](const QString& line) { Say(QStringLiteral("corvane-station: ") + line); })) {
        if (platform::QuitSignalArrived()) {
            Say(QStringLiteral("corvane-station: stopped"));
            return 0;
        }
        std::fputs(qPrintable(QStringLiteral("corvane-station: %1\n").arg(error)), stderr);
        if (error.contains(QStringLiteral("cannot listen")))
            std::fputs("corvane-station: another station may be running; try another --port\n",
                       stderr);
        return 1;
    }
    Say(station.Describe());
    Say(QStringLiteral("corvane-station: ready (Ctrl-C stops it)"));
    const int result = app.exec();
    Say(QStringLiteral("corvane-station: stopped"));
    return result;
}
