#include "TestHttpServer.h"

#include <QTcpSocket>
#include <QTimer>

TestHttpServer::TestHttpServer(QObject* parent) : QObject(parent)
{
    connect(&server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool TestHttpServer::Listen()
{
    return server.listen(QHostAddress::LocalHost, 0);
}

QString TestHttpServer::BaseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(Port());
}

void TestHttpServer::Close()
{
    server.close();
}

void TestHttpServer::OnReadyRead(QTcpSocket* socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("buffer", QByteArray());
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const QByteArray path = requestLine.value(1);
    requestPaths.append(path);
    emit RequestArrived(path);
    Answer(socket, path);
}

void TestHttpServer::Answer(QTcpSocket* socket, const QByteArray& path)
{
    const auto it = routes.constFind(path);
    const Route route = it != routes.constEnd() ? *it : Route{404, "<html>Not Found</html>"};
    if (route.mode == Mode::Stall)
        return;

    QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + " Status\r\n";
    if (!route.location.isEmpty())
        head += "Location: " + route.location + "\r\n";
    qsizetype promised = route.body.size();
    if (route.mode == Mode::ShortBody)
        promised += 100;
    if (route.mode != Mode::NoLength)
        head += "Content-Length: " + QByteArray::number(promised) + "\r\n";
    head += "Connection: close\r\n\r\n";

    switch (route.mode) {
    case Mode::StallInBody:
        socket->write(head + route.body.left(route.body.size() / 2));
        return;
    case Mode::Trickle: {
        socket->write(head);
        auto* timer = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(0);
        connect(timer, &QTimer::timeout, socket, [socket, timer, sent, body = route.body] {
            if (*sent >= body.size()) {
                timer->stop();
                socket->disconnectFromHost();
                return;
            }
            socket->write(body.mid((*sent)++, 1));
        });
        timer->start(5);
        return;
    }
    default:
        socket->write(head + route.body);
        socket->disconnectFromHost();
    }
}
