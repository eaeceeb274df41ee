// The demo station as the rest of the project meets it: a real process on loopback ports.
#include "StationProcess.h"
#include "ChannelTable.h"
#include "Mp3Frames.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>

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

QByteArray Get(quint16 port, const QByteArray& path)
{
    return Exchange(port, "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
}

// Reads from a listener until it holds at least the given bytes (or nothing more comes).
QByteArray ReadAtLeast(QTcpSocket& socket, qsizetype bytes, QByteArray got = {})
{
    while (got.size() < bytes && socket.waitForReadyRead(15000))
        got += socket.readAll();
    return got;
}

QByteArray BodyOf(const QByteArray& response)
{
    return response.mid(response.indexOf("\r\n\r\n") + 4);
}

// Runs a tool to its end; its output, or "failed" when it did not end with status 0.
QByteArray RunTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    const bool ended = tool.waitForFinished(30000);
    const QByteArray output = tool.readAll();
    return ended && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0 ? output
                                                                                      : "failed";
}

QByteArray HeadOf(const QByteArray& response)
{
    return response.left(response.indexOf("\r\n\r\n") + 2);
}

struct PlaylistEntry
{
    qint64 sequence;
    QByteArray title;
    bool afterTurn;
};

// The live playlist's entries, numbered from its media sequence; empty when it breaks the rules
// the channel keeps (its target, its names).
QList<PlaylistEntry> EntriesOf(const QByteArray& playlist)
{
    const QRegularExpression sequenceTag(QStringLiteral("#EXT-X-MEDIA-SEQUENCE:(\\d+)"));
    const auto match = sequenceTag.match(QString::fromUtf8(playlist));
    if (!playlist.startsWith("#EXTM3U\n") || !playlist.contains("\n#EXT-X-TARGETDURATION:2\n") ||
        playlist.contains("#EXT-X-ENDLIST") || !match.hasMatch())
        return {};
    QList<PlaylistEntry> entries;
    qint64 sequence = match.captured(1).toLongLong();
    bool turn = false;
    QByteArray title;
    for (const QByteArray& line : playlist.split('\n')) {
        if (line == "#EXT-X-DISCONTINUITY")
            turn = true;
        if (line.startsWith("#EXTINF:"))
            title = line.mid(line.indexOf(',') + 1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line != "seg-" + QByteArray::number(sequence) + ".ts")
            return {};
        entries.append({sequence++, title, turn});
        turn = false;
    }
    return entries;
}

class StationTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(station.Start()) << qPrintable(station.output()); }
    quint16 httpPort() const { return PortOf(station.serverUrl()); }
    StationProcess station;
};
} // namespace

TEST_F(StationTest, ServesOperatorFilesByteForByteAndNothingOutsideItsFolder)
{
    const QByteArray url = station.serverUrl();
    EXPECT_TRUE(url.endsWith('/')) << "the address is written as operators write theirs";
    // The start-up fetches put "/" after a base address that already ends in one.
    for (const char* name : {"Settings/Channel.ini", "/Settings/RSettings.ini",
                             "Settings/Message.ini", "ad.html", "info.html", "about.html"}) {
        const QByteArray onDisk = ReadFile(station.wwwDir() + "/" + name);
        ASSERT_FALSE(onDisk.isEmpty()) << name;
        const QByteArray response = Get(httpPort(), "/" + QByteArray(name));
        EXPECT_TRUE(response.startsWith("HTTP/1.1 200 OK\r\n")) << name;
        EXPECT_EQ(BodyOf(response), onDisk) << name;
    }

    // Nothing outside the folder (the first names a file that exists), and an empty body for
    // what is missing: the message poll would show an error page as the operator's message.
    for (const char* bad : {"/../www/Settings/Channel.ini", "/%2e%2e/%2e%2e/etc/passwd",
                            "/Settings/./Channel.ini", "/Settings%5c..%5cSettings/Channel.ini",
                            "/Settings/Channel.ini%00", "x", "/Settings/Nothing.ini"}) {
        const QByteArray response = Get(httpPort(), bad);
        EXPECT_TRUE(response.startsWith("HTTP/1.1 404")) << bad;
        EXPECT_EQ(BodyOf(response), "") << bad;
    }
    EXPECT_TRUE(Exchange(httpPort(), "POST /x HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 405"));
    EXPECT_TRUE(Exchange(httpPort(), "nonsense\r\n\r\n").startsWith("HTTP/1.0 400"));
    // A head that never ends is refused at its limit, not buffered on.
    EXPECT_TRUE(Exchange(httpPort(), QByteArray(8193, 'x')).startsWith("HTTP/1.0 400"));
}

// Two listeners at once; the one that asked for no titles gets plain MP3, frames following each
// other without a byte in between. (The titles themselves are the whole program's recorder test.)
TEST_F(StationTest, ServesTwoListenersAtOnceEachTheWayItAsked)
{
    const quint16 port = PortOf(station.radioUrls().first());
    QTcpSocket withTitles, plain;
    withTitles.connectToHost(QHostAddress::LocalHost, port);
    plain.connectToHost(QHostAddress::LocalHost, port);
    const QByteArray request = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    withTitles.write(request + "Icy-MetaData:1\r\n\r\n");
    plain.write(request + "\r\n");
    const QByteArray titled = ReadAtLeast(withTitles, 40000);
    const QByteArray heard = ReadAtLeast(plain, 40000);
    EXPECT_TRUE(titled.left(titled.indexOf("\r\n\r\n")).contains("icy-metaint:"));
    EXPECT_TRUE(station.WaitForOutput("(2 listening)"));

    const qsizetype start = heard.indexOf("\r\n\r\n") + 4;
    EXPECT_TRUE(heard.startsWith("ICY 200 OK\r\n"));
    EXPECT_FALSE(heard.left(start).contains("icy-metaint")) << heard.left(start).constData();
    const Mp3Scan scan = ScanMp3Frames(heard.mid(start));
    EXPECT_EQ(scan.offsets.value(0, -1), 0);
    EXPECT_LT(heard.size() - start - scan.end, 1441) << "at most the last, partly received frame";

    // One leaves; the other goes on.
    plain.abort();
    EXPECT_TRUE(station.WaitForOutput("left (1 listening)"));
    EXPECT_GE(ReadAtLeast(withTitles, titled.size() + 20000, titled).size(), titled.size() + 20000);
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

// The HLS radio as a player and the recorder meet it: a live window moving on with the clock,
// each entry titled with its song, the loop's turn marked, segments that decode.
TEST_F(StationTest, HlsRadioSlidesItsWindowOverDecodableTitledSegments)
{
    const QByteArray url = station.radioUrls().last();
    ASSERT_TRUE(url.endsWith("/live.m3u8")) << url.constData();
    EXPECT_TRUE(ReadFile(station.wwwDir() + "/Settings/Channel.ini")
                    .contains("\nCorvane HLS Radio=" + url + "\n"));
    const quint16 port = PortOf(url);
    const QByteArray first = Get(port, "/live.m3u8");
    EXPECT_TRUE(first.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(HeadOf(first).contains("\r\nContent-Type: application/vnd.apple.mpegurl\r\n"));
    EXPECT_TRUE(HeadOf(first).contains("\r\nCache-Control: no-cache\r\n"));
    const QList<PlaylistEntry> before = EntriesOf(BodyOf(first));
    ASSERT_EQ(before.size(), 6) << BodyOf(first).constData();

    // A later read moves on by whole segments; what both show is the same.
    QList<PlaylistEntry> after;
    for (QDeadlineTimer deadline(15000); !deadline.hasExpired();) {
        after = EntriesOf(BodyOf(Get(port, "/live.m3u8")));
        if (after.size() != 6 || after.first().sequence > before.first().sequence)
            break;
        QThread::msleep(100);
    }
    ASSERT_EQ(after.size(), 6);
    ASSERT_GT(after.first().sequence, before.first().sequence);
    for (const PlaylistEntry& entry : after) {
        for (const PlaylistEntry& earlier : before) {
            if (earlier.sequence == entry.sequence) {
                EXPECT_EQ(earlier.title, entry.title) << entry.sequence;
            }
        }
    }

    // The tests' short songs make a loop shorter than the window, so a turn is always in it:
    // the last song before it, the first after it, and titles that change from song to song.
    const QList<Song>& songs =
        std::find_if(DemoChannels().begin(), DemoChannels().end(), [](const ChannelPlan& plan) {
            return plan.hls;
        })->songs;
    ASSERT_GE(songs.size(), 2);
    int turns = 0;
    for (qsizetype i = 1; i < after.size(); ++i) {
        EXPECT_NE(after[i].title, after[i - 1].title);
        if (after[i].afterTurn) {
            ++turns;
            EXPECT_EQ(after[i].title, songs.first().streamTitle);
            EXPECT_EQ(after[i - 1].title, songs.last().streamTitle);
        }
    }
    EXPECT_GE(turns, 1);

    const QByteArray newest = "/seg-" + QByteArray::number(after.last().sequence) + ".ts";
    const QByteArray segment = Get(port, newest);
    EXPECT_TRUE(HeadOf(segment).contains("\r\nContent-Type: video/mp2t\r\n"));
    const QString segmentUrl = QString::fromLatin1(url.left(url.lastIndexOf('/')) + newest);
    EXPECT_EQ(RunTool("ffmpeg", {"-nostdin", "-v", "error", "-i", segmentUrl, "-f", "null", "-"}),
              "");
    // The song's title rides along as a timed ID3 tag, a stream of its own in the programme.
    EXPECT_TRUE(RunTool("ffprobe", {"-v", "error", "-show_entries", "stream=codec_name", "-of",
                                    "csv=p=0", segmentUrl})
                    .contains("aac\ntimed_id3\n"));
    const QByteArray title = after.last().title;
    const QByteArray tag = BodyOf(segment).mid(BodyOf(segment).indexOf("ID3\x04"), 200);
    EXPECT_TRUE(tag.contains("TIT2") && tag.contains(title.mid(title.indexOf(" - ") + 3)));
    EXPECT_TRUE(tag.contains("TPE1") && tag.contains(title.left(title.indexOf(" - "))));

    for (const QByteArray& missing :
         {"/seg-" + QByteArray::number(after.last().sequence + 1000) + ".ts",
          QByteArray("/seg--1.ts"), QByteArray("/seg-x.ts"), QByteArray("/live.mp3")})
        EXPECT_TRUE(Get(port, missing).startsWith("HTTP/1.1 404")) << missing.constData();
}
