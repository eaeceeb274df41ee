// Today's answers read as bytes: HTTP heads in any letter case, chunked coding cut anywhere,
// playlists that name streams (and HLS lists that do not).
#include "HttpAnswer.h"
#include "IcyParser.h"
#include "IcyStream.h"

#include <gtest/gtest.h>

using namespace recorder;

TEST(HttpAnswer, HeadsOfIcecastAndShoutcastInIcyForm)
{
    const auto ice = ReadHttpAnswer("HTTP/1.1 200 OK\r\nContent-Type: audio/aacp; x=1\r\n"
                                    "ICY-NAME: Ice \xc3\xa9 FM \r\nice-audio-info: "
                                    "ice-samplerate=44100;ice-bitrate=192;ice-channels=2\r\n"
                                    "Icy-MetaInt: 16000\r\ntransfer-encoding: Chunked\r\n\r\n");
    EXPECT_EQ(ice.status, 200);
    EXPECT_TRUE(ice.chunked);
    EXPECT_EQ(ice.contentType, "audio/aacp");
    EXPECT_EQ(FileExtensionFor(ice.contentType), ".aac");
    EXPECT_EQ(MetaIntOf(ice.icyHeader), 16000);
    EXPECT_EQ(StationText(ice.icyHeader), "Ice \xc3\xa9 FM");
    EXPECT_EQ(BitrateText(ice.icyHeader), "Bitrate: 192 Kbps");

    const auto plain = ReadHttpAnswer("HTTP/1.0 200 OK\r\nContent-Type: audio/ogg\r\n\r\n");
    EXPECT_EQ(plain.status, 200);
    EXPECT_FALSE(plain.chunked);
    EXPECT_EQ(MetaIntOf(plain.icyHeader), 0);
    EXPECT_EQ(StationText(plain.icyHeader), "unknown station");
    EXPECT_EQ(BitrateText(plain.icyHeader), "Bitrate: unknown bitrate");
    EXPECT_EQ(FileExtensionFor(plain.contentType), ".ogg");
    EXPECT_EQ(FileExtensionFor(""), ".mp3");
    // Not a positive number within the bound: the stream carries no metadata.
    for (const char* absurd : {"0", "-8192", "8k", "", "99999999999", "1048577"})
        EXPECT_EQ(MetaIntOf(std::string("ICY 200 OK\r\nicy-metaint:") + absurd + "\r\n\r\n"), 0)
            << absurd;

    const auto moved = ReadHttpAnswer("HTTP/1.1 307 Temporary\r\nLocation: /live\r\n\r\n");
    EXPECT_TRUE(IsRedirect(moved.status));
    EXPECT_EQ(moved.location, "/live");
    EXPECT_FALSE(IsRedirect(ReadHttpAnswer("HTTP/1.1 304 Not Modified\r\n\r\n").status));
    EXPECT_EQ(ReadHttpAnswer("HTTP/2 200\r\n\r\n").status, 0);
    EXPECT_EQ(ReadHttpAnswer("HTTP/1.1 2x0 OK\r\n\r\n").status, 0);
    EXPECT_EQ(ReadHttpAnswer("HTTP/1.1 -02 OK\r\n\r\n").status, 0);
    EXPECT_EQ(ReadHttpAnswer("HTTP/1.1 20").status, 0);
}

TEST(ChunkedDecoder, AnyCutGivesTheDataByteForByteAndBrokenFramingIsRefused)
{
    const auto data = icytest::AudioBytes(50000, 3);
    for (const std::size_t chunk : {1u, 7u, 4096u, 70000u}) {
        const auto framed = icytest::Chunked(data, chunk, ";ext=1", "X-Trailer: y\r\n");
        for (const std::size_t cut : {1u, 2u, 13u, 1000u, 1u << 20}) {
            ChunkedDecoder decoder;
            std::string out;
            auto result = ChunkedDecoder::Result::Ok;
            for (std::size_t at = 0; at < framed.size(); at += cut) {
                ASSERT_EQ(result, ChunkedDecoder::Result::Ok);
                result = decoder.Decode(std::string_view(framed).substr(at, cut), out);
            }
            EXPECT_EQ(result, ChunkedDecoder::Result::Done) << chunk << "/" << cut;
            EXPECT_TRUE(out == data) << chunk << "/" << cut;
        }
    }
    for (const std::string& bad :
         {std::string("zz\r\n"), std::string("5\r\nabcdeX\r\n"), std::string("-1\r\n"),
          std::string("1234567890abcdef0\r\n"), std::string(5000, '1')}) {
        ChunkedDecoder decoder;
        std::string out;
        EXPECT_EQ(decoder.Decode(bad, out), ChunkedDecoder::Result::Bad) << bad.substr(0, 20);
        EXPECT_EQ(decoder.Decode("1\r\na\r\n", out), ChunkedDecoder::Result::Bad);
        EXPECT_LE(out.size(), 5u);
    }
}

TEST(Playlist, PlsAndM3uNameStreamsHlsNamesNone)
{
    EXPECT_TRUE(IsPlaylist("audio/x-scpls", "/"));
    EXPECT_TRUE(IsPlaylist("text/plain", "/listen.M3U?sid=1"));
    EXPECT_FALSE(IsPlaylist("audio/mpeg", "/live.mp3"));
    EXPECT_FALSE(IsPlaylist("audio/mpeg", "/stream.m3u")); // the answer is the stream itself
    EXPECT_EQ(PlaylistEntries("[playlist]\r\nNumberOfEntries=2\r\nFile1=http://a:8000/\r\n"
                              "Title1=A\r\nfile2 = https://b/live\r\nVersion=2\r\n"),
              (std::vector<std::string>{"http://a:8000/", "https://b/live"}));
    EXPECT_EQ(PlaylistEntries("#EXTM3U\n#EXTINF:-1,Radio\nhttp://c/stream\n\nrelative.mp3\n"),
              (std::vector<std::string>{"http://c/stream"}));
    EXPECT_TRUE(PlaylistEntries("#EXTM3U\n#EXT-X-TARGETDURATION:6\n#EXTINF:6,\n"
                                "http://c/seg1.ts\n")
                    .empty());
}
