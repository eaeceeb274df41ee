// A certificate authority and a server certificate for 127.0.0.1, made by openssl when the test
// runs (nothing secret is kept in the tree), and a stream server that speaks TLS with it.
#pragma once

#include "RecorderTestKit.h"

#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTemporaryDir>

namespace icytest {

struct TestCertificates
{
    QSslCertificate authority;
    QSslCertificate server;
    QSslKey key;
    QString error; // why they could not be made

    static bool Run(const QString& folder, const QStringList& arguments, QString& error)
    {
        QProcess openssl;
        openssl.setWorkingDirectory(folder);
        openssl.start(QStringLiteral("openssl"), arguments);
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
            error = "openssl " + arguments.join(' ') + ": " + openssl.readAllStandardError();
            return false;
        }
        return true;
    }

    static TestCertificates Make()
    {
        TestCertificates made;
        QTemporaryDir dir;
        const QString ec = QStringLiteral("ec_paramgen_curve:prime256v1");
        QFile ext(dir.filePath("ext.cnf"));
        if (!ext.open(QIODevice::WriteOnly) ||
            ext.write("subjectAltName=IP:127.0.0.1,DNS:localhost\n") < 0)
            return made;
        ext.close();
        const bool ok =
            Run(dir.path(),
                {"req", "-x509", "-newkey", "ec", "-pkeyopt", ec, "-nodes", "-keyout", "ca.key",
                 "-out", "ca.crt", "-days", "2", "-subj", "/CN=Corvane Test Authority"},
                made.error) &&
            Run(dir.path(),
                {"req", "-newkey", "ec", "-pkeyopt", ec, "-nodes", "-keyout", "server.key", "-out",
                 "server.csr", "-subj", "/CN=127.0.0.1"},
                made.error) &&
            Run(dir.path(),
                {"x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key",
                 "-CAcreateserial", "-out", "server.crt", "-days", "2", "-extfile", "ext.cnf"},
                made.error);
        if (!ok)
            return made;
        const auto read = [&](const char* name) {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        made.authority = QSslCertificate(read("ca.crt"));
        made.server = QSslCertificate(read("server.crt"));
        made.key = QSslKey(read("server.key"), QSsl::Ec);
        if (made.authority.isNull() || made.server.isNull() || made.key.isNull())
            made.error = QStringLiteral("the certificates made do not load");
        return made;
    }

    QTcpServer* Listener() const
    {
        auto* listener = new QSslServer;
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(server);
        tls.setPrivateKey(key);
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        listener->setSslConfiguration(tls);
        return listener;
    }
};

} // namespace icytest
