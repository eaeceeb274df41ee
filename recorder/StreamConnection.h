// The receiving side of the recorder: one stream address opened, followed through redirects and
// playlists, over plain TCP or TLS, unchunked, and reopened after a drop when asked to. What it
// hands on is the stream's header in ICY form and the stream's bytes exactly as the server sent
// them (the chunk framing alone taken out); an HLS playlist goes to the HLS follower, which hands
// on segments.
#pragma once

#include "HlsFollower.h"
#include "HttpAnswer.h"
#include "IcyParser.h"
#include "StreamAddress.h"
#include "StreamReceiver.h"

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslSocket>
#include <QTimer>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace recorder {

inline constexpr int kMaxRedirects = 10;
// A playlist is a few lines; one that is not done by this size is not a playlist we read. HLS
// lists are longer (every segment a line or two): they have hls::kMaxPlaylistBytes.
inline constexpr std::size_t kMaxPlaylistBytes = 64 * 1024;

class StreamConnection : public QObject
{
    Q_OBJECT
  public:
    explicit StreamConnection(StreamReceiver& receiver, QObject* parent = nullptr);
    ~StreamConnection() override;

    void Open(const StreamAddress& address);
    // Drops the connection and any wait without a word to the receiver.
    void Close();

    // A stream that has been received and then drops or stalls is reopened, again and again,
    // until Close or Open.
    void SetReconnect(bool on);
    void SetReconnectWaits(std::function<int(int attempt)> waitMs);
    void SetStallTimeout(int ms);
    // HLS: variants above this many bits per second are left out (0: none).
    void SetMaxBandwidth(quint64 bitsPerSecond) { m_Hls.SetMaxBandwidth(bitsPerSecond); }
    // Authorities trusted besides the system's (tests with their own certificate).
    void AddCaCertificates(const QList<QSslCertificate>& certificates);
    bool Waiting() const { return m_Phase == Phase::Waiting; }
    // The station is HLS: its audio comes as segments, each with its title.
    bool Segmented() const { return m_Phase == Phase::Hls; }

  private:
    enum class Phase { Idle, Head, Stream, Playlist, Waiting, Hls };

    void Connect(const StreamAddress& address);
    void Later(const StreamAddress& next);
    void Listen(QTcpSocket& socket);
    void SendRequest();
    void OnReadyRead();
    void OnDisconnected();
    void OnError(QAbstractSocket::SocketError error);
    void OnStalled();
    void HeadArrived(std::string_view data);
    void Answered(std::string_view head, std::string_view rest);
    void Redirect(const std::string& location);
    void StartStream(std::string_view header, const std::string& contentType, bool chunked,
                     std::string_view rest);
    void Deliver(std::string_view data);
    void PlaylistBody(std::string_view data);
    void PlaylistDone();
    bool TryNextEntry();
    void Lost();
    void Fail(const QString& why);
    void Refuse(const QString& why);
    bool Recovered();
    void Drop();

    StreamReceiver& m_Receiver;
    // Plain streams go over a plain socket (no TLS layer copying every byte); https over m_Tls.
    QTcpSocket m_PlainSocket;
    QSslSocket m_Tls;
    QTcpSocket* m_Socket = &m_PlainSocket;
    QList<QSslCertificate> m_ExtraCa;
    QString m_SslErrors;
    Phase m_Phase = Phase::Idle;
    StreamAddress m_Original;
    StreamAddress m_Current;
    IcyHeaderReader m_Head;
    ChunkedDecoder m_Chunks;
    bool m_Chunked = false;
    std::string m_Plain;
    std::string m_Playlist;
    std::vector<StreamAddress> m_Entries;
    int m_Hops = 0;
    int m_Lists = 0; // playlists read since Open: lists that name lists end somewhere
    int m_Generation = 0;
    bool m_Streamed = false;
    bool m_Reconnect = false;
    int m_Attempt = 0;
    std::function<int(int)> m_WaitMs = DefaultReconnectWaitMs;
    QTimer m_Stall;
    QTimer m_Wait;
    HlsFollower m_Hls{m_Receiver};
};

} // namespace recorder
