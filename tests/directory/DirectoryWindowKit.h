// What the directory window's tests share: a program folder, a stand-in player found through the
// registry, the window opened as the player opens it, and a small channel list.
#pragma once

#include "Channels.h"
#include "DirectoryWindows.h"
#include "TempProgramFolder.h"
#include "WindowRegistry.h"
#include "frmTray.h"

#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

// The player as the directory drives it: it only keeps the addresses it was given.
class FakePlayer : public QWidget, public core::ChannelPlayer
{
  public:
    FakePlayer()
    {
        setGeometry(40, 100, 360, 200);
        core::AdoptWindow(QString::fromLatin1(core::WindowName::Player), this);
    }
    void PlayChannel(const QString& Address) override { Played << Address; }
    QStringList Played;
};

inline QStringList Entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

inline const QByteArray kThreeTypes = "ok\r\n"
                                      "[Rock]\r\nClassic=http://127.0.0.1:8601/\r\n"
                                      "[Jazz]\r\nSmooth=http://127.0.0.1:8602/\r\n"
                                      "Bebop=http://127.0.0.1:8603/\r\n"
                                      "[Empty]\r\n";

// A directory window opened as the player opens it, closed (and gone) when the test ends.
struct OpenDirectory
{
    QPointer<directory::frmTray> window;
    OpenDirectory()
    {
        directory::RegisterWindows();
        window = qobject_cast<directory::frmTray*>(
            core::ShowWindow(QString::fromLatin1(core::WindowName::Directory)));
        EXPECT_TRUE(window);
    }
    ~OpenDirectory()
    {
        if (window)
            window->close();
        EXPECT_TRUE(WaitUntil([&] { return window.isNull(); }));
    }
    directory::frmTray* operator->() const { return window.data(); }
};
