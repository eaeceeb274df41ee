// A small HTTP/1.0 server on 127.0.0.1 for browser tests: answers every path with `page` and keeps
// every request it received, whole.
#pragma once

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

struct MiniHttpServer : QObject
{
    QByteArray page = "<html><body>advert</body></html>";
    QList<QByteArray> requests;

    MiniHttpServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    QString Url(const char* path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    // How many requests begin with `start` ("GET /page").
    int Count(const QByteArray& start) const
    {
        return int(std::ranges::count_if(requests, [&](auto& r) { return r.startsWith(start); }));
    }

  private:
    void Read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        static const QRegularExpression length("content-length: *(\\d+)",
                                               QRegularExpression::CaseInsensitiveOption);
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        const auto match = length.match(QString::fromLatin1(buffer.left(end)));
        if (end < 0 || buffer.size() < end + 4 + match.captured(1).toInt())
            return; // the rest is still on its way
        requests << m_buffers.take(socket);
        socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                      QByteArray::number(page.size()) + "\r\nConnection: close\r\n\r\n" + page);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QMap<QTcpSocket*, QByteArray> m_buffers;
};
