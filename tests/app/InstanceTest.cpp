// One running player per user and program folder: real processes of the program on the shared
// X server. (Its ending by signals is the end-to-end tests' ProgramEnd.)
#include "DirectoryWindows.h"
#include "MessageBoard.h"
#include "PlayerWindows.h"
#include "Processes.h"
#include "ProgramLifetime.h"
#include "ProgramProcess.h"
#include "SingleInstance.h"
#include "WindowRegistry.h"
#include "frmPlayer.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <csignal>

using app::SingleInstance;
using Claim = SingleInstance::Claim;

namespace {

bool Connectable(const QString& Path)
{
    QLocalSocket socket;
    socket.connectToServer(Path);
    return socket.waitForConnected(1'000);
}

} // namespace

// A second start raises the first and ends; a socket left by a crashed instance does not stop
// the next start, which then guards in turn; a clean end removes the socket. An operator with no
// page to show (here none reachable at all) starts no web engine: none mapped, no helper running.
TEST(SingleInstance, SecondStartRaisesTheFirstAndEndsAndCrashedInstanceDoesNotBlock)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "needs an X server and xdotool";
    QTemporaryDir runtime;
    PortableProgram tree(runtime.path());

    QProcess first;
    ASSERT_TRUE(tree.Start(first));
    const pid_t pid = pid_t(first.processId());
    // The splash has tried the (closed) server and handed over to the player's window.
    ASSERT_TRUE(WaitUntil([&] {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {"search", "--all", "--onlyvisible", "--pid",
                                                 QString::number(pid), "--name", "^Player$"});
        return search.waitForFinished(10'000) && search.exitCode() == 0;
    }));
    EXPECT_TRUE(Descendants(pid).empty());
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    EXPECT_FALSE(maps.readAll().contains("libQt6WebEngineCore"));
    ASSERT_TRUE(WaitUntil([&] { return InstanceSockets(runtime.path()).size() == 1; }));
    const QString socket = runtime.filePath(InstanceSockets(runtime.path()).first());

    QProcess second;
    ASSERT_TRUE(tree.Start(second));
    ASSERT_TRUE(WaitForEnd(second));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    // A crash leaves the socket file, which nobody answers any more.
    first.kill();
    ASSERT_TRUE(WaitForEnd(first));
    ASSERT_TRUE(QFile::exists(socket));
    ASSERT_FALSE(Connectable(socket));

    QProcess third;
    ASSERT_TRUE(tree.Start(third));
    EXPECT_TRUE(WaitUntil([&] { return Connectable(socket); }));
    EXPECT_EQ(third.state(), QProcess::Running);
    QProcess fourth;
    ASSERT_TRUE(tree.Start(fourth));
    ASSERT_TRUE(WaitForEnd(fourth));
    EXPECT_EQ(fourth.exitCode(), 0);
    EXPECT_EQ(third.state(), QProcess::Running);

    // Another program folder is another player.
    PortableProgram other(runtime.path());
    QProcess elsewhere;
    ASSERT_TRUE(other.Start(elsewhere));
    EXPECT_TRUE(WaitUntil([&] { return InstanceSockets(runtime.path()).size() == 2; }));
    EXPECT_EQ(elsewhere.state(), QProcess::Running);

    for (QProcess* process : {&third, &elsewhere}) {
        ASSERT_EQ(process->state(), QProcess::Running); // its id is ours to signal only then
        ::kill(pid_t(process->processId()), SIGTERM);
        ASSERT_TRUE(WaitForEnd(*process));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    }
    EXPECT_TRUE(InstanceSockets(runtime.path()).isEmpty());

    // The running instance here, the real program as the second start: the request arrives, and
    // a running instance that takes the request but never answers does not hang a start.
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QString path = SingleInstance::ServerPathFor(tree.tree.path());
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(path.startsWith(runtime.path()));
    SingleInstance running(path);
    ASSERT_EQ(running.ClaimOrRaise(2'000), Claim::First);
    ASSERT_TRUE(running.IsListening());
    int raised = 0;
    QObject::connect(&running, &SingleInstance::RaiseRequested, [&] { ++raised; });
    QProcess raising;
    ASSERT_TRUE(tree.Start(raising));
    ASSERT_TRUE(WaitForEnd(raising));
    EXPECT_EQ(raising.exitCode(), 0);
    EXPECT_EQ(raised, 1);

    QTemporaryDir mute;
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(mute.filePath("silent")));
    SingleInstance late(mute.filePath("silent"));
    EXPECT_EQ(late.ClaimOrRaise(300), Claim::Unanswered);
}

// A second start brings the splash to the front while there is no player yet; with the program in
// the notification area, what the tray menu's Show brings back: the player and its directory.
TEST(SingleInstance, ASecondStartBringsTheSplashElseThePlayerAndItsDirectoryBack)
{
    TempProgramFolder folder;
    player::RegisterWindows();
    directory::RegisterWindows();
    QWidget splash;
    app::BringProgramToFront(&splash);
    EXPECT_TRUE(splash.isVisible());
    splash.hide();
    auto* p = qobject_cast<player::frmPlayer*>(
        core::ShowWindow(QString::fromLatin1(core::WindowName::Player)));
    ASSERT_NE(p, nullptr);
    QPointer<QWidget> list = core::FindWindow(QString::fromLatin1(core::WindowName::Directory));
    ASSERT_TRUE(list);
    p->hide(); // into the tray
    list->hide();
    app::BringProgramToFront(&splash);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_TRUE(p->isVisible() && list && list->isVisible());

    // Torn down without the player's Exit, which would end the test's event loop.
    p->Poll->Stop();
    for (const char* name :
         {core::WindowName::Directory, core::WindowName::TrayMenu, core::WindowName::Player})
        delete core::FindWindow(QString::fromLatin1(name));
}
