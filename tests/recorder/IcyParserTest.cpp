#include "IcyParser.h"
#include "IcyStream.h"

#include <gtest/gtest.h>

#include <random>

using namespace recorder;

namespace {

// The data-arrived loop after the header: every step's rest is parsed again until none is left.
struct Feeder : IcySink
{
    std::string audio;
    std::vector<std::string> texts;
    std::vector<std::size_t> textAt;
    IcyStreamParser parser{*this};
    bool bInMeta = false;

    void WriteOutFile(std::string_view sBuff) override { audio.append(sBuff); }
    void ShowTitle(std::string_view sMetaData) override
    {
        texts.emplace_back(sMetaData);
        textAt.push_back(audio.size());
    }
    void Arrive(std::string_view sData)
    {
        while (!sData.empty())
            sData = parser.ProcessBuffer(sData, bInMeta);
    }
};

} // namespace

TEST(IcyHeader, SplitAnywhereAndKeepsTheAudioThatCameWithIt)
{
    const std::string header = icytest::Header(8192);
    IcyHeaderReader reader;
    // One byte at a time: the blank line is split over arrivals in every possible way.
    for (std::size_t i = 0; i + 1 < header.size(); ++i)
        ASSERT_EQ(reader.Append(header.substr(i, 1)), IcyHeaderReader::Result::NeedMore) << i;
    ASSERT_EQ(reader.Append(header.substr(header.size() - 1) + "AUDIO"),
              IcyHeaderReader::Result::Accepted);
    EXPECT_EQ(reader.sHeader(), header);
    EXPECT_EQ(reader.AfterHeader(), "AUDIO");
    // An HTTP head is a whole answer for the connection to read; an ICY one is accepted as before.
    reader.Reset();
    EXPECT_EQ(reader.Append("HTTP/1.1 200 OK\r\nicy-metaint:8\r\n\r\nAUDIO"),
              IcyHeaderReader::Result::Answered);
    EXPECT_EQ(reader.AfterHeader(), "AUDIO");
    EXPECT_FALSE(reader.Accepted());
    reader.Reset();
    EXPECT_EQ(reader.Append("XYZ\r\n\r\n"), IcyHeaderReader::Result::NeedMore);
}

TEST(IcyTitle, Captions)
{
    EXPECT_EQ(TitleCaption("StreamTitle='A - B';StreamUrl='';"), "Title: 'A - B'");
    EXPECT_EQ(TitleCaption(std::string("StreamTitle='';\0\0\0", 18)), "Title: ''");
    EXPECT_EQ(TitleCaption("StreamUrl='http://x';"), "Title: Title not Available");
    EXPECT_EQ(TitleCaption("StreamTitle='no end'"), std::nullopt); // the label stays as it was
    // A quoted title ends at its closing "';", its own ";" kept; else at the next ";".
    EXPECT_EQ(TitleCaption("StreamTitle='AC/DC; Live - It's; On';StreamUrl='';"),
              "Title: 'AC/DC; Live - It's; On'");
    EXPECT_EQ(TitleCaption("StreamTitle=Bare; title;"), "Title: Bare");
    EXPECT_EQ(TitleCaption("StreamTitle='Open; never closed"), "Title: 'Open");
}

// Blocks of length 0, of lengths from 128 up to 255 (4080 text bytes: the length byte is
// unsigned), in every cutting into arrivals: one-byte arrivals first, so that every cut point
// occurs (a length byte last in an arrival, blocks split, arrivals starting inside an interval).
TEST(IcyParser, AnySplitOfAStreamGivesTheSameAudioAndTexts)
{
    const auto stream = icytest::BuildStream(1000, 40, 333, [](int i) {
        if (i % 3 == 2)
            return std::string();
        if (i % 5 == 4)
            return "StreamTitle='" + std::string(4065 - 100 * (i / 5), 'x') + "';";
        return "StreamTitle='Artist " + std::to_string(i) + "';StreamUrl='';";
    });
    ASSERT_EQ(stream.texts[3].size(), 4080u);
    std::mt19937 random(7);
    for (std::size_t round = 0; round < 40; ++round) {
        Feeder f;
        f.parser.Reset(1000);
        const std::size_t maxPiece = 1 + random() % 5000;
        for (std::size_t at = 0, n; at < stream.bytes.size(); at += n) {
            n = round < 10 ? round + 1 : 1 + random() % maxPiece;
            f.Arrive(std::string_view(stream.bytes).substr(at, n));
        }
        ASSERT_TRUE(f.audio == stream.audio) << "round " << round;
        ASSERT_TRUE(f.texts == stream.texts) << "round " << round;
        ASSERT_EQ(f.textAt, stream.textAt) << "round " << round;
    }
}
