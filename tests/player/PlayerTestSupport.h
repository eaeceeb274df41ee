// The player as the program shows it, with plain stand-ins for the windows of other areas that it
// opens by name.
#pragma once

#include "Channels.h"
#include "FakeQuestions.h"
#include "PlayerWindows.h"
#include "ProgramState.h"
#include "TempProgramFolder.h"
#include "WindowRegistry.h"
#include "frmPlayer.h"

#include <gtest/gtest.h>

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

// Every window it leaves is gone at the end, and the player's shared state back as at a start.
class PlayerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        player::RegisterWindows();
        RegisterStandIns();
    }
    void TearDown() override
    {
        DeleteAllWindows();
        core::State().SetPlayStopped(false);
    }
    // The player shown, as the splash shows it, once it is on screen.
    player::frmPlayer* Open(const QByteArray& settings = {})
    {
        if (!settings.isEmpty())
            folder.Write("Settings.ini", settings);
        auto* window = qobject_cast<player::frmPlayer*>(
            core::ShowWindow(QString::fromLatin1(core::WindowName::Player)));
        EXPECT_TRUE(window && QTest::qWaitForWindowExposed(window, 15000));
        return window;
    }

    TempProgramFolder folder;
    AnsweredQuestions questions;
};
