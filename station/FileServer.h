#pragma once
// The operator's web server: serves the files of one folder, read afresh for every request so
// that an edit (a new message) is seen at once. GET and HEAD only, one request per connection.
#include "HttpRequest.h"

#include <QTcpServer>

class FileServer : public QObject
{
    Q_OBJECT
  public:
    explicit FileServer(QString root, QObject* parent = nullptr);
    bool Listen(quint16 port, QString& error);
    quint16 port() const { return m_server.serverPort(); }

  signals:
    void Note(const QString& line);

  private:
    void OnNewConnection();
    void Respond(QTcpSocket* socket, const RequestHead& head);

    QString m_root;
    QTcpServer m_server;
};

// Content-Type for a file name, by its extension.
QByteArray ContentTypeOf(const QString& fileName);
