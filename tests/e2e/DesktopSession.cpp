#include "DesktopSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace e2e {

bool ToolsPresent(std::initializer_list<const char*> Tools)
{
    for (const char* tool : Tools) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

bool WaitFor(const std::function<bool()>& Condition, int Seconds)
{
    QDeadlineTimer deadline(Seconds * 1000);
    do {
        if (Condition())
            return true;
        // Each round asks xdotool or /proc: a pause between rounds spares the two cores.
        QTest::qWait(100);
    } while (!deadline.hasExpired());
    return Condition();
}

QString Run(const QString& Program, const QStringList& Arguments, const QStringList& Environment)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : Environment)
        env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    process.setProcessEnvironment(env);
    process.start(Program, Arguments);
    if (!process.waitForFinished(30'000)) {
        process.kill();
        process.waitForFinished(5'000);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

SessionBus::SessionBus()
{
    m_Daemon.start(QStringLiteral("dbus-daemon"),
                   {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (!m_Daemon.waitForStarted(15'000))
        return;
    QDeadlineTimer deadline(30'000);
    while (!m_Daemon.canReadLine() && !deadline.hasExpired() &&
           m_Daemon.state() == QProcess::Running)
        m_Daemon.waitForReadyRead(1'000);
    m_sAddress = QString::fromUtf8(m_Daemon.readLine()).trimmed();
}

SessionBus::~SessionBus()
{
    if (m_Daemon.state() == QProcess::NotRunning)
        return;
    m_Daemon.terminate();
    if (!m_Daemon.waitForFinished(15'000))
        m_Daemon.kill();
    m_Daemon.waitForFinished(5'000);
}

ProgramUnderTest::ProgramUnderTest(const QByteArray& ServerUrl)
{
    QDir tree(m_Tree.path());
    tree.mkpath(QStringLiteral("bin"));
    tree.mkpath(QStringLiteral("data"));
    tree.mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(tree.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // A copy, because the program keeps its files beside itself in a portable tree and the
    // build tree's folder must stay untouched; the marker names this tree portable.
    QFile::copy(QStringLiteral(CORVANE_PROGRAM), Folder() + QStringLiteral("/Corvane_net_player"));
    QFile(Folder() + QStringLiteral("/portable")).open(QIODevice::WriteOnly);
    QFile settings(Folder() + QStringLiteral("/Settings.ini"));
    if (settings.open(QIODevice::WriteOnly))
        settings.write("[Server]\r\nURL=" + ServerUrl + "\r\n");
}

ProgramUnderTest::~ProgramUnderTest()
{
    if (m_Process.state() == QProcess::NotRunning)
        return;
    const std::set<pid_t> helpers = Descendants(Pid());
    m_Process.kill();
    m_Process.waitForFinished(15'000);
    for (pid_t helper : helpers)
        ::kill(helper, SIGKILL);
}

bool ProgramUnderTest::Start(const QString& BusAddress, const QStringList& Arguments,
                             const QStringList& Environment)
{
    if (Running())
        return false;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_Tree.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_Tree.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("CORVANE_MPV_AO"), QStringLiteral("null"));
    // No bus: an address that refuses every connection, as a session without a bus does. Left
    // unset, the bus library would start one on the display (autolaunch) for WebEngine and Qt.
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
               BusAddress.isEmpty() ? QStringLiteral("disabled:") : BusAddress);
    for (const QString& pair : Environment)
        env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    m_Process.setProcessEnvironment(env);
    m_Process.setStandardErrorFile(m_Tree.filePath(QStringLiteral("stderr.log")));
    m_Process.setStandardOutputFile(QProcess::nullDevice());
    m_Process.start(Folder() + QStringLiteral("/Corvane_net_player"), Arguments);
    return m_Process.waitForStarted(15'000);
}

bool ProgramUnderTest::WaitForEnd()
{
    return WaitFor([this] { return m_Process.state() == QProcess::NotRunning; }, 60);
}

bool ProgramUnderTest::EndWith(int Signal)
{
    ::kill(Pid(), Signal);
    return WaitForEnd();
}

QString ProgramUnderTest::Ending() const
{
    if (m_Process.state() != QProcess::NotRunning)
        return QStringLiteral("running");
    return m_Process.exitStatus() == QProcess::CrashExit
               ? QStringLiteral("signal %1").arg(m_Process.exitCode())
               : QStringLiteral("exit %1").arg(m_Process.exitCode());
}

QByteArray ProgramUnderTest::Read(const QString& Name) const
{
    QFile file(Folder() + '/' + Name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString ProgramUnderTest::IniValue(const QString& File, const QString& Section,
                                   const QString& Key) const
{
    QString section;
    const QStringList lines = QString::fromUtf8(Read(File)).split(QRegularExpression("\r?\n"));
    for (const QString& line : lines) {
        if (line.startsWith('[') && line.endsWith(']'))
            section = line.mid(1, line.size() - 2);
        else if (section.compare(Section, Qt::CaseInsensitive) == 0 &&
                 line.section('=', 0, 0).trimmed().compare(Key, Qt::CaseInsensitive) == 0)
            return line.section('=', 1);
    }
    return {};
}

QList<Window> ProgramUnderTest::Windows() const
{
    QList<Window> windows;
    const QStringList ids =
        Run(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(Pid())})
            .split('\n', Qt::SkipEmptyParts);
    for (const QString& id : ids) {
        Window window{id, Run(QStringLiteral("xdotool"), {"getwindowname", id}), {}};
        const QStringList shell =
            Run(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", id}).split('\n');
        int x = 0, y = 0, w = 0, h = 0;
        for (const QString& line : shell) {
            const int value = line.section('=', 1).toInt();
            if (line.startsWith("X="))
                x = value;
            else if (line.startsWith("Y="))
                y = value;
            else if (line.startsWith("WIDTH="))
                w = value;
            else if (line.startsWith("HEIGHT="))
                h = value;
        }
        window.Geometry = QRect(x, y, w, h);
        windows.append(window);
    }
    return windows;
}

Window ProgramUnderTest::Find(const QString& Name, QSize MinSize) const
{
    const QRegularExpression pattern(QStringLiteral("^(?:%1)$").arg(Name));
    for (const Window& window : Windows()) {
        if (pattern.match(window.Name).hasMatch() && window.Geometry.width() >= MinSize.width() &&
            window.Geometry.height() >= MinSize.height())
            return window;
    }
    return {};
}

Window ProgramUnderTest::Settled(const QString& Name, QSize MinSize) const
{
    const int screenWidth =
        Run(QStringLiteral("xdotool"), {"getdisplaygeometry"}).section(' ', 0, 0).toInt();
    Window last;
    const bool settled = WaitFor([&] {
        const Window now = Find(Name, MinSize);
        const bool still = !now.Id.isEmpty() && now.Geometry == last.Geometry &&
                           now.Geometry.right() < screenWidth;
        last = now;
        return still;
    });
    return settled ? last : Window{};
}

void EndAndExpectClean(ProgramUnderTest& Program, int Signal)
{
    ASSERT_TRUE(Program.Running()) << "not running: " << Program.Ending().toStdString();
    // The advert's web engine starts once the windows are on screen.
    EXPECT_TRUE(WaitFor([&] { return !Descendants(Program.Pid()).empty(); }))
        << "WebEngine's helpers were expected below the program";
    const std::set<pid_t> helpers = Descendants(Program.Pid());
    if (Signal != 0) {
        ASSERT_TRUE(Program.EndWith(Signal)) << "did not end";
    } else {
        const Window player = PlayerWindow(Program);
        ASSERT_FALSE(player.Id.isEmpty()) << "the player window was not found";
        ASSERT_TRUE(Click(player, kPlayerExit));
        ASSERT_TRUE(Program.WaitForEnd()) << "Exit did not end the program";
    }
    EXPECT_EQ(Program.Ending(), "exit 0") << Program.ErrorOutput().toStdString();
    for (pid_t helper : helpers)
        EXPECT_TRUE(WaitFor([&] { return !ProcessLives(helper); })) << "left behind: " << helper;
    // Nor a bus of its own started for it on the display.
    EXPECT_EQ(ProcessesOnOurDisplay(QStringLiteral("dbus-launch")), 0);
}

bool Click(const Window& Target, QPoint At, int Repeat)
{
    if (Target.Id.isEmpty())
        return false;
    Run(QStringLiteral("xdotool"), {"windowraise", Target.Id});
    QProcess click;
    click.start(QStringLiteral("xdotool"),
                {"mousemove", "--sync", "--window", Target.Id, QString::number(At.x()),
                 QString::number(At.y()), "click", "--repeat", QString::number(Repeat), "1"});
    return click.waitForFinished(30'000) && click.exitCode() == 0;
}

namespace {

std::set<QString> SocketInodes(pid_t Pid)
{
    std::set<QString> inodes;
    const QString fds = QStringLiteral("/proc/%1/fd").arg(Pid);
    for (const QString& fd : QDir(fds).entryList(QDir::System | QDir::NoDotAndDotDot)) {
        static const QRegularExpression socket(QStringLiteral("socket:\\[(\\d+)\\]"));
        const auto match = socket.match(QFile::symLinkTarget(fds + '/' + fd));
        if (match.hasMatch())
            inodes.insert(match.captured(1));
    }
    return inodes;
}

} // namespace

int ConnectionsTo(pid_t Pid, quint16 Port)
{
    // /proc/<pid>/fd names the socket inodes; /proc/net/tcp where each one goes.
    const std::set<QString> inodes = SocketInodes(Pid);
    QFile table(QStringLiteral("/proc/%1/net/tcp").arg(Pid));
    if (!table.open(QIODevice::ReadOnly))
        return 0;
    const QString remote =
        QStringLiteral("0100007F:%1").arg(Port, 4, 16, QLatin1Char('0')).toUpper();
    int count = 0;
    for (const QByteArray& raw : table.readAll().split('\n')) {
        const QStringList fields = QString::fromLatin1(raw).simplified().split(' ');
        // sl local rem st tx:rx tr:when retrnsmt uid timeout inode
        if (fields.size() > 9 && fields[2] == remote && fields[3] == QLatin1String("01") &&
            inodes.count(fields[9]))
            ++count;
    }
    return count;
}

int ProcessesOnOurDisplay(const QString& Name)
{
    const QByteArray display = "DISPLAY=" + qgetenv("DISPLAY");
    int count = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(entry));
        QFile environ(QStringLiteral("/proc/%1/environ").arg(entry));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != Name.toUtf8() ||
            !environ.open(QIODevice::ReadOnly))
            continue;
        if (environ.readAll().split('\0').contains(display) && ProcessLives(entry.toInt()))
            ++count;
    }
    return count;
}

} // namespace e2e
