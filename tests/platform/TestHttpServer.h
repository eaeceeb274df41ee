// A small HTTP/1.1 server on 127.0.0.1 for tests, able to misbehave on purpose.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

class TestHttpServer : public QObject
{
    Q_OBJECT

  public:
    enum class Mode {
        Normal,      // status line, headers, body, close
        Stall,       // read the request, never answer
        StallInBody, // headers and half of the body, then nothing more
        ShortBody,   // Content-Length promises more than is sent, then close
        Trickle,     // one byte of body every few milliseconds
        NoLength,    // no Content-Length: the body ends when the connection closes
    };

    struct Route
    {
        Route(int s = 200, QByteArray b = {}, Mode m = Mode::Normal, QByteArray l = {})
            : status(s), body(std::move(b)), mode(m), location(std::move(l))
        {
        }
        int status;
        QByteArray body;
        Mode mode;
        QByteArray location; // for redirects
    };

    explicit TestHttpServer(QObject* parent = nullptr);

    bool Listen();
    quint16 Port() const { return server.serverPort(); }
    QString BaseUrl() const; // "http://127.0.0.1:<port>"
    void SetRoute(const QByteArray& path, Route route) { routes[path] = std::move(route); }
    void Close();

    QList<QByteArray> requestPaths; // in arrival order, exactly as on the request line

  signals:
    void RequestArrived(const QByteArray& path);

  private:
    void OnReadyRead(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const QByteArray& path);

    QTcpServer server;
    QHash<QByteArray, Route> routes;
};
