// What an end-to-end test needs around the real program: a copy of it in a temporary portable
// tree (its files land there, not in build/bin), a private session bus, the windows it shows as
// xdotool sees them, real clicks on them, and the processes and connections it keeps.
#pragma once

#include "Processes.h"

#include <QByteArray>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <initializer_list>
#include <set>
#include <sys/types.h>

namespace e2e {

// An X server and these tools, or the test is skipped.
bool ToolsPresent(std::initializer_list<const char*> Tools);

// Waits, events running, until Condition holds or Seconds have passed.
bool WaitFor(const std::function<bool()>& Condition, int Seconds = 30);

// Runs a helper program to its end (at most 30 s); its standard output, trimmed.
QString Run(const QString& Program, const QStringList& Arguments,
            const QStringList& Environment = {});

struct Window
{
    QString Id;
    QString Name;
    QRect Geometry;
};

// A session bus of its own (dbus-daemon), ended with the object.
class SessionBus
{
  public:
    SessionBus();
    ~SessionBus();
    QString Address() const { return m_sAddress; }

  private:
    QProcess m_Daemon;
    QString m_sAddress;
};

class ProgramUnderTest
{
  public:
    // A copy of the built program in Folder(), marked portable, with "Settings.ini" pointing at
    // ServerUrl; the per-user folders point into the temporary tree too.
    explicit ProgramUnderTest(const QByteArray& ServerUrl);
    ~ProgramUnderTest();

    // False, and nothing started, while the last run still goes: a test that lost track of it
    // must fail there, not drive the old run as if it were the new one.
    // Environment: more "NAME=value" entries for the program.
    bool Start(const QString& BusAddress, const QStringList& Arguments = {},
               const QStringList& Environment = {});
    // Waits for the process to end (Exit); false when it does not end in time.
    bool WaitForEnd();
    // Sends Signal and waits for the end.
    bool EndWith(int Signal);
    // How the last run ended: "exit 0" is the clean end, "signal 11" a crash.
    QString Ending() const;
    // What the last run printed on standard error.
    QByteArray ErrorOutput() const { return Read(QStringLiteral("../stderr.log")); }
    pid_t Pid() const { return pid_t(m_Process.processId()); }
    bool Running() const { return m_Process.state() != QProcess::NotRunning; }

    QString Folder() const { return m_Tree.filePath(QStringLiteral("bin")); }
    QByteArray Read(const QString& Name) const;
    // A value of an INI file in the program's folder, empty when absent.
    QString IniValue(const QString& File, const QString& Section, const QString& Key) const;

    // Its visible top-level windows (the tray icon's too).
    QList<Window> Windows() const;
    // The visible window named Name (a regular expression) of at least MinSize; empty Id if none.
    Window Find(const QString& Name, QSize MinSize = {100, 100}) const;
    bool Shows(const QString& Name, QSize MinSize = {100, 100}) const
    {
        return !Find(Name, MinSize).Id.isEmpty();
    }
    // The window once it stands wholly on screen and still (the message slides in, the recorder
    // docks beside the player), so that clicks go where the control is; empty if that never
    // happens.
    Window Settled(const QString& Name, QSize MinSize = {100, 100}) const;

  private:
    QTemporaryDir m_Tree;
    QProcess m_Process;
};

// Where a person clicks, in window coordinates: the player's controls and the recorder's RECORD.
inline const QPoint kPlayerExit{346, 13};
inline const QPoint kGoToTray{324, 13};
inline const QPoint kRecorder{296, 292};
inline const QPoint kRecordButton{293, 137};

// The player's window: the program shows it only after the directory and the viewer it opens
// while loading, so it is waited for, never assumed from the others.
inline const QSize kPlayerSize{300, 300};
inline Window PlayerWindow(const ProgramUnderTest& Program)
{
    return Program.Settled(QStringLiteral("Player"), kPlayerSize);
}

// Ends the program with Signal, or with the player's own Exit when Signal is 0, and checks the
// clean end: exit status 0 and every helper it started gone. Failures are fatal to the caller
// (wrap the call in ASSERT_NO_FATAL_FAILURE).
void EndAndExpectClean(ProgramUnderTest& Program, int Signal = 0);

// A real pointer click at a point of a window (raised first, so nothing lies over it).
bool Click(const Window& Target, QPoint At, int Repeat = 1);

// Established TCP connections from Pid to 127.0.0.1:Port.
int ConnectionsTo(pid_t Pid, quint16 Port);

// Processes named Name (their command) started for this test's X display.
int ProcessesOnOurDisplay(const QString& Name);

} // namespace e2e
