// An HLS station inside the test on 127.0.0.1: files by path, which the test changes while the
// recorder follows (a live window moving), a count of every fetch, and paths told to fail a
// number of times. Byte ranges are served as 206; every answer closes its connection.
#pragma once

#include <QHash>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace hlstest {

class HlsServer : public QObject
{
  public:
    // listener: one that speaks TLS; a plain one when none is given.
    explicit HlsServer(QTcpServer* listener = nullptr)
        : owned(listener ? listener : new QTcpServer), server(*owned)
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection())
                Serve(socket);
        });
    }
    QString Url(const char* path) const
    {
        return QStringLiteral("%1://127.0.0.1:%2%3")
            .arg(qobject_cast<QSslServer*>(&server) ? "https" : "http")
            .arg(server.serverPort())
            .arg(path);
    }

    QHash<QByteArray, QByteArray> files;
    QHash<QByteArray, int> failures; // answered 404 this many more times
    QHash<QByteArray, int> fetches;

  private:
    void Serve(QTcpSocket* socket)
    {
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
            *request += socket->readAll();
            if (!request->contains("\r\n\r\n") || request->isEmpty())
                return;
            socket->write(Answer(*request));
            request->clear();
            socket->disconnectFromHost();
        });
    }

    QByteArray Answer(const QByteArray& request)
    {
        const QList<QByteArray> line = request.left(request.indexOf("\r\n")).split(' ');
        const QByteArray path = line.value(1);
        ++fetches[path];
        if (!files.contains(path) || failures.value(path) > 0) {
            --failures[path];
            return "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        }
        QByteArray body = files.value(path), status = "200 OK";
        const qsizetype range = request.indexOf("\r\nRange: bytes=");
        if (range >= 0) {
            const QByteArray wanted =
                request.mid(range + 15, request.indexOf("\r\n", range + 2) - range - 15);
            const qsizetype from = wanted.split('-').value(0).toLongLong();
            const qsizetype to = wanted.split('-').value(1).toLongLong();
            body = body.mid(from, to - from + 1);
            status = "206 Partial Content";
        }
        return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

    std::unique_ptr<QTcpServer> owned;
    QTcpServer& server;
};

} // namespace hlstest
