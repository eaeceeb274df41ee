#include "Broadcast.h"

#include "HeadReader.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr int kTickMs = 50;
constexpr int kSendBuffer = 64 * 1024;
} // namespace

Broadcast::Broadcast(ChannelPlan plan, std::unique_ptr<Programme> programme, QByteArray stationUrl,
                     BroadcastLimits limits, QObject* parent)
    : QObject(parent), m_plan(std::move(plan)), m_programme(std::move(programme)),
      m_stationUrl(std::move(stationUrl)), m_limits(limits)
{
    m_timer.setInterval(kTickMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Broadcast::Tick);
    connect(&m_server, &QTcpServer::newConnection, this, &Broadcast::OnNewConnection);
}

Broadcast::~Broadcast() = default;

bool Broadcast::Listen(quint16 port, QString& error)
{
    if (!ListenOnLoopback(m_server, port, m_plan.name, error))
        return false;
    m_clock.start();
    return true;
}

qint64 Broadcast::DueChunk() const
{
    // The channel went on air one burst before it started listening, so that even its first
    // listener gets a start burst.
    const double seconds = double(m_clock.nsecsElapsed()) / 1e9 + m_limits.burstSeconds;
    return qint64(std::floor(seconds / m_programme->chunkSeconds()));
}

QString Broadcast::Peer(QTcpSocket* socket) const
{
    return QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
}

void Broadcast::OnNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBuffer);
        AwaitRequestHead(socket,
                         [this](QTcpSocket* s, const RequestHead& head) { Admit(s, head); });
    }
}

QByteArray Broadcast::ResponseHead(bool metadata) const
{
    if (m_plan.kind == ChannelKind::TV) {
        return "HTTP/1.0 200 OK\r\nContent-Type: video/mp2t\r\nCache-Control: no-cache\r\n"
               "Connection: close\r\n\r\n";
    }
    if (!m_plan.mount.isEmpty()) {
        // Icecast style: an HTTP answer, blanks after the colons, the bitrate in ice-audio-info.
        QByteArray head = "HTTP/1.1 200 OK\r\nServer: Corvane demo station\r\n"
                          "Content-Type: audio/mpeg\r\nCache-Control: no-cache\r\n"
                          "Connection: close\r\n";
        head += "icy-name: " + m_plan.name.toUtf8() + "\r\nicy-genre: Demo\r\n";
        head += "icy-url: " + m_stationUrl + "\r\nicy-pub: 0\r\n";
        head += "ice-audio-info: ice-bitrate=" + QByteArray::number(m_plan.bitrateKbps) +
                ";ice-channels=2;ice-samplerate=44100\r\n";
        if (metadata)
            head += "icy-metaint: " + QByteArray::number(recorder::kIcyMetaInt) + "\r\n";
        return head + "\r\n";
    }
    // SHOUTcast style: no blank after the colon, so clients that show the raw value (the
    // recorder's station label) show the name alone.
    QByteArray head = "ICY 200 OK\r\nicy-notice1:<BR>Corvane demo station<BR>\r\n";
    head += "icy-name:" + m_plan.name.toUtf8() + "\r\n";
    head += "icy-genre:Demo\r\nicy-url:" + m_stationUrl + "\r\n";
    head += "content-type:audio/mpeg\r\nicy-pub:0\r\n";
    if (metadata)
        head += "icy-metaint:" + QByteArray::number(recorder::kIcyMetaInt) + "\r\n";
    head += "icy-br:" + QByteArray::number(m_plan.bitrateKbps) + "\r\n\r\n";
    return head;
}

void Broadcast::Admit(QTcpSocket* socket, const RequestHead& head)
{
    if (head.method != "GET" && head.method != "HEAD") {
        RespondAndClose(socket, "HTTP/1.0 405 Method Not Allowed");
        return;
    }
    if (!m_plan.mount.isEmpty() && head.target.split('?').first() != m_plan.mount) {
        RespondAndClose(socket, "HTTP/1.1 404 Not Found");
        return;
    }
    if (listenerCount() >= m_limits.maxListeners) {
        RespondAndClose(socket, "HTTP/1.0 503 Service Unavailable");
        Q_EMIT Note(QStringLiteral("%1: turned away %2 (full)").arg(m_plan.name, Peer(socket)));
        return;
    }
    const bool metadata = m_plan.kind == ChannelKind::Radio && WantsIcyMetadata(head);
    socket->write(ResponseHead(metadata));
    if (head.method == "HEAD") {
        socket->disconnectFromHost();
        return;
    }
    if (m_listeners.empty()) {
        m_sent = DueChunk();
        m_timer.start();
    }
    m_listeners.push_back(std::make_unique<Listener>(
        Listener{socket, Peer(socket), metadata, recorder::IcyInterleaver()}));
    Listener* listener = m_listeners.back().get();
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Remove(socket, {}); });
    // Drop what the client sends from now on; nothing it says matters any more.
    connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });

    const auto burst = qint64(m_limits.burstSeconds / m_programme->chunkSeconds());
    listener->allowance = std::numeric_limits<qint64>::max() / 2;
    Send(m_programme->EntryAtOrBefore(qMax<qint64>(0, m_sent - burst)), m_sent, {listener});
    listener->allowance = socket->bytesToWrite();
    Q_EMIT Note(QStringLiteral("%1: %2 tuned in (%3 listening)")
                    .arg(m_plan.name, Peer(socket))
                    .arg(listenerCount()));
}

void Broadcast::Tick()
{
    const qint64 due = DueChunk();
    std::vector<Listener*> everyone;
    for (const auto& listener : m_listeners)
        everyone.push_back(listener.get());
    Send(m_sent, due, everyone);
    m_sent = due;
}

void Broadcast::Send(qint64 from, qint64 to, const std::vector<Listener*>& to_whom)
{
    if (from >= to || to_whom.empty())
        return;
    QList<QByteArray> chunks;
    QByteArray plain;
    for (qint64 i = from; i < to; ++i) {
        chunks.append(m_programme->Chunk(i));
        plain.append(chunks.back());
    }
    QList<QTcpSocket*> slow;
    for (Listener* listener : to_whom) {
        if (!listener->metadata) {
            listener->socket->write(plain);
        } else {
            std::string out;
            out.reserve(static_cast<std::size_t>(plain.size()) + 64);
            for (qint64 i = from; i < to; ++i) {
                const QByteArray& chunk = chunks[i - from];
                const QByteArray title = m_programme->TitleAt(i);
                listener->icy.Feed({chunk.constData(), static_cast<std::size_t>(chunk.size())},
                                   {title.constData(), static_cast<std::size_t>(title.size())},
                                   out);
            }
            listener->socket->write(out.data(), static_cast<qint64>(out.size()));
        }
        if (listener->socket->bytesToWrite() > m_limits.maxBacklog + listener->allowance)
            slow.append(listener->socket);
    }
    for (QTcpSocket* socket : slow)
        Remove(socket, QStringLiteral("dropped, it stopped reading"));
}

void Broadcast::Remove(QTcpSocket* socket, const QString& why)
{
    const auto it = std::find_if(m_listeners.begin(), m_listeners.end(),
                                 [socket](const auto& l) { return l->socket == socket; });
    if (it == m_listeners.end())
        return;
    const QString peer = (*it)->peer;
    m_listeners.erase(it);
    if (!why.isEmpty()) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    Q_EMIT Note(QStringLiteral("%1: %2 %3 (%4 listening)")
                    .arg(m_plan.name, peer, why.isEmpty() ? QStringLiteral("left") : why)
                    .arg(listenerCount()));
    if (m_listeners.empty())
        m_timer.stop();
}
