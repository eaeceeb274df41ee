#include "RecordCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSslCertificate>
#include <QTime>

namespace recorder {

ParsedOptions ParseRecordOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Records the ICY stream at URL (http://host:port/) to MP3 files. Stops at the end of the "
        "stream or on Ctrl-C, with every file closed. Icecast and HTTPS stations, mount paths, "
        "redirects, .pls/.m3u playlists and HLS stations (.m3u8) are followed."));
    parser.addPositionalArgument("URL", "stream address, http://host:port/ or "
                                        "http(s)://host[:port]/path");
    const QCommandLineOption dir("dir", "folder for the recordings (default: the current folder)",
                                 "FOLDER", ".");
    const QCommandLineOption bySong("by-song", "one file per song, named after the stream title");
    const QCommandLineOption name(
        "name", "file name of the recording (default: File<seconds since midnight>)", "NAME");
    const QCommandLineOption relay("relay", "serve the stream to one player on 127.0.0.1:8000");
    const QCommandLineOption reconnect(
        "reconnect", "reopen a stream that drops or stalls (waits 1, 2, 4 ... 60 s) until Ctrl-C");
    const QCommandLineOption noTags("no-tags", "no ID3 tags on the song files of MP3 streams");
    const QCommandLineOption saveOnSignal(
        "save-on-signal", "record nothing until SIGUSR1 (or Enter on a terminal), then save the "
                          "current song from its first byte to the next title");
    const QCommandLineOption caFile(
        "ca-file", "also trust the certificate authorities in FILE (PEM) for https", "FILE");
    const QCommandLineOption maxBitrate(
        "max-bitrate", "HLS: record the best variant of at most N kbit/s (default: the best)", "N");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions(
        {dir, bySong, name, relay, reconnect, noTags, saveOnSignal, caFile, maxBitrate});
    const QString tryHelp = QStringLiteral("\nTry 'corvane-record --help'.");
    if (!parser.parse(arguments))
        return {std::nullopt, parser.errorText() + tryHelp, {}};
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        return {std::nullopt, {}, parser.helpText()};
    if (parser.isSet(version))
        return {std::nullopt,
                {},
                QCoreApplication::applicationName() + QLatin1Char(' ') +
                    QCoreApplication::applicationVersion() + QLatin1Char('\n')};
    if (parser.positionalArguments().size() != 1)
        return {std::nullopt, QStringLiteral("one stream address expected") + tryHelp, {}};

    RecordOptions options;
    const QString url = parser.positionalArguments().front();
    options.address = ParseStreamAddress(url);
    if (!options.address.Valid())
        return {std::nullopt,
                QStringLiteral("bad address '%1': expected http://host:port/").arg(url),
                {}};
    options.dir = parser.value(dir);
    options.name = parser.value(name);
    options.bySong = parser.isSet(bySong);
    options.relay = parser.isSet(relay);
    options.reconnect = parser.isSet(reconnect);
    options.tags = !parser.isSet(noTags);
    options.saveOnSignal = parser.isSet(saveOnSignal);
    options.caFile = parser.value(caFile);
    if (parser.isSet(maxBitrate)) {
        bool number = false;
        options.maxBitrate = parser.value(maxBitrate).toULongLong(&number);
        if (!number || options.maxBitrate == 0)
            return {std::nullopt,
                    QStringLiteral("--max-bitrate takes a number of kbit/s, not '%1'")
                        .arg(parser.value(maxBitrate)),
                    {}};
    }
    if (!options.caFile.isEmpty() && QSslCertificate::fromPath(options.caFile).isEmpty())
        return {std::nullopt, QStringLiteral("no certificate in '%1'").arg(options.caFile), {}};
    if (options.saveOnSignal && (options.bySong || !options.name.isEmpty()))
        return {std::nullopt,
                QStringLiteral("--save-on-signal names its files after the songs: no --name or "
                               "--by-song"),
                {}};
    if (options.bySong && !options.name.isEmpty())
        return {std::nullopt, QStringLiteral("--name and --by-song exclude each other"), {}};
    const QFileInfo folder(options.dir);
    if (!folder.isDir() || !folder.isWritable())
        return {std::nullopt, QStringLiteral("cannot write to folder '%1'").arg(options.dir), {}};
    return {options, {}, {}};
}

RecordCommand::RecordCommand(const RecordOptions& options, QTextStream& out, QTextStream& err)
    : m_Options(options), m_Out(out), m_Err(err)
{
    if (!options.relay)
        m_Recorder.DisableRelay();
    auto print = [this](const QString& line) { m_Out << line << Qt::endl; };
    connect(&m_Recorder, &StreamRecorder::StatusText, this, print);
    connect(&m_Recorder, &StreamRecorder::StationName, this,
            [print](const QString& name) { print("Station: " + name); });
    connect(&m_Recorder, &StreamRecorder::BitrateText, this, print);
    connect(&m_Recorder, &StreamRecorder::TitleText, this, print);
    connect(&m_Recorder, &StreamRecorder::FileOpened, this,
            [print](const QString& name) { print("File: " + name); });
    connect(&m_Recorder, &StreamRecorder::SongSaved, this,
            [print](const QString& name) { print("Saved: " + name); });
    connect(&m_Recorder.Relay(), &RelayServer::StatusText, this, print);
    connect(&m_Recorder, &StreamRecorder::NoticeText, this, print);
    connect(&m_Recorder, &StreamRecorder::FileFailed, this, [this](const QString& why) {
        m_Err << "corvane-record: " << why << Qt::endl;
        Finish(1);
    });
    connect(&m_Recorder, &StreamRecorder::HeaderAccepted, this, &RecordCommand::StartRecording);
    connect(&m_Recorder, &StreamRecorder::StreamEnded, this, [this] { Finish(0); });
    connect(&m_Recorder, &StreamRecorder::StreamFailed, this, [this] {
        m_Err << "corvane-record: " << m_Options.address.host << ":" << m_Options.address.port
              << ": " << m_Recorder.ErrorText() << Qt::endl;
        Finish(1);
    });
}

void RecordCommand::Start()
{
    m_Recorder.SetFileBySong(m_Options.bySong);
    m_Recorder.SetReconnect(m_Options.reconnect);
    m_Recorder.SetSongTags(m_Options.tags);
    m_Recorder.SetKeepSong(m_Options.saveOnSignal);
    m_Recorder.Connection().SetMaxBandwidth(m_Options.maxBitrate * 1000);
    if (!m_Options.caFile.isEmpty())
        m_Recorder.Connection().AddCaCertificates(QSslCertificate::fromPath(m_Options.caFile));
    m_Recorder.Tune(m_Options.address);
}

void RecordCommand::StartRecording()
{
    // Only once the server has answered as an ICY server: a refused or wrong address leaves no
    // empty file behind.
    if (m_Options.saveOnSignal)
        return;
    if (m_Options.bySong)
        m_Recorder.StartSongRecording(m_Options.dir);
    else
        m_Recorder.StartRecording(m_Options.dir, m_Options.name.isEmpty()
                                                     ? DefaultFileName(QTime::currentTime())
                                                     : m_Options.name);
}

void RecordCommand::SaveSong()
{
    if (!m_Options.saveOnSignal || !m_Recorder.HeaderDone())
        return;
    m_Recorder.SaveCurrentSong(m_Options.dir);
}

void RecordCommand::Stop()
{
    Finish(0);
}

void RecordCommand::Finish(int exitCode)
{
    if (m_Finished)
        return;
    m_Finished = true;
    m_Recorder.StopRecording();
    emit Finished(exitCode);
}

} // namespace recorder
