// What the window tests share: a program folder of their own for the settings files, waiting on
// conditions with a deadline generous for two loaded cores, and clearing away the windows a test
// left.
#pragma once

#include "ProgramFolder.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <functional>

struct TempProgramFolder
{
    QTemporaryDir dir;
    TempProgramFolder() { core::OverrideProgramFolder(dir.path()); }
    ~TempProgramFolder() { core::OverrideProgramFolder({}); }
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

inline bool WaitUntil(const std::function<bool()>& condition, int ms = 15000)
{
    return QTest::qWaitFor(condition, ms);
}

// Deleting one window may delete others, hence the guards. The tray icon's own window belongs to
// its icon, which takes it away.
inline void DeleteAllWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (!window->inherits("QSystemTrayIconSys") &&
            window->objectName() != QLatin1String("QSystemTrayIconSys"))
            windows.append(window);
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
