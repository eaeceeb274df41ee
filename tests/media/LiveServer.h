#pragma once
// A live ICY radio inside the test, on 127.0.0.1: it sends an MP3 file at its own pace (as a
// station's encoder does), with a title block every second, and misbehaves when told: it goes
// away (connections closed, port refused) and comes back on the same port, or it goes quiet on the
// connections it has while new ones are served as usual.
#include "MediaTestKit.h"

#include <QFile>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <list>

namespace mediatest {

class LiveServer : public QObject
{
  public:
    static constexpr int BytesPerSecond = 8000; // 64 kbps
    static constexpr int MetaInt = BytesPerSecond;

    // Titles are TitlePrefix and the song's number. The audio is made in Dir.
    explicit LiveServer(const QTemporaryDir& dir, QByteArray titlePrefix = "Loop Artist - Song ")
        : m_titlePrefix(std::move(titlePrefix))
    {
        // As an encoder sends it: frames only, no tag and no header frame that counts them (from
        // which the engine would take a duration).
        QFile file(
            MakeMedia(dir, QStringLiteral("live.mp3"),
                      {"-f", "lavfi", "-i", "sine=frequency=440:duration=120", "-c:a", "libmp3lame",
                       "-b:a", "64k", "-write_xing", "0", "-id3v2_version", "0"}));
        if (file.open(QIODevice::ReadOnly)) {
            m_audio = file.readAll();
        }
        connect(&m_server, &QTcpServer::newConnection, this, &LiveServer::Accept);
        m_server.listen(QHostAddress::LocalHost, 0);
        m_port = m_server.serverPort();
        m_pace.setInterval(100);
        connect(&m_pace, &QTimer::timeout, this, &LiveServer::Pace);
        m_pace.start();
    }

    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    int Connections() const { return m_connections; }

    // Every connection closed and the port refused until Return().
    void GoAway()
    {
        m_server.close();
        for (Listener& listener : m_listeners) {
            if (listener.socket) {
                listener.socket->abort();
            }
        }
        m_listeners.clear();
    }
    bool Return() { return m_server.listen(QHostAddress::LocalHost, m_port); }
    // The connections there are now get nothing more (and are kept open); new ones are served.
    void Stall()
    {
        for (Listener& listener : m_listeners) {
            listener.stalled = true;
        }
    }

  private:
    struct Listener
    {
        QPointer<QTcpSocket> socket;
        QByteArray request;
        qsizetype sent = 0; // audio bytes
        int titles = 0;
        bool answered = false;
        bool stalled = false;
    };

    void Accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            ++m_connections;
            Listener listener;
            listener.socket = socket;
            m_listeners.push_back(listener);
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void Pace()
    {
        m_listeners.remove_if([](const Listener& listener) { return !listener.socket; });
        for (Listener& listener : m_listeners) {
            if (listener.stalled) {
                continue;
            }
            if (!listener.answered) {
                listener.request += listener.socket->readAll();
                if (!listener.request.contains("\r\n\r\n")) {
                    continue;
                }
                listener.answered = true;
                listener.socket->write("ICY 200 OK\r\nicy-name:Loop FM\r\nicy-br:64\r\n"
                                       "content-type:audio/mpeg\r\nicy-metaint:" +
                                       QByteArray::number(MetaInt) + "\r\n\r\n");
                Send(listener, 2 * BytesPerSecond); // the burst a station starts with
            }
            Send(listener, BytesPerSecond / 10);
        }
    }

    void Send(Listener& listener, qsizetype bytes)
    {
        while (bytes > 0 && !m_audio.isEmpty()) {
            const qsizetype inBlock = MetaInt - listener.sent % MetaInt;
            const qsizetype chunk = std::min(bytes, inBlock);
            QByteArray audio;
            for (qsizetype at = listener.sent; audio.size() < chunk; at = 0) {
                audio += m_audio.mid(at % m_audio.size(), chunk - audio.size());
            }
            listener.socket->write(audio);
            listener.sent += chunk;
            bytes -= chunk;
            if (listener.sent % MetaInt == 0) {
                QByteArray text =
                    "StreamTitle='" + m_titlePrefix + QByteArray::number(++listener.titles) + "';";
                text.resize((text.size() + 15) / 16 * 16, '\0');
                listener.socket->write(QByteArray(1, char(text.size() / 16)) + text);
            }
        }
    }

    QByteArray m_titlePrefix;
    QByteArray m_audio;
    QTcpServer m_server;
    quint16 m_port = 0;
    QTimer m_pace;
    std::list<Listener> m_listeners;
    int m_connections = 0;
};

} // namespace mediatest
