// The program's command line: what main() does for each.
#include "CommandLine.h"

#include <gtest/gtest.h>

using app::ParseCommandLine;
using app::StartRequest;

TEST(CommandLine, AnswersOnTheConsoleOnlyWhatItKnows)
{
    const QString program = QStringLiteral("Corvane_net_player");
    EXPECT_EQ(ParseCommandLine({program}).Request, StartRequest::Run);
    EXPECT_EQ(ParseCommandLine({program, "--print-folder"}).Request, StartRequest::PrintFolder);
    EXPECT_EQ(ParseCommandLine({program, "--version"}).Request, StartRequest::Version);
    EXPECT_EQ(ParseCommandLine({program, "-h"}).Request, StartRequest::Help);
    // --verbose starts the player, telling more.
    EXPECT_FALSE(ParseCommandLine({program}).Verbose);
    const auto verbose = ParseCommandLine({program, "--verbose"});
    EXPECT_EQ(verbose.Request, StartRequest::Run);
    EXPECT_TRUE(verbose.Verbose);
    // A typo must not start a second player silently, nor a stray word.
    const auto typo = ParseCommandLine({program, "--print-foldr"});
    EXPECT_EQ(typo.Request, StartRequest::Error);
    EXPECT_TRUE(typo.Error.contains("print-foldr"));
    EXPECT_EQ(ParseCommandLine({program, "extra"}).Request, StartRequest::Error);
    EXPECT_EQ(app::AnswerConsoleRequest(typo), 2);

    // Only the program's own answers skip the display; Qt's options go to the windowed start.
    QByteArray name("Corvane_net_player"), folder("--print-folder"), platform("-platform"),
        xcb("xcb");
    char* console[] = {name.data(), platform.data(), xcb.data(), folder.data()};
    EXPECT_TRUE(app::IsConsoleRequest(4, console));
    char* windowed[] = {name.data(), platform.data(), xcb.data()};
    EXPECT_FALSE(app::IsConsoleRequest(3, windowed));
}
