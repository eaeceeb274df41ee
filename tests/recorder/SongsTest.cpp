// Song files as listeners keep them: an ID3v2.4 tag read back by ffprobe with the audio exactly as
// received after it, and "save this song", which writes a song from its first byte although it
// began before the user asked.
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

// Real MP3 audio (ffprobe must recognise the file), made by ffmpeg in the test's folder.
std::string Mp3Audio(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("tone.mp3");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-loglevel", "error", "-f", "lavfi", "-i", "sine=f=440:d=3",
                            "-c:a", "libmp3lame", "-b:a", "128k", "-write_xing", "0",
                            "-id3v2_version", "0", "-write_id3v1", "0", "-y", path});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return {};
    return Contents(path).toStdString();
}

// audio in intervals of metaInt with a block after each; titles[i] (if any) in block i.
Stream Interleave(const std::string& audio, int metaInt, const std::vector<std::string>& titles)
{
    Stream s;
    for (std::size_t at = 0, i = 0; at < audio.size(); at += std::size_t(metaInt), ++i) {
        const auto piece = audio.substr(at, std::size_t(metaInt));
        s.bytes += piece;
        s.audio += piece;
        if (piece.size() < std::size_t(metaInt))
            break;
        auto text = i < titles.size() ? titles[i] : std::string();
        const std::size_t units = (text.size() + 15) / 16;
        text.resize(units * 16, '\0');
        s.bytes += char(units) + text;
        if (units) {
            s.texts.push_back(text);
            s.textAt.push_back(s.audio.size());
        }
    }
    return s;
}

QString Probe(const QString& path)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-show_entries", "format_tags=title,artist,album",
                              "-of", "default=nw=1", path});
    ffprobe.waitForFinished(60000);
    return QString::fromUtf8(ffprobe.readAllStandardOutput() + ffprobe.readAllStandardError());
}

} // namespace

TEST(Id3Tag, FramesAndSizesAsTheFormatWantsThem)
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
    EXPECT_EQ(tag.substr(0, 6), std::string("ID3\x04\x00\x00", 6));
    EXPECT_EQ(Id3TagSize(tag), tag.size());
    const auto frame = tag.find("TIT2");
    ASSERT_NE(frame, std::string::npos);
    EXPECT_EQ(tag.substr(frame + 4, 4), std::string("\x00\x00\x02\x2d", 4)); // 301 = 2 * 128 + 45
    EXPECT_EQ(tag.substr(frame + 10, 1), "\x03");                            // UTF-8
    EXPECT_EQ(tag.find("TPE1"), std::string::npos);
    EXPECT_EQ(Id3TagSize("ID3\x04\x00\x00\x00\x00\x80\x00"), 0u);
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

TEST(SongFiles, TagsReadBackWithFfprobeAndTheAudioAfterThemIsAsReceived)
{
    QTemporaryDir dir;
    const auto audio = Mp3Audio(dir);
    ASSERT_FALSE(audio.empty());
    const auto stream =
        Interleave(audio, 4096,
                   {Title("K\xc3\xa4the Ost - Nordlicht; Live"), "", "", "", "", Title("Jingle")});
    TestServer server;
    StreamRecorder rec(0);
    bool ended = false;
    QObject::connect(&rec, &StreamRecorder::StreamEnded, [&] { ended = true; });
    rec.SetSongTags(true);
    rec.SetFileBySong(true);
    rec.Tune("127.0.0.1", server.Port());
    ASSERT_TRUE(server.WaitForRequest());
    ASSERT_TRUE(rec.StartSongRecording(dir.path()));
    server.Send(Header(4096, "icy-name:Test FM\r\n") + stream.bytes);
    server.Close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    rec.StopRecording();

    // The ";" inside the title is the title's: the file and the tags keep it.
    const QString song =
        dir.filePath(QString::fromUtf8("'K\xc3\xa4the Ost - Nordlicht; Live'.mp3"));
    EXPECT_EQ(Probe(song),
              QString::fromUtf8("TAG:title=Nordlicht; Live\nTAG:artist=K\xc3\xa4the Ost\n"
                                "TAG:album=Test FM\n"));
    EXPECT_EQ(Probe(dir.filePath("'Jingle'.mp3")), "TAG:title=Jingle\nTAG:album=Test FM\n");
    const auto bytes = Contents(song).toStdString();
    EXPECT_TRUE(bytes.substr(Id3TagSize(bytes)) ==
                stream.audio.substr(stream.textAt[0], stream.textAt[1] - stream.textAt[0]));
}

// corvane-record --save-on-signal writes nothing until SIGUSR1; then the song playing, from the
// first byte after its title to its next title, in one file.
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
