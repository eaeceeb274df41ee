// What the player tests share: a temporary program folder, waiting on conditions, and plain
// stand-ins for the windows of other areas that the player opens by name.
#pragma once

#include "Channels.h"
#include "ProgramFolder.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

struct TempProgramFolder
{
    QTemporaryDir dir;
    TempProgramFolder() { core::OverrideProgramFolder(dir.path()); }
    ~TempProgramFolder() { core::OverrideProgramFolder({}); }
    QByteArray Read(const QString& name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
};

inline bool WaitUntil(const std::function<bool()>& condition, int ms = 15000)
{
    return QTest::qWaitFor(condition, ms);
}

// The channel directory as the player sees it: a window with a selection.
class FakeDirectory : public QWidget, public core::ChannelSelection
{
  public:
    static inline QString Channel; // what the next directory has selected
    static inline int Loads = 0;

    FakeDirectory()
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        resize(360, 200);
        ++Loads;
    }
    QString SelectedType() const override { return QStringLiteral("Radio"); }
    QString SelectedChannel() const override { return Channel; }
    QString SelectedAddress() const override { return {}; }
};

inline QWidget* PlainWindow(const char* title, QSize size = {200, 100})
{
    auto* window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window->setWindowTitle(QString::fromLatin1(title));
    window->resize(size);
    return window;
}

// Registers stand-ins for the directory, the recorder and About (nullptr factories leave a
// name unregistered).
inline void RegisterStandIns(bool directory = true)
{
    using namespace core;
    FakeDirectory::Loads = 0;
    RegisterWindow(WindowName::Directory,
                   directory ? WindowFactory([] { return new FakeDirectory; }) : nullptr);
    RegisterWindow(WindowName::Recorder, [] { return PlainWindow("frmRecord", {300, 320}); });
    RegisterWindow(WindowName::About, [] { return PlainWindow("frmAbout"); });
    RegisterWindow(WindowName::InfoViewer, nullptr);
    RegisterWindow(WindowName::Message, nullptr);
}

// Deletes every window a test left behind (guarded: deleting one may delete others). The tray
// icon's own widget belongs to its icon, which deletes it.
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
