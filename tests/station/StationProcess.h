#pragma once
// Runs the real corvane-station for a test, on free ports, with its folder in a temporary
// directory and the generated media shared by every test run of the build tree. Other areas'
// end-to-end tests use it too.
#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class StationProcess
{
  public:
    // Extra arguments are appended to the defaults (--port 0, short songs, test folders).
    explicit StationProcess(QStringList extraArguments = {}, QString dataDir = {});
    ~StationProcess();

    // Starts it and waits until it says it is ready (the first run makes media: generous wait).
    bool Start();
    // Sends the signal and waits for the exit; true when it exited normally with code 0.
    bool Stop(int signal);
    bool WaitForOutput(const QString& text, int timeoutMs = 15000);

    QString output() const { return m_output; }
    QString wwwDir() const { return m_dataDir + QStringLiteral("/www"); }
    QByteArray serverUrl() const { return m_serverUrl; }
    QList<QByteArray> radioUrls() const { return m_radioUrls; }
    QByteArray tvUrl() const { return m_tvUrl; }

    static QString MediaDir();
    static constexpr int SongSeconds = 3;

  private:
    QStringList m_arguments;
    QTemporaryDir m_temp;
    QString m_dataDir;
    QProcess m_process;
    QString m_output;
    QByteArray m_serverUrl;
    QList<QByteArray> m_radioUrls;
    QByteArray m_tvUrl;
};

// Port of an "http://127.0.0.1:PORT/" address.
quint16 PortOf(const QByteArray& url);
