// The one place windows find each other. Windows are created when shown and destroyed when
// closed; the registry answers "the open frmTray, if any" and "show frmTray, loading it if it is
// not open". A window shown again is brought to the front, never created twice.
//
// Each window library registers how to create its windows (RegisterWindow); the program does it
// once at start, tests for the windows they use. Windows reach each other only through here, so a
// window library never links the libraries of the windows it opens.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace core {

// The names windows are registered and found under (their object names).
namespace WindowName {
inline constexpr char Splash[] = "frmLoad";
inline constexpr char Player[] = "frmPlayer";
inline constexpr char Directory[] = "frmTray";
inline constexpr char TrayMenu[] = "FrmSysTray";
inline constexpr char Recorder[] = "frmRecord";
inline constexpr char Settings[] = "frmSettings";
inline constexpr char Message[] = "frmMessage";
inline constexpr char InfoViewer[] = "frmInfoViewer";
inline constexpr char About[] = "frmAbout";
} // namespace WindowName

// The order the program's windows go in when it ends: each before every window it refers to.
// The splash refers to nothing once it has handed over. The popups and the server dialog act on
// the player (the message restarts its poll). The recorder keeps the directory's selection and
// docks to the player. The directory and the tray menu ask the player; the player, which they
// all refer to, goes last.
inline constexpr const char* EndingOrder[] = {
    WindowName::Splash,     WindowName::Message,  WindowName::About,
    WindowName::InfoViewer, WindowName::Settings, WindowName::Recorder,
    WindowName::Directory,  WindowName::TrayMenu, WindowName::Player};

using WindowFactory = std::function<QWidget*()>;

// How to create the window Name; a later registration replaces an earlier one.
void RegisterWindow(const QString& Name, WindowFactory Factory);

// The open window Name, or nullptr. A window counts as open from its creation through the
// registry (or Adopt) until it is destroyed, whether shown or hidden.
QWidget* FindWindow(const QString& Name);
template <typename T> T* FindWindow(const QString& Name)
{
    return dynamic_cast<T*>(FindWindow(Name));
}

// The window Name, created (its load runs) when it is not open; nullptr when nothing is
// registered under Name. Creating does not show it.
QWidget* LoadWindow(const QString& Name);

// Shows the window Name, loading it first when it is not open, and brings it to the front.
// Returns it, or nullptr when nothing is registered under Name.
QWidget* ShowWindow(const QString& Name);

// Makes Window findable under Name (for windows created outside the registry, such as the player
// the splash hands over to, or a window a test builds itself).
void AdoptWindow(const QString& Name, QWidget* Window);

// The open windows in EndingOrder, windows under names it does not list (a test's) first. Only
// windows of ours: never the helper windows Qt makes for itself (the tray icon's, WebEngine's).
QList<QWidget*> OpenWindowsInEndingOrder();

} // namespace core
