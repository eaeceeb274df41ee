// The real program, started from a copy in a temporary folder (its own folder), against a server
// on 127.0.0.1, on the shared X server: what a user sees and what lands next to the program.
#include "AppTestSupport.h"
#include "TestHttpServer.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class ProgramTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || xdotool.isEmpty())
            GTEST_SKIP() << "needs an X server and xdotool";
        ASSERT_TRUE(server.Listen());
        ASSERT_TRUE(QFile::copy(QStringLiteral(CORVANE_PROGRAM), Path("Corvane_net_player")));
        folder.Write("Channel.ini", "ok old channels");
    }
    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.terminate();
            if (!program.waitForFinished(15'000))
                program.kill();
            program.waitForFinished(15'000);
        }
    }

    QString Path(const QString& name) const { return folder.dir.filePath(name); }
    void Start(const QString& serverUrl)
    {
        folder.Write("Settings.ini", "[Server]\r\nURL=" + serverUrl.toUtf8() + "\r\n");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        program.setProcessEnvironment(env);
        program.start(Path("Corvane_net_player"), {});
        ASSERT_TRUE(program.waitForStarted(15'000));
    }
    // The visible windows of the program with exactly this title.
    int VisibleWindows(const QString& title)
    {
        QProcess search;
        search.start(xdotool, {"search", "--all", "--onlyvisible", "--pid",
                               QString::number(program.processId()), "--name",
                               "^" + QRegularExpression::escape(title) + "$"});
        search.waitForFinished(15'000);
        return search.readAllStandardOutput().count('\n');
    }
    bool WaitForPlayer()
    {
        return WaitUntil([this] {
            return program.state() == QProcess::Running &&
                   VisibleWindows("Corvane net player") == 1;
        });
    }

    const QString xdotool = QStandardPaths::findExecutable("xdotool");
    TempProgramFolder folder; // only for its temporary folder: the program finds its own
    TestHttpServer server;
    QProcess program;
};

} // namespace

TEST_F(ProgramTest, DownloadsIntoItsOwnFolderAndHandsOverToThePlayer)
{
    server.SetRoute("/Settings/Channel.ini", {200, "ok\r\n[Radio]\r\nOne=http://127.0.0.1:1/\r\n"});
    server.SetRoute("/Settings/RSettings.ini", {200, "ok\r\n[Info]\r\nTitle=Demo\r\n"});
    Start(server.BaseUrl());
    // The splash shows first (with the silent server it would stay until the timeout).
    ASSERT_TRUE(WaitForPlayer());
    EXPECT_TRUE(WaitUntil([this] { return VisibleWindows("Loading...") == 0; }))
        << "the splash has closed";
    EXPECT_EQ(folder.Read("Channel.ini"), "ok\r\n[Radio]\r\nOne=http://127.0.0.1:1/\r\n");
    EXPECT_EQ(folder.Read("RSettings.ini"), "ok\r\n[Info]\r\nTitle=Demo\r\n");
    EXPECT_EQ(program.state(), QProcess::Running);
}

TEST_F(ProgramTest, SplashShowsWhileTheServerIsSilent)
{
    server.SetRoute("/Settings/Channel.ini", {200, "ok", TestHttpServer::Mode::Stall});
    Start(server.BaseUrl());
    ASSERT_TRUE(WaitUntil([this] { return VisibleWindows("Loading...") == 1; }));
    EXPECT_EQ(VisibleWindows("Corvane net player"), 0);
}

TEST_F(ProgramTest, FirstRunWithoutAServerAddressStillReachesThePlayer)
{
    Start(QString());
    ASSERT_TRUE(WaitForPlayer());
    EXPECT_EQ(folder.Read("Channel.ini"), "ok old channels");
    EXPECT_TRUE(server.requestPaths.isEmpty());
}
