#include "ProgramLifetime.h"

#include "FrmSysTray.h"
#include "MyFunction.h"
#include "QuitSignals.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <csignal>

namespace app {
namespace {

void Front(QWidget* Window)
{
    if (Window->isMinimized())
        Window->showNormal();
    Window->show();
    Window->raise();
    Window->activateWindow();
}

} // namespace

void BringProgramToFront(QWidget* Splash)
{
    const QString player = QString::fromLatin1(core::WindowName::Player);
    // Back from the notification area as the tray menu's Show brings it: the player and its
    // directory, the directory toggle following.
    if (auto* tray =
            core::FindWindow<player::FrmSysTray>(QString::fromLatin1(core::WindowName::TrayMenu));
        tray && core::FindWindow(player)) {
        tray->mnuShow_Click();
        Front(core::FindWindow(player));
    } else if (core::FindWindow(player)) {
        core::ShowWindow(player);
    } else if (Splash) {
        Front(Splash);
    }
}

void EndOnSignals()
{
    // From the event loop, not the signal handler: the same ending as the program's own Exit.
    platform::OnQuitSignal(qApp, [] { core::EndProgram(); });
    // The terminal or the session that started the program has gone.
    platform::OnSignal(SIGHUP, qApp, [] { core::EndProgram(); });
}

void DestroyRemainingWindows()
{
    // Windows closed earlier go first, as they would have in the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Our own windows only, in their stated order: what Qt made for itself (the tray icon's
    // window, WebEngine's) belongs to the objects that made it, which take it away with them.
    // Deleting a window may take others with it: guarded.
    QList<QPointer<QWidget>> windows;
    const auto open = core::OpenWindowsInEndingOrder();
    for (QWidget* window : open)
        windows.append(window);
    for (const QPointer<QWidget>& window : windows) {
        delete window.data();
        // What its destructor left for later (the full-screen window) goes before the next one.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace app
