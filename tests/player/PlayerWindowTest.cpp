// The player window on the shared X server with the real media component: its load, the
// stop/play toggle, volume and mute with what lands in "Settings.ini", the directory toggle and
// docking, the record button's refusal, going to the tray without a notification area, and Exit.
#include "FakeQuestions.h"
#include "FrmSysTray.h"
#include "ImageButton.h"
#include "MediaPlayer.h"
#include "MessageBoard.h"
#include "PlayerTestSupport.h"
#include "PlayerWindows.h"
#include "PopupWindows.h"
#include "ProgramState.h"
#include "frmPlayer.h"

#include <QLabel>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

using namespace core;
using namespace player;

namespace {

class PlayerWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        RegisterWindows();
        RegisterPopupWindows(); // the message board; the windows are stand-ins
        RegisterStandIns();
        FakeDirectory::Channel.clear();
        folder.Write("RSettings.ini", "ok\r\n[Info]\r\nTitle=Demo radio\r\n");
    }
    void TearDown() override
    {
        DeleteAllWindows();
        State().SetPlayStopped(false);
    }

    frmPlayer* Open(const QByteArray& settings = {})
    {
        if (!settings.isEmpty())
            folder.Write("Settings.ini", settings);
        auto* window = qobject_cast<frmPlayer*>(ShowWindow(WindowName::Player));
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        }
        return window;
    }
    static QWidget* Directory() { return FindWindow(WindowName::Directory); }
    static void Click(QWidget* image) { QTest::mouseClick(image, Qt::LeftButton); }

    TempProgramFolder folder;
    AnsweredQuestions questions;
};

} // namespace

TEST_F(PlayerWindow, LoadReadsTheSettingsOpensTheDirectoryDockedAndTheHiddenTrayWindow)
{
    frmPlayer* p = Open("[Player]\r\nVolume=95\r\n[Message]\r\nMsg=seen\r\n"
                        "[Server]\r\nURL=http://127.0.0.1:9/\r\n");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->windowTitle(), "Player");
    EXPECT_EQ(p->size(), QSize(360, 320));
    EXPECT_EQ(p->lblTitle->text(), "Demo radio");
    EXPECT_EQ(State().PlayerTitle(), "Demo radio");
    EXPECT_EQ(State().ServerURL(), "http://127.0.0.1:9/");
    EXPECT_EQ(p->Poll->LastMessage(), "seen");
    EXPECT_EQ(p->VolumeLevel(), 95);
    EXPECT_EQ(p->Player->volume(), 95);
    EXPECT_EQ(p->PlayImage(), Images::Playing);
    EXPECT_EQ(p->MuteImage(), Images::NotMuted);
    EXPECT_FALSE(State().PlayStopped());
    EXPECT_EQ(p->PicPlayer->geometry(), QRect(18, 27, 321, 241));
    EXPECT_EQ(p->Player->width(), 321);
    EXPECT_EQ(p->btnInfo->size(), p->picPlay->size());
    EXPECT_TRUE(p->Poll->IsRunning());

    ASSERT_TRUE(Directory());
    EXPECT_TRUE(p->DirectoryOpen());
    EXPECT_EQ(p->TrayImage(), Images::DirectoryOpen);
    EXPECT_EQ(Directory()->pos(), DirectoryDockPosition(p->geometry()));

    auto* tray = FindWindow<FrmSysTray>(WindowName::TrayMenu);
    ASSERT_TRUE(tray);
    EXPECT_EQ(tray->SysIcon.Tip(), "Demo radio");
    ShowWindow(WindowName::TrayMenu);
    EXPECT_FALSE(tray->isVisible()) << "the tray window is never seen";

    // Full screen is the component's own window; it comes back by its own means.
    Click(p->ImgFullScreen);
    EXPECT_TRUE(p->Player->fullScreen());
    p->Player->setFullScreen(false);
    EXPECT_FALSE(FindWindow(WindowName::InfoViewer)) << "not asked for by the operator";

    // Dragging moves the directory with the player.
    p->move(p->pos() + QPoint(37, 21));
    EXPECT_TRUE(
        WaitUntil([&] { return Directory()->pos() == DirectoryDockPosition(p->geometry()); }));
}

TEST_F(PlayerWindow, StopThenPlayGivesLastPathOrElseTheAddressLastGiven)
{
    frmPlayer* p = Open("[Path]\r\nLastPath=http://127.0.0.1:9/stored\r\n");
    ASSERT_TRUE(p);
    p->PlayChannel("http://127.0.0.1:9/channel");
    EXPECT_EQ(p->Player->URL(), "http://127.0.0.1:9/channel");

    p->btnPlay->click();
    EXPECT_TRUE(State().PlayStopped());
    EXPECT_EQ(p->PlayImage(), Images::Stopped);
    EXPECT_EQ(p->Player->URL(), "http://127.0.0.1:9/channel") << "stop keeps the address";
    p->btnPlay->click();
    EXPECT_FALSE(State().PlayStopped());
    EXPECT_EQ(p->PlayImage(), Images::Playing);
    EXPECT_EQ(p->Player->URL(), "http://127.0.0.1:9/stored");

    // Nothing stored: the channel that was playing plays again, never an empty address.
    folder.Write("Settings.ini", "");
    p->PlayChannel("http://127.0.0.1:9/channel");
    p->btnPlay->click();
    p->btnPlay->click();
    EXPECT_EQ(p->Player->URL(), "http://127.0.0.1:9/channel");
    EXPECT_EQ(p->PlayImage(), Images::Playing);
}

TEST_F(PlayerWindow, VolumeStepsAreStoredAndUnmute)
{
    frmPlayer* p = Open("[Player]\r\nVolume=95\r\n");
    ASSERT_TRUE(p);
    p->BtnVolUp->click();
    EXPECT_EQ(p->VolumeLevel(), 100);
    EXPECT_EQ(p->Beeps(), 1);
    EXPECT_EQ(p->Player->volume(), 100);
    EXPECT_EQ(folder.Read("Settings.ini"), "[Player]\r\nVolume=100\r\n");

    p->BtnMute->click();
    EXPECT_TRUE(p->Muted());
    EXPECT_TRUE(p->Player->mute());
    EXPECT_EQ(p->MuteImage(), Images::Muted);
    p->BtnVolDown->click();
    EXPECT_EQ(folder.Read("Settings.ini"), "[Player]\r\nVolume=90\r\n");
    EXPECT_EQ(p->Player->volume(), 90);
    EXPECT_FALSE(p->Muted());
    EXPECT_FALSE(p->Player->mute()) << "the button says sound, so the component must play it";
    EXPECT_EQ(p->MuteImage(), Images::NotMuted);
    p->BtnMute->click();
    EXPECT_TRUE(p->Player->mute()) << "the next press mutes again";

    // A fresh player reads what the last one stored; nothing is written at load.
    DeleteAllWindows();
    frmPlayer* again = Open();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->VolumeLevel(), 90);
    EXPECT_FALSE(again->Muted()) << "every run starts not muted";
    EXPECT_EQ(folder.Read("Settings.ini"), "[Player]\r\nVolume=90\r\n");
}

TEST_F(PlayerWindow, AutoplayKeepsTheStoredStreamPlayingAndTheOperatorCanAskForTheViewer)
{
    RegisterWindow(WindowName::InfoViewer, [] { return PlainWindow("frmInfoViewer"); });
    folder.Write("RSettings.ini", "ok\r\n[InfoViewer]\r\nShow=1\r\n");
    frmPlayer* p =
        Open("[CheckBox]\r\nAutoplay=1\r\n[Path]\r\nLastPath=http://127.0.0.1:9/auto\r\n");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Player->URL(), "http://127.0.0.1:9/auto");
    EXPECT_EQ(p->PlayImage(), Images::Playing);
    EXPECT_FALSE(State().PlayStopped());
    QWidget* viewer = FindWindow(WindowName::InfoViewer);
    EXPECT_TRUE(viewer && viewer->isVisible());
}

TEST_F(PlayerWindow, DirectoryToggleClosesAndReopensAndTheRecorderDocksBeside)
{
    frmPlayer* p = Open();
    ASSERT_TRUE(p && Directory());
    Click(p->ImgTray);
    EXPECT_FALSE(Directory());
    EXPECT_FALSE(p->DirectoryOpen());
    EXPECT_EQ(p->TrayImage(), Images::DirectoryClosed);
    Click(p->ImgTray);
    ASSERT_TRUE(Directory());
    EXPECT_EQ(FakeDirectory::Loads, 2) << "reopening loads it afresh";
    EXPECT_EQ(p->TrayImage(), Images::DirectoryOpen);
    EXPECT_EQ(Directory()->pos(), DirectoryDockPosition(p->geometry()));

    FakeDirectory::Channel = "One";
    p->btnRecord->click();
    QWidget* recorder = FindWindow(WindowName::Recorder);
    ASSERT_TRUE(recorder);
    EXPECT_EQ(recorder->pos(), RecorderDockPosition(p->geometry(), recorder->width()));
    p->move(p->pos() + QPoint(-15, 30));
    EXPECT_TRUE(WaitUntil(
        [&] { return recorder->pos() == RecorderDockPosition(p->geometry(), recorder->width()); }));

    // Into the screen's bottom-right corner: both go to the player's other side, on the screen.
    const QRect screen = p->screen()->availableGeometry();
    p->move(screen.bottomRight() - QPoint(p->width() - 1, p->height() - 1));
    auto inside = [&](QWidget* window) { return screen.contains(window->frameGeometry()); };
    EXPECT_TRUE(WaitUntil([&] { return inside(Directory()) && inside(recorder); }));
    EXPECT_EQ(Directory()->frameGeometry().bottom() + 1, p->geometry().top()) << "above it";
    EXPECT_EQ(recorder->frameGeometry().right() + 1, p->geometry().left()) << "left of it";
    EXPECT_TRUE(questions->Log.empty());
}

TEST_F(PlayerWindow, TheRecorderIsRefusedWithoutASelectedChannel)
{
    const QStringList refusal{"Please select a channel then try again"};
    RegisterStandIns(/*directory=*/false);
    frmPlayer* p = Open();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->TrayImage(), Images::DirectoryClosed) << "nothing to open is shown as closed";

    p->btnRecord->click(); // no directory at all
    EXPECT_EQ(questions->Messages(), refusal);
    EXPECT_EQ(questions->Log.back().Title, "Error");

    auto* selection = new FakeDirectory; // a directory with nothing selected
    AdoptWindow(WindowName::Directory, selection);
    p->btnRecord->click();
    EXPECT_EQ(questions->Messages(), refusal + refusal);
    EXPECT_FALSE(FindWindow(WindowName::Recorder));

    FakeDirectory::Channel = "Two";
    p->btnRecord->click();
    EXPECT_TRUE(FindWindow(WindowName::Recorder));
    EXPECT_EQ(questions->Messages().size(), 2);
    delete selection;
}

TEST_F(PlayerWindow, WithoutANotificationAreaGoingToTheTrayMinimisesAndShowRestores)
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        GTEST_SKIP() << "this display has a notification area";
    frmPlayer* p = Open();
    ASSERT_TRUE(p);
    const QPoint at = p->pos();
    Click(p->ImgSysTray);
    EXPECT_TRUE(p->isVisible()) << "never hidden where no icon leads back";
    EXPECT_TRUE(p->windowState() & Qt::WindowMinimized);
    FindWindow<FrmSysTray>(WindowName::TrayMenu)->mnuShow_Click();
    EXPECT_FALSE(p->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(p->isVisible() && Directory() && Directory()->isVisible());
    EXPECT_EQ(p->pos(), at);
}

TEST_F(PlayerWindow, ExitClosesEveryWindow)
{
    frmPlayer* p = Open();
    ASSERT_TRUE(p);
    ShowWindow(WindowName::About);
    QPointer<QWidget> tray = FindWindow(WindowName::TrayMenu);
    ASSERT_TRUE(tray);
    Click(p->ingClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const char* name :
         {WindowName::Player, WindowName::Directory, WindowName::TrayMenu, WindowName::About})
        EXPECT_FALSE(FindWindow(name)) << name;
    EXPECT_TRUE(tray.isNull());
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
}
