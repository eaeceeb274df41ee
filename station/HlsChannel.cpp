#include "HlsChannel.h"

#include "HeadReader.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace {
// A segment that has just left the window stays available for as long again: a player that read
// the playlist a moment before it moved on still gets every segment it was told about.
constexpr qint64 kKeptSegments = 2 * HlsWindowSegments;
} // namespace

HlsChannel::HlsChannel(ChannelPlan plan, HlsLoop loop, QObject* parent)
    : QObject(parent), m_plan(std::move(plan)), m_loop(std::move(loop))
{
    connect(&m_server, &QTcpServer::newConnection, this, &HlsChannel::OnNewConnection);
}

bool HlsChannel::Listen(quint16 port, QString& error)
{
    if (!ListenOnLoopback(m_server, port, m_plan.name, error))
        return false;
    m_lead = 0;
    for (qint64 i = 0; i < HlsWindowSegments; ++i)
        m_lead += m_loop.At(i).seconds;
    m_clock.start();
    return true;
}

qint64 HlsChannel::Newest() const
{
    return m_loop.NewestAt(double(m_clock.nsecsElapsed()) / 1e9 + m_lead);
}

void HlsChannel::OnNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        AwaitRequestHead(socket,
                         [this](QTcpSocket* s, const RequestHead& head) { Respond(s, head); });
    }
}

void HlsChannel::Respond(QTcpSocket* socket, const RequestHead& head)
{
    if (head.method != "GET" && head.method != "HEAD") {
        RespondAndClose(socket, "HTTP/1.1 405 Method Not Allowed");
        return;
    }
    bool ok = false;
    const QString path = QLatin1Char('/') + LocalPathOf(head.target, ok);
    const qint64 newest = Newest();
    QByteArray body, type, caching;
    if (ok && path.toUtf8() == m_plan.mount) {
        body = m_loop.Playlist(newest);
        type = "application/vnd.apple.mpegurl";
        caching = "no-cache";
    } else if (const qint64 sequence = HlsSequenceOf(path.mid(1));
               ok && sequence >= 0 && sequence <= newest && sequence > newest - kKeptSegments) {
        body = m_loop.At(sequence).data;
        type = "video/mp2t";
        // A sequence number always names the same bytes.
        caching = "max-age=60";
    } else {
        RespondAndClose(socket, "HTTP/1.1 404 Not Found");
        return;
    }
    socket->write("HTTP/1.1 200 OK\r\nServer: Corvane demo station\r\nContent-Type: " + type +
                  "\r\nContent-Length: " + QByteArray::number(body.size()) +
                  "\r\nCache-Control: " + caching + "\r\nConnection: close\r\n\r\n");
    if (head.method == "GET")
        socket->write(body);
    socket->disconnectFromHost();
}
