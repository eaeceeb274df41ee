// What the player window and the tray menu window need from each other, without either
// including the other: each implements its side, and the other finds it through the window
// registry (FindWindow<core::TrayIconMenu>(WindowName::TrayMenu)).
#pragma once

#include <QString>

namespace core {

// The player window as the tray menu drives it.
class TrayPlayer
{
  public:
    virtual ~TrayPlayer() = default;
    // The tray menu brought the directory back: the player's toggle follows what is on screen.
    virtual void DirectoryShown() = 0;
    // The menu's Exit: the program ends as through the player's own Exit image.
    virtual void ExitProgram() = 0;
};

// The tray menu window as the player drives it.
class TrayIconMenu
{
  public:
    virtual ~TrayIconMenu() = default;
    // The menu's Show: the player and the directory come back from the notification area.
    virtual void ShowPlayer() = 0;
    // The icon leaves the notification area (the program ends).
    virtual void RemoveIcon() = 0;
    // The icon's tip: the player's title, and what is playing when there is something to say.
    virtual void SetTip(const QString& Tip) = 0;
};

} // namespace core
