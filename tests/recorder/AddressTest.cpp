#include "Address.h"

#include <gtest/gtest.h>

using recorder::GetHost;
using recorder::GetPort;

TEST(Address, SplitsHostAndPortOfAStreamAddress)
{
    EXPECT_EQ(GetPort("http://10.0.0.1:8000/"), "8000");
    EXPECT_EQ(GetHost("http://10.0.0.1:8000/"), "10.0.0.1");
    EXPECT_EQ(GetPort("http://radio.example:8123/"), "8123");
    EXPECT_EQ(GetHost("http://radio.example:8123/"), "radio.example");
    EXPECT_EQ(GetPort("http://127.0.0.1:8000"), "8000");
    // The port's digits may occur in the host too; the host keeps them.
    EXPECT_EQ(GetHost("http://10.0.0.1:1/"), "10.0.0.1");
    EXPECT_EQ(GetHost("http://radio8000.example:8000/"), "radio8000.example");
}

TEST(Address, AddressesThatGiveNoPortNumber)
{
    // A path after the port stays attached to it: the caller's number conversion fails.
    EXPECT_EQ(GetPort("http://10.0.0.1:8000/stream"), "8000stream");
    // Without a port the last ":" is the one of "http://".
    EXPECT_EQ(GetPort("http://radio.example/"), "radio.example");
    EXPECT_EQ(GetPort("a/b/c"), "abc");
    EXPECT_EQ(GetPort(""), "");
    EXPECT_EQ(GetHost(""), "");
}
