// Follows an HLS station for the recorder: from the master playlist to the variant to record, then
// its media playlist reloaded as it slides, each segment fetched once and in order, decrypted and
// taken apart, its audio and title handed to the receiver as if one stream came in.
#pragma once

#include "HlsPlaylist.h"
#include "HlsSchedule.h"
#include "HlsSegment.h"
#include "StreamReceiver.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QTimer>
#include <QUrl>

#include <deque>
#include <functional>
#include <optional>

class QNetworkReply;

namespace recorder {

// A segment is seconds of audio, a few hundred KiB at the highest bitrates; anything this large is
// not a segment we record.
inline constexpr qint64 kMaxSegmentBytes = 16 * 1024 * 1024;
// Tries of one playlist fetch (unless reconnecting) and of one segment before giving it up.
inline constexpr int kPlaylistTries = 4;
inline constexpr int kSegmentTries = 3;

class HlsFollower : public QObject
{
    Q_OBJECT
  public:
    explicit HlsFollower(StreamReceiver& receiver, QObject* parent = nullptr);
    ~HlsFollower() override;

    // playlist: what ReadPlaylist made of the body already fetched from url (Master or Media).
    void Start(const QUrl& url, const hls::Playlist& playlist);
    // Everything in flight dropped without a word to the receiver.
    void Stop();
    bool Active() const { return m_Active; }

    void SetReconnect(bool on) { m_Reconnect = on; }
    void SetReconnectWaits(std::function<int(int)> waitMs) { m_WaitMs = std::move(waitMs); }
    void SetStallTimeout(int ms) { m_StallMs = ms; }
    void AddCaCertificates(const QList<QSslCertificate>& certificates);
    // Bits per second; variants above it are left out. 0: no limit.
    void SetMaxBandwidth(quint64 bitsPerSecond) { m_MaxBandwidth = bitsPerSecond; }

  private:
    struct Fetched
    {
        bool ok = false;
        QString error;
        QByteArray body;
        QUrl url; // after redirects: what relative addresses in the body are resolved against
    };
    using Done = std::function<void(const Fetched&)>;

    void Get(const QUrl& url, qint64 limit, const std::optional<hls::ByteRange>& range, Done done);
    void Finished(QNetworkReply* reply, const std::optional<hls::ByteRange>& range,
                  const Done& done);
    std::optional<QUrl> Resolve(const QUrl& base, const std::string& uri);
    void FetchPlaylist();
    void PlaylistArrived(const Fetched& fetched);
    void PlaylistFailed(const QString& why);
    void Media(const hls::MediaPlaylist& list);
    void NextSegment();
    void FetchSegment(const hls::Segment& segment);
    void SegmentArrived(const hls::Segment& segment, QByteArray body);
    void SegmentFailed(const hls::Segment& segment, const QString& why);
    void Deliver(const hls::Segment& segment, const std::string& audio, const std::string& title,
                 hls::AudioKind kind);
    void Missed(std::uint64_t segments, double seconds);
    void SayWhetherStill(bool moved, double target);
    void Refuse(const QString& why);
    void Fail(const QString& why);
    void EndIfDone();

    StreamReceiver& m_Receiver;
    QNetworkAccessManager m_Net;
    QList<QPointer<QNetworkReply>> m_Replies;
    QList<QSslCertificate> m_ExtraCa;
    std::function<int(int)> m_WaitMs;
    int m_StallMs;
    bool m_Reconnect = false;
    quint64 m_MaxBandwidth = 0;

    bool m_Active = false;
    int m_Generation = 0;
    QUrl m_MediaUrl;
    std::string m_Station;
    quint64 m_Bandwidth = 0;
    hls::HlsSchedule m_Schedule;
    hls::SegmentTitles m_Titles;
    std::deque<hls::Segment> m_Queue;
    QHash<QString, QByteArray> m_Keys; // by the key's address: fetched once
    bool m_Fetching = false;
    bool m_Ended = false;
    bool m_HeaderSent = false;
    double m_Target = 0;
    int m_ListTries = 0;
    int m_SegmentTries = 0;
    QElapsedTimer m_LastMove; // since the live list last named a new segment
    bool m_StillSaid = false;
    QTimer m_Reload;
    QTimer m_Retry;
};

} // namespace recorder
