// Shared helpers for the start-up tests: a temporary program folder, waiting on conditions, and
// answering the program's message boxes the way a user would.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "ProgramFolder.h"

inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 15'000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
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

// Presses OK on every message box that comes up, remembering title and text.
class MessageBoxAnswerer
{
  public:
    struct Seen
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };
    QList<Seen> seen;

    MessageBoxAnswerer()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || handled.contains(box))
                return;
            handled.append(box);
            seen.append({box->windowTitle(), box->text(), box->icon()});
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
        });
        timer.start(5);
    }

  private:
    QTimer timer;
    QList<QPointer<QMessageBox>> handled;
};

inline QWidget* FindWindow(const QString& objectName)
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->objectName() == objectName)
            return window;
    }
    return nullptr;
}

inline void CloseAllWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows.append(window);
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
