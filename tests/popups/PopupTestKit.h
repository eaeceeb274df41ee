// What the popup tests share: a program folder of their own with the settings files, a real
// HTTP server on 127.0.0.1 standing in for the operator, and the popup windows registered.
#pragma once

#include "Config.h"
#include "IniFiles.h"
#include "PopupWindows.h"
#include "ProgramState.h"
#include "TempProgramFolder.h"
#include "TestHttpServer.h"
#include "WindowRegistry.h"

#include <gtest/gtest.h>

// Generous: two shared cores, and a browser engine to start.
inline constexpr int kPatienceMs = 15000;

class PopupTest : public ::testing::Test
{
  protected:
    TempProgramFolder folder;
    TestHttpServer server;

    void SetUp() override
    {
        ASSERT_TRUE(server.Listen());
        core::OpenIniFile(QString::fromLatin1(core::Config::SettingsFile));
        // Without the trailing "/" the operator's files must be reached all the same.
        core::State().SetServerURL(server.BaseUrl());
        player::RegisterPopupWindows();
    }

    void TearDown() override
    {
        for (const char* name :
             {core::WindowName::Message, core::WindowName::InfoViewer, core::WindowName::About}) {
            if (QWidget* window = core::FindWindow(QString::fromLatin1(name)))
                window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void ServeMessage(const QByteArray& body, int status = 200,
                      TestHttpServer::Mode mode = TestHttpServer::Mode::Normal)
    {
        server.SetRoute("/Settings/Message.ini", {status, body, mode});
    }
};
