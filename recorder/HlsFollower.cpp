#include "HlsFollower.h"

#include "HlsCrypto.h"
#include "HlsSegment.h"
#include "IcyInterleaver.h"

#include <QNetworkReply>
#include <QSslConfiguration>

#include <algorithm>
#include <cmath>
#include <utility>

namespace recorder {
namespace {

constexpr int kMaxHlsRedirects = 10;
constexpr qint64 kMaxKeyBytes = 1024;

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// The header is served to a relayed player as is: nothing from the playlist may end its lines.
std::string HeaderText(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace

HlsFollower::HlsFollower(StreamReceiver& receiver, QObject* parent)
    : QObject(parent), m_Receiver(receiver), m_WaitMs(DefaultReconnectWaitMs), m_StallMs(kStallMs)
{
    m_Reload.setSingleShot(true);
    m_Retry.setSingleShot(true);
    connect(&m_Reload, &QTimer::timeout, this, &HlsFollower::FetchPlaylist);
    connect(&m_Retry, &QTimer::timeout, this, &HlsFollower::NextSegment);
}

HlsFollower::~HlsFollower()
{
    Stop();
}

void HlsFollower::AddCaCertificates(const QList<QSslCertificate>& certificates)
{
    m_ExtraCa += certificates;
}

void HlsFollower::Stop()
{
    ++m_Generation;
    m_Active = false;
    m_Reload.stop();
    m_Retry.stop();
    for (const QPointer<QNetworkReply>& reply : std::exchange(m_Replies, {})) {
        if (!reply)
            continue;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    m_Queue.clear();
    m_Fetching = false;
}

void HlsFollower::Start(const QUrl& url, const hls::Playlist& playlist)
{
    Stop();
    m_Active = true;
    m_Schedule = {};
    m_Titles = {};
    m_Keys.clear();
    m_Ended = false;
    m_HeaderSent = false;
    m_ListTries = 0;
    m_SegmentTries = 0;
    m_Bandwidth = 0;
    m_LastMove.invalidate();
    m_StillSaid = false;
    m_Station = url.host().toStdString();
    m_MediaUrl = url;
    if (playlist.kind == hls::Playlist::Kind::Media)
        return Media(playlist.media);
    const hls::Variant* variant = hls::ChooseVariant(playlist.master, m_MaxBandwidth);
    if (!variant)
        return Fail(tr("the master playlist names no variant"));
    if (!variant->name.empty())
        m_Station = variant->name;
    m_Bandwidth = variant->bandwidth;
    const auto media = Resolve(url, variant->audioUri.empty() ? variant->uri : variant->audioUri);
    if (!media)
        return;
    m_MediaUrl = *media;
    FetchPlaylist();
}

// Relative to the list that names it; a list fetched over https names nothing plain to fall to.
std::optional<QUrl> HlsFollower::Resolve(const QUrl& base, const std::string& uri)
{
    const QUrl url = base.resolved(QUrl(QString::fromUtf8(uri.c_str())));
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") && base.scheme() == QLatin1String("https")) {
        Fail(tr("the https playlist names a plain http address (%1)").arg(url.toString()));
        return std::nullopt;
    }
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        Fail(tr("the playlist names an unusable address \"%1\"")
                 .arg(QString::fromUtf8(uri.c_str())));
        return std::nullopt;
    }
    return url;
}

void HlsFollower::Get(const QUrl& url, qint64 limit, const std::optional<hls::ByteRange>& range,
                      Done done)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxHlsRedirects);
    request.setTransferTimeout(m_StallMs);
    if (range && range->length > 0)
        request.setRawHeader("Range", "bytes=" + QByteArray::number(range->offset) + '-' +
                                          QByteArray::number(range->offset + range->length - 1));
    if (!m_ExtraCa.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(m_ExtraCa);
        request.setSslConfiguration(tls);
    }
    QNetworkReply* reply = m_Net.get(request);
    m_Replies.append(reply);
    // A server that sends without end is cut off at the bound, not buffered.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, limit](qint64 got, qint64 all) {
        if (got > limit || all > limit) {
            reply->setProperty("tooLarge", true);
            reply->abort();
        }
    });
    connect(
        reply, &QNetworkReply::finished, this, [this, reply, range, limit, done = std::move(done)] {
            m_Replies.removeAll(reply);
            reply->deleteLater();
            Fetched fetched;
            fetched.url = reply->url();
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            if (reply->property("tooLarge").toBool())
                fetched.error = tr("larger than %1 bytes").arg(limit);
            else if (status >= 400)
                fetched.error =
                    tr("the server answered %1 %2")
                        .arg(status)
                        .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute)
                                 .toString());
            else if (reply->error() != QNetworkReply::NoError)
                fetched.error = reply->errorString();
            else
                fetched.body = reply->readAll();
            // A server that ignores the range sends the whole file: the range is cut from it.
            if (fetched.error.isEmpty() && range && status == 200) {
                if (quint64(fetched.body.size()) < range->offset + range->length)
                    fetched.error = tr("the server sent less than the byte range");
                else
                    fetched.body =
                        fetched.body.mid(qsizetype(range->offset), qsizetype(range->length));
            }
            fetched.ok = fetched.error.isEmpty();
            done(fetched);
        });
}

void HlsFollower::FetchPlaylist()
{
    const int generation = m_Generation;
    Get(m_MediaUrl, qint64(hls::kMaxPlaylistBytes), std::nullopt,
        [this, generation](const Fetched& fetched) {
            if (generation == m_Generation)
                PlaylistArrived(fetched);
        });
}

void HlsFollower::PlaylistArrived(const Fetched& fetched)
{
    if (!fetched.ok)
        return PlaylistFailed(fetched.error);
    const hls::Playlist list = hls::ReadPlaylist(View(fetched.body));
    if (list.kind == hls::Playlist::Kind::Broken)
        return PlaylistFailed(QString::fromStdString(list.error));
    if (list.kind != hls::Playlist::Kind::Media)
        return PlaylistFailed(tr("not a media playlist"));
    m_ListTries = 0;
    m_MediaUrl = fetched.url;
    Media(list.media);
}

// Retried with the reconnect waits; given up after a few tries unless the user asked to go on.
void HlsFollower::PlaylistFailed(const QString& why)
{
    const QString where = m_MediaUrl.toString();
    if (++m_ListTries >= kPlaylistTries && !m_Reconnect)
        return Fail(tr("the playlist %1: %2").arg(where, why));
    const int wait = m_WaitMs(m_ListTries - 1);
    m_Receiver.Notice(tr("The playlist failed (%1); trying again in %2 s")
                          .arg(why)
                          .arg(std::ceil(wait / 1000.0)));
    m_Reload.start(wait);
}

void HlsFollower::Media(const hls::MediaPlaylist& list)
{
    if (!list.mapUri.empty())
        return Refuse(tr("fMP4 (CMAF) segments (#EXT-X-MAP) are not recorded"));
    for (const hls::Segment& segment : list.segments) {
        if (segment.key.method == hls::Key::Method::SampleAes)
            return Refuse(tr("SAMPLE-AES encrypted segments are not recorded"));
        if (segment.key.method == hls::Key::Method::Other)
            return Refuse(tr("segments encrypted with %1 are not recorded")
                              .arg(QString::fromStdString(segment.key.methodName)));
    }
    const hls::HlsSchedule::Step step = m_Schedule.Update(list);
    if (step.restarted)
        m_Receiver.Notice(tr("The station restarted its playlist"));
    if (step.missed > 0)
        Missed(step.missed, step.missedSeconds);
    SayWhetherStill(!step.fetch.empty() || list.ended, list.targetDuration);
    // Resolved against the list that named them: a later reload may come from another address.
    for (hls::Segment segment : step.fetch) {
        const auto uri = Resolve(m_MediaUrl, segment.uri);
        const auto key = segment.key.method == hls::Key::Method::Aes128
                             ? Resolve(m_MediaUrl, segment.key.uri)
                             : std::optional<QUrl>(QUrl());
        if (!uri || !key)
            return;
        segment.uri = uri->toEncoded().toStdString();
        segment.key.uri = key->toEncoded().toStdString();
        m_Queue.push_back(std::move(segment));
    }
    m_Ended = list.ended;
    m_Target = list.targetDuration;
    if (!m_Ended) {
        // Every target duration; sooner after a reload that brought nothing new. Bounded, so
        // that a list claiming 0 s is not asked for without pause.
        const double seconds = step.fetch.empty() ? m_Target / 2 : m_Target;
        m_Reload.start(int(std::clamp(seconds, 0.5, 30.0) * 1000));
    }
    NextSegment();
    EndIfDone();
}

// A live list that stops moving is a station that stopped sending: said once, and still followed,
// so that the recording goes on (its gap said) when the station comes back.
void HlsFollower::SayWhetherStill(bool moved, double target)
{
    if (moved || !m_LastMove.isValid()) {
        m_LastMove.start();
        m_StillSaid = false;
        return;
    }
    const qint64 still = m_LastMove.elapsed();
    if (m_StillSaid || still < qint64(3 * 1000 * std::max(target, 1.0)))
        return;
    m_StillSaid = true;
    m_Receiver.Notice(
        tr("The station's playlist has not moved for %1 s").arg(std::lround(still / 1000.0)));
}

void HlsFollower::NextSegment()
{
    if (m_Fetching || m_Queue.empty() || m_Retry.isActive())
        return;
    const hls::Segment segment = m_Queue.front();
    const QString keyUrl = QString::fromStdString(segment.key.uri);
    if (segment.key.method != hls::Key::Method::Aes128 || m_Keys.contains(keyUrl))
        return FetchSegment(segment);
    m_Fetching = true;
    const int generation = m_Generation;
    Get(QUrl::fromEncoded(keyUrl.toLatin1()), kMaxKeyBytes, std::nullopt,
        [this, generation, segment, keyUrl](const Fetched& key) {
            if (generation != m_Generation)
                return;
            m_Fetching = false;
            if (!key.ok)
                return SegmentFailed(segment, tr("its key: %1").arg(key.error));
            if (key.body.size() != 16)
                return Fail(tr("the key %1 is %2 bytes, not 16").arg(keyUrl).arg(key.body.size()));
            // Stations that change keys as they go would otherwise be remembered without end.
            if (m_Keys.size() >= 64)
                m_Keys.clear();
            m_Keys.insert(keyUrl, key.body);
            NextSegment();
        });
}

void HlsFollower::FetchSegment(const hls::Segment& segment)
{
    m_Fetching = true;
    const int generation = m_Generation;
    Get(QUrl::fromEncoded(QByteArray::fromStdString(segment.uri)), kMaxSegmentBytes, segment.range,
        [this, generation, segment](const Fetched& fetched) {
            if (generation != m_Generation)
                return;
            m_Fetching = false;
            if (!fetched.ok)
                return SegmentFailed(segment, fetched.error);
            SegmentArrived(segment, fetched.body);
        });
}

void HlsFollower::SegmentArrived(const hls::Segment& segment, QByteArray body)
{
    if (segment.key.method == hls::Key::Method::Aes128) {
        const QByteArray key = m_Keys.value(QString::fromStdString(segment.key.uri));
        if (key.size() != 16)
            return SegmentFailed(segment, tr("its key is gone"));
        hls::AesKey keyBytes;
        std::copy_n(key.constData(), keyBytes.size(), reinterpret_cast<char*>(keyBytes.data()));
        const auto plain = hls::DecryptAes128(
            View(body), keyBytes, segment.key.iv.value_or(hls::SequenceIv(segment.sequence)));
        if (!plain)
            return SegmentFailed(segment, tr("it does not decrypt with its key"));
        body = QByteArray(plain->data(), qsizetype(plain->size()));
    }
    const hls::SegmentAudio read = hls::ReadSegment(View(body));
    if (read.result == hls::SegmentAudio::Result::Refused)
        return Refuse(QString::fromStdString(read.error));
    if (read.result == hls::SegmentAudio::Result::Broken)
        return SegmentFailed(segment, QString::fromStdString(read.error));
    m_SegmentTries = 0;
    m_Queue.pop_front();
    const int generation = m_Generation;
    const std::string title = m_Titles.TitleOf(read.title, segment.title, m_Station);
    if (!read.audio.empty())
        Deliver(segment, read.audio, title, read.kind);
    // The receiver may have closed us meanwhile.
    if (generation != m_Generation)
        return;
    NextSegment();
    EndIfDone();
}

void HlsFollower::Deliver(const hls::Segment& segment, const std::string& audio,
                          const std::string& title, hls::AudioKind kind)
{
    if (!m_HeaderSent) {
        m_HeaderSent = true;
        const bool aac = kind == hls::AudioKind::Aac;
        // Without a master's figure, the first segment's own rate.
        quint64 bandwidth = m_Bandwidth;
        if (!bandwidth && segment.duration > 0)
            bandwidth = quint64(double(audio.size()) * 8 / segment.duration);
        std::string header = "ICY 200 OK\r\nicy-name:" + HeaderText(m_Station) + "\r\n";
        if (bandwidth)
            header += "icy-br:" + std::to_string((bandwidth + 500) / 1000) + "\r\n";
        // What a relayed player is served: the audio with our own title blocks in it.
        header += std::string("content-type:") + (aac ? "audio/aac" : "audio/mpeg") +
                  "\r\nicy-metaint:" + std::to_string(kIcyMetaInt) + "\r\n\r\n";
        const int generation = m_Generation;
        m_Receiver.HeaderReceived(header, QString::fromStdString(hls::ExtensionFor(kind)), false);
        if (generation != m_Generation)
            return;
    }
    m_Receiver.SegmentReceived(audio, title);
}

// Failed segments are tried again while the playlist still names them, a few times; then the gap
// is said and the next segment follows.
void HlsFollower::SegmentFailed(const hls::Segment& segment, const QString& why)
{
    ++m_SegmentTries;
    if (m_SegmentTries >= kSegmentTries || (!m_Ended && !m_Schedule.InWindow(segment.sequence))) {
        m_Receiver.Notice(tr("Segment %1 failed (%2)").arg(segment.sequence).arg(why));
        m_SegmentTries = 0;
        m_Queue.pop_front();
        Missed(1, segment.duration);
        NextSegment();
        EndIfDone();
        return;
    }
    const int wait = m_WaitMs(m_SegmentTries - 1);
    m_Receiver.Notice(tr("Segment %1 failed (%2); trying again in %3 s")
                          .arg(segment.sequence)
                          .arg(why)
                          .arg(std::ceil(wait / 1000.0)));
    m_Retry.start(wait);
}

void HlsFollower::Missed(std::uint64_t segments, double seconds)
{
    const QString about = QString::number(std::lround(seconds));
    m_Receiver.SegmentsMissed(segments == 1
                                  ? tr("1 segment (about %1 s) missed").arg(about)
                                  : tr("%1 segments (about %2 s) missed").arg(segments).arg(about));
}

void HlsFollower::EndIfDone()
{
    if (!m_Active || !m_Ended || !m_Queue.empty() || m_Fetching || m_Retry.isActive())
        return;
    Stop();
    m_Receiver.ConnectionEnded();
}

void HlsFollower::Refuse(const QString& why)
{
    Stop();
    m_Receiver.StreamRefused(why);
}

void HlsFollower::Fail(const QString& why)
{
    Stop();
    m_Receiver.ConnectionFailed(why);
}

} // namespace recorder
