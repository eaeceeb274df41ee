#include "StationProcess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <csignal>

// The build tree the tests run from: the environment's word when given, else where CMake built us.
static QString BinaryDir()
{
    const QString fromEnvironment = qEnvironmentVariable("CORVANE_BINARY_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(CORVANE_TEST_BINARY_DIR) : fromEnvironment;
}

QString StationProcess::MediaDir()
{
    return BinaryDir() + QStringLiteral("/tests/station-media");
}

StationProcess::StationProcess(QStringList extraArguments, QString dataDir)
    : m_dataDir(dataDir.isEmpty() ? m_temp.path() : dataDir)
{
    m_arguments =
        QStringList{"--port",  "0",        "--data",         m_dataDir,
                    "--media", MediaDir(), "--song-seconds", QString::number(SongSeconds)} +
        extraArguments;
}

StationProcess::~StationProcess()
{
    if (m_process.state() != QProcess::NotRunning)
        Stop(SIGTERM);
}

bool StationProcess::WaitForOutput(const QString& text, int timeoutMs)
{
    for (QDeadlineTimer deadline(timeoutMs);;) {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        if (m_output.contains(text))
            return true;
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
}

bool StationProcess::Start()
{
    m_process.start(BinaryDir() + QStringLiteral("/bin/corvane-station"), m_arguments);
    if (!m_process.waitForStarted(15000) || !WaitForOutput(QStringLiteral("ready"), 180000))
        return false;
    const QRegularExpression server(QStringLiteral("\\[Server\\] URL=(\\S+)"));
    const QRegularExpression channel(QStringLiteral("^  (Radio|TV) +(\\S+) "),
                                     QRegularExpression::MultilineOption);
    m_serverUrl = server.match(m_output).captured(1).toLatin1();
    for (auto it = channel.globalMatch(m_output); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(1) == QLatin1String("TV"))
            m_tvUrl = match.captured(2).toLatin1();
        else
            m_radioUrls.append(match.captured(2).toLatin1());
    }
    return !m_serverUrl.isEmpty() && !m_radioUrls.isEmpty() && !m_tvUrl.isEmpty();
}

bool StationProcess::Stop(int signal)
{
    const qint64 pid = m_process.processId();
    if (m_process.state() == QProcess::NotRunning || pid <= 0)
        return false;
    ::kill(pid_t(pid), signal);
    const bool ended = m_process.waitForFinished(15000);
    m_output += QString::fromUtf8(m_process.readAllStandardOutput());
    if (!ended) {
        m_process.kill();
        m_process.waitForFinished(15000);
        return false;
    }
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

quint16 PortOf(const QByteArray& url)
{
    const QByteArray rest = url.mid(url.lastIndexOf(':') + 1);
    return quint16(rest.left(rest.indexOf('/')).toUInt());
}
