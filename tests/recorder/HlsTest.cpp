// HLS stations as the recorder follows them, over real sockets on 127.0.0.1: segments made by
// ffmpeg once for the whole run, served by a station inside the test whose live window the test
// moves, and corvane-record run as the user runs it.
#include "HlsSchedule.h"
#include "HlsSegment.h"
#include "HlsServer.h"
#include "Id3Tag.h"
#include "RecorderTestKit.h"
#include "StreamRecorder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

using namespace recorder;
using namespace icytest;
using hlstest::HlsServer;

namespace {

// Its output (stdout, then stderr) and status: -1 when it did not end normally within a minute.
// The event loop runs meanwhile: the station it may talk to lives in this process.
QByteArray Tool(const QString& program, const QStringList& arguments, int& status)
{
    QProcess tool;
    tool.start(program, arguments);
    const bool done = WaitFor([&] { return tool.state() == QProcess::NotRunning; }, 60000);
    if (!done) {
        tool.kill();
        tool.waitForFinished();
    }
    status = done && tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    return tool.readAllStandardOutput() + tool.readAllStandardError();
}

// Six segments of about 2 s of AAC in MPEG-TS, and the ADTS audio each carries.
struct Segments
{
    QTemporaryDir dir;
    QByteArray error;
    std::vector<QByteArray> ts;
    std::vector<std::string> audio;

    Segments()
    {
        int status = -1;
        error = Tool("ffmpeg",
                     {"-v", "error", "-f", "lavfi", "-i", "sine=f=440:d=12", "-c:a", "aac", "-b:a",
                      "64k", "-f", "hls", "-hls_time", "2", "-hls_list_size", "0",
                      "-hls_segment_filename", dir.filePath("s%d.ts"), dir.filePath("x.m3u8")},
                     status);
        for (int i = 0; status == 0 && QFile::exists(dir.filePath(QString("s%1.ts").arg(i))); ++i) {
            ts.push_back(Contents(dir.filePath(QString("s%1.ts").arg(i))));
            audio.push_back(hls::ReadSegment(ts.back().toStdString()).audio);
        }
        if (ts.size() == 6)
            error.clear();
    }
    std::string Audio(std::initializer_list<std::pair<int, int>> spans) const
    {
        std::string all;
        for (auto [from, to] : spans)
            for (int n = from; n <= to; ++n)
                all += audio[std::size_t(n % 6)];
        return all;
    }
};

const Segments& Made()
{
    static const Segments made;
    return made;
}

// A media playlist of count segments from first; each segment's lines from the test.
QByteArray MediaList(std::uint64_t first, int count, bool ended,
                     const std::function<QByteArray(std::uint64_t)>& segment, int target = 2)
{
    QByteArray list =
        "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:" + QByteArray::number(target) +
        "\n#EXT-X-MEDIA-SEQUENCE:" + QByteArray::number(qulonglong(first)) + "\n";
    for (std::uint64_t n = first; n < first + std::uint64_t(count); ++n)
        list += segment(n);
    return ended ? list + "#EXT-X-ENDLIST\n" : list;
}

struct Hls : ::testing::Test
{
    QTemporaryDir dir;
    void SetUp() override
    {
        if (!Made().error.isEmpty())
            GTEST_SKIP() << "ffmpeg: " << Made().error.toStdString();
    }
    QString Record(const QStringList& arguments, int& status)
    {
        return QString::fromUtf8(
            Tool(CORVANE_RECORD, arguments + QStringList{"--dir", dir.path()}, status));
    }
};

} // namespace

// A finished playlist over https behind a master: the best variant (AES-128, its key fetched
// once) recorded whole, decoding cleanly to the source's length, the user's authority trusted for
// every fetch; --max-bitrate takes the other variant, byte ranges of one file, for the same
// audio. A list over https naming plain http is refused before the plain server is asked.
TEST_F(Hls, FinishedPlaylistOverHttpsThroughMasterKeyAndByteRanges)
{
    const Certificate made;
    if (!made.error.isEmpty())
        GTEST_SKIP() << made.error.toStdString();
    HlsServer server(made.Listener()), plain;
    const QByteArray key = "0123456789abcdef";
    QByteArray whole, ranges;
    int status = -1;
    for (int n = 0; n < 6; ++n) {
        const QString sealed = dir.filePath(QString("e%1.ts").arg(n));
        Tool("openssl",
             {"enc", "-aes-128-cbc", "-K", key.toHex(), "-iv",
              QString("%1").arg(n, 32, 16, QChar('0')), "-in",
              Made().dir.filePath(QString("s%1.ts").arg(n)), "-out", sealed},
             status);
        server.files["/enc/" + QByteArray::number(n) + ".ts"] = Contents(sealed);
        ranges += "#EXTINF:2.0,\n#EXT-X-BYTERANGE:" + QByteArray::number(Made().ts[n].size()) +
                  "@" + QByteArray::number(whole.size()) + "\nall.ts\n";
        whole += Made().ts[n];
    }
    server.files["/enc/key"] = key;
    server.files["/enc/list.m3u8"] = MediaList(0, 6, true, [](std::uint64_t n) {
        return "#EXT-X-KEY:METHOD=AES-128,URI=\"key\"\n#EXTINF:2.0,\n" + QByteArray::number(n) +
               ".ts\n";
    });
    server.files["/all.ts"] = whole;
    server.files["/low.m3u8"] = "#EXTM3U\n#EXT-X-TARGETDURATION:2\n" + ranges + "#EXT-X-ENDLIST\n";
    server.files["/master.m3u8"] =
        "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=64000,CODECS=\"mp4a.40.2\"\nlow.m3u8\n"
        "#EXT-X-STREAM-INF:BANDWIDTH=128000,CODECS=\"mp4a.40.2\",NAME=\"Test FM\"\nenc/list.m3u8\n";
    server.files["/down.m3u8"] =
        "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\n" + plain.Url("/low.m3u8").toUtf8() + "\n";
    QFile pem(dir.filePath("ca.pem"));
    ASSERT_TRUE(pem.open(QIODevice::WriteOnly) && pem.write(made.certificate.toPem()) > 0);
    pem.close();
    const QStringList trust{"--ca-file", pem.fileName()};

    QString out =
        Record(QStringList{server.Url("/master.m3u8"), "--name", "best.mp3"} + trust, status);
    EXPECT_EQ(status, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Station: Test FM\nBitrate: 128 Kbps\n")) << out.toStdString();
    EXPECT_EQ(server.fetches["/enc/key"], 1);
    EXPECT_EQ(server.fetches["/all.ts"], 0);
    const QString best = dir.filePath("best.aac");
    EXPECT_TRUE(Contents(best).toStdString() == Made().Audio({{0, 5}}));
    EXPECT_EQ(Tool("ffmpeg", {"-v", "error", "-i", best, "-f", "null", "-"}, status), "");
    const QList<QByteArray> probe =
        Tool("ffprobe",
             {"-v", "error", "-count_packets", "-show_entries",
              "stream=sample_rate,nb_read_packets", "-of", "csv=p=0", best},
             status)
            .trimmed()
            .split(',');
    EXPECT_NEAR(probe.value(1).toDouble() * 1024 / probe.value(0).toDouble(), 12.0, 0.1);

    out = Record(
        QStringList{server.Url("/master.m3u8"), "--name", "low.mp3", "--max-bitrate", "100"} +
            trust,
        status);
    EXPECT_EQ(status, 0) << out.toStdString();
    EXPECT_EQ(server.fetches["/all.ts"], 6);
    EXPECT_EQ(server.fetches["/enc/0.ts"], 1);
    EXPECT_TRUE(Contents(dir.filePath("low.aac")).toStdString() == Made().Audio({{0, 5}}));

    out = Record(QStringList{server.Url("/down.m3u8"), "--name", "down.mp3"} + trust, status);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(out.contains("the https playlist names a plain http address")) << out.toStdString();
    EXPECT_TRUE(plain.fetches.isEmpty());
}

// A live window followed over reloads: joined three segments before its end, no segment fetched
// twice or skipped, a 404 tried again and kept, a window that stands still and one that jumps
// said; a player on the relay gets an ICY stream with the title in its blocks.
TEST_F(Hls, LiveWindowFollowedInOrderWithRetriesGapsAndTheRelay)
{
    HlsServer server;
    for (int n = 0; n < 21; ++n)
        server.files["/l" + QByteArray::number(n) + ".ts"] = Made().ts[std::size_t(n % 6)];
    const auto live = [&](std::uint64_t first, bool ended = false) {
        server.files["/live.m3u8"] = MediaList(
            first, 6, ended,
            [](std::uint64_t n) {
                return "#EXTINF:2.0,On Air; it's live\nl" + QByteArray::number(n) + ".ts\n";
            },
            1);
    };
    const auto fetched = [&](int n) {
        return server.fetches["/l" + QByteArray::number(n) + ".ts"];
    };
    StreamRecorder rec(0);
    QStringList notices, titles;
    bool ended = false;
    QObject::connect(&rec, &StreamRecorder::NoticeText, [&](auto t) { notices << t; });
    QObject::connect(&rec, &StreamRecorder::TitleText, [&](auto t) { titles << t; });
    QObject::connect(&rec, &StreamRecorder::StreamEnded, [&] { ended = true; });
    QObject::connect(&rec, &StreamRecorder::HeaderAccepted,
                     [&] { rec.StartRecording(dir.path(), "live.mp3"); });
    rec.Connection().SetReconnectWaits([](int) { return 10; });
    live(0);
    rec.Tune(ParseStreamAddress(server.Url("/live.m3u8")));
    const auto joined = qint64(Made().Audio({{3, 5}}).size());
    ASSERT_TRUE(WaitFor([&] { return rec.File().BytesWritten() == joined; }));

    QTcpSocket player;
    player.connectToHost(QHostAddress::LocalHost, rec.Relay().Port());
    ASSERT_TRUE(player.waitForConnected(15000));
    player.write("GET / HTTP/1.0\r\nIcy-MetaData:1\r\n\r\n");
    QByteArray heard;
    ASSERT_TRUE(WaitFor([&] { return (heard += player.readAll()).contains("\r\n\r\n"); }));
    EXPECT_TRUE(heard.contains("icy-metaint:8192\r\n")) << heard.toStdString();
    EXPECT_TRUE(heard.contains("content-type:audio/aac\r\n")) << heard.toStdString();
    heard = heard.mid(heard.indexOf("\r\n\r\n") + 4);

    live(2);
    ASSERT_TRUE(WaitFor([&] { return fetched(7) == 1; }));
    server.failures["/l8.ts"] = 1;
    live(4);
    ASSERT_TRUE(WaitFor([&] { return fetched(9) == 1; }));
    // A window that stays where it is: the station stopped, and that is said once.
    ASSERT_TRUE(WaitFor([&] { return !notices.filter("playlist has not moved").isEmpty(); }));
    live(15);
    ASSERT_TRUE(WaitFor([&] { return fetched(20) == 1; }));
    live(15, true);
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    ASSERT_TRUE(WaitFor([&] { return (heard += player.readAll()).size() > kIcyMetaInt + 33; }));
    rec.StopRecording();

    EXPECT_TRUE(Contents(dir.filePath("live.aac")).toStdString() ==
                Made().Audio({{3, 9}, {15, 20}}));
    for (int n = 0; n <= 20; ++n)
        EXPECT_EQ(fetched(n), n < 3 || (n > 9 && n < 15) ? 0 : n == 8 ? 2 : 1) << n;
    EXPECT_TRUE(notices.filter("Segment 8 failed (the server answered 404 Not Found)").size() == 1)
        << notices.join('\n').toStdString();
    EXPECT_TRUE(notices.contains("5 segments (about 5 s) missed"))
        << notices.join('\n').toStdString();
    EXPECT_EQ(titles, QStringList{"Title: On Air; it's live"});
    // The player joined at the next segment's first byte; a quote or semicolon would end the ICY
    // value early, so the relay's block carries them changed.
    EXPECT_TRUE(heard.left(kIcyMetaInt).toStdString() ==
                Made().Audio({{6, 7}}).substr(0, kIcyMetaInt));
    EXPECT_TRUE(heard.mid(kIcyMetaInt).startsWith("\x02StreamTitle='On Air, it`s live';"));
}

// By song, through corvane-record: #EXTINF titles, and timed ID3 in packed audio (a tag holds
// until the next), split the files at the first byte of the segment whose title differs; titles
// reach the names as they are. fMP4 is refused by name and makes no file.
TEST_F(Hls, TitlesSplitSongFilesAtTheSegmentAndFmp4IsRefused)
{
    HlsServer server;
    const char* extinf[] = {"A: one", "A: one", "B; it's", "B; it's", "", ""};
    server.files["/titles.m3u8"] = MediaList(0, 6, true, [&](std::uint64_t n) {
        return "#EXTINF:2.0," + QByteArray(extinf[n]) + "\ns" + QByteArray::number(n) + ".ts\n";
    });
    for (int n = 0; n < 6; ++n) {
        server.files["/s" + QByteArray::number(n) + ".ts"] = Made().ts[std::size_t(n)];
        const std::string tag = n == 0   ? Id3v24Tag({"One", "X", ""})
                                : n == 2 ? Id3v24Tag({"Two", "X", ""})
                                         : std::string();
        server.files["/p" + QByteArray::number(n) + ".aac"] =
            QByteArray::fromStdString(tag + Made().audio[std::size_t(n)]);
    }
    server.files["/timed.m3u8"] = MediaList(0, 4, true, [](std::uint64_t n) {
        return "#EXTINF:2.0,not this\np" + QByteArray::number(n) + ".aac\n";
    });
    int status = -1;
    QString out = Record({server.Url("/titles.m3u8"), "--by-song"}, status);
    EXPECT_EQ(status, 0) << out.toStdString();
    out += Record({server.Url("/timed.m3u8"), "--by-song"}, status);
    EXPECT_EQ(status, 0) << out.toStdString();
    const std::pair<const char*, std::string> files[] = {{"A: one.aac", Made().Audio({{0, 1}})},
                                                         {"B; it's.aac", Made().Audio({{2, 3}})},
                                                         {"127.0.0.1.aac", Made().Audio({{4, 5}})},
                                                         {"X - One.aac", Made().Audio({{0, 1}})},
                                                         {"X - Two.aac", Made().Audio({{2, 3}})}};
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5) << out.toStdString();
    for (const auto& [name, audio] : files)
        EXPECT_TRUE(Contents(dir.filePath(name)).toStdString() == audio) << name;

    server.files["/cmaf.m3u8"] =
        "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXT-X-MAP:URI=\"init.mp4\"\n#EXTINF:2,\n0.m4s\n";
    out = Record({server.Url("/cmaf.m3u8"), "--name", "cmaf.mp3"}, status);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(out.contains("fMP4 (CMAF) segments (#EXT-X-MAP) are not recorded"))
        << out.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5);
}

// The bookkeeping alone: a stale copy of the playlist (another cache) repeats nothing; numbers
// that go back by more than a window are a restarted station, recorded afresh and said; numbers
// at the very top of the range neither wrap nor stall.
TEST(HlsSchedule, StaleCopiesRestartsAndTheLastNumbers)
{
    const auto list = [](std::uint64_t first, int count) {
        hls::MediaPlaylist media;
        media.targetDuration = 2;
        for (int i = 0; i < count; ++i)
            media.segments.push_back({first + std::uint64_t(i), 2, "", "s.ts", {}, {}, false});
        return media;
    };
    const auto numbers = [](const hls::HlsSchedule::Step& step) {
        std::vector<std::uint64_t> out;
        for (const auto& segment : step.fetch)
            out.push_back(segment.sequence);
        return out;
    };
    hls::HlsSchedule schedule;
    EXPECT_EQ(numbers(schedule.Update(list(100, 6))), (std::vector<std::uint64_t>{103, 104, 105}));
    const auto stale = schedule.Update(list(98, 6));
    EXPECT_TRUE(stale.fetch.empty() && !stale.restarted && stale.missed == 0);
    const auto restarted = schedule.Update(list(0, 3));
    EXPECT_TRUE(restarted.restarted);
    EXPECT_EQ(numbers(restarted), (std::vector<std::uint64_t>{0, 1, 2}));
    EXPECT_FALSE(schedule.InWindow(3));

    const std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
    hls::HlsSchedule high;
    EXPECT_EQ(numbers(high.Update(list(top - 3, 2))),
              (std::vector<std::uint64_t>{top - 3, top - 2}));
    EXPECT_EQ(numbers(high.Update(list(top - 2, 3))), (std::vector<std::uint64_t>{top - 1, top}));
    EXPECT_TRUE(high.Update(list(top - 2, 3)).fetch.empty());
    EXPECT_TRUE(high.InWindow(top));
}
