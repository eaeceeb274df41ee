#include "Address.h"

#include <gtest/gtest.h>

TEST(Address, SplitsTheChannelFormAndKeepsPortDigitsInTheHost)
{
    EXPECT_EQ(core::GetPort("http://10.0.0.1:8000/"), "8000");
    EXPECT_EQ(core::GetHost("http://10.0.0.1:8000/"), "10.0.0.1");
    EXPECT_EQ(core::GetHost("http://10.0.0.1:1/"), "10.0.0.1");
    EXPECT_EQ(core::GetHost("http://radio8000.example:8000/"), "radio8000.example");
    // A path stays on the port, slashes removed; no ":" at all gives the address without slashes.
    EXPECT_EQ(core::GetPort("http://10.0.0.1:8000/stream"), "8000stream");
    EXPECT_EQ(core::GetPort("radio/live/"), "radiolive");
}
