// The rules the directory applies to what it reads, without a window.
#include "ChannelList.h"

#include <gtest/gtest.h>

using namespace directory;

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
