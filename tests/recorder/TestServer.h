// A stream server inside the test, on 127.0.0.1: it takes one client at a time and sends exactly
// what the test tells it to, when the test tells it to, so it can misbehave on purpose.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <functional>

namespace icytest {

// Socket events are delivered by the event loop; wait on a condition, never on a fixed time.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 15000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

class TestServer : public QObject
{
  public:
    TestServer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            client = server.nextPendingConnection();
            connect(client, &QTcpSocket::readyRead, this, [this] { request += client->readAll(); });
            connect(client, &QTcpSocket::disconnected, this, [this] { clientGone = true; });
        });
    }
    quint16 Port() const { return server.serverPort(); }
    bool WaitForRequest()
    {
        return WaitFor([this] { return request.endsWith("\r\n\r\n"); });
    }
    void Send(const QByteArray& bytes) { client->write(bytes); }
    void Send(const std::string& bytes) { Send(QByteArray::fromStdString(bytes)); }
    // Waits until the kernel has taken everything, so that the next piece arrives separately.
    bool WaitSent()
    {
        return WaitFor([this] { return !client || client->bytesToWrite() == 0; });
    }
    void Close()
    {
        WaitSent();
        client->disconnectFromHost();
    }

    QTcpServer server;
    QPointer<QTcpSocket> client;
    QByteArray request;
    bool clientGone = false;
};

} // namespace icytest
