// HLS as the recorder reads it: playlists as stations write them, segments made by ffmpeg here
// and now, ID3 tags of both versions, and segments encrypted by the openssl command.
#include "HlsCrypto.h"
#include "HlsPlaylist.h"
#include "HlsSegment.h"

#include <gtest/gtest.h>

using namespace recorder::hls;

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
