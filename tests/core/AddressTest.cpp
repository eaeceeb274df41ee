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

// Only web pages leave the program: nothing the operator writes opens a local file or program.
TEST(Address, WebAddressesAreHttpOrHttpsAndNothingElse)
{
    EXPECT_EQ(core::WebAddress(" https://operator.example/offer?id=7 "),
              QUrl("https://operator.example/offer?id=7"));
    EXPECT_EQ(core::WebAddress("HTTP://127.0.0.1:8600/about.html"),
              QUrl("http://127.0.0.1:8600/about.html"));
    EXPECT_EQ(core::WebAddress("operator.example/offer"), QUrl("http://operator.example/offer"));
    for (const char* refused :
         {"", "file:///etc/passwd", "/etc/passwd", "~/.bashrc", "javascript:alert(1)",
          "ftp://operator.example/x", "mailto:a@example.com", "steam://run/1", "http://",
          "data:text/html,<b>x</b>", "FILE:/home"})
        EXPECT_TRUE(core::WebAddress(refused).isEmpty()) << refused;
}
