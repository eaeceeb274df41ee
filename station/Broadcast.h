#pragma once
// One channel on one port: answers each listener with the ICY (radio) or HTTP (TV) header and
// then sends the programme in real time, every listener at the same moment of it, each with
// its own metadata timing. A listener whose unsent data grows beyond the limit is dropped, so
// a stalled client costs a bounded amount of memory.
#include "ChannelTable.h"
#include "HttpRequest.h"
#include "IcyInterleaver.h"
#include "Programme.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTimer>
#include <memory>
#include <vector>

struct BroadcastLimits
{
    qint64 maxBacklog = 512 * 1024; // bytes queued for one listener (beyond its start burst)
                                    // before it is dropped
    int maxListeners = 32;
    double burstSeconds = 2.0; // sent at once on connect, so playback starts without waiting
};

class Broadcast : public QObject
{
    Q_OBJECT
  public:
    Broadcast(ChannelPlan plan, std::unique_ptr<Programme> programme, QByteArray stationUrl,
              BroadcastLimits limits, QObject* parent = nullptr);
    ~Broadcast() override;

    bool Listen(quint16 port, QString& error);
    quint16 port() const { return m_server.serverPort(); }
    const ChannelPlan& plan() const { return m_plan; }
    int listenerCount() const { return int(m_listeners.size()); }

  signals:
    void Note(const QString& line);

  private:
    struct Listener
    {
        QTcpSocket* socket;
        QString peer; // kept: the address is gone once the socket has closed
        bool metadata;
        recorder::IcyInterleaver icy;
        qint64 allowance = 0; // the start burst, queued at once on purpose
    };

    void OnNewConnection();
    void Admit(QTcpSocket* socket, const RequestHead& head);
    QByteArray ResponseHead(bool metadata) const;
    void Tick();
    void Send(qint64 from, qint64 to, const std::vector<Listener*>& to_whom);
    void Remove(QTcpSocket* socket, const QString& why);
    qint64 DueChunk() const;
    QString Peer(QTcpSocket* socket) const;

    ChannelPlan m_plan;
    std::unique_ptr<Programme> m_programme;
    QByteArray m_stationUrl;
    BroadcastLimits m_limits;
    QTcpServer m_server;
    QTimer m_timer;
    QElapsedTimer m_clock; // on air since Listen
    qint64 m_sent = 0;     // chunks before this one have been sent to every listener
    std::vector<std::unique_ptr<Listener>> m_listeners;
};
