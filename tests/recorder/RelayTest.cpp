// The relay on 127.0.0.1:8000 with real players: ffmpeg, and raw sockets that misbehave.
#include "IcyStream.h"
#include "PortLock.h"
#include "StreamRecorder.h"
#include "TestServer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace recorder;
using icytest::TestServer;
using icytest::WaitFor;

namespace {

struct Relay : ::testing::Test
{
    icytest::PortLock lock;
    QTemporaryDir dir;
    TestServer server;
    StreamRecorder rec;
    QStringList status;
    bool ended = false;

    void SetUp() override
    {
        QObject::connect(&rec.Relay(), &RelayServer::StatusText, [this](auto t) { status << t; });
        QObject::connect(&rec, &StreamRecorder::StreamEnded, [this] { ended = true; });
        rec.Tune("127.0.0.1", server.Port());
        ASSERT_TRUE(server.WaitForRequest());
        ASSERT_TRUE(rec.Relay().Listening());
    }
};

std::unique_ptr<QTcpSocket> Player()
{
    auto player = std::make_unique<QTcpSocket>();
    player->connectToHost(QHostAddress::LocalHost, kRelayPort);
    return player;
}

} // namespace

TEST_F(Relay, FfmpegJoinsMidStreamAtAnIntervalBoundary)
{
    const int metaInt = 4096;
    const auto header = icytest::Header(metaInt);
    const auto stream = icytest::BuildStream(metaInt, 200, 100, [](int i) {
        return i % 7 == 3 ? "StreamTitle='Song " + std::to_string(i) + "';" : std::string();
    });
    ASSERT_TRUE(rec.StartRecording(dir.path(), "rec.mp3"));
    // The player joins after ten and a half intervals, so the next arrival starts mid-interval.
    std::size_t firstPart = metaInt / 2;
    for (int i = 0; i < 10; ++i)
        firstPart += metaInt + icytest::MetaBlock(i % 7 == 3 ? "StreamTitle='Song 3';" : "").size();
    server.Send(header + stream.bytes.substr(0, firstPart));
    ASSERT_TRUE(WaitFor([&] { return rec.File().BytesWritten() == 10 * metaInt + metaInt / 2; }));

    QProcess ffmpeg;
    const QString out = dir.filePath("player.raw");
    ffmpeg.start("ffmpeg", {"-nostdin", "-hide_banner", "-loglevel", "error", "-f", "s8", "-i",
                            "http://127.0.0.1:8000/", "-c", "copy", "-f", "s8", "-y", out});
    ASSERT_TRUE(WaitFor([&] { return rec.Relay().Pending(); }))
        << ffmpeg.readAllStandardError().toStdString();
    EXPECT_EQ(status, (QStringList{"Waiting for Winamp player open url '127.0.0.1:8000'...",
                                   "Winamp Connected"}));

    // The rest in pieces that do not respect interval boundaries.
    for (std::size_t at = firstPart; at < stream.bytes.size(); at += 3001) {
        server.Send(stream.bytes.substr(at, 3001));
        server.WaitSent();
    }
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    ASSERT_TRUE(WaitFor([&] { return rec.Relay().QueuedBytes() == 0; }));
    rec.Relay().DownServer();
    ASSERT_TRUE(WaitFor([&] { return ffmpeg.state() == QProcess::NotRunning; }));
    EXPECT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().toStdString();

    // ffmpeg counted intervals from the header on and took the blocks out itself: what it wrote
    // is the server's audio from an interval boundary to the end.
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const std::string heard = f.readAll().toStdString();
    ASSERT_GT(heard.size(), 100u * metaInt);
    EXPECT_EQ((stream.audio.size() - heard.size()) % metaInt, 0u);
    EXPECT_TRUE(stream.audio.compare(stream.audio.size() - heard.size(), heard.size(), heard) == 0);
    EXPECT_LT(heard.size(), stream.audio.size() - 10 * metaInt);
}

TEST_F(Relay, OnePlayerAtATimeEachServedTheHeader)
{
    const auto header = icytest::Header(0);
    server.Send(header + "AUDIO");
    ASSERT_TRUE(WaitFor([&] { return rec.HeaderDone(); }));

    auto first = Player();
    ASSERT_TRUE(WaitFor([&] { return rec.Relay().PlayerConnected(); }));
    first->write("GET / HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(WaitFor([&] { return first->bytesAvailable() >= qint64(header.size()); }));
    EXPECT_EQ(first->readAll().toStdString(), header);

    auto second = Player();
    ASSERT_TRUE(WaitFor([&] { return second->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(second->error(), QAbstractSocket::ConnectionRefusedError);

    // Without metadata any arrival is a boundary: the next one is forwarded whole.
    server.Send(QByteArray("MORE"));
    ASSERT_TRUE(WaitFor([&] { return first->bytesAvailable() >= 4; }));
    EXPECT_EQ(first->readAll(), "MORE");

    first->disconnectFromHost();
    ASSERT_TRUE(WaitFor([&] { return rec.Relay().Listening(); }));
    EXPECT_EQ(status.mid(1),
              (QStringList{"Winamp Connected", "Winamp Disconnected",
                           "Waiting for Winamp player open url '127.0.0.1:8000'..."}));
    auto third = Player();
    ASSERT_TRUE(WaitFor([&] { return third->state() == QAbstractSocket::ConnectedState; }));
    third->write("GET / HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(WaitFor([&] { return third->bytesAvailable() >= qint64(header.size()); }));
    EXPECT_EQ(third->readAll().toStdString(), header);
}

TEST_F(Relay, StalledPlayerIsDroppedAndRecordingGoesOn)
{
    ASSERT_TRUE(rec.StartRecording(dir.path(), "rec.mp3"));
    server.Send(icytest::Header(0));
    ASSERT_TRUE(WaitFor([&] { return rec.HeaderDone(); }));

    // A player that asks and then never reads: a tiny receive buffer, nothing taken from it.
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const int small = 4096;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(kRelayPort);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::write(fd, "GET / HTTP/1.0\r\n\r\n", 18), 18);
    ASSERT_TRUE(WaitFor([&] { return rec.Relay().Pending() || rec.Relay().Streaming(); }));

    const auto chunk = icytest::AudioBytes(256 * 1024, 5);
    qint64 sent = 0;
    while (!status.contains("Winamp Disconnected") && sent < 64 * 1024 * 1024) {
        server.Send(chunk);
        sent += static_cast<qint64>(chunk.size());
        server.WaitSent();
        ASSERT_LE(rec.Relay().QueuedBytes(), kMaxRelayQueue);
    }
    ::close(fd);
    ASSERT_TRUE(status.contains("Winamp Disconnected"));
    EXPECT_TRUE(rec.Relay().Listening());
    ASSERT_TRUE(WaitFor([&] { return rec.File().BytesWritten() == sent; }));
}
