// A small HTTP/1.1 server on 127.0.0.1 for tests, able to misbehave on purpose.
#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

class TestHttpServer
{
  public:
    enum class Mode {
        Normal,      // status line, headers, body, close
        Stall,       // read the request, never answer
        ShortBody,   // Content-Length promises more than is sent, then close
        Trickle,     // one byte of body every few milliseconds
        NoLength,    // no Content-Length: the body ends when the connection closes
        Understated, // Content-Length promises 16 bytes, then the whole body follows
    };
    struct Route
    {
        int status = 200;
        QByteArray body;
        Mode mode = Mode::Normal;
        QByteArray location = {}; // for redirects
    };

    TestHttpServer()
    {
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { OnReadyRead(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                    ++closed;
                    socket->deleteLater();
                });
            }
        });
    }
    bool Listen() { return server.listen(QHostAddress::LocalHost, 0); }
    QString BaseUrl() const { return "http://127.0.0.1:" + QString::number(server.serverPort()); }
    void SetRoute(const QByteArray& path, Route route) { routes[path] = std::move(route); }
    int Requests() const { return requests; }
    int Closed() const { return closed; } // connections ended, by either side

  private:
    void OnReadyRead(QTcpSocket* socket)
    {
        const QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
        socket->setProperty("buffer", buffer);
        if (!buffer.contains("\r\n\r\n"))
            return;
        socket->setProperty("buffer", QByteArray());
        ++requests;
        const QByteArray path = buffer.left(buffer.indexOf("\r\n")).split(' ').value(1);
        Answer(socket, routes.value(path, Route{404, "<html>Not Found</html>"}));
    }

    static void Answer(QTcpSocket* socket, const Route& route)
    {
        if (route.mode == Mode::Stall)
            return;
        QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + " Status\r\n";
        if (!route.location.isEmpty())
            head += "Location: " + route.location + "\r\n";
        const qsizetype promised =
            route.mode == Mode::Understated
                ? 16
                : route.body.size() + (route.mode == Mode::ShortBody ? 100 : 0);
        if (route.mode != Mode::NoLength)
            head += "Content-Length: " + QByteArray::number(promised) + "\r\n";
        socket->write(head + "Connection: close\r\n\r\n");
        if (route.mode != Mode::Trickle) {
            socket->write(route.body);
            socket->disconnectFromHost();
            return;
        }
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket,
                         [socket, body = route.body, sent = qsizetype(0)]() mutable {
                             if (sent < body.size())
                                 socket->write(body.mid(sent++, 1));
                             else
                                 socket->disconnectFromHost();
                         });
        timer->start(5);
    }

    QTcpServer server;
    QHash<QByteArray, Route> routes;
    int requests = 0;
    int closed = 0;
};
