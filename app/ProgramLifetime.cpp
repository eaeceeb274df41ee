#include "ProgramLifetime.h"

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
    if (core::FindWindow(player))
        core::ShowWindow(player); // from the tray too
    else if (Splash)
        Front(Splash);
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
