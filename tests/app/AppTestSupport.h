// Shared helpers for the start-up tests: waiting on conditions and a temporary program folder.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>

#include "ProgramFolder.h"
#include "ProgramLifetime.h"

using namespace core;

// Events are handled without pause meanwhile, so that an in-test server answers promptly.
inline bool WaitUntil(const std::function<bool()>& condition)
{
    // The condition is asked once per round: a state that holds for a moment (a window shown
    // and soon replaced) must count when it was seen, not be asked for again.
    QDeadlineTimer deadline(15'000);
    do {
        if (condition())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (!deadline.hasExpired());
    return condition();
}

// Points the program folder at a fresh temporary folder for the lifetime of the object.
struct TempProgramFolder
{
    QTemporaryDir dir;
    TempProgramFolder() { OverrideProgramFolder(dir.path()); }
    ~TempProgramFolder() { OverrideProgramFolder({}); }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
};

// Destroys the program's windows as its ending does, then whatever else a test left; the tray
// icon's own window belongs to its icon, which has taken it away.
inline void CloseAllWindows()
{
    app::DestroyRemainingWindows();
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (!window->inherits("QSystemTrayIconSys"))
            windows.append(window);
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
