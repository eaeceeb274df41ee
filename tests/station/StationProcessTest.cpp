// The demo station as the rest of the project meets it: a real process on loopback ports.
#include "StationProcess.h"
#include "ChannelTable.h"
#include "IcyTestClient.h"
#include "Mp3Frames.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <csignal>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One HTTP exchange on a fresh connection; returns the whole response.
QByteArray Exchange(quint16 port, const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(15000))
        return {};
    socket.write(request);
    QByteArray response;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(15000))
        response += socket.readAll();
    return response + socket.readAll();
}

QByteArray BodyOf(const QByteArray& response)
{
    return response.mid(response.indexOf("\r\n\r\n") + 4);
}

QByteArray Get(quint16 port, const QByteArray& path)
{
    return Exchange(port, "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
}

// Runs a tool to its end and gives its exit code (-1 when it did not finish).
int RunTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (output)
        *output = process.readAllStandardOutput() + process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

class StationTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(station.Start()) << qPrintable(station.output()); }
    quint16 httpPort() const { return PortOf(station.serverUrl()); }
    StationProcess station;
};
} // namespace

TEST_F(StationTest, ServesOperatorFilesByteForByteAndPicksUpEdits)
{
    const QByteArray url = station.serverUrl();
    EXPECT_TRUE(url.endsWith('/')) << "the message poll appends Settings/Message.ini directly";
    for (const char* name : {"Settings/Channel.ini", "Settings/RSettings.ini",
                             "Settings/Message.ini", "ad.html", "info.html", "about.html"}) {
        const QByteArray onDisk = ReadFile(station.wwwDir() + "/" + name);
        ASSERT_FALSE(onDisk.isEmpty()) << name;
        const QByteArray response = Get(httpPort(), "/" + QByteArray(name));
        EXPECT_TRUE(response.startsWith("HTTP/1.1 200 OK\r\n")) << name;
        EXPECT_EQ(BodyOf(response), onDisk) << name;
    }
    // The start-up fetches put "/" after a base address that already ends in one.
    EXPECT_EQ(BodyOf(Get(httpPort(), "//Settings/Channel.ini")),
              ReadFile(station.wwwDir() + "/Settings/Channel.ini"));

    const QByteArray channels = ReadFile(station.wwwDir() + "/Settings/Channel.ini");
    const QByteArray remote = ReadFile(station.wwwDir() + "/Settings/RSettings.ini");
    EXPECT_TRUE(channels.startsWith("ok\n"));
    EXPECT_TRUE(remote.startsWith("ok\n"));
    EXPECT_TRUE(channels.contains("[Radio]\n") && channels.contains("[TV]\n"));
    for (const QByteArray& radio : station.radioUrls())
        EXPECT_TRUE(channels.contains("=" + radio + "\n")) << radio.constData();
    EXPECT_TRUE(channels.contains("=" + station.tvUrl() + "\n"));
    EXPECT_FALSE(channels.contains('@')) << "every address was filled in";
    for (const char* key :
         {"[AD]\nURL=", "ClickURL=", "[Info]\nTitle=", "[InfoViewer]\nShow=1\nHomePage=",
          "[Message]\nFontSize=", "FontColor="})
        EXPECT_TRUE(remote.contains(key)) << key;
    EXPECT_TRUE(remote.contains("URL=" + url + "ad.html"));

    // The operator edits the message while the station runs; the next fetch has it.
    QFile message(station.wwwDir() + "/Settings/Message.ini");
    ASSERT_TRUE(message.open(QIODevice::WriteOnly | QIODevice::Truncate));
    message.write("Maintenance at noon.\r\nSecond line");
    message.close();
    EXPECT_EQ(BodyOf(Get(httpPort(), "/Settings/Message.ini")),
              "Maintenance at noon.\r\nSecond line");

    // Nothing outside the folder, and calm answers to what is not there.
    EXPECT_TRUE(Get(httpPort(), "/../www/Settings/Channel.ini").startsWith("HTTP/1.1 404"));
    EXPECT_TRUE(Get(httpPort(), "/%2e%2e/%2e%2e/etc/passwd").startsWith("HTTP/1.1 404"));
    EXPECT_EQ(BodyOf(Get(httpPort(), "/Settings/Nothing.ini")), "");
    EXPECT_TRUE(Exchange(httpPort(), "POST /x HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 405"));
    EXPECT_TRUE(Exchange(httpPort(), "nonsense\r\n\r\n").startsWith("HTTP/1.0 400"));
}

TEST_F(StationTest, RadioAnswersTheRecordersRequestWithIcyHeaderAndOneTitlePerSong)
{
    const ChannelSpec& lounge = DemoChannels().first();
    IcyTestClient client;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(client.Connect(PortOf(station.radioUrls().first()), RecorderRequest));
    ASSERT_TRUE(client.ReadHeader());
    EXPECT_TRUE(client.header.startsWith("ICY 200 OK\r\n"));
    EXPECT_TRUE(client.header.contains("\r\nicy-name:" + lounge.name.toUtf8() + "\r\n"));
    EXPECT_TRUE(client.header.contains("\r\nicy-br:128\r\n"));
    EXPECT_TRUE(client.header.contains("\r\ncontent-type:audio/mpeg\r\n"));
    EXPECT_EQ(client.metaInt, 8192);

    // The first block names the song playing; then every song change brings its title.
    ASSERT_TRUE(client.WaitForTitles(3)) << client.titles.size();
    EXPECT_FALSE(client.badBlock);
    QList<QByteArray> known;
    for (const Song& song : lounge.songs)
        known.append(song.streamTitle);
    for (int i = 0; i < client.titles.size(); ++i) {
        EXPECT_TRUE(known.contains(client.titles[i])) << client.titles[i].constData();
        if (i > 0) {
            EXPECT_NE(client.titles[i], client.titles[i - 1])
                << "a title is sent only when it changes";
        }
    }
    EXPECT_GT(client.emptyBlocks, 0);

    // Between two changes lies one whole song (to within one metadata interval): the titles
    // follow the audio, and the audio is the song's own frames.
    const int song = int(known.indexOf(client.titles[1]));
    const qint64 songBytes = QFile(station.mediaDir() + "/" +
                                   QStringLiteral("lounge-%1-%2s-128k-r1.mp3")
                                       .arg(song + 1)
                                       .arg(StationProcess::SongSeconds))
                                 .size();
    ASSERT_GT(songBytes, 0);
    EXPECT_NEAR(double(client.titleAt[2] - client.titleAt[1]), double(songBytes), 8192.0);

    // A station, not a download: no more than real time since connecting plus the start burst.
    const double seconds = double(clock.elapsed()) / 1000.0;
    EXPECT_LT(double(client.audio.size()), (seconds + 2.5) * 128000 / 8 + 8192);
}

TEST_F(StationTest, RadioSendsPlainMp3WhenNoTitlesAreAskedFor)
{
    IcyTestClient client;
    ASSERT_TRUE(client.Connect(PortOf(station.radioUrls()[1]), PlainRequest));
    ASSERT_TRUE(client.ReadHeader());
    EXPECT_TRUE(client.header.startsWith("ICY 200 OK\r\n"));
    EXPECT_FALSE(client.header.contains("icy-metaint")) << client.header.constData();
    ASSERT_TRUE(client.WaitForAudio(40000));
    // Frames follow each other without a byte in between: no metadata was mixed in.
    const Mp3Scan scan = ScanMp3Frames(client.audio);
    EXPECT_EQ(scan.offsets.value(0, -1), 0);
    EXPECT_GT(client.audio.size() - scan.end, -1);
    EXPECT_LT(client.audio.size() - scan.end, 1441) << "at most the last, partly received frame";
    EXPECT_EQ(scan.sampleRate, 44100);
}

TEST_F(StationTest, RadioAndTvDecode)
{
    QByteArray log;
    for (const QByteArray& url : station.radioUrls()) {
        EXPECT_EQ(RunTool("ffmpeg",
                          {"-nostdin", "-v", "error", "-i", QString::fromLatin1(url), "-t", "2",
                           "-f", "null", "-"},
                          &log),
                  0)
            << log.constData();
        EXPECT_EQ(log, "") << url.constData();
    }
    EXPECT_EQ(RunTool("ffmpeg",
                      {"-nostdin", "-v", "error", "-i", QString::fromLatin1(station.tvUrl()), "-t",
                       "3", "-f", "null", "-"},
                      &log),
              0)
        << log.constData();
    EXPECT_EQ(log, "");
    ASSERT_EQ(RunTool("ffprobe",
                      {"-v", "error", "-show_entries", "stream=codec_type", "-of", "csv=p=0",
                       QString::fromLatin1(station.tvUrl())},
                      &log),
              0);
    EXPECT_TRUE(log.contains("video") && log.contains("audio")) << log.constData();
}

TEST_F(StationTest, ServesTwoListenersAtOnceEachOnItsOwn)
{
    const quint16 port = PortOf(station.radioUrls().first());
    IcyTestClient withTitles, plain;
    ASSERT_TRUE(withTitles.Connect(port, RecorderRequest));
    ASSERT_TRUE(plain.Connect(port, PlainRequest));
    ASSERT_TRUE(withTitles.ReadHeader());
    ASSERT_TRUE(plain.ReadHeader());
    ASSERT_TRUE(withTitles.WaitForTitles(1));
    ASSERT_TRUE(plain.WaitForAudio(withTitles.audio.size()));
    EXPECT_EQ(plain.metaInt, 0);
    EXPECT_TRUE(station.WaitForOutput("(2 listening)"));

    // One leaves; the other goes on.
    plain.Close();
    EXPECT_TRUE(station.WaitForOutput("left (1 listening)"));
    const qint64 before = withTitles.audio.size();
    EXPECT_TRUE(withTitles.WaitForAudio(before + 20000));
    EXPECT_FALSE(withTitles.badBlock);
}

TEST(StationSlowListener, IsDroppedWithoutHarmingTheOthers)
{
    // A limit below the TV's start burst (about 175 kB): the burst is queued on purpose and
    // must not count against a listener that reads.
    StationProcess station({"--max-backlog", "65536"});
    ASSERT_TRUE(station.Start()) << qPrintable(station.output());
    const quint16 port = PortOf(station.tvUrl());

    // A listener with a small window that never reads.
    const int stalled = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(stalled, 0);
    const int small = 4096;
    ::setsockopt(stalled, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(stalled, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const QByteArray request = "GET / HTTP/1.0\r\n\r\n";
    ASSERT_EQ(::write(stalled, request.constData(), size_t(request.size())), request.size());

    IcyTestClient reader;
    ASSERT_TRUE(reader.Connect(port, PlainRequest));
    ASSERT_TRUE(reader.ReadHeader());
    // Keep reading while the station notices the stalled one.
    for (int i = 0; i < 300 && !station.output().contains("stopped reading"); ++i) {
        ASSERT_TRUE(reader.ReadSome());
        station.WaitForOutput("stopped reading", 50);
    }
    ASSERT_TRUE(station.output().contains("dropped, it stopped reading"))
        << qPrintable(station.output());
    EXPECT_TRUE(station.output().contains("(1 listening)"));

    const qint64 before = reader.audio.size();
    EXPECT_TRUE(reader.WaitForAudio(before + 100000)) << "the other listener goes on";

    // The stalled one finds its connection ended once it drains what was already sent.
    char buffer[65536];
    ssize_t got = 1;
    timeval timeout{15, 0};
    ::setsockopt(stalled, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    while (got > 0)
        got = ::read(stalled, buffer, sizeof buffer);
    EXPECT_TRUE(got == 0 || errno == ECONNRESET) << got << " " << errno;
    ::close(stalled);
}

TEST(StationLifecycle, StopsCleanlyOnSignalsAndKeepsTheEditedMessage)
{
    QTemporaryDir data;
    for (int signal : {SIGTERM, SIGINT}) {
        StationProcess station({}, data.path());
        ASSERT_TRUE(station.Start()) << qPrintable(station.output());
        const QString messageFile = station.wwwDir() + "/Settings/Message.ini";
        if (signal == SIGTERM) {
            QFile message(messageFile);
            ASSERT_TRUE(message.open(QIODevice::WriteOnly | QIODevice::Truncate));
            message.write("kept across restarts");
        } else {
            EXPECT_EQ(ReadFile(messageFile), "kept across restarts");
            // Channel.ini is written afresh with this run's ports.
            EXPECT_TRUE(
                ReadFile(station.wwwDir() + "/Settings/Channel.ini").contains(station.tvUrl()));
        }
        const quint16 port = PortOf(station.serverUrl());
        EXPECT_TRUE(station.Stop(signal)) << qPrintable(station.output());
        EXPECT_TRUE(station.output().contains("stopped"));
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        EXPECT_FALSE(probe.waitForConnected(2000)) << "the port is closed";
    }
}

TEST(StationLifecycle, SaysSoWhenItsPortIsTaken)
{
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, 0));
    StationProcess station({"--port", QString::number(squatter.serverPort())});
    EXPECT_FALSE(station.Start());
    station.process().waitForFinished(15000);
    EXPECT_EQ(station.process().exitCode(), 1);
    const QString error = QString::fromUtf8(station.process().readAllStandardError());
    EXPECT_TRUE(
        error.contains("cannot listen on 127.0.0.1:" + QString::number(squatter.serverPort())))
        << qPrintable(error);
    EXPECT_TRUE(error.contains("--port"));
}
