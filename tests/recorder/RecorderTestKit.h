// What the recorder's socket and file tests share: a stream server inside the test on 127.0.0.1
// that sends exactly what the test tells it to, when it tells it to (so it can misbehave on
// purpose), waiting on conditions, and a look at the files written.
#pragma once

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
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

// A certificate for 127.0.0.1, signed by itself, made when the test runs (nothing secret is kept
// in the tree); trusted, it is its own authority.
struct Certificate
{
    QSslCertificate certificate;
    QSslKey key;
    QString error;

    Certificate()
    {
        QTemporaryDir dir;
        QProcess openssl;
        openssl.setWorkingDirectory(dir.path());
        openssl.start("openssl",
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                       "-nodes", "-keyout", "key.pem", "-out", "cert.pem", "-days", "2", "-subj",
                       "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
            error = "openssl: " + openssl.readAllStandardError();
            return;
        }
        certificate = QSslCertificate(Contents(dir.filePath("cert.pem")));
        key = QSslKey(Contents(dir.filePath("key.pem")), QSsl::Ec);
        if (certificate.isNull() || key.isNull())
            error = QStringLiteral("the certificate made does not load");
    }
    QTcpServer* Listener() const
    {
        auto* listener = new QSslServer;
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(certificate);
        tls.setPrivateKey(key);
        listener->setSslConfiguration(tls);
        return listener;
    }
};

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
