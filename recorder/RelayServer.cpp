#include "RelayServer.h"

#include <QHostAddress>

namespace recorder {

RelayServer::RelayServer(quint16 port, QObject* parent) : QObject(parent), m_Port(port)
{
    connect(&m_Server, &QTcpServer::newConnection, this, &RelayServer::OnNewConnection);
}

RelayServer::~RelayServer()
{
    DownServer();
}

void RelayServer::StartServer()
{
    DownServer();
    // Loopback only: the relay is for a player on this computer, not for the network. The port
    // taken once stays the one shown to the user while the window lives.
    const quint16 port = m_Bound ? m_Bound : m_Port;
    if (!m_Server.listen(QHostAddress::LocalHost, port)) {
        m_Bound = 0;
        emit StatusText(tr("Winamp relay off: cannot open 127.0.0.1:%1 (%2)")
                            .arg(port)
                            .arg(m_Server.errorString()));
        return;
    }
    m_Bound = m_Server.serverPort();
    emit StatusText(tr("Waiting for Winamp player open url '127.0.0.1:%1'...").arg(m_Bound));
}

void RelayServer::DownServer()
{
    m_Server.close();
    if (m_Player) {
        m_Player->disconnect(this);
        m_Player->disconnectFromHost();
        m_Player->deleteLater();
        m_Player = nullptr;
    }
    bRelayPending = false;
    bRelayStreaming = false;
}

void RelayServer::OnNewConnection()
{
    QTcpSocket* player = m_Server.nextPendingConnection();
    if (!player)
        return;
    // One player at a time: nothing listens until this one has gone, and anyone who raced it into
    // the queue is turned away.
    m_Server.close();
    while (QTcpSocket* late = m_Server.nextPendingConnection())
        late->abort(), late->deleteLater();
    m_Player = player;
    connect(player, &QTcpSocket::readyRead, this, &RelayServer::OnPlayerData);
    connect(player, &QTcpSocket::disconnected, this, &RelayServer::OnPlayerGone);
    emit StatusText(tr("Winamp Connected"));
}

void RelayServer::OnPlayerData()
{
    if (!m_Player)
        return;
    m_Player->readAll(); // the request is not examined
    // Once the stream flows, more request bytes get no second header: a header, or a resent
    // rest of an arrival, in the middle of the stream would corrupt what the player hears.
    if (m_Header.isEmpty() || bRelayStreaming)
        return;
    Send(std::string_view(m_Header.constData(), static_cast<std::size_t>(m_Header.size())));
    bRelayPending = true;
}

void RelayServer::OnPlayerGone()
{
    if (m_Player)
        m_Player->deleteLater();
    m_Player = nullptr;
    bRelayStreaming = false;
    bRelayPending = false;
    emit StatusText(tr("Winamp Disconnected"));
    StartServer();
}

void RelayServer::StartCheck(std::string_view rest, bool bInMeta, bool atIntervalStart)
{
    if (bInMeta || !bRelayPending || !atIntervalStart)
        return;
    Send(rest);
    bRelayPending = false;
    bRelayStreaming = true;
}

void RelayServer::Forward(std::string_view sData)
{
    if (bRelayStreaming)
        Send(sData);
}

void RelayServer::ForwardSegment(std::string_view audio, std::string_view title)
{
    if (bRelayPending) {
        m_Blocks = IcyInterleaver(kIcyMetaInt);
        bRelayPending = false;
        bRelayStreaming = true;
    }
    if (!bRelayStreaming)
        return;
    m_Interleaved.clear();
    m_Blocks.Feed(audio, title, m_Interleaved);
    Send(m_Interleaved);
}

void RelayServer::Send(std::string_view bytes)
{
    if (!m_Player || bytes.empty())
        return;
    m_Player->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (m_Player->bytesToWrite() > kMaxRelayQueue)
        DropPlayer();
}

void RelayServer::DropPlayer()
{
    qWarning("relay: the player fell %lld bytes behind; dropping it",
             static_cast<long long>(m_Player->bytesToWrite()));
    QTcpSocket* player = m_Player;
    player->disconnect(this);
    player->abort();
    player->deleteLater();
    m_Player = nullptr;
    OnPlayerGone();
}

} // namespace recorder
