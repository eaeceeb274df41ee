#include "ProgramLifetime.h"

#include "FrmSysTray.h"
#include "MyFunction.h"
#include "QuitSignals.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

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
}

void DestroyRemainingWindows()
{
    // Deleting a window deletes its children, some of them windows listed here too: guarded.
    QList<QPointer<QWidget>> windows;
    const auto all = QApplication::topLevelWidgets();
    for (QWidget* window : all) {
        if (!window->parentWidget())
            windows.append(window);
    }
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace app
