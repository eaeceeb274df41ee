// What the directory reads from its files and the rules it applies, without a window.
#include "ChannelList.h"
#include "DirectoryFolder.h"

#include <gtest/gtest.h>

using namespace directory;

namespace {

QStringList Shown(const std::vector<core::IniName>& names)
{
    QStringList texts;
    for (const core::IniName& name : names)
        texts << name.Shown;
    return texts;
}

} // namespace

TEST(ChannelList, TypesAndChannelsComeInFileOrderByPosition)
{
    DirectoryFolder folder;
    EXPECT_TRUE(ChannelList::Types().empty()) << "no Channel.ini yet";
    EXPECT_TRUE(ChannelList::Channels(0).empty());

    folder.Write("Channel.ini", "ok\r\n[Rock]\r\nZulu=http://a/\r\nAlpha=http://b/\r\n"
                                "[Empty]\r\n"
                                "[Jazz]\r\nSmooth=http://c/\r\n");
    EXPECT_EQ(Shown(ChannelList::Types()), QStringList({"Rock", "Empty", "Jazz"}));
    EXPECT_EQ(Shown(ChannelList::Channels(0)), QStringList({"Zulu", "Alpha"}));
    EXPECT_TRUE(ChannelList::Channels(1).empty());
    EXPECT_TRUE(ChannelList::Channels(3).empty()) << "past the last section";
    EXPECT_TRUE(ChannelList::Channels(-1).empty());
    EXPECT_EQ(ChannelList::Address("Rock", "Alpha"), "http://b/");
    EXPECT_EQ(ChannelList::Address("Rock", "Nobody"), "");
}

TEST(FindExact, WholeTextLetterCaseIgnoredFirstMatchWins)
{
    const QStringList entries{"Jazz FM", "jazz", "JAZZ", "", QString::fromUtf8("Música")};
    EXPECT_EQ(FindExact(entries, "JAZZ fm"), 0);
    EXPECT_EQ(FindExact(entries, "Jazz"), 1) << "the first of the entries equal but for case";
    EXPECT_EQ(FindExact(entries, "Jaz"), -1) << "a beginning is not a match";
    EXPECT_EQ(FindExact(entries, "Jazz FM "), -1);
    EXPECT_EQ(FindExact(entries, ""), 3) << "only an empty entry matches an empty text";
    EXPECT_EQ(FindExact({"a", "b"}, ""), -1);
    EXPECT_EQ(FindExact(entries, QString::fromUtf8("MÚSICA")), 4);
}

TEST(IsLoopbackAddress, OnlyThisMachineCounts)
{
    for (const char* local :
         {"http://127.0.0.1:8601/", "http://localhost:8601/stream", "http://LOCALHOST/",
          "http://[::1]:8000/", "http://127.8.9.1/", "127.0.0.1:8601", "mms://localhost./x"})
        EXPECT_TRUE(IsLoopbackAddress(local)) << local;
    for (const char* remote : {"http://radio.example.com:8000/", "http://10.0.0.1:8000/",
                               "http://localhost.example.com/", "http://128.0.0.1/", "", "nonsense",
                               "http://127.0.0.1.example.com/"})
        EXPECT_FALSE(IsLoopbackAddress(remote)) << remote;
}
