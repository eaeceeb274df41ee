// The real program, started from a copy in a temporary portable tree.
#pragma once

#include "AppTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

// A portable copy of the program in its own folder, with Settings.ini pointing at a closed port,
// sharing one runtime folder (where the instance socket lives) with the other copies of a test.
struct PortableProgram
{
    QTemporaryDir tree;
    QString runtime;

    explicit PortableProgram(const QString& RuntimeFolder) : runtime(RuntimeFolder)
    {
        QFile::copy(QStringLiteral(CORVANE_PROGRAM), Path("Corvane_net_player"));
        Write("portable", "");
        Write("Settings.ini", "[Server]\r\nURL=http://127.0.0.1:1/\r\n");
    }
    QString Path(const QString& Name) const { return tree.filePath(Name); }
    void Write(const QString& Name, const QByteArray& Bytes) const
    {
        QFile file(Path(Name));
        if (file.open(QIODevice::WriteOnly))
            file.write(Bytes);
    }
    // Started on the test's X server; returns once the process runs.
    bool Start(QProcess& Process, const QStringList& Arguments = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        Process.setProcessEnvironment(env);
        Process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        Process.start(Path("Corvane_net_player"), Arguments);
        return Process.waitForStarted(15'000);
    }
};

// Waits (events running) until Process has ended, within the usual deadline.
inline bool WaitForEnd(QProcess& Process)
{
    return WaitUntil([&] { return Process.state() == QProcess::NotRunning; });
}

// The instance sockets in a runtime folder (not their lock files).
inline QStringList InstanceSockets(const QString& RuntimeFolder)
{
    return QDir(RuntimeFolder)
        .entryList({QStringLiteral("corvane-player-*")}, QDir::System | QDir::Files)
        .filter(QRegularExpression(QStringLiteral("^[^.]*$")));
}
