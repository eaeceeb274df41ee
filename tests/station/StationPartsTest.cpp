// The station's pure parts: request heads, metadata interleaving, MP3 framing, the programme
// clock and the site templates.
#include "BinaryDir.h"
#include "ChannelTable.h"
#include "HttpRequest.h"
#include "IcyInterleaver.h"
#include "MediaMaker.h"
#include "Mp3Frames.h"
#include "Programme.h"
#include "SiteRenderer.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString SharedMedia()
{
    return TestBinaryDir() + QStringLiteral("/tests/station-media");
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST(StationRequest, ParsesHeadsAndRefusesWhatItShouldNot)
{
    RequestHead head;
    EXPECT_EQ(ParseRequestHead("GET / HTTP/1.0\r\nIcy-MetaData:1\r\n", head),
              HeadState::Incomplete);
    ASSERT_EQ(
        ParseRequestHead("GET / HTTP/1.0\r\nHost: 127.0.0.1\r\nIcy-MetaData:1\r\n\r\nrest", head),
        HeadState::Complete);
    EXPECT_EQ(head.method, "GET");
    EXPECT_EQ(head.target, "/");
    EXPECT_EQ(head.header("host"), "127.0.0.1");
    EXPECT_TRUE(WantsIcyMetadata(head));
    ASSERT_EQ(ParseRequestHead("GET /x HTTP/1.1\nicy-metadata: 0\n\n", head), HeadState::Complete);
    EXPECT_FALSE(WantsIcyMetadata(head));
    ASSERT_EQ(ParseRequestHead("GET /x HTTP/1.1\r\n\r\n", head), HeadState::Complete);
    EXPECT_FALSE(WantsIcyMetadata(head));

    EXPECT_EQ(ParseRequestHead("garbage\r\n\r\n", head), HeadState::Bad);
    EXPECT_EQ(ParseRequestHead("GET / HTTP/1.0\r\nno colon here\r\n\r\n", head), HeadState::Bad);
    EXPECT_EQ(ParseRequestHead(QByteArray(MaxRequestHead + 1, 'x'), head), HeadState::Bad);
}

TEST(StationRequest, MapsTargetsInsideTheFolderOnly)
{
    bool ok = false;
    EXPECT_EQ(LocalPathOf("/Settings/Channel.ini", ok), "Settings/Channel.ini");
    EXPECT_TRUE(ok);
    EXPECT_EQ(LocalPathOf("//Settings/RSettings.ini", ok), "Settings/RSettings.ini");
    EXPECT_EQ(LocalPathOf("/Settings/Message.ini?t=1", ok), "Settings/Message.ini");
    EXPECT_EQ(LocalPathOf("/", ok), "index.html");
    EXPECT_EQ(LocalPathOf("/Settings/", ok), "Settings/index.html");
    EXPECT_EQ(LocalPathOf("/my%20page.html", ok), "my page.html");
    EXPECT_EQ(LocalPathOf("http://127.0.0.1:8600/info.html", ok), "info.html");
    for (const char* bad :
         {"/../etc/passwd", "/a/%2e%2e/%2e%2e/x", "/a/./b", "/a%00b", "/a%5c..%5cb", "x"}) {
        LocalPathOf(bad, ok);
        EXPECT_FALSE(ok) << bad;
    }
}

TEST(StationIcy, InterleavesBlocksEveryMetaIntAndTitlesOnlyOnChange)
{
    EXPECT_EQ(IcyMetadataBlock("A - B"),
              QByteArray("\x02StreamTitle='A - B';", 21) + QByteArray(12, '\0'));
    EXPECT_EQ(IcyMetadataBlock("It's; odd").mid(1, 24), "StreamTitle='It`s, odd';");
    EXPECT_EQ(IcyMetadataBlock(QByteArray(5000, 'x')).size(), 1 + 255 * 16);

    // Audio fed in uneven pieces, the song changing part way.
    IcyInterleaver icy(100);
    QByteArray out, audio;
    auto* random = QRandomGenerator::global();
    for (int i = 0; i < 60; ++i) {
        QByteArray piece(random->bounded(1, 90), char('a' + i % 26));
        audio += piece;
        icy.Feed(piece, i < 30 ? "One" : "Two", out);
    }
    // Take it apart again.
    QByteArray back;
    QList<QByteArray> texts;
    qsizetype pos = 0;
    while (pos < out.size()) {
        back += out.mid(pos, 100);
        pos += 100;
        if (pos >= out.size())
            break;
        const int length = 16 * static_cast<unsigned char>(out[pos]);
        texts.append(out.mid(pos + 1, length));
        pos += 1 + length;
    }
    EXPECT_EQ(back, audio);
    ASSERT_GE(texts.size(), 3);
    EXPECT_TRUE(texts.first().startsWith("StreamTitle='One';"));
    EXPECT_EQ(texts.count(QByteArray()), texts.size() - 2);
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const QByteArray& t) { return t.startsWith("StreamTitle='Two';"); }),
              1);
}

TEST(StationMp3, ReadsFrameHeadersAndWalksGeneratedSongs)
{
    const unsigned char h128[4] = {0xff, 0xfb, 0x90, 0x64}; // MPEG-1 layer III, 128 kbps, 44.1 kHz
    EXPECT_EQ(ReadMp3Header(h128).size, 417);
    const unsigned char padded[4] = {0xff, 0xfb, 0x92, 0x64};
    EXPECT_EQ(ReadMp3Header(padded).size, 418);
    const unsigned char layer2[4] = {0xff, 0xfd, 0x90, 0x64};
    EXPECT_EQ(ReadMp3Header(layer2).size, 0);
    const unsigned char freeFormat[4] = {0xff, 0xfb, 0x00, 0x64};
    EXPECT_EQ(ReadMp3Header(freeFormat).size, 0);

    const ChannelSpec& lounge = DemoChannels().first();
    MediaMaker media(SharedMedia(), 3);
    QString error;
    ASSERT_TRUE(media.Prepare({lounge}, error, [](const QString&) {})) << qPrintable(error);
    const QByteArray song = ReadFile(media.SongPath(lounge, 0));
    const Mp3Scan scan = ScanMp3Frames(song);
    EXPECT_EQ(scan.end, song.size()) << "bare frames, nothing else";
    EXPECT_NEAR(double(scan.offsets.size()) * 1152 / 44100, 3.0, 0.1);

    // A tag in front is skipped; a frame cut short at the end is left out.
    QByteArray tagged =
        QByteArray("ID3\x04\x00\x00\x00\x00\x00\x05", 10) + "xxxxx" + song.left(1000);
    const Mp3Scan cut = ScanMp3Frames(tagged);
    EXPECT_EQ(cut.offsets.value(0), 15);
    EXPECT_LE(cut.end, tagged.size());
    EXPECT_GT(cut.end + 418, tagged.size());
}

TEST(StationProgramme, PlaysSongsRoundAndRoundWithTheirTitles)
{
    const ChannelSpec& lounge = DemoChannels().first();
    const ChannelSpec& tone = DemoChannels()[2];
    MediaMaker media(SharedMedia(), 3);
    QString error;
    ASSERT_TRUE(media.Prepare({lounge, tone}, error, [](const QString&) {})) << qPrintable(error);

    Mp3Programme programme;
    EXPECT_FALSE(programme.AddSong("not audio", "x"));
    qint64 firstSongFrames = 0;
    for (int i = 0; i < lounge.songs.size(); ++i) {
        ASSERT_TRUE(
            programme.AddSong(ReadFile(media.SongPath(lounge, i)), lounge.songs[i].streamTitle));
        if (i == 0)
            firstSongFrames = programme.frameCount();
    }
    EXPECT_DOUBLE_EQ(programme.chunkSeconds(), 1152.0 / 44100.0);
    EXPECT_EQ(programme.TitleAt(0), lounge.songs[0].streamTitle);
    EXPECT_EQ(programme.TitleAt(firstSongFrames - 1), lounge.songs[0].streamTitle);
    EXPECT_EQ(programme.TitleAt(firstSongFrames), lounge.songs[1].streamTitle);
    const qint64 all = programme.frameCount();
    EXPECT_EQ(programme.TitleAt(all), lounge.songs[0].streamTitle) << "round again";
    EXPECT_EQ(programme.Chunk(all + 5), programme.Chunk(5));
    EXPECT_EQ(
        ReadMp3Header(reinterpret_cast<const unsigned char*>(programme.Chunk(all - 1).constData()))
            .size,
        programme.Chunk(all - 1).size());
    EXPECT_EQ(programme.EntryAtOrBefore(123), 123);
}

TEST(StationSite, FillsInAddressesAndKeepsTheOperatorsMessage)
{
    const QMap<QByteArray, QByteArray> values = {{"STATION", "http://127.0.0.1:9"},
                                                 {"TV_URL", "http://127.0.0.1:13/"}};
    EXPECT_EQ(RenderTemplate("a=@STATION@/x @TV_URL@", values),
              "a=http://127.0.0.1:9/x http://127.0.0.1:13/");
    EXPECT_EQ(RenderTemplate("mail me@example.org @STATION@", values),
              "mail me@example.org http://127.0.0.1:9");
    EXPECT_EQ(RenderTemplate("@UNKNOWN@ @", values), "@UNKNOWN@ @");

    QTemporaryDir site, www;
    QDir(site.path()).mkpath("Settings");
    auto write = [](const QString& path, const QByteArray& body) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(body);
    };
    write(site.filePath("Settings/Channel.ini"), "ok\n[TV]\nT=@TV_URL@\n");
    write(site.filePath("Settings/Message.ini"), "default message");
    write(site.filePath("logo.png"), "@TV_URL@ stays in binary files");
    QString error;
    ASSERT_TRUE(RenderSite(site.path(), www.path(), values, error)) << qPrintable(error);
    EXPECT_EQ(ReadFile(www.filePath("Settings/Channel.ini")), "ok\n[TV]\nT=http://127.0.0.1:13/\n");
    EXPECT_EQ(ReadFile(www.filePath("Settings/Message.ini")), "default message");
    EXPECT_EQ(ReadFile(www.filePath("logo.png")), "@TV_URL@ stays in binary files");

    write(www.filePath("Settings/Message.ini"), "edited by the operator");
    ASSERT_TRUE(RenderSite(site.path(), www.path(), {{"TV_URL", "http://127.0.0.1:14/"}}, error));
    EXPECT_EQ(ReadFile(www.filePath("Settings/Message.ini")), "edited by the operator");
    EXPECT_EQ(ReadFile(www.filePath("Settings/Channel.ini")), "ok\n[TV]\nT=http://127.0.0.1:14/\n");
    EXPECT_FALSE(RenderSite(site.filePath("missing"), www.path(), values, error));
}
