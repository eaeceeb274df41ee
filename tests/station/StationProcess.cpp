#include "StationProcess.h"
#include "BinaryDir.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <csignal>

QString StationProcess::Program()
{
    return TestBinaryDir() + QStringLiteral("/bin/corvane-station");
}

QString StationProcess::mediaDir() const
{
    return TestBinaryDir() + QStringLiteral("/tests/station-media");
}

StationProcess::StationProcess(QStringList extraArguments, QString dataDir)
    : m_dataDir(dataDir.isEmpty() ? m_temp.path() : dataDir)
{
    m_arguments =
        QStringList{"--port",  "0",        "--data",         m_dataDir,
                    "--media", mediaDir(), "--song-seconds", QString::number(SongSeconds)} +
        extraArguments;
}

StationProcess::~StationProcess()
{
    if (m_process.state() != QProcess::NotRunning)
        Stop(SIGTERM);
}

void StationProcess::ReadOutput()
{
    m_output += QString::fromUtf8(m_process.readAllStandardOutput());
}

bool StationProcess::WaitForOutput(const QString& text, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    ReadOutput();
    while (!m_output.contains(text)) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        ReadOutput();
    }
    return true;
}

bool StationProcess::Start()
{
    m_process.start(Program(), m_arguments);
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
    ReadOutput();
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
