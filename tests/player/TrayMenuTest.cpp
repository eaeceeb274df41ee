// The tray menu window with a real notification area (trayer on a private X server).
#include "FrmSysTray.h"
#include "PlayerTestSupport.h"

#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

using namespace core;
using namespace player;

namespace {

class TrayMenu : public PlayerTest
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(WaitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }))
            << "no notification area on this display";
        PlayerTest::SetUp();
        p = Open();
        ASSERT_TRUE(p);
        tray = FindWindow<FrmSysTray>(WindowName::TrayMenu);
        ASSERT_TRUE(tray);
        directory = FindWindow(WindowName::Directory);
        ASSERT_TRUE(directory && QTest::qWaitForWindowExposed(directory));
        playerAt = p->geometry();
        directoryAt = directory->geometry();
    }
    bool Hidden() const { return !p->isVisible() && !directory->isVisible(); }
    bool BackWhereTheyWere() const
    {
        return p->isVisible() && directory->isVisible() && p->geometry() == playerAt &&
               directory->geometry() == directoryAt;
    }
    void GoToTray()
    {
        QTest::mouseClick(p->ImgSysTray, Qt::LeftButton);
        EXPECT_TRUE(Hidden());
    }

    frmPlayer* p = nullptr;
    FrmSysTray* tray = nullptr;
    QPointer<QWidget> directory;
    QRect playerAt, directoryAt;
};

} // namespace

// Double clicks of any button bring player and directory back in place; the right button's menu
// opens About while they stay hidden, its Show brings back a directory closed meanwhile, and its
// Exit removes the icon and closes every window.
TEST_F(TrayMenu, DoubleClicksRestoreInPlaceAndTheMenusAboutShowAndExit)
{
    for (int message :
         {controls::SystemTray::LeftDoubleClick, controls::SystemTray::MiddleDoubleClick,
          controls::SystemTray::RightDoubleClick}) {
        GoToTray();
        EXPECT_FALSE(tray->isVisible());
        tray->SysIcon.Dispatch(message, 0);
        EXPECT_TRUE(WaitUntil([&] { return BackWhereTheyWere(); })) << message;
    }
    // Single clicks other than the right button do nothing.
    GoToTray();
    tray->SysIcon.Dispatch(controls::SystemTray::LeftUp, 0);
    EXPECT_TRUE(Hidden());

    // The menu runs its own loop: choose About from inside it.
    QObject::connect(tray, &FrmSysTray::MenuOpening, tray, [this] {
        QTimer::singleShot(0, tray, [this] {
            EXPECT_TRUE(WaitUntil([this] { return tray->mnuFile->isVisible(); }));
            tray->mnuAbout->trigger();
            tray->mnuFile->close();
        });
    });
    tray->SysIcon.Dispatch(controls::SystemTray::RightUp, 0);
    QWidget* about = FindWindow(WindowName::About);
    ASSERT_TRUE(about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(Hidden()) << "About opens while the player stays hidden";
    about->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(FindWindow(WindowName::Player)) << "closing the last visible window ends nothing";

    // Closed while in the tray, the directory comes back with Show, and the player's toggle
    // agrees with the screen: its next press closes it.
    p->ImgTray_Click();
    EXPECT_EQ(p->TrayImage(), Images::DirectoryClosed);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(FindWindow(WindowName::Directory));
    tray->mnuShow->trigger();
    directory = FindWindow(WindowName::Directory);
    ASSERT_TRUE(directory && p->isVisible());
    EXPECT_EQ(p->TrayImage(), Images::DirectoryOpen);
    QTest::mouseClick(p->ImgTray, Qt::LeftButton);
    EXPECT_FALSE(FindWindow(WindowName::Directory));

    ShowWindow(WindowName::About);
    QPointer<FrmSysTray> guard(tray);
    tray->mnuExit->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    for (const char* name :
         {WindowName::Player, WindowName::Directory, WindowName::TrayMenu, WindowName::About})
        EXPECT_FALSE(FindWindow(name)) << name;
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
}
