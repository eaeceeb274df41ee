// Song files as listeners keep them: an ID3v2.4 tag that ffprobe reads, and "save this song",
// which writes a song from its first byte although it began before the user asked.
#include "IcyStream.h"
#include "Id3Tag.h"
#include "RecorderTestKit.h"
#include "SongMemory.h"
#include "StreamRecorder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

using namespace recorder;
using namespace icytest;

namespace {

// A tag as players read it: ffprobe given the tag before real MP3 audio (made by ffmpeg).
QString ProbeTagged(const QTemporaryDir& dir, const std::string& tag)
{
    const QString path = dir.filePath("tagged.mp3");
    QProcess tool;
    tool.start("ffmpeg", {"-nostdin", "-loglevel", "error", "-f", "lavfi", "-i", "sine=d=1", "-c:a",
                          "libmp3lame", "-id3v2_version", "0", "-write_id3v1", "0", "-y", path});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return "ffmpeg failed";
    const QByteArray audio = Contents(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(tag.data(), qint64(tag.size())) < 0 ||
        file.write(audio) < 0)
        return "not written";
    file.close();
    tool.start("ffprobe", {"-v", "error", "-show_entries", "format_tags=title,artist,album", "-of",
                           "default=nw=1", path});
    tool.waitForFinished(60000);
    return QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
}

} // namespace

TEST(Id3Tag, FramesAndSizesAsTheFormatWantsThemAndAsFfprobeReadsThem)
{
    const auto tags = TagsFromStreamTitle(" Artist - Title - Live ", "Radio");
    EXPECT_EQ(tags.artist, "Artist");
    EXPECT_EQ(tags.title, "Title - Live");
    EXPECT_EQ(TagsFromStreamTitle("Jingle", "").artist, "");
    // Nothing on one side of the dash: no artist to name, the whole text is the title.
    EXPECT_EQ(TagsFromStreamTitle("Jingle - ", "").title, "Jingle -");
    EXPECT_EQ(TagsFromStreamTitle(" - Jingle", "").artist, "");
    EXPECT_EQ(Id3v24Tag({}), "");
    // A long title: its size needs more than one synchsafe byte.
    const std::string longTitle(300, 'x');
    const auto tag = Id3v24Tag({longTitle, "", "R"});
    EXPECT_EQ(Id3TagSize(tag), tag.size());
    EXPECT_EQ(Id3TagSize("ID3\x04\x00\x00\x00\x00\x80\x00"), 0u);

    QTemporaryDir dir;
    EXPECT_EQ(ProbeTagged(dir, tag), QString("TAG:title=%1\nTAG:album=R\n").arg(longTitle.c_str()));
    // The ";" inside the title is the title's.
    EXPECT_EQ(ProbeTagged(dir, Id3v24Tag(TagsFromStreamTitle("K\xc3\xa4the Ost - Nordlicht; Live",
                                                             "Test FM"))),
              QString::fromUtf8("TAG:title=Nordlicht; Live\nTAG:artist=K\xc3\xa4the Ost\n"
                                "TAG:album=Test FM\n"));
}

// "Save this song" keeps a whole song of a quarter of an hour at 128 kbps; a longer one keeps
// its latest 16 MiB and no longer claims to start at the song's first byte.
TEST(SongFiles, MemoryHoldsALongSongWholeAndKeepsTheLatestPartOfALongerOne)
{
    recorder::SongMemory song;
    song.NewSong(true);
    const std::string block(64 * 1024, 'a');
    for (int i = 0; i < 15 * 16; ++i) // 15 MiB
        song.Append(block);
    EXPECT_EQ(song.Audio().size(), 15u * 1024 * 1024);
    EXPECT_TRUE(song.FromStart());
    song.Append(std::string(2 * 1024 * 1024, 'z'));
    EXPECT_EQ(song.Audio().size(), 16u * 1024 * 1024);
    EXPECT_EQ(song.Audio().back(), 'z');
    EXPECT_FALSE(song.FromStart());
}

// corvane-record --save-on-signal writes nothing until SIGUSR1; then the song playing, from the
// first byte after its title to its next title, in one file. SIGTERM ends it normally.
TEST(SongFiles, SaveOnSignalWritesTheSongFromItsFirstByte)
{
    QTemporaryDir dir;
    TestServer server;
    QProcess run;
    run.start(CORVANE_RECORD, {server.Url(), "--dir", dir.path(), "--save-on-signal", "--no-tags"});
    ASSERT_TRUE(server.WaitForRequest());
    const auto stream = BuildStream(2000, 10, 0, [](int i) {
        return i == 1 ? Title("A") : i == 6 ? Title("B") : std::string();
    });
    // Song A has been playing for three intervals when the user asks.
    const std::size_t asked = stream.bytes.find("StreamTitle='A'") + 16 * 2 + 3 * 2000 + 500;
    server.Send(Header(2000) + stream.bytes.substr(0, asked));
    QString out;
    ASSERT_TRUE(WaitFor([&] {
        out += QString::fromUtf8(run.readAllStandardOutput());
        return out.contains("Title: 'A'\n");
    }));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    ::kill(pid_t(run.processId()), SIGUSR1);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(dir.filePath("'A'.mp3")); }));
    server.Send(stream.bytes.substr(asked));
    ASSERT_TRUE(WaitFor([&] {
        out += QString::fromUtf8(run.readAllStandardOutput());
        return out.contains("Saved: 'A'.mp3\n");
    }));
    ::kill(pid_t(run.processId()), SIGTERM);
    ASSERT_TRUE(WaitFor([&] { return run.state() == QProcess::NotRunning; }));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"'A'.mp3"});
    EXPECT_TRUE(Contents(dir.filePath("'A'.mp3")).toStdString() ==
                stream.audio.substr(stream.textAt[0], stream.textAt[1] - stream.textAt[0]));
}

// A song being saved when the connection drops ends there, with the part it has; the reconnect
// writes nothing more into it.
TEST(SongFiles, ASaveCutByADropKeepsWhatItHas)
{
    QTemporaryDir dir;
    TestServer server;
    StreamRecorder rec(0);
    QStringList saved;
    QObject::connect(&rec, &StreamRecorder::SongSaved, [&](auto name) { saved << name; });
    rec.SetReconnect(true);
    rec.SetKeepSong(true);
    rec.Connection().SetReconnectWaits([](int) { return 10; });
    rec.Tune("127.0.0.1", server.Port());
    ASSERT_TRUE(server.WaitForRequest());
    const auto stream = BuildStream(1000, 4, 300, [](int i) { return i == 0 ? Title("A") : ""; });
    server.Send(Header(1000) + stream.bytes);
    ASSERT_TRUE(WaitFor([&] { return rec.Song().Audio().size() == stream.audio.size() - 1000; }));
    EXPECT_TRUE(rec.Song().FromStart());
    ASSERT_TRUE(rec.SaveCurrentSong(dir.path()));
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return server.connections == 2 && server.WaitForRequest(); }));
    server.Send(Header(1000) + AudioBytes(5000, 3));
    ASSERT_TRUE(WaitFor([&] { return saved == QStringList{"'A'.mp3"}; }));
    EXPECT_FALSE(rec.Recording());
    EXPECT_TRUE(Contents(dir.filePath("'A'.mp3")).toStdString() == stream.audio.substr(1000));
}
