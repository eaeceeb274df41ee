// What the recorder's socket and file tests share: a stream server inside the test on 127.0.0.1
// that sends exactly what the test tells it to, when it tells it to (so it can misbehave on
// purpose), waiting on conditions, and a look at the files written.
#pragma once

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

namespace icytest {

// Socket events are delivered by the event loop; wait on a condition, never on a fixed time.
template <typename Condition> bool WaitFor(Condition condition, int timeoutMs = 15000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

inline QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Whether this process still holds a descriptor on the file.
inline bool HeldOpen(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    for (const auto& fd : QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::Files))
        if (fd.symLinkTarget() == target)
            return true;
    return false;
}

class TestServer : public QObject
{
  public:
    // listener: another kind of server (one that speaks TLS); a plain one when none is given.
    explicit TestServer(QTcpServer* listener = nullptr)
        : owned(listener ? listener : new QTcpServer), server(*owned)
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::pendingConnectionAvailable, this, [this] {
            if (!server.hasPendingConnections())
                return;
            // Each connection starts its own request (a recorder that reconnects asks again).
            client = server.nextPendingConnection();
            request.clear();
            clientGone = false;
            ++connections;
            QTcpSocket* socket = client;
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                if (socket == client)
                    request += socket->readAll();
            });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                if (socket == client)
                    clientGone = true;
            });
        });
    }
    quint16 Port() const { return server.serverPort(); }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(Port()); }
    bool WaitForRequest()
    {
        return WaitFor([this] { return request.endsWith("\r\n\r\n"); });
    }
    // Waits until the kernel has taken everything, so that the next piece arrives separately.
    void Send(const std::string& bytes)
    {
        client->write(bytes.data(), qint64(bytes.size()));
        WaitFor([this] { return clientGone || client->bytesToWrite() == 0; });
    }
    void Close() { client->disconnectFromHost(); } // after what is still queued

    std::unique_ptr<QTcpServer> owned;
    QTcpServer& server;
    QPointer<QTcpSocket> client;
    QByteArray request;
    bool clientGone = false;
    int connections = 0;
};

} // namespace icytest
