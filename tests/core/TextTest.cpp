#include "Text.h"

#include <gtest/gtest.h>

using core::Fallback;
using core::ShowBytes;

// Names come from operators' files in either encoding: both must read as their authors wrote them.
TEST(Text, ShowsUtf8AsUtf8AndEverythingElseByteByByte)
{
    EXPECT_EQ(ShowBytes(std::string_view("Caf\xC3\xA9 del Mar")), QStringLiteral("Café del Mar"));
    EXPECT_EQ(ShowBytes(std::string_view("Caf\xE9 del Mar")), QStringLiteral("Café del Mar"));
    // 0x80..0x9F: Windows-1252's euro sign and quotes, or Latin-1's control characters.
    EXPECT_EQ(ShowBytes(std::string_view("\x80 \x93hi\x94")), QStringLiteral("€ “hi”"));
    EXPECT_EQ(ShowBytes(std::string_view("\x9F\xFF")), QStringLiteral("Ÿÿ")); // both ends
    EXPECT_EQ(ShowBytes(std::string_view("\x80"), Fallback::Latin1), QString(QChar(0x80)));
    // A truncated UTF-8 sequence is not UTF-8: every byte still shows, none is dropped.
    EXPECT_EQ(ShowBytes(std::string_view("ab\xC3")).size(), 3);
}

TEST(Text, AnIniNameKeepsTheBytesItWasReadWith)
{
    const auto name = core::IniName::FromBytes("Radio \xE9t\xE9");
    EXPECT_EQ(name.Shown, QStringLiteral("Radio été"));
    EXPECT_EQ(name.Bytes, "Radio \xE9t\xE9");
    EXPECT_EQ(core::StoreText(QStringLiteral("Radio été")), "Radio \xC3\xA9t\xC3\xA9");
}
