// The player window on the shared X server with the real media component: its load, the
// volume and mute with what lands in "Settings.ini", by clicks and by keys, the directory toggle
// and docking, the record button's refusal, going to the tray without a notification area, and
// Exit.
#include "Docking.h"
#include "FakeQuestions.h"
#include "FrmSysTray.h"
#include "ImageButton.h"
#include "MediaPlayer.h"
#include "MessageBoard.h"
#include "PlayerTestSupport.h"
#include "PopupWindows.h"

#include <QLabel>
#include <QSystemTrayIcon>

using namespace core;
using namespace player;

namespace {

class PlayerWindow : public PlayerTest
{
  protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        RegisterPopupWindows(); // the message board; the windows are stand-ins
        FakeDirectory::Channel.clear();
        folder.Write("RSettings.ini", "ok\r\n[Info]\r\nTitle=Demo radio\r\n");
    }
    static QWidget* Directory() { return FindWindow(WindowName::Directory); }
    static void Click(QWidget* image) { QTest::mouseClick(image, Qt::LeftButton); }
};

} // namespace

TEST_F(PlayerWindow, LoadReadsTheSettingsOpensTheDirectoryAndTheTrayWindowAndStepsAreStored)
{
    const QByteArray settings = "[Player]\r\nVolume=95\r\n[Message]\r\nMsg=seen\r\n"
                                "[Server]\r\nURL=http://127.0.0.1:9/\r\n";
    frmPlayer* p = Open(settings);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->lblTitle->text(), "Demo radio");
    EXPECT_EQ(State().ServerURL(), "http://127.0.0.1:9/");
    EXPECT_EQ(p->Poll->LastMessage(), "seen");
    EXPECT_EQ(p->VolumeLevel(), 95);
    EXPECT_EQ(p->Player->volume(), 95);
    EXPECT_EQ(p->PlayImage(), Images::Playing);
    EXPECT_TRUE(p->Poll->IsRunning());

    ASSERT_TRUE(Directory());
    EXPECT_TRUE(p->DirectoryOpen());
    EXPECT_EQ(p->TrayImage(), Images::DirectoryOpen);
    EXPECT_EQ(Directory()->pos(), core::DirectoryDockPosition(p->geometry()));

    auto* tray = FindWindow<FrmSysTray>(WindowName::TrayMenu);
    ASSERT_TRUE(tray);
    EXPECT_EQ(tray->SysIcon.Tip(), "Demo radio");
    State().SetPlayerTitle("Renamed radio"); // the tip follows the title wherever it changes
    EXPECT_EQ(tray->SysIcon.Tip(), "Renamed radio");
    ShowWindow(WindowName::TrayMenu);
    EXPECT_FALSE(tray->isVisible()) << "the tray window is never seen";

    EXPECT_FALSE(FindWindow(WindowName::InfoViewer)) << "not asked for by the operator";
    EXPECT_EQ(folder.Read("Settings.ini"), settings) << "nothing is written at load";

    p->BtnVolUp->click();
    EXPECT_EQ(p->VolumeLevel(), 100);
    EXPECT_EQ(p->Beeps(), 1);
    EXPECT_EQ(p->Player->volume(), 100);
    EXPECT_TRUE(folder.Read("Settings.ini").contains("[Player]\r\nVolume=100\r\n"));
    // A step unmutes, as the button then says sound.
    p->BtnMute->click();
    EXPECT_TRUE(p->Muted());
    EXPECT_TRUE(p->Player->mute());
    EXPECT_EQ(p->MuteImage(), Images::Muted);
    p->BtnVolDown->click();
    EXPECT_TRUE(folder.Read("Settings.ini").contains("[Player]\r\nVolume=90\r\n"));
    EXPECT_EQ(p->Player->volume(), 90);
    EXPECT_FALSE(p->Muted());
    EXPECT_FALSE(p->Player->mute()) << "the button says sound, so the component must play it";
    EXPECT_EQ(p->MuteImage(), Images::NotMuted);
    p->BtnMute->click();
    EXPECT_TRUE(p->Player->mute()) << "the next press mutes again";
}

// The keyboard alone: each key presses its button, so "Settings.ini" changes as for clicks; a
// focused button keeps Space and Enter; the directory under the player takes the keys too.
TEST_F(PlayerWindow, KeysAlonePressTheButtonsAndWriteWhatClicksWrite)
{
    frmPlayer* p = Open("[Path]\r\nLastPath=http://127.0.0.1:9/last\r\n[Player]\r\nVolume=85\r\n");
    ASSERT_TRUE(p);
    p->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p));
    ASSERT_EQ(QApplication::focusWidget(), p->btnPlay) << "a keyboard user starts on play";
    auto key = [](Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : QApplication::activeWindow(), Key, Modifiers);
    };
    const QByteArray path = "[Path]\r\nLastPath=http://127.0.0.1:9/last\r\n";
    key(Qt::Key_Up);
    key(Qt::Key_Plus);
    EXPECT_EQ(folder.Read("Settings.ini"), path + "[Player]\r\nVolume=100\r\n");
    EXPECT_EQ(p->Beeps(), 1);
    key(Qt::Key_Down);
    EXPECT_EQ(folder.Read("Settings.ini"), path + "[Player]\r\nVolume=90\r\n");
    key(Qt::Key_M);
    EXPECT_TRUE(p->Muted());
    EXPECT_TRUE(p->BtnMute->isChecked()) << "a screen reader hears the state";
    key(Qt::Key_Space);
    EXPECT_TRUE(State().PlayStopped());
    EXPECT_FALSE(p->btnPlay->isChecked());
    key(Qt::Key_Space);
    EXPECT_EQ(p->Player->URL(), "http://127.0.0.1:9/last");
    EXPECT_EQ(p->PlayImage(), Images::Playing);

    p->BtnMute->setFocus();
    key(Qt::Key_Space);
    EXPECT_FALSE(p->Muted());
    key(Qt::Key_Return);
    EXPECT_TRUE(p->Muted());
    EXPECT_EQ(p->PlayImage(), Images::Playing) << "Space went to the focused button alone";
    EXPECT_EQ(p->BtnMute->toolTip(), "Mute (M)");

    key(Qt::Key_D);
    EXPECT_FALSE(Directory());
    key(Qt::Key_D);
    ASSERT_TRUE(Directory());
    Directory()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Directory()));
    key(Qt::Key_Minus);
    EXPECT_EQ(folder.Read("Settings.ini"), path + "[Player]\r\nVolume=80\r\n");
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(WaitUntil([] { return !FindWindow(WindowName::Player); }));
}

// Autoplay keeps the stored stream playing, and the operator can ask for the viewer.
TEST_F(PlayerWindow, AutoplayTheViewerTheDirectoryToggleAndTheRecorderDockedBeside)
{
    RegisterWindow(WindowName::InfoViewer, [] { return PlainWindow("frmInfoViewer"); });
    folder.Write("RSettings.ini", "ok\r\n[InfoViewer]\r\nShow=1\r\n");
    frmPlayer* p =
        Open("[CheckBox]\r\nAutoplay=1\r\n[Path]\r\nLastPath=http://127.0.0.1:9/auto\r\n");
    ASSERT_TRUE(p && Directory());
    EXPECT_EQ(p->Player->URL(), "http://127.0.0.1:9/auto");
    EXPECT_EQ(p->PlayImage(), Images::Playing);
    EXPECT_TRUE(FindWindow(WindowName::InfoViewer)->isVisible());

    Click(p->ImgTray);
    EXPECT_FALSE(Directory());
    EXPECT_FALSE(p->DirectoryOpen());
    EXPECT_EQ(p->TrayImage(), Images::DirectoryClosed);
    Click(p->ImgTray);
    ASSERT_TRUE(Directory());
    EXPECT_EQ(FakeDirectory::Loads, 2) << "reopening loads it afresh";
    EXPECT_EQ(p->TrayImage(), Images::DirectoryOpen);
    EXPECT_EQ(Directory()->pos(), core::DirectoryDockPosition(p->geometry()));

    FakeDirectory::Channel = "One";
    p->btnRecord->click();
    QWidget* recorder = FindWindow(WindowName::Recorder);
    ASSERT_TRUE(recorder);
    EXPECT_EQ(recorder->pos(), core::RecorderDockPosition(p->geometry(), recorder->width()));
    p->move(p->pos() + QPoint(-15, 30));
    EXPECT_TRUE(WaitUntil(
        [&] { return recorder->pos() == core::RecorderDockPosition(p->geometry(), recorder->width()); }));

    EXPECT_TRUE(questions->Log.empty());
}

TEST_F(PlayerWindow, TheRecorderIsRefusedWithoutASelectedChannel)
{
    RegisterStandIns(/*directory=*/false);
    frmPlayer* p = Open();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->TrayImage(), Images::DirectoryClosed) << "nothing to open is shown as closed";
    p->btnRecord->click();               // no directory at all
    auto* selection = new FakeDirectory; // a directory with nothing selected
    AdoptWindow(WindowName::Directory, selection);
    p->btnRecord->click();
    EXPECT_EQ(questions->Messages(), QStringList(2, "Please select a channel then try again"));
    EXPECT_EQ(questions->Log.back().Title, "Error");
    EXPECT_FALSE(FindWindow(WindowName::Recorder));
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
