// The recorder's core, its files, its relay and corvane-record, over real sockets on 127.0.0.1
// against a stream server inside the test, with real players (ffmpeg, raw sockets that stall).
#include "IcyStream.h"
#include "Id3Tag.h"
#include "RecorderTestKit.h"
#include "StreamRecorder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace recorder;
using namespace icytest;

namespace {

struct Recorder : ::testing::Test
{
    QTemporaryDir dir;
    TestServer server;
    StreamRecorder rec{0};
    QStringList radio, titles, opened, status;
    bool ended = false, failed = false;

    void SetUp() override
    {
        QObject::connect(&rec, &StreamRecorder::StatusText, [this](auto t) { radio << t; });
        QObject::connect(&rec, &StreamRecorder::StationName, [this](auto t) { radio << t; });
        QObject::connect(&rec, &StreamRecorder::TitleText, [this](auto t) { titles << t; });
        QObject::connect(&rec, &StreamRecorder::FileOpened, [this](auto t) { opened << t; });
        QObject::connect(&rec.Relay(), &RelayServer::StatusText, [this](auto t) { status << t; });
        QObject::connect(&rec, &StreamRecorder::StreamEnded, [this] { ended = true; });
        QObject::connect(&rec, &StreamRecorder::StreamFailed, [this] { failed = true; });
        rec.Tune("127.0.0.1", server.Port());
        ASSERT_TRUE(server.WaitForRequest());
    }
};

} // namespace

// A header that never ends is given up at a bound instead of being buffered without end.
TEST_F(Recorder, EndlessHeadersAreGivenUp)
{
    ASSERT_TRUE(rec.StartRecording(dir.path(), "http.mp3"));
    server.Send("HTTP/1.0 200 OK\r\nicy-metaint:16\r\n");
    const auto junk = QByteArray("StreamTitle='x';\r\n").repeated(64).toStdString();
    qint64 sent = 0;
    while (!server.clientGone && sent < 16 * 1024 * 1024) {
        server.Send(junk);
        sent += qint64(junk.size());
    }
    ASSERT_TRUE(WaitFor([&] { return failed; }));
    EXPECT_EQ(radio, (QStringList{"Connected", "Error ocurred"}));
    EXPECT_TRUE(titles.isEmpty());
    EXPECT_EQ(rec.File().BytesWritten(), 0);
    // Given up soon after the bound, not after megabytes.
    EXPECT_LT(sent, qint64(kMaxHeaderBytes) + 4 * 1024 * 1024);
}

// A new file at each new title, named as the title reads: servers send UTF-8 or, older ones,
// Windows-1252, and either way the labels and the file names show the letters.
TEST_F(Recorder, OneFilePerSongRollsOverOnANewTitleInUtf8OrWindows1252)
{
    rec.SetFileBySong(true);
    ASSERT_TRUE(rec.StartSongRecording(dir.path())); // before any title: the default name
    const std::vector<std::string> texts = {Title("A"),
                                            Title("A"),
                                            "",
                                            Title("../../B/x"),
                                            Title("../../B/x"),
                                            "",
                                            Title("Caf\xc3\xa9 \xe2\x80\x93 C"),
                                            Title("Caf\xe9 \x96 D")};
    const auto stream = BuildStream(2048, int(texts.size()), 1234, [&](int i) { return texts[i]; });
    server.Send(Header(2048, "icy-name:Radio \xc9t\xe9\r\n") + stream.bytes);
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    rec.StopRecording();
    const QString cafe = QString::fromUtf8("Caf\xc3\xa9 \xe2\x80\x93 ");
    EXPECT_EQ(radio.value(1), QString::fromUtf8("Radio \xc3\x89t\xc3\xa9"));
    EXPECT_EQ(titles.mid(titles.size() - 2),
              (QStringList{"Title: '" + cafe + "C'", "Title: '" + cafe + "D'"}));
    ASSERT_EQ(opened.size(), 5) << opened.join("|").toStdString();
    EXPECT_TRUE(opened[0].startsWith("File") && opened[0].endsWith(".mp3"));
    EXPECT_EQ(opened.mid(1), (QStringList{"'A'.mp3", "'.._.._B_x'.mp3", "'" + cafe + "C'.mp3",
                                          "'" + cafe + "D'.mp3"}));
    // Each song file starts at the first audio byte after the block that named it.
    const std::size_t starts[] = {0,
                                  stream.textAt[0],
                                  stream.textAt[2],
                                  stream.textAt[4],
                                  stream.textAt[5],
                                  stream.audio.size()};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(Contents(dir.filePath(opened[i])).toStdString() ==
                    stream.audio.substr(starts[i], starts[i + 1] - starts[i]))
            << i;
}

TEST(RecordingFile, NamesStayInsideTheFolderAndNeverReplaceAFile)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("in");
    QFile earlier(QDir(folder).filePath("Song.mp3"));
    ASSERT_TRUE(QDir().mkdir(folder) && earlier.open(QIODevice::WriteOnly));
    earlier.write("EARLIER");
    earlier.close();
    RecordingFile file;
    for (const QString& title :
         {QString("../../x.mp3"), QString("/etc/passwd"), QString("..\\..\\y"), QString(".."),
          QString("a\nb\tc") + QChar(0x85) + "d.mp3", QString(" ...hidden.mp3"),
          QString("Song.mp3"), QString("Song.mp3"), QString("typed"), QString("typed"),
          QString(300, QChar(0x00e9)) + ".mp3"}) {
        ASSERT_TRUE(file.CreateOutFile(folder, title, "File1")) << title.toStdString();
        ASSERT_TRUE(file.WriteOutFile(title.toStdString()));
    }
    file.CloseOutFile();
    // Too long for the file system: cut with room for " (n)", the extension kept.
    const QString cut = file.FileName();
    EXPECT_TRUE(cut.endsWith(".mp3") && QFile::encodeName(cut).size() <= 255 - 7);
    auto files = QDir(folder).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{"File1", "Song (2).mp3", "Song (3).mp3", "Song.mp3", "_.._x.mp3",
                                  "_.._y", "_etc_passwd", "a_b_c_d.mp3", "hidden.mp3", "typed",
                                  "typed (2)", cut}));
    EXPECT_EQ(Contents(QDir(folder).filePath("Song.mp3")), "EARLIER");
}

TEST_F(Recorder, FfmpegJoinsMidStreamAtAnIntervalBoundary)
{
    const int metaInt = 4096;
    const auto title = [](int i) { return i % 7 == 3 ? Title(std::to_string(i)) : std::string(); };
    const auto stream = BuildStream(metaInt, 200, 100, title);
    ASSERT_TRUE(rec.StartRecording(dir.path(), "rec.mp3"));
    // The player joins after ten and a half intervals, so the next arrival starts mid-interval.
    const std::size_t firstPart = BuildStream(metaInt, 10, 0, title).bytes.size() + metaInt / 2;
    server.Send(Header(metaInt) + stream.bytes.substr(0, firstPart));
    ASSERT_TRUE(WaitFor([&] { return rec.File().BytesWritten() == 10 * metaInt + metaInt / 2; }));

    QProcess ffmpeg;
    const QString out = dir.filePath("player.raw");
    ffmpeg.start("ffmpeg", {"-nostdin", "-loglevel", "error", "-f", "s8", "-i",
                            QString("http://127.0.0.1:%1/").arg(rec.Relay().Port()), "-c", "copy",
                            "-f", "s8", "-y", out});
    ASSERT_TRUE(WaitFor([&] { return rec.Relay().Pending(); }));
    // The rest in pieces that do not respect interval boundaries.
    for (std::size_t at = firstPart; at < stream.bytes.size(); at += 3001)
        server.Send(stream.bytes.substr(at, 3001));
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return ended && rec.Relay().QueuedBytes() == 0; }));
    rec.Relay().DownServer();
    ASSERT_TRUE(WaitFor([&] { return ffmpeg.state() == QProcess::NotRunning; }));
    EXPECT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().toStdString();
    // ffmpeg counted intervals from the header on and took the blocks out itself: what it wrote
    // is the server's audio from an interval boundary after it joined to the end.
    const std::string heard = Contents(out).toStdString();
    ASSERT_LT(heard.size(), stream.audio.size() - 10 * metaInt);
    EXPECT_EQ((stream.audio.size() - heard.size()) % metaInt, 0u);
    EXPECT_TRUE(stream.audio.compare(stream.audio.size() - heard.size(), heard.size(), heard) == 0);
}

// One player at a time, each served the header; one that stalls is dropped and recording goes on.
TEST_F(Recorder, RelayServesOnePlayerAtATimeAndDropsAStalledOne)
{
    ASSERT_TRUE(rec.StartRecording(dir.path(), "rec.mp3"));
    const auto header = Header(0);
    server.Send(header);
    ASSERT_TRUE(WaitFor([&] { return rec.HeaderDone(); }));
    QTcpSocket first, second;
    first.connectToHost(QHostAddress::LocalHost, rec.Relay().Port());
    first.write("GET / HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(WaitFor([&] { return first.bytesAvailable() >= qint64(header.size()); }));
    EXPECT_EQ(first.readAll().toStdString(), header);
    second.connectToHost(QHostAddress::LocalHost, rec.Relay().Port());
    ASSERT_TRUE(WaitFor([&] { return second.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(second.error(), QAbstractSocket::ConnectionRefusedError);
    // Without metadata any arrival is a boundary: the next one is forwarded whole.
    server.Send("MORE");
    ASSERT_TRUE(WaitFor([&] { return first.bytesAvailable() >= 4; }));
    EXPECT_EQ(first.readAll(), "MORE");
    first.disconnectFromHost();
    ASSERT_TRUE(WaitFor([&] { return rec.Relay().Listening(); }));

    // The next player asks and then never reads: nothing is taken from its receive buffer.
    second.setReadBufferSize(1);
    second.connectToHost(QHostAddress::LocalHost, rec.Relay().Port());
    ASSERT_TRUE(second.waitForConnected(15000));
    second.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    second.write("GET / HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(WaitFor([&] { return rec.Relay().Pending() || rec.Relay().Streaming(); }));
    const auto chunk = AudioBytes(256 * 1024, 5);
    qint64 sent = 4;
    while (status.count("Winamp Disconnected") < 2 && sent < 64 * 1024 * 1024) {
        server.Send(chunk);
        sent += qint64(chunk.size());
        ASSERT_LE(rec.Relay().QueuedBytes(), kMaxRelayQueue);
    }
    const QString waiting =
        QString("Waiting for Winamp player open url '127.0.0.1:%1'...").arg(rec.Relay().Port());
    EXPECT_EQ(status, (QStringList{waiting, "Winamp Connected", "Winamp Disconnected", waiting,
                                   "Winamp Connected", "Winamp Disconnected", waiting}));
    EXPECT_TRUE(rec.Relay().Listening());
    ASSERT_TRUE(WaitFor([&] { return rec.File().BytesWritten() == sent; }));
}

// corvane-record as a user runs it: a bad address, a refused connection or an unwritable folder
// is a clear failure that leaves no file; by song until the server ends the stream, every file is
// closed complete and the program ends normally. (SIGTERM is the save-on-signal test's.)
TEST(RecordCommand, FailsClearlyOrRecordsBySongUntilTheStreamEnds)
{
    QTemporaryDir dir;
    const QString refused = "http://127.0.0.1:1/"; // nothing listens there
    const std::pair<QStringList, QString> runs[] = {
        {{"ftp://127.0.0.1:8000/stream", "--dir", dir.path()}, "bad address"},
        {{refused, "--dir", dir.path()}, "refused"},
        {{refused, "--dir", dir.filePath("missing")}, "cannot write to folder"}};
    for (const auto& [arguments, message] : runs) {
        QProcess run;
        run.start(CORVANE_RECORD, arguments);
        ASSERT_TRUE(WaitFor([&] { return run.state() == QProcess::NotRunning; }));
        EXPECT_NE(run.exitCode(), 0);
        const QString err = QString::fromUtf8(run.readAllStandardError());
        EXPECT_TRUE(err.contains(message)) << err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    const auto stream = BuildStream(4096, 12, 77, [](int i) {
        return i % 4 == 0 ? Title("Song " + std::to_string(i / 4)) : std::string();
    });
    TestServer server;
    QProcess run;
    run.start(CORVANE_RECORD, {server.Url(), "--dir", dir.path(), "--by-song"});
    ASSERT_TRUE(server.WaitForRequest());
    server.Send(Header(4096) + stream.bytes);
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return run.state() == QProcess::NotRunning; }));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    EXPECT_TRUE(out.contains("Station: Test FM\nBitrate: 128 Kbps\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("Title: 'Song 0'\n") && out.contains("Title: 'Song 2'\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4) << out.toStdString();
    const auto song = Contents(dir.filePath("'Song 2'.mp3")).toStdString();
    EXPECT_TRUE(song.substr(Id3TagSize(song)) == stream.audio.substr(stream.textAt[2]));
}
