#pragma once
// The HLS radio on its own port: the live playlist at the channel's mount and the segments it
// names. The window follows the wall clock since the channel went on air; nothing is sent
// unless asked for, so the channel costs nothing while nobody listens. One request per
// connection, GET and HEAD only.
#include "ChannelTable.h"
#include "HlsLoop.h"
#include "HttpRequest.h"

#include <QElapsedTimer>
#include <QTcpServer>

class HlsChannel : public QObject
{
    Q_OBJECT
  public:
    HlsChannel(ChannelPlan plan, HlsLoop loop, QObject* parent = nullptr);

    bool Listen(quint16 port, QString& error);
    quint16 port() const { return m_server.serverPort(); }
    const ChannelPlan& plan() const { return m_plan; }

  private:
    void OnNewConnection();
    void Respond(QTcpSocket* socket, const RequestHead& head);
    qint64 Newest() const;

    ChannelPlan m_plan;
    HlsLoop m_loop;
    QTcpServer m_server;
    QElapsedTimer m_clock; // since Listen
    double m_lead = 0;     // seconds on air before Listen, so the first window is full
};
