// The local relay: one external player on 127.0.0.1 gets the stream server's own header and then
// the raw stream, metadata blocks included, from an interval boundary on. An HLS station, which
// sends no ICY stream, is served as one: its audio with title blocks of our own.
#pragma once

#include "IcyInterleaver.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <string_view>

namespace recorder {

inline constexpr quint16 kRelayPort = 8000;
// A player that falls this far behind is dropped; it can connect again and join afresh.
inline constexpr qint64 kMaxRelayQueue = 4 * 1024 * 1024;

class RelayServer : public QObject
{
    Q_OBJECT
  public:
    // port 0 takes any free port.
    explicit RelayServer(quint16 port = kRelayPort, QObject* parent = nullptr);
    ~RelayServer() override;

    void StartServer();
    void DownServer();

    // The accepted header of the stream being received; empty until there is one.
    void SetHeader(const QByteArray& sHeader) { m_Header = sHeader; }

    // Called once the header is accepted and after every parse step with the rest of the arrival.
    // Forwarding only starts where an audio interval starts, so the player counts intervals from
    // the same point the server did.
    void StartCheck(std::string_view rest, bool bInMeta, bool atIntervalStart);
    // Every arrival while streaming, before it is parsed.
    void Forward(std::string_view sData);
    // HLS: every segment's audio and title. A player joins at a segment's first byte (whole
    // frames), its blocks counted from there.
    void ForwardSegment(std::string_view audio, std::string_view title);

    bool Listening() const { return m_Server.isListening(); }
    bool Pending() const { return bRelayPending; }
    bool Streaming() const { return bRelayStreaming; }
    qint64 QueuedBytes() const { return m_Player ? m_Player->bytesToWrite() : 0; }
    // The port the relay listens on (or listened on, while a player is served); 0 when it could
    // not open one.
    quint16 Port() const { return m_Bound; }

  signals:
    void StatusText(const QString& text);

  private:
    void OnNewConnection();
    void OnPlayerData();
    void OnPlayerGone();
    void Send(std::string_view bytes);
    void DropPlayer();

    quint16 m_Port;      // asked for; 0 lets the system choose (tests)
    quint16 m_Bound = 0; // the port taken, kept for the next player
    QTcpServer m_Server;
    QPointer<QTcpSocket> m_Player;
    QByteArray m_Header;
    bool bRelayPending = false;
    bool bRelayStreaming = false;
    IcyInterleaver m_Blocks;
    std::string m_Interleaved;
};

} // namespace recorder
