// A small HTTP/1.0 server on 127.0.0.1 for browser tests: serves fixed pages by path and keeps
// every request it received (method, path, headers, body).
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

class MiniHttpServer : public QObject
{
    Q_OBJECT
  public:
    struct Request
    {
        QByteArray method;
        QByteArray path;
        QMap<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    MiniHttpServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &MiniHttpServer::Accept);
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    void Serve(const QByteArray& path, const QByteArray& html) { m_pages[path] = html; }
    QString Url(const QByteArray& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2")
            .arg(m_server.serverPort())
            .arg(QString::fromLatin1(path));
    }
    const QList<Request>& Requests() const { return m_requests; }
    int CountFor(const QByteArray& path) const
    {
        int count = 0;
        for (const Request& request : m_requests)
            count += request.path == path;
        return count;
    }

  signals:
    void Received();

  private:
    void Accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }
    void Read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        Request request;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.path = first.value(1);
        for (int i = 1; i < lines.size(); ++i) {
            const int colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers[lines[i].left(colon).trimmed().toLower()] =
                    lines[i].mid(colon + 1).trimmed();
        }
        const int length = request.headers.value("content-length").toInt();
        if (buffer.size() < end + 4 + length)
            return; // the body is still on its way
        request.body = buffer.mid(end + 4, length);
        m_buffers.remove(socket);
        m_requests << request;

        const QByteArray page = m_pages.value(request.path, "<html><body>none</body></html>");
        const bool known = m_pages.contains(request.path);
        socket->write((known ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n") +
                      QByteArray("Content-Type: text/html\r\nContent-Length: ") +
                      QByteArray::number(page.size()) + "\r\nConnection: close\r\n\r\n" + page);
        socket->disconnectFromHost();
        emit Received();
    }

    QTcpServer m_server;
    QMap<QByteArray, QByteArray> m_pages;
    QMap<QTcpSocket*, QByteArray> m_buffers;
    QList<Request> m_requests;
};
