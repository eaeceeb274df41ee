// The channel directory window with real files, a stand-in player window found through the
// registry.
#include "frmTray.h"
#include "CNetConn.h"
#include "DirectoryWindowKit.h"
#include "DirectoryWindows.h"
#include "FakeQuestions.h"
#include "ProgramState.h"
#include "WebAd.h"
#include "WindowRegistry.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace directory;

namespace {

const QByteArray kLastPlayBebop =
    "[Server]\r\nURL=http://127.0.0.1:8600/\r\n[LastPlay]\r\nType=jazz\r\nChannel=BEBOP\r\n";

const QString kOffline = QStringLiteral(
    "You are no longer connected to Internet!!. Please active internet connection and try again");

} // namespace

TEST(frmTray, ListsInFileOrderWithCountsDockedAndASelectedChannelPlaysAndIsRemembered)
{
    TempProgramFolder folder;
    folder.Write("Channel.ini", kThreeTypes);
    folder.Write("Settings.ini", "[Server]\r\nURL=http://127.0.0.1:8600/\r\n");
    AnsweredQuestions questions;
    FakePlayer player;
    OpenDirectory tray;
    ASSERT_TRUE(tray.window);

    EXPECT_EQ(tray->pos(), QPoint(40, 293)) << "under the player, 100 twips overlapping";
    EXPECT_EQ(tray->WebAd->toolTip(), "Click for more information");
    EXPECT_EQ(Entries(tray->ListType), QStringList({"Rock", "Jazz", "Empty"}));
    EXPECT_EQ(tray->Label3->text(), "Channel type(00)");
    EXPECT_EQ(tray->Label2->text(), "Channels (00)");
    EXPECT_TRUE(tray->ListChannel->count() == 0);

    // A user's click on the second type.
    const QRect jazz = tray->ListType->visualItemRect(tray->ListType->item(1));
    QTest::mouseClick(tray->ListType->viewport(), Qt::LeftButton, {}, jazz.center());
    EXPECT_EQ(Entries(tray->ListChannel), QStringList({"Smooth", "Bebop"}));
    EXPECT_EQ(tray->Label3->text(), "Channel type (3)");
    EXPECT_EQ(tray->Label2->text(), "Channels (2)");
    EXPECT_EQ(tray->SelectedType(), "Jazz");
    EXPECT_EQ(tray->SelectedChannel(), "");

    tray->ListType->setCurrentRow(2);
    EXPECT_TRUE(tray->ListChannel->count() == 0);
    EXPECT_EQ(tray->Label2->text(), "Channels (0)");
    EXPECT_TRUE(player.Played.isEmpty());

    // A channel clicked plays and is remembered.
    core::State().SetPlayStopped(true);
    tray->ListType->setCurrentRow(0);
    const QRect classic = tray->ListChannel->visualItemRect(tray->ListChannel->item(0));
    QTest::mouseClick(tray->ListChannel->viewport(), Qt::LeftButton, {}, classic.center());
    EXPECT_EQ(player.Played, QStringList({"http://127.0.0.1:8601/"}));
    EXPECT_FALSE(core::State().PlayStopped());
    // Clicked again, the channel starts again (a refused channel can be tried again); found
    // again by name, it is already selected and is not restarted.
    QTest::mouseClick(tray->ListChannel->viewport(), Qt::LeftButton, {}, classic.center());
    EXPECT_EQ(player.Played.size(), 2);
    tray->FindItem(tray->ListChannel, "classic");
    EXPECT_EQ(player.Played.size(), 2);
    const QByteArray settings = folder.Read("Settings.ini");
    EXPECT_TRUE(settings.contains("[LastPlay]\r\nType=Rock\r\nChannel=Classic\r\n"))
        << settings.toStdString();
    EXPECT_TRUE(settings.contains("URL=http://127.0.0.1:8600/"));

    EXPECT_TRUE(questions->Log.empty());
}

TEST(frmTray, OpeningRestoresTheLastChannelOnceAndReopeningStartsItAgain)
{
    TempProgramFolder folder;
    folder.Write("Channel.ini", kThreeTypes);
    folder.Write("Settings.ini", kLastPlayBebop);
    AnsweredQuestions questions;
    FakePlayer player;
    {
        OpenDirectory tray;
        ASSERT_TRUE(tray.window);
        EXPECT_EQ(tray->SelectedType(), "Jazz");
        EXPECT_EQ(tray->SelectedChannel(), "Bebop");
        EXPECT_EQ(player.Played, QStringList({"http://127.0.0.1:8603/"}));
        // The timer's second restore finds both already selected and restarts nothing.
        EXPECT_TRUE(WaitUntil([&] { return !tray->Timer1->isActive(); }));
        EXPECT_EQ(player.Played.size(), 1);
        // Remembered with the displayed texts.
        EXPECT_TRUE(folder.Read("Settings.ini").contains("Type=Jazz\r\nChannel=Bebop"));
    }
    {
        OpenDirectory tray; // reopened by the player's directory toggle
        ASSERT_TRUE(tray.window);
        EXPECT_EQ(tray->SelectedChannel(), "Bebop");
        EXPECT_EQ(player.Played.size(), 2) << "opening again starts the channel again";
    }

    // The operator's new list, stored since, with names in Windows-1252: listed as written; a
    // remembered channel that is gone selects nothing; a new choice is remembered with the bytes
    // that were read.
    folder.Write("Channel.ini", "ok\r\n[Jazz]\r\nCool=http://127.0.0.1:8604/\r\n"
                                "[M\xfasica]\r\nCaf\xe9 Jazz=http://127.0.0.1:8605/\r\n");
    {
        OpenDirectory tray;
        ASSERT_TRUE(tray.window);
        EXPECT_EQ(Entries(tray->ListType), QStringList({"Jazz", QString::fromUtf8("Música")}));
        EXPECT_EQ(Entries(tray->ListChannel), QStringList({"Cool"}));
        EXPECT_EQ(tray->SelectedChannel(), "");
        EXPECT_EQ(player.Played.size(), 2);
        EXPECT_TRUE(folder.Read("Settings.ini").contains("Type=Jazz\r\nChannel=Bebop"));
        tray->ListType->setCurrentRow(1);
        EXPECT_EQ(Entries(tray->ListChannel), QStringList({QString::fromUtf8("Café Jazz")}));
        tray->ListChannel->setCurrentRow(0);
        EXPECT_EQ(player.Played.last(), "http://127.0.0.1:8605/");
    }
    const QByteArray settings = folder.Read("Settings.ini");
    EXPECT_TRUE(settings.contains("Type=M\xfasica\r\nChannel=Caf\xe9 Jazz\r\n"));
    {
        OpenDirectory tray;
        ASSERT_TRUE(tray.window);
        EXPECT_EQ(tray->SelectedChannel(), QString::fromUtf8("Café Jazz"));
        EXPECT_EQ(player.Played.size(), 4);
    }
    EXPECT_EQ(folder.Read("Settings.ini"), settings);
    EXPECT_TRUE(questions->Log.empty());
}

// The probe answers "not connected" in a network namespace that holds only loopback, where ctest
// runs this test once more (frmTray.OfflineInANetworkNamespace).
TEST(frmTray, OfflineAnInternetChannelIsRefusedWithAMessageWhileALoopbackChannelPlays)
{
    const bool connected = core::CNetConn().IsConnected();
    ASSERT_FALSE(connected && qEnvironmentVariableIsSet("CORVANE_NO_NETWORK"));
    if (connected)
        GTEST_SKIP() << "connected: the run in a network namespace is the one that counts";
    TempProgramFolder folder;
    folder.Write("Channel.ini", "ok\r\n[Radio]\r\nWorld=http://radio.example.com:8000/\r\n"
                                "Demo=http://127.0.0.1:8601/\r\n");
    const QByteArray before = "[Server]\r\nURL=http://127.0.0.1:8600/\r\n"
                              "[LastPlay]\r\nType=Radio\r\nChannel=Nowhere\r\n";
    folder.Write("Settings.ini", before);
    AnsweredQuestions questions;
    FakePlayer player;
    OpenDirectory tray;
    ASSERT_TRUE(tray.window);

    tray->FindItem(tray->ListChannel, "World");
    ASSERT_EQ(questions->Log.size(), 1u);
    EXPECT_EQ(questions->Log[0].Title, "Corvane net player");
    EXPECT_EQ(questions->Log[0].Prompt, kOffline);
    EXPECT_TRUE(player.Played.isEmpty());
    EXPECT_EQ(folder.Read("Settings.ini"), before) << "nothing is written";

    tray->FindItem(tray->ListChannel, "Demo");
    EXPECT_EQ(questions->Log.size(), 1u) << "this machine needs no internet";
    EXPECT_EQ(player.Played, QStringList({"http://127.0.0.1:8601/"}));
    EXPECT_TRUE(folder.Read("Settings.ini").contains("Type=Radio\r\nChannel=Demo"));
}
