#include "FileServer.h"

#include "HeadReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpSocket>

namespace {
// Larger files are sent piece by piece as the client takes them, never queued whole.
constexpr qint64 kPiece = 64 * 1024;

void Pump(QTcpSocket* socket, QFile* file)
{
    while (socket->bytesToWrite() < kPiece && !file->atEnd()) {
        const QByteArray piece = file->read(kPiece);
        if (piece.isEmpty())
            break;
        socket->write(piece);
    }
    if (file->atEnd()) {
        file->close();
        socket->disconnectFromHost();
    }
}
} // namespace

QByteArray ContentTypeOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == "html" || suffix == "htm")
        return "text/html; charset=utf-8";
    if (suffix == "ini" || suffix == "txt")
        return "text/plain; charset=utf-8";
    if (suffix == "css")
        return "text/css";
    if (suffix == "js")
        return "text/javascript";
    if (suffix == "png")
        return "image/png";
    if (suffix == "jpg" || suffix == "jpeg")
        return "image/jpeg";
    if (suffix == "gif")
        return "image/gif";
    if (suffix == "svg")
        return "image/svg+xml";
    if (suffix == "mp3")
        return "audio/mpeg";
    if (suffix == "wav")
        return "audio/wav";
    if (suffix == "ts")
        return "video/mp2t";
    return "application/octet-stream";
}

FileServer::FileServer(QString root, QObject* parent) : QObject(parent), m_root(std::move(root))
{
    connect(&m_server, &QTcpServer::newConnection, this, &FileServer::OnNewConnection);
}

bool FileServer::Listen(quint16 port, QString& error)
{
    return ListenOnLoopback(m_server, port, QStringLiteral("operator files"), error);
}

void FileServer::OnNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        AwaitRequestHead(socket,
                         [this](QTcpSocket* s, const RequestHead& head) { Respond(s, head); });
    }
}

void FileServer::Respond(QTcpSocket* socket, const RequestHead& head)
{
    if (head.method != "GET" && head.method != "HEAD") {
        RespondAndClose(socket, "HTTP/1.1 405 Method Not Allowed");
        return;
    }
    bool ok = false;
    QString relative = LocalPathOf(head.target, ok);
    QString path = QDir(m_root).filePath(relative);
    if (ok && QFileInfo(path).isDir())
        path = QDir(path).filePath(QStringLiteral("index.html"));
    auto* file = new QFile(path, socket);
    // A missing file is answered with an empty body: the player's message poll shows whatever
    // body it gets, and an error page would pop up as the operator's message.
    if (!ok || !QFileInfo(path).isFile() || !file->open(QIODevice::ReadOnly)) {
        RespondAndClose(socket, "HTTP/1.1 404 Not Found");
        return;
    }
    QByteArray response = "HTTP/1.1 200 OK\r\nContent-Type: " + ContentTypeOf(path) +
                          "\r\nContent-Length: " + QByteArray::number(file->size()) +
                          "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
    socket->write(response);
    if (head.method == "HEAD") {
        socket->disconnectFromHost();
        return;
    }
    connect(socket, &QTcpSocket::bytesWritten, file, [socket, file] {
        if (file->isOpen())
            Pump(socket, file);
    });
    Pump(socket, file);
}
