#include "HeadReader.h"

#include <QTimer>
#include <memory>

void AwaitRequestHead(QTcpSocket* socket,
                      std::function<void(QTcpSocket*, const RequestHead&)> onHead)
{
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    auto* timer = new QTimer(socket);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->abort(); });
    timer->start(RequestHeadTimeoutMs);

    auto buffer = std::make_shared<QByteArray>();
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
        socket, &QTcpSocket::readyRead, socket, [socket, timer, buffer, connection, onHead] {
            buffer->append(socket->read(MaxRequestHead + 1 - buffer->size()));
            RequestHead head;
            const HeadState state = ParseRequestHead(*buffer, head);
            if (state == HeadState::Incomplete)
                return;
            QObject::disconnect(*connection);
            timer->stop();
            if (state == HeadState::Bad) {
                RespondAndClose(socket, "HTTP/1.0 400 Bad Request");
                return;
            }
            onHead(socket, head);
        });
}

void RespondAndClose(QTcpSocket* socket, const QByteArray& statusLine)
{
    socket->write(statusLine + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    socket->disconnectFromHost();
}

bool ListenOnLoopback(QTcpServer& server, quint16 port, const QString& who, QString& error)
{
    if (server.listen(QHostAddress::LocalHost, port))
        return true;
    error = QStringLiteral("%1: cannot listen on 127.0.0.1:%2 (%3)")
                .arg(who)
                .arg(port)
                .arg(server.errorString());
    return false;
}
