// The core against a stream server inside the test, over real sockets on 127.0.0.1.
#include "StreamRecorder.h"
#include "IcyStream.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace recorder;
using icytest::TestServer;
using icytest::WaitFor;

namespace {

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

std::string Title(const std::string& text)
{
    return "StreamTitle='" + text + "';StreamUrl='';";
}

// Whether this process still holds a descriptor on the file.
bool HeldOpen(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    for (const auto& fd : QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::Files))
        if (fd.symLinkTarget() == target)
            return true;
    return false;
}

struct IcyClient : ::testing::Test
{
    QTemporaryDir dir;
    TestServer server;
    // Port 0: these tests do not need the relay's fixed port and must not fight over it.
    std::unique_ptr<StreamRecorder> rec = std::make_unique<StreamRecorder>(0);
    QStringList radio, titles, opened, failures;
    bool ended = false, failed = false;

    void SetUp() override
    {
        QObject::connect(rec.get(), &StreamRecorder::RadioText, [this](auto t) { radio << t; });
        QObject::connect(rec.get(), &StreamRecorder::TitleText, [this](auto t) { titles << t; });
        QObject::connect(rec.get(), &StreamRecorder::FileOpened, [this](auto t) { opened << t; });
        QObject::connect(rec.get(), &StreamRecorder::FileFailed, [this](auto t) { failures << t; });
        QObject::connect(rec.get(), &StreamRecorder::StreamEnded, [this] { ended = true; });
        QObject::connect(rec.get(), &StreamRecorder::StreamFailed, [this] { failed = true; });
    }
    void Connect()
    {
        rec->Tune("127.0.0.1", server.Port());
        ASSERT_TRUE(server.WaitForRequest());
    }
    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
};

} // namespace

TEST_F(IcyClient, ExactRequestHeaderSplitAndServerClosingMidStream)
{
    ASSERT_TRUE(rec->StartRecording(dir.path(), "take.mp3"));
    Connect();
    EXPECT_EQ(server.request, "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: WinampMPEG/2.7\r\n"
                              "Accept: */*\r\nIcy-MetaData:1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(radio, QStringList{"Connected"});

    const auto header = icytest::Header(1000);
    const auto stream = icytest::BuildStream(1000, 20, 500, [](int i) {
        return i % 4 == 1 ? Title("Song " + std::to_string(i)) : std::string();
    });
    // The header in three arrivals, the last one with the first audio of the stream.
    server.Send(header.substr(0, 10));
    server.WaitSent();
    server.Send(header.substr(10, header.size() - 12));
    server.WaitSent();
    server.Send(header.substr(header.size() - 2) + stream.bytes.substr(0, 700));
    ASSERT_TRUE(WaitFor([&] { return rec->File().BytesWritten() == 700; }));
    EXPECT_TRUE(rec->HeaderDone());
    EXPECT_EQ(rec->Header().toStdString(), header);
    server.Send(stream.bytes.substr(700));
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_EQ(radio, (QStringList{"Connected", "Test FM", "Disconnected"}));
    EXPECT_EQ(titles.last(), "Title: 'Song 17'");

    // The file stays open after the server has gone, until the toggle is released.
    const QString path = Path("take.mp3");
    EXPECT_TRUE(rec->File().IsOpen());
    EXPECT_TRUE(HeldOpen(path));
    EXPECT_EQ(rec->File().BytesWritten(), static_cast<qint64>(stream.audio.size()));
    rec->StopRecording();
    EXPECT_FALSE(HeldOpen(path));
    EXPECT_TRUE(Contents(path).toStdString() == stream.audio);
}

TEST_F(IcyClient, ClosingTheRecorderClosesTheFile)
{
    ASSERT_TRUE(rec->StartRecording(dir.path(), "a.mp3"));
    Connect();
    server.Send(icytest::Header(0) + "AUDIO");
    ASSERT_TRUE(WaitFor([&] { return rec->File().BytesWritten() == 5; }));
    ASSERT_TRUE(HeldOpen(Path("a.mp3")));
    rec.reset();
    EXPECT_FALSE(HeldOpen(Path("a.mp3")));
    EXPECT_EQ(Contents(Path("a.mp3")), "AUDIO");
}

TEST_F(IcyClient, PlainHttpAnswerIsNeverAccepted)
{
    ASSERT_TRUE(rec->StartRecording(dir.path(), "http.mp3"));
    Connect();
    server.Send(
        QByteArray("HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\nicy-metaint:16\r\n\r\n") +
        QByteArray(5000, 'x'));
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_FALSE(rec->HeaderDone());
    EXPECT_EQ(radio, (QStringList{"Connected", "Disconnected"}));
    EXPECT_TRUE(titles.isEmpty());
    EXPECT_EQ(rec->File().BytesWritten(), 0);
}

TEST_F(IcyClient, HeaderThatNeverEndsIsGivenUp)
{
    Connect();
    server.Send(QByteArray("ICY 200 OK\r\n"));
    const QByteArray lines = QByteArray("icy-notice1:still going\r\n").repeated(64);
    qint64 sent = 0;
    while (!server.clientGone && sent < 16 * 1024 * 1024) {
        server.Send(lines);
        sent += lines.size();
        ASSERT_TRUE(
            WaitFor([&] { return server.clientGone || server.client->bytesToWrite() == 0; }));
    }
    ASSERT_TRUE(WaitFor([&] { return failed; }));
    EXPECT_EQ(radio.last(), "Error ocurred");
    EXPECT_FALSE(rec->HeaderDone());
    // Given up soon after the bound, not after megabytes.
    EXPECT_LT(sent, static_cast<qint64>(kMaxHeaderBytes) + 4 * 1024 * 1024);
}

TEST_F(IcyClient, RefusedConnectionAndUnwritableFolderAreReported)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    rec->Tune("127.0.0.1", port);
    ASSERT_TRUE(WaitFor([&] { return failed; }));
    EXPECT_EQ(radio, QStringList{"Error ocurred"});

    EXPECT_FALSE(rec->StartRecording(Path("no/such/folder"), "x.mp3"));
    EXPECT_FALSE(rec->Recording());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("x.mp3"));
}

TEST_F(IcyClient, OneFilePerSongRollsOverOnlyOnANewTitle)
{
    rec->SetFileBySong(true);
    // Started before any title: the first file gets the default name.
    ASSERT_TRUE(rec->StartSongRecording(dir.path()));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].startsWith("File") && opened[0].endsWith(".mp3"));
    Connect();
    const std::vector<std::string> texts = {Title("Artist - A"), Title("Artist - A"), "",
                                            Title("../../B/x"),  Title("../../B/x"),  "",
                                            Title("Artist - C"), Title("Artist - C")};
    const auto stream = icytest::BuildStream(2048, static_cast<int>(texts.size()), 1234,
                                             [&](int i) { return texts[i]; });
    server.Send(icytest::Header(2048) + stream.bytes);
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    rec->StopRecording();

    ASSERT_EQ(opened.size(), 4) << opened.join("|").toStdString();
    EXPECT_EQ(opened[1], "'Artist - A'.mp3");
    EXPECT_EQ(opened[2], "'.._.._B_x'.mp3");
    EXPECT_EQ(opened[3], "'Artist - C'.mp3");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
    // Each song file starts at the first audio byte after the block that named it.
    const std::vector<std::size_t> starts = {0, stream.textAt[0], stream.textAt[2],
                                             stream.textAt[4], stream.audio.size()};
    std::string joined;
    for (int i = 0; i < 4; ++i) {
        const auto bytes = Contents(Path(opened[i])).toStdString();
        EXPECT_TRUE(bytes == stream.audio.substr(starts[i], starts[i + 1] - starts[i])) << i;
        joined += bytes;
    }
    EXPECT_TRUE(joined == stream.audio);
}

TEST_F(IcyClient, AbsurdIntervalMeansNoMetadataAndEverythingIsRecorded)
{
    ASSERT_TRUE(rec->StartRecording(dir.path(), "all"));
    Connect();
    const auto audio = icytest::AudioBytes(300000, 9);
    server.Send("ICY 200 OK\r\nicy-metaint:99999999999\r\n\r\n" + audio);
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    rec->StopRecording();
    EXPECT_TRUE(Contents(Path("all")).toStdString() == audio);
    EXPECT_EQ(radio, (QStringList{"Connected", "unknown station", "Disconnected"}));
}
