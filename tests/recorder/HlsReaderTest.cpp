// HLS as the recorder reads it: playlists as stations write them, segments made by ffmpeg here
// and now, ID3 tags of both versions, and segments encrypted by the openssl command.
#include "HlsCrypto.h"
#include "HlsPlaylist.h"
#include "HlsSegment.h"
#include "Id3Tag.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace recorder::hls;
namespace fs = std::filesystem;

namespace {

// The exit status of a command, which must end within a minute even on a loaded machine.
int RunCommand(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct TempDir
{
    fs::path path;
    TempDir()
    {
        std::string name = (fs::temp_directory_path() / "hlsreader-XXXXXX").string();
        path = mkdtemp(name.data());
    }
    ~TempDir() { fs::remove_all(path); }
    // ffmpeg's sine of seconds, encoded by codec into a file of format.
    std::string Make(const std::string& file, const std::string& codec, const std::string& format,
                     int seconds = 4, std::vector<std::string> more = {})
    {
        const auto sine = "sine=f=440:d=" + std::to_string(seconds);
        std::vector<std::string> args{"ffmpeg", "-nostdin", "-v",   "error", "-f",   "lavfi",
                                      "-i",     sine,       "-c:a", codec,   "-b:a", "64k"};
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), {"-f", format, (path / file).string()});
        EXPECT_EQ(RunCommand(args), 0) << file;
        return Read(path / file);
    }
    // The elementary audio ffmpeg itself takes out of a TS file.
    std::string Copy(const std::string& ts, const std::string& format)
    {
        const auto out = path / (ts + "." + format);
        EXPECT_EQ(RunCommand({"ffmpeg", "-nostdin", "-v", "error", "-i", (path / ts).string(), "-c",
                              "copy", "-id3v2_version", "0", "-write_xing", "0", "-f", format,
                              out.string()}),
                  0);
        return Read(out);
    }
};

std::string Id3v23(const std::string& frames, char flags = 0)
{
    std::string tag = std::string("ID3\x03\x00", 5) + flags;
    for (int shift = 21; shift >= 0; shift -= 7)
        tag += static_cast<char>((frames.size() >> shift) & 0x7F);
    return tag + frames;
}

std::string Frame23(const std::string& id, const std::string& data)
{
    std::string size;
    for (int shift = 24; shift >= 0; shift -= 8)
        size += static_cast<char>((data.size() >> shift) & 0xFF);
    return id + size + std::string(2, '\0') + data;
}

// A transport stream of its own: PAT, PMT (AAC on 0x100, timed ID3 on 0x101), each PES cut into
// packets whose last is filled out with an adaptation field, as muxers do.
struct TsWriter
{
    std::string out;
    unsigned counter[2] = {};
    void Packets(unsigned pid, std::string payload, bool section)
    {
        if (section)
            payload.insert(0, 1, '\0'); // the pointer field
        for (bool start = true; !payload.empty(); start = false) {
            std::string packet{0x47, static_cast<char>((start ? 0x40 : 0) | pid >> 8),
                               static_cast<char>(pid & 0xFF), 0};
            const std::size_t room = 184;
            std::size_t take = std::min(room, payload.size());
            if (take < room && !section) {
                take = std::min(take, room - 2);
                packet[3] = 0x30;
                packet += static_cast<char>(room - take - 1);
                if (room - take - 1 > 0)
                    packet += '\0' + std::string(room - take - 2, '\xFF');
            } else {
                packet[3] = 0x10;
            }
            packet[3] = static_cast<char>(packet[3] | (counter[pid & 1]++ & 15));
            packet += payload.substr(0, take);
            payload.erase(0, take);
            packet.resize(188, '\xFF');
            out += packet;
        }
    }
    void Tables()
    {
        Packets(0, std::string("\x00\xB0\x0D\x00\x01\xC1\x00\x00\x00\x01\xF0\x00", 12) + "CRC.",
                true);
        Packets(0x1000,
                std::string("\x02\xB0\x17\x00\x01\xC1\x00\x00\xE1\x00\xF0\x00"
                            "\x0F\xE1\x00\xF0\x00\x15\xE1\x01\xF0\x00",
                            22) +
                    "CRC.",
                true);
    }
    void Pes(unsigned pid, const std::string& data)
    {
        const std::size_t length = data.size() + 8;
        std::string pes("\0\0\1\xC0", 4);
        pes += static_cast<char>(length >> 8 & 0xFF);
        pes += static_cast<char>(length & 0xFF);
        pes += std::string("\x80\x80\x05\x21\x00\x01\x00\x01", 8);
        Packets(pid, pes + data, false);
    }
};

} // namespace

TEST(HlsPlaylist, MasterWithQuotedCommasRenditionsAndTheBitrateChoice)
{
    const auto master = ReadPlaylist(
        "\xEF\xBB\xBF#EXTM3U\r\n#EXT-X-VERSION:4\r\n"
        "#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"aud\",NAME=\"Other\",DEFAULT=NO,URI=\"other.m3u8\"\r\n"
        "#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"aud\",NAME=\"Main, "
        "loud\",DEFAULT=YES,URI=\"a.m3u8\"\r\n"
        "\r\n#EXT-X-STREAM-INF:BANDWIDTH=900000,CODECS=\"avc1.4d401f,mp4a.40.2\",AUDIO=\"aud\"\r\n"
        "video.m3u8\r\n"
        "#EXT-X-STREAM-INF:BANDWIDTH=300000,RESOLUTION=640x360\r\nsmall-video.m3u8\r\n"
        "#EXT-X-STREAM-INF:BANDWIDTH=140000,AVERAGE-BANDWIDTH=128000,CODECS=\"mp4a.40.2\"\r\n"
        "hi.m3u8\r\n"
        "#EXT-X-STREAM-INF:CODECS=\"mp4a.40.5,x\",BANDWIDTH=64000,NAME=\"Low, mono\"\r\nlo.m3u8\r\n"
        "#EXT-X-SOMETHING-NEW:X=1\r\n");
    ASSERT_EQ(master.kind, Playlist::Kind::Master) << master.error;
    const auto& variants = master.master.variants;
    ASSERT_EQ(variants.size(), 4u);
    EXPECT_TRUE(variants[0].video);
    EXPECT_EQ(variants[0].codecs, "avc1.4d401f,mp4a.40.2");
    EXPECT_EQ(variants[0].audioUri, "a.m3u8");
    EXPECT_EQ(variants[0].name, "Main, loud");
    EXPECT_TRUE(variants[1].video);
    EXPECT_FALSE(variants[2].video);
    EXPECT_EQ(variants[2].bandwidth, 128000u);
    EXPECT_EQ(variants[3].name, "Low, mono");
    EXPECT_EQ(variants[3].bandwidth, 64000u);
    EXPECT_TRUE(variants[3].audioUri.empty());

    // Audio alone is preferred over any video; the limit picks below itself, else the lowest.
    EXPECT_EQ(ChooseVariant(master.master, 0)->uri, "hi.m3u8");
    EXPECT_EQ(ChooseVariant(master.master, 128000)->uri, "hi.m3u8");
    EXPECT_EQ(ChooseVariant(master.master, 127999)->uri, "lo.m3u8");
    EXPECT_EQ(ChooseVariant(master.master, 1000)->uri, "lo.m3u8");
    MasterPlaylist videoOnly{{variants[0], variants[1]}};
    EXPECT_EQ(ChooseVariant(videoOnly, 500000)->uri, "small-video.m3u8");
    EXPECT_EQ(ChooseVariant(MasterPlaylist{}, 0), nullptr);
}

TEST(HlsPlaylist, LiveMediaPlaylistWithTitlesKeysRangesAndGaps)
{
    const auto live = ReadPlaylist(
        "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXT-X-MEDIA-SEQUENCE:18446744073709551613\n"
        "#EXTINF:2.000,Artist - Song\n"
        "s1.ts\n"
        "#EXT-X-KEY:METHOD=AES-128,URI=\"key?id=1,2\",IV=0x000102030405060708090A0B0C0D0E0F\n"
        "#EXTINF:1.5 title=\"A, B - C\" artist=\"x\",ignored\n"
        "#EXT-X-BYTERANGE:1000@500\n"
        "s2.ts\n"
        "#EXT-X-KEY:METHOD=AES-128,URI=\"k2\"\n"
        "#EXT-X-DISCONTINUITY\n"
        "#EXTINF:2,\n"
        "#EXT-X-BYTERANGE:300\n"
        "s2.ts\n");
    ASSERT_EQ(live.kind, Playlist::Kind::Media) << live.error;
    const auto& media = live.media;
    EXPECT_EQ(media.targetDuration, 2);
    EXPECT_FALSE(media.ended);
    ASSERT_EQ(media.segments.size(), 3u);
    const auto& s = media.segments;
    EXPECT_EQ(s[0].sequence, 18446744073709551613u);
    EXPECT_EQ(s[2].sequence, 18446744073709551615u);
    EXPECT_EQ(s[0].title, "Artist - Song");
    EXPECT_EQ(s[0].key.method, Key::Method::None);
    EXPECT_EQ(s[1].title, "A, B - C");
    EXPECT_DOUBLE_EQ(s[1].duration, 1.5);
    EXPECT_EQ(s[1].key.method, Key::Method::Aes128);
    EXPECT_EQ(s[1].key.uri, "key?id=1,2");
    ASSERT_TRUE(s[1].key.iv);
    EXPECT_EQ((*s[1].key.iv)[0], 0x00);
    EXPECT_EQ((*s[1].key.iv)[15], 0x0F);
    EXPECT_EQ(s[1].range->offset, 500u);
    EXPECT_EQ(s[2].key.uri, "k2");
    EXPECT_FALSE(s[2].key.iv);
    EXPECT_TRUE(s[2].title.empty());
    EXPECT_TRUE(s[2].discontinuity);
    EXPECT_FALSE(s[1].discontinuity);
    EXPECT_EQ(s[2].range->offset, 1500u);
    EXPECT_EQ(s[2].range->length, 300u);

    // One more segment would need a number past the largest: refused, not wrapped to 0.
    const auto wrapped = ReadPlaylist("#EXTM3U\n#EXT-X-MEDIA-SEQUENCE:18446744073709551615\n"
                                      "#EXTINF:1,\na.ts\n#EXTINF:1,\nb.ts\n");
    EXPECT_EQ(wrapped.kind, Playlist::Kind::Broken);

    const auto ended = ReadPlaylist("#EXTM3U\n#EXT-X-KEY:METHOD=SAMPLE-AES,URI=\"k\"\n"
                                    "#EXT-X-MAP:URI=\"init.mp4\"\n#EXTINF:4,\nseg.m4s\n"
                                    "#EXT-X-ENDLIST\n");
    ASSERT_EQ(ended.kind, Playlist::Kind::Media) << ended.error;
    EXPECT_TRUE(ended.media.ended);
    EXPECT_EQ(ended.media.mapUri, "init.mp4");
    EXPECT_EQ(ended.media.segments[0].key.method, Key::Method::SampleAes);
    EXPECT_EQ(ended.media.segments[0].sequence, 0u);
}

TEST(HlsPlaylist, PlainListsAreNotHlsAndBrokenOnesSaySo)
{
    for (const char* plain : {"", "http://a/stream\n", "#EXTM3U\n#EXTINF:-1,Radio\nhttp://a/s\n",
                              "<html>#EXT-X-TARGETDURATION:2</html>"})
        EXPECT_EQ(ReadPlaylist(plain).kind, Playlist::Kind::NotHls) << plain;
    for (const char* broken :
         {"#EXTM3U\n#EXT-X-TARGETDURATION:2\nseg.ts\n",
          "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:abc,\nseg.ts\n",
          "#EXTM3U\n#EXT-X-MEDIA-SEQUENCE:99999999999999999999\n",
          "#EXTM3U\n#EXT-X-KEY:METHOD=AES-128,URI=\"k\",IV=0xZZ\n",
          "#EXTM3U\n#EXT-X-KEY:METHOD=AES-128,URI=\"cut\n",
          "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\n",
          "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nv.m3u8\n#EXTINF:1,\ns.ts\n",
          "#EXTM3U\n#EXT-X-BYTERANGE:10\n#EXTINF:1,\ns.ts\n",
          "#EXTM3U\n#EXT-X-BYTERANGE:18446744073709551615@1\n#EXTINF:1,\ns.ts\n"}) {
        const auto playlist = ReadPlaylist(broken);
        EXPECT_EQ(playlist.kind, Playlist::Kind::Broken) << broken;
        EXPECT_FALSE(playlist.error.empty()) << broken;
    }
    EXPECT_EQ(
        ReadPlaylist("#EXTM3U\n#EXT-X-TARGETDURATION:2\n" + std::string(kMaxPlaylistBytes, '#'))
            .kind,
        Playlist::Kind::Broken);
}

TEST(HlsSegment, TransportStreamsGiveTheAudioFfmpegTakesOutAndTheLastTimedTitle)
{
    TempDir dir;
    const auto aacTs = dir.Make("a.ts", "aac", "mpegts");
    const auto aac = ReadSegment(aacTs);
    ASSERT_EQ(aac.result, SegmentAudio::Result::Ok) << aac.error;
    EXPECT_EQ(aac.kind, AudioKind::Aac);
    const auto adts = dir.Copy("a.ts", "adts");
    EXPECT_EQ(aac.audio, adts);
    EXPECT_FALSE(aac.audio.empty());
    EXPECT_TRUE(aac.title.empty());
    // A segment cut short gives what it holds, never more.
    const auto cut = ReadSegment(std::string_view(aacTs).substr(0, aacTs.size() / 2 + 77));
    EXPECT_EQ(cut.audio, aac.audio.substr(0, cut.audio.size()));

    dir.Make("m.ts", "libmp3lame", "mpegts");
    const auto mp3 = ReadSegment(Read(dir.path / "m.ts"));
    ASSERT_EQ(mp3.result, SegmentAudio::Result::Ok) << mp3.error;
    EXPECT_EQ(mp3.kind, AudioKind::Mp3);
    EXPECT_EQ(mp3.audio, dir.Copy("m.ts", "mp3"));
    EXPECT_EQ(ExtensionFor(mp3.kind), ".mp3");

    // Our own packetizer: audio and timed ID3 interleaved, with stuffed packets.
    TsWriter ts;
    ts.Tables();
    ts.Pes(0x100, adts.substr(0, 3000));
    ts.Pes(0x101, recorder::Id3v24Tag({"First", "", ""}));
    ts.Pes(0x100, adts.substr(3000));
    ts.Pes(0x101, recorder::Id3v24Tag({"Second", "Band", ""}));
    const auto timed = ReadSegment(ts.out);
    ASSERT_EQ(timed.result, SegmentAudio::Result::Ok) << timed.error;
    EXPECT_EQ(timed.audio, adts);
    EXPECT_EQ(timed.title, "Band - Second");

    // The same stream said to be SAMPLE-AES encrypted.
    auto sampleAes = aacTs;
    const auto entry = sampleAes.find(std::string("\x0F\xE1\x00", 3));
    ASSERT_NE(entry, std::string::npos);
    sampleAes[entry] = '\xCF';
    const auto refused = ReadSegment(sampleAes);
    EXPECT_EQ(refused.result, SegmentAudio::Result::Refused);
    EXPECT_NE(refused.error.find("SAMPLE-AES"), std::string::npos) << refused.error;
}

TEST(HlsSegment, PackedAudioLosesItsTagsAndOtherFormatsAreNamed)
{
    TempDir dir;
    const auto first = dir.Make("1.aac", "aac", "adts", 1);
    const auto second = dir.Make("2.aac", "aac", "adts", 1);
    const std::string stamp = Frame23(
        "PRIV", std::string("com.apple.streaming.transportStreamTimestamp\0\0\0\0\0\0\0\0\0", 53));
    const auto packed =
        ReadSegment(Id3v23(stamp) + first + recorder::Id3v24Tag({"Later", "Someone", ""}) + second);
    ASSERT_EQ(packed.result, SegmentAudio::Result::Ok) << packed.error;
    EXPECT_EQ(packed.kind, AudioKind::Aac);
    EXPECT_EQ(packed.audio, first + second);
    EXPECT_EQ(packed.title, "Someone - Later");

    const std::vector<std::string> mp3Args{"-id3v2_version", "0", "-write_xing", "0"};
    const auto mp3a = dir.Make("1.mp3", "libmp3lame", "mp3", 1, mp3Args);
    const auto mp3b = dir.Make("2.mp3", "libmp3lame", "mp3", 1, mp3Args);
    const auto mp3 = ReadSegment(Id3v23(stamp) + mp3a + Id3v23(stamp) + mp3b);
    ASSERT_EQ(mp3.result, SegmentAudio::Result::Ok) << mp3.error;
    EXPECT_EQ(mp3.kind, AudioKind::Mp3);
    EXPECT_EQ(mp3.audio, mp3a + mp3b);

    const auto fmp4 =
        ReadSegment(dir.Make("f.mp4", "aac", "mp4", 1, {"-movflags", "frag_keyframe+empty_moov"}));
    EXPECT_EQ(fmp4.result, SegmentAudio::Result::Refused);
    EXPECT_EQ(fmp4.error, "fMP4/CMAF segments cannot be recorded");
    const auto page = ReadSegment("<!DOCTYPE html><html>Not found</html>");
    EXPECT_EQ(page.result, SegmentAudio::Result::Broken);
    EXPECT_EQ(page.error, "not an audio segment (starts with \"<!DOCTYPE ht\")");
    EXPECT_EQ(ReadSegment(std::string("\0\0\0\0", 4)).result, SegmentAudio::Result::Broken);
    EXPECT_EQ(ReadSegment("Gone.\n").error, "not an audio segment (starts with \"Gone.\")");
}

TEST(HlsId3, BothVersionsTheirEncodingsAndStreamTitleFrames)
{
    // v2.3: UTF-16 with either byte order mark, and a surrogate pair.
    const auto v23 = Id3v23(Frame23("TPE1", std::string("\x01\xFF\xFE"
                                                        "A\0\xE9\0",
                                                        7)) +
                            Frame23("TIT2", std::string("\x01\xFE\xFF\xD8\x3D\xDE\x00", 7)));
    EXPECT_EQ(TitleFromId3(v23), "A\xC3\xA9 - \xF0\x9F\x98\x80");
    // Unsynchronised: every 0xFF carries a 0x00 after it, Latin-1 text and sizes alike.
    const auto unsync = Id3v23(std::string("TIT2\0\0\0\x03\0\0\0\xFF\0!", 14), '\x80');
    EXPECT_EQ(TitleFromId3(unsync), "\xC3\xBF!");
    // v2.4 sizes are synchsafe: a title longer than 127 bytes tells them from plain ones.
    const std::string longTitle(300, 'x');
    EXPECT_EQ(TitleFromId3(recorder::Id3v24Tag({longTitle, "Big", ""})), "Big - " + longTitle);
    // StreamTitle wins, in a TXXX (UTF-16BE here) or a PRIV.
    EXPECT_EQ(
        TitleFromId3(Id3v23(
            Frame23("TIT2", "\x03Plain") +
            Frame23("TXXX", std::string("\x02\0S\0t\0r\0e\0a\0m\0T\0i\0t\0l\0e\0\0\0X\0!", 30)))),
        "X!");
    EXPECT_EQ(TitleFromId3(Id3v23(Frame23("PRIV", std::string("StreamTitle\0Y - Z", 17)) +
                                  Frame23("TIT2", "\x00Plain"))),
              "Y - Z");
    // A tag that claims more than it holds, or frames that do, give nothing past the bytes.
    EXPECT_EQ(TitleFromId3(v23.substr(0, v23.size() - 1)), "");
    EXPECT_EQ(TitleFromId3(Id3v23(std::string("TIT2\x7F\xFF\xFF\xFF\0\0\x03x", 12))), "");
    EXPECT_EQ(TitleFromId3("ID3"), "");
}

TEST(HlsCrypto, SegmentsTheOpensslCommandEncryptedComeBackWithTheRightKeyOnly)
{
    TempDir dir;
    const auto plain = dir.Make("a.ts", "aac", "mpegts", 1);
    const AesKey key{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                     0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    ASSERT_EQ(
        RunCommand({"openssl", "enc", "-aes-128-cbc", "-K", "00112233445566778899aabbccddeeff",
                    "-iv", "00000000000000000000000000012345", "-in", (dir.path / "a.ts").string(),
                    "-out", (dir.path / "a.enc").string()}),
        0);
    const auto encrypted = Read(dir.path / "a.enc");
    EXPECT_EQ(DecryptAes128(encrypted, key, SequenceIv(0x12345)), plain);
    AesKey wrong = key;
    wrong[0] ^= 1;
    EXPECT_EQ(DecryptAes128(encrypted, wrong, SequenceIv(0x12345)), std::nullopt);
    EXPECT_EQ(DecryptAes128(encrypted.substr(0, encrypted.size() - 1), key, SequenceIv(0x12345)),
              std::nullopt);
    EXPECT_EQ(DecryptAes128("", key, SequenceIv(0)), std::nullopt);
}
