// The tray menu window: never seen itself, it carries the program's icon in the notification
// area (the player's title as tip) and the icon's popup menu: Show, Exit, About.
#pragma once

#include "PlayerTray.h"
#include "SystemTray.h"

#include <QMenu>
#include <QWidget>

class QAction;

namespace player {

class FrmSysTray : public QWidget, public core::TrayIconMenu
{
    Q_OBJECT

  public:
    explicit FrmSysTray(QWidget* parent = nullptr);
    ~FrmSysTray() override;

    // Asked to show, the window stays hidden: it exists for its icon and menu only, so nothing
    // ever has to hide it again.
    void setVisible(bool visible) override;

    // core::TrayIconMenu: what the player asks of the menu.
    void ShowPlayer() override { mnuShow_Click(); }
    void RemoveIcon() override { SysIcon.Remove(); }
    void SetTip(const QString& Tip) override { SysIcon.setTip(Tip); }

    controls::SystemTray SysIcon;
    // Owned by the window, not a member object: a popup menu is a top-level widget of its own,
    // and whoever walks the top-level widgets may delete it first.
    QMenu* mnuFile;
    QAction* mnuShow;
    QAction* mnuExit;
    QAction* mnuAbout;

    void SysIcon_MouseClick(int Button, int Shift);
    void SysIcon_MouseDblClick(int Button, int Shift);
    void mnuShow_Click();
    void mnuExit_Click();
    void mnuAbout_Click();

  signals:
    // The popup menu is about to run its own loop (tests close it from here).
    void MenuOpening();

  private:
    void Form_Load();
    void ShowPlayerAndDirectory();
};

} // namespace player
