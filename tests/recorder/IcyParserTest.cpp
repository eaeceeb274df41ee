#include "IcyParser.h"
#include "IcyStream.h"

#include <gtest/gtest.h>

#include <random>

using namespace recorder;
using icytest::BuildStream;
using icytest::MetaBlock;

namespace {

struct Recorded : IcySink
{
    std::string audio;
    std::vector<std::string> texts;
    std::vector<std::size_t> textAt;
    int writes = 0;
    void WriteOutFile(std::string_view sBuff) override
    {
        audio.append(sBuff);
        ++writes;
    }
    void ShowTitle(std::string_view sMetaData) override
    {
        texts.emplace_back(sMetaData);
        textAt.push_back(audio.size());
    }
};

// The data-arrived loop after the header: every step's rest is parsed again until none is left.
struct Feeder
{
    Recorded sink;
    IcyStreamParser parser{sink};
    bool bInMeta = false;
    explicit Feeder(int metaInt) { parser.Reset(metaInt); }
    void Arrive(std::string_view sData)
    {
        while (!sData.empty())
            sData = parser.ProcessBuffer(sData, bInMeta);
    }
    void ArriveInPieces(const std::string& bytes, const std::vector<std::size_t>& cuts)
    {
        std::size_t from = 0;
        for (auto cut : cuts) {
            Arrive(std::string_view(bytes).substr(from, cut - from));
            from = cut;
        }
        Arrive(std::string_view(bytes).substr(from));
    }
};

std::string Title(int i)
{
    if (i % 3 == 2)
        return {}; // a block of length 0
    if (i % 5 == 4)
        return "StreamTitle='" + std::string(2000 + i, 'x') + "';"; // length byte >= 128
    return "StreamTitle='Artist " + std::to_string(i) + " - Song';StreamUrl='';";
}

} // namespace

TEST(IcyHeader, AcceptedOnTheArrivalThatCompletesTheBlankLine)
{
    const std::string header = icytest::Header(8192);
    IcyHeaderReader reader;
    // One byte at a time: the blank line is split over arrivals in every possible way.
    for (std::size_t i = 0; i + 1 < header.size(); ++i)
        ASSERT_EQ(reader.Append(header.substr(i, 1)), IcyHeaderReader::Result::NeedMore) << i;
    ASSERT_EQ(reader.Append(header.substr(header.size() - 1) + "AUDIO"),
              IcyHeaderReader::Result::Accepted);
    EXPECT_EQ(reader.sHeader(), header);
    EXPECT_EQ(reader.AfterHeader(), "AUDIO"); // audio that came with the header is kept
    EXPECT_EQ(MetaIntOf(reader.sHeader()), 8192);

    reader.Reset();
    EXPECT_EQ(reader.Append("ICY 200 OK\r\n\r\n"), IcyHeaderReader::Result::Accepted);
    EXPECT_EQ(reader.AfterHeader(), "");
}

TEST(IcyHeader, PlainHttpIsNeverAcceptedAndAHeaderThatNeverEndsIsGivenUp)
{
    IcyHeaderReader http;
    EXPECT_EQ(http.Append("HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n"),
              IcyHeaderReader::Result::NeedMore);
    EXPECT_EQ(http.Append(std::string(1000, 'a')), IcyHeaderReader::Result::NeedMore);
    EXPECT_FALSE(http.Accepted());
    EXPECT_EQ(http.sHeader(), "");

    IcyHeaderReader endless;
    auto result = endless.Append("ICY 200 OK\r\n");
    const std::string line = "icy-notice: more and more\r\n";
    std::size_t total = 12;
    while (result == IcyHeaderReader::Result::NeedMore) {
        result = endless.Append(line);
        total += line.size();
        ASSERT_LE(total, kMaxHeaderBytes + line.size());
    }
    EXPECT_EQ(result, IcyHeaderReader::Result::TooLong);
    EXPECT_GT(total, kMaxHeaderBytes);
}

TEST(IcyHeader, MetaIntIsAPositiveSaneNumberOrZero)
{
    auto metaInt = [](const std::string& value) {
        return MetaIntOf("ICY 200 OK\r\nicy-metaint:" + value + "\r\n\r\n");
    };
    EXPECT_EQ(metaInt("16000"), 16000);
    EXPECT_EQ(metaInt("  8192 "), 8192);
    EXPECT_EQ(metaInt("0"), 0);
    EXPECT_EQ(metaInt("-8192"), 0);
    EXPECT_EQ(metaInt("8k"), 0);
    EXPECT_EQ(metaInt(""), 0);
    EXPECT_EQ(metaInt("99999999999"), 0);
    EXPECT_EQ(metaInt(std::to_string(kMaxMetaInt)), kMaxMetaInt);
    EXPECT_EQ(metaInt(std::to_string(kMaxMetaInt + 1)), 0);
    EXPECT_EQ(MetaIntOf("ICY 200 OK\r\nicy-br:128\r\n\r\n"), 0);
}

TEST(IcyHeader, ShowInfoTexts)
{
    const std::string full = "ICY 200 OK\r\nicy-name: Radio Été \r\nicy-br:128\r\n\r\n";
    EXPECT_EQ(StationText(full), " Radio Été "); // untrimmed, bytes as they came
    EXPECT_EQ(BitrateText(full), "Bitrate: 128 Kbps");
    const std::string bare = "ICY 200 OK\r\nicy-metaint:8192\r\n\r\n";
    EXPECT_EQ(StationText(bare), "unknown station");
    EXPECT_EQ(BitrateText(bare), "Bitrate: unknown bitrate");
}

TEST(IcyTitle, CaptionsAndSongNames)
{
    EXPECT_EQ(TitleCaption("StreamTitle='A - B';StreamUrl='';"), "Title: 'A - B'");
    EXPECT_EQ(TitleCaption(std::string("StreamTitle='';\0\0\0", 18)), "Title: ''");
    EXPECT_EQ(TitleCaption("StreamUrl='http://x';"), "Title: Title not Available");
    EXPECT_EQ(TitleCaption("StreamTitle='no end'"), std::nullopt); // the label stays as it was

    EXPECT_EQ(SongFileName("Title: 'A - B'"), "'A - B'.mp3");
    EXPECT_EQ(SongFileName("Title:"), ".mp3");
    EXPECT_EQ(SongFileName("Title: 'Live: Paris'"), "'Live.mp3");
    EXPECT_EQ(SongFileName("Title: Title not Available"), "Title not Available.mp3");
}

TEST(IcyParser, ArrivalStartingInsideTheInterval)
{
    // metaint 8192, an arrival of 10000 bytes that starts 8000 bytes into the interval.
    Feeder f(8192);
    f.Arrive(std::string(8000, 'a'));
    const std::string block = MetaBlock("StreamTitle='" + std::string(1985, 'T') + "';");
    ASSERT_EQ(block.size(), 2001u);
    const std::string arrival =
        std::string(192, 'b') + block + std::string(10000 - 192 - block.size(), 'c');
    f.Arrive(arrival);
    EXPECT_TRUE(f.sink.audio == std::string(8000, 'a') + std::string(192, 'b') +
                                    std::string(10000 - 192 - block.size(), 'c'));
    ASSERT_EQ(f.sink.texts.size(), 1u);
    EXPECT_EQ(f.sink.textAt[0], 8192u);
    EXPECT_EQ(f.parser.lByteCount, static_cast<int>(10000 - 192 - block.size()));
    EXPECT_FALSE(f.bInMeta);
}

TEST(IcyParser, LengthByteAtTheEndOfAnArrivalAndBlocksSplitAcrossArrivals)
{
    const std::string block = MetaBlock("StreamTitle='Split';");
    const std::string bytes = std::string(16, 'a') + block + std::string(16, 'b');
    // Cut right after the length byte, then inside the text, then at the text's last byte.
    Feeder f(16);
    f.ArriveInPieces(bytes, {17, 20, 16 + block.size()});
    ASSERT_EQ(f.sink.texts.size(), 1u);
    EXPECT_EQ(f.sink.texts[0], block.substr(1));
    EXPECT_EQ(f.sink.audio, std::string(16, 'a') + std::string(16, 'b'));

    // A length byte of 0 consumes one byte and touches neither title nor file.
    Feeder zero(4);
    zero.Arrive(std::string("aaaa") + '\0' + "bbbb");
    EXPECT_TRUE(zero.sink.texts.empty());
    EXPECT_EQ(zero.sink.audio, "aaaabbbb");
    EXPECT_TRUE(zero.bInMeta); // the next byte is a length byte again
}

TEST(IcyParser, AnySplitOfAStreamGivesTheSameAudioAndTexts)
{
    const auto stream = BuildStream(1000, 40, 333, Title);
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        std::vector<std::size_t> cuts;
        const std::size_t maxPiece = round < 10 ? 1 + round : 1 + random() % 5000;
        for (std::size_t at = 1 + random() % maxPiece; at < stream.bytes.size();
             at += 1 + random() % maxPiece)
            cuts.push_back(at);
        Feeder f(1000);
        f.ArriveInPieces(stream.bytes, cuts);
        ASSERT_TRUE(f.sink.audio == stream.audio) << "round " << round;
        ASSERT_TRUE(f.sink.texts == stream.texts) << "round " << round;
        ASSERT_EQ(f.sink.textAt, stream.textAt) << "round " << round;
    }
}

TEST(IcyParser, LongestBlockIsReadWhole)
{
    // 255 * 16 = 4080 text bytes: the length byte must be read unsigned.
    const std::string text = "StreamTitle='" + std::string(4080 - 15, 'z') + "';";
    ASSERT_EQ(text.size(), 4080u);
    Feeder f(8);
    f.Arrive("12345678" + MetaBlock(text) + "abc");
    ASSERT_EQ(f.sink.texts.size(), 1u);
    EXPECT_TRUE(f.sink.texts[0] == text);
    EXPECT_EQ(f.sink.audio, "12345678abc");
}

TEST(IcyParser, NoIntervalMeansEverythingIsAudio)
{
    Feeder f(0);
    const std::string bytes = icytest::AudioBytes(50000, 3);
    f.ArriveInPieces(bytes, {1, 2, 4096, 30000});
    EXPECT_TRUE(f.sink.audio == bytes);
    EXPECT_TRUE(f.sink.texts.empty());
    EXPECT_TRUE(f.parser.AtIntervalStart());
}
