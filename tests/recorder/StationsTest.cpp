// The recorder against stations as they answer today, over real sockets on 127.0.0.1: Icecast's
// HTTP/1.1 answers with mount paths and chunked coding, redirects, playlists, HTTPS refusals with a
// certificate made for the test, and connections that drop or stall.
#include "IcyStream.h"
#include "RecorderTestKit.h"
#include "StreamRecorder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace recorder;
using namespace icytest;

namespace {

const std::string kIcecast =
    "HTTP/1.1 200 OK\r\nServer: Icecast 2.4.4\r\nContent-Type: audio/mpeg\r\n"
    "icy-name: Ice FM\r\nice-audio-info: ice-bitrate=192;ice-channels=2\r\n"
    "icy-metaint: 1000\r\n";

QString Https(const TestServer& server, const char* path)
{
    return QStringLiteral("https://127.0.0.1:%1/%2").arg(server.Port()).arg(path);
}

struct Stations : ::testing::Test
{
    QTemporaryDir dir;
    StreamRecorder rec{0};
    QStringList radio, titles, opened, bitrates;
    bool ended = false, failed = false;

    void SetUp() override
    {
        QObject::connect(&rec, &StreamRecorder::StatusText, [this](auto t) { radio << t; });
        QObject::connect(&rec, &StreamRecorder::StationName, [this](auto t) { radio << t; });
        QObject::connect(&rec, &StreamRecorder::BitrateText, [this](auto t) { bitrates << t; });
        QObject::connect(&rec, &StreamRecorder::TitleText, [this](auto t) { titles << t; });
        QObject::connect(&rec, &StreamRecorder::FileOpened, [this](auto t) { opened << t; });
        QObject::connect(&rec, &StreamRecorder::StreamEnded, [this] { ended = true; });
        QObject::connect(&rec, &StreamRecorder::StreamFailed, [this] { failed = true; });
    }
    void Tune(const QString& url) { rec.Tune(ParseStreamAddress(url)); }
};

} // namespace

TEST_F(Stations, IcecastAnswerWithMountPathAndChunkedCodingIsRecordedByteForByte)
{
    TestServer server;
    Tune(server.Url() + "live.mp3?type=.mp3");
    ASSERT_TRUE(server.WaitForRequest());
    EXPECT_EQ(server.request, "GET /live.mp3?type=.mp3 HTTP/1.0\r\nHost: 127.0.0.1\r\n"
                              "User-Agent: WinampMPEG/2.7\r\nAccept: */*\r\nIcy-MetaData:1\r\n"
                              "Connection: close\r\n\r\n");
    ASSERT_TRUE(rec.StartRecording(dir.path(), "ice.mp3"));
    const auto stream = BuildStream(1000, 12, 300, [](int i) {
        return i % 5 == 0 ? Title("Song " + std::to_string(i)) : std::string();
    });
    // In pieces that respect no boundary of chunk, interval or header.
    const auto bytes = kIcecast + "Transfer-Encoding: chunked\r\n\r\n" + Chunked(stream.bytes, 777);
    for (std::size_t at = 0; at < bytes.size(); at += 1234)
        server.Send(bytes.substr(at, 1234));
    // The last chunk ends the stream, whether or not the server closes. The file stays open
    // until the toggle is released.
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(HeldOpen(dir.filePath("ice.mp3")));
    rec.StopRecording();
    EXPECT_FALSE(HeldOpen(dir.filePath("ice.mp3")));
    EXPECT_EQ(radio, (QStringList{"Connected", "Ice FM", "Disconnected"}));
    EXPECT_EQ(bitrates, QStringList{"Bitrate: 192 Kbps"});
    EXPECT_EQ(titles, (QStringList{"Title: 'Song 0'", "Title: 'Song 5'", "Title: 'Song 10'"}));
    EXPECT_TRUE(Contents(dir.filePath("ice.mp3")).toStdString() == stream.audio);
}

// Anything but 200 or a redirect is a clear failure; so is an answer that is not sound. No file is
// written from either.
TEST_F(Stations, RefusalsAreClearAndMakeNoFile)
{
    TestServer missing;
    Tune(missing.Url() + "nothing");
    ASSERT_TRUE(missing.WaitForRequest());
    missing.Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    ASSERT_TRUE(WaitFor([&] { return failed; }));
    EXPECT_EQ(rec.ErrorText(), "the server answered \"HTTP/1.1 404 Not Found\"");
    EXPECT_EQ(radio.last(), "Error ocurred");

    // Not sound (a web page, an ICY answer carrying video): refused, and the record toggle makes
    // no file from it.
    const std::pair<std::string, QString> notSound[] = {
        {"HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n<!DOCTYPE html>",
         "Not an audio stream (text/html)"},
        {"ICY 200 OK\r\nicy-name:TV\r\ncontent-type:video/mp2t\r\nicy-metaint:8192\r\n\r\nG@",
         "Not an audio stream (video/mp2t)"}};
    for (const auto& [answer, status] : notSound) {
        TestServer server;
        failed = false;
        opened.clear();
        Tune(server.Url());
        ASSERT_TRUE(server.WaitForRequest());
        server.Send(answer);
        ASSERT_TRUE(WaitFor([&] { return failed; })) << status.toStdString();
        EXPECT_EQ(radio.last(), status);
        EXPECT_FALSE(rec.HeaderDone());
        EXPECT_FALSE(rec.StartRecording(dir.path(), "page.mp3"));
        EXPECT_FALSE(rec.StartSongRecording(dir.path()));
        EXPECT_TRUE(opened.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("page.mp3")));
}

// Through a redirect, and through a playlist (its reading is the Playlist test's) to its first
// entry that answers; a loop of either is given up.
TEST_F(Stations, RedirectsAndPlaylistsAreFollowedWithinBounds)
{
    TestServer first, list, station;
    Tune(first.Url() + "listen");
    ASSERT_TRUE(first.WaitForRequest());
    first.Send("HTTP/1.1 302 Found\r\nLocation: " + list.Url().toStdString() +
               "listen.m3u\r\nContent-Length: 0\r\n\r\n");
    ASSERT_TRUE(list.WaitForRequest());
    EXPECT_TRUE(list.request.startsWith("GET /listen.m3u HTTP/1.0\r\n"));
    list.Send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\n\r\n" +
              Chunked("#EXTM3U\n#EXTINF:-1,Down\nhttp://127.0.0.1:1/\n#EXTINF:-1,Up\n" +
                          station.Url().toStdString() + "\n",
                      9));
    list.Close();
    ASSERT_TRUE(station.WaitForRequest());
    const auto stream = BuildStream(1000, 3, 10, [](int) { return Title("A"); });
    station.Send(kIcecast + "\r\n" + stream.bytes.substr(0, 5));
    ASSERT_TRUE(WaitFor([&] { return rec.HeaderDone(); }));
    ASSERT_TRUE(rec.StartRecording(dir.path(), "moved.mp3"));
    station.Send(stream.bytes.substr(5));
    station.Close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    rec.StopRecording();
    EXPECT_TRUE(Contents(dir.filePath("moved.mp3")).toStdString() == stream.audio.substr(5));

    TestServer redirects, lists;
    const std::tuple<TestServer*, std::string, QString> loops[] = {
        {&redirects, "HTTP/1.1 301 Moved\r\nLocation: /again\r\n\r\n", "more than 10 redirects"},
        {&lists,
         "HTTP/1.0 200 OK\r\nContent-Type: audio/x-mpegurl\r\n\r\n" + lists.Url().toStdString() +
             "again.m3u\n",
         "more than 10 playlists in a row"}};
    for (const auto& [server, answer, error] : loops) {
        TestServer* loop = server;
        const std::string text = answer;
        QObject::connect(&loop->server, &QTcpServer::pendingConnectionAvailable, loop,
                         [loop, text] {
                             QTimer::singleShot(0, loop, [loop, text] {
                                 loop->Send(text);
                                 loop->Close();
                             });
                         });
        failed = false;
        Tune(loop->Url() + "first.m3u");
        ASSERT_TRUE(WaitFor([&] { return failed; }));
        EXPECT_EQ(rec.ErrorText(), error);
        EXPECT_EQ(loop->connections, 11);
    }
}

// A drop and a stall are each followed by a reconnect: recording by file goes on in the same file,
// which then holds what the server sent minus what it sent while we were away.
TEST_F(Stations, ByFileADropAndAStallContinueTheSameFile)
{
    for (const bool stall : {false, true}) {
        TestServer server;
        radio.clear();
        rec.SetReconnect(true);
        rec.Connection().SetReconnectWaits([](int) { return 20; });
        rec.Connection().SetStallTimeout(stall ? 300 : kStallMs);
        Tune(server.Url());
        ASSERT_TRUE(server.WaitForRequest());
        const QString name = stall ? "stall.mp3" : "drop.mp3";
        ASSERT_TRUE(rec.StartRecording(dir.path(), name));
        const auto before =
            BuildStream(1000, 5, 400, [](int i) { return Title(std::to_string(i)); });
        server.Send(Header(1000) + before.bytes);
        if (!stall)
            server.Close();
        ASSERT_TRUE(WaitFor([&] { return server.connections == 2 && server.WaitForRequest(); }));
        // What the server sent into the dropped connection meanwhile never arrives.
        const auto after = BuildStream(
            1000, 4, 10, [](int) { return std::string(); }, 77);
        server.Send(Header(1000) + after.bytes);
        const auto total = qint64(before.audio.size() + after.audio.size());
        ASSERT_TRUE(WaitFor([&] { return rec.File().BytesWritten() == total; }));
        rec.StopRecording();
        EXPECT_TRUE(Contents(dir.filePath(name)).toStdString() == before.audio + after.audio);
        EXPECT_EQ(radio, (QStringList{"Connected", "Test FM", "Reconnecting\u2026", "Connected",
                                      "Test FM"}));
        rec.Connection().Close();
    }
}

// By song, the song cut by the drop keeps what it had; the song joined midway after the reconnect
// gets no file; the next title starts the next file.
TEST_F(Stations, BySongADropCutsTheSongAndTheNextTitleStartsAFile)
{
    TestServer server;
    rec.SetReconnect(true);
    rec.Connection().SetReconnectWaits([](int) { return 10; });
    rec.SetFileBySong(true);
    Tune(server.Url());
    ASSERT_TRUE(server.WaitForRequest());
    ASSERT_TRUE(rec.StartSongRecording(dir.path()));
    const auto titled = [](const char* first, const char* second) {
        return [=](int i) {
            return i == 0 ? Title(first) : i == 2 ? Title(second) : std::string();
        };
    };
    const auto before = BuildStream(1000, 4, 100, titled("A", "B"));
    server.Send(Header(1000) + before.bytes);
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return server.connections == 2 && server.WaitForRequest(); }));
    const auto after = BuildStream(1000, 4, 100, titled("B", "C"), 40);
    server.Send(Header(1000) + after.bytes);
    ASSERT_TRUE(WaitFor([&] {
        return opened.size() == 4 &&
               rec.File().BytesWritten() == qint64(after.audio.size() - after.textAt[1]);
    }));
    rec.StopRecording();
    ASSERT_EQ(opened.mid(1), (QStringList{"'A'.mp3", "'B'.mp3", "'C'.mp3"}));
    EXPECT_TRUE(Contents(dir.filePath("'B'.mp3")).toStdString() ==
                before.audio.substr(before.textAt[1]));
    EXPECT_TRUE(Contents(dir.filePath("'C'.mp3")).toStdString() ==
                after.audio.substr(after.textAt[1]));
}

// A certificate the system's authorities do not vouch for is refused; one the recorder trusts is
// read, and its redirect down to plain http is refused.
TEST_F(Stations, HttpsRefusesAnUntrustedCertificateAndADowngrade)
{
    const Certificate made;
    if (!made.error.isEmpty())
        GTEST_SKIP() << made.error.toStdString();
    TestServer untrusted(made.Listener());
    Tune(Https(untrusted, "live"));
    ASSERT_TRUE(WaitFor([&] { return failed; }));
    EXPECT_TRUE(rec.ErrorText().startsWith("certificate refused: "))
        << rec.ErrorText().toStdString();
    EXPECT_FALSE(rec.HeaderDone());

    failed = false;
    rec.Connection().AddCaCertificates({made.certificate});
    TestServer secure(made.Listener()), plain;
    Tune(Https(secure, "live"));
    ASSERT_TRUE(secure.WaitForRequest());
    EXPECT_TRUE(secure.request.startsWith("GET /live HTTP/1.0\r\n"));
    secure.Send("HTTP/1.1 302 Found\r\nLocation: " + plain.Url().toStdString() + "\r\n\r\n");
    ASSERT_TRUE(WaitFor([&] { return failed; }));
    EXPECT_EQ(rec.ErrorText(), "refused a redirect from https down to http");
    EXPECT_EQ(plain.connections, 0);
}
