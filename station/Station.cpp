#include "Station.h"

#include "HlsChannel.h"
#include "MediaMaker.h"
#include "SiteRenderer.h"

#include <QFile>

QByteArray LoopbackUrl(quint16 port)
{
    return "http://127.0.0.1:" + QByteArray::number(port) + "/";
}

QByteArray ChannelUrl(quint16 port, const ChannelPlan& plan)
{
    return LoopbackUrl(port) + plan.mount.mid(1);
}

Station::Station(StationOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options))
{
}

QByteArray Station::ServerUrl() const
{
    return LoopbackUrl(m_files ? m_files->port() : 0);
}

bool Station::LoadChannel(const ChannelPlan& plan, const MediaMaker& media, QString& error)
{
    auto readAll = [&error](const QString& path, QByteArray& out) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read %1").arg(path);
            return false;
        }
        out = file.readAll();
        return true;
    };
    std::unique_ptr<Programme> programme;
    QByteArray data;
    if (plan.kind == ChannelKind::TV) {
        auto ts = std::make_unique<TsProgramme>();
        if (!readAll(media.ClipPath(plan), data))
            return false;
        if (!ts->Load(data)) {
            error = QStringLiteral("%1 is not a usable MPEG-TS clip").arg(media.ClipPath(plan));
            return false;
        }
        programme = std::move(ts);
    } else {
        auto mp3 = std::make_unique<Mp3Programme>();
        for (int i = 0; i < plan.songs.size(); ++i) {
            if (!readAll(media.SongPath(plan, i), data))
                return false;
            if (!mp3->AddSong(data, plan.songs[i].streamTitle)) {
                error = QStringLiteral("%1 is not usable MP3").arg(media.SongPath(plan, i));
                return false;
            }
        }
        programme = std::move(mp3);
    }
    BroadcastLimits limits = m_options.limits;
    if (plan.kind == ChannelKind::TV)
        limits.burstSeconds = 1.0;
    auto* channel = new Broadcast(plan, std::move(programme), ServerUrl(), limits, this);
    connect(channel, &Broadcast::Note, this, &Station::Note);
    if (!channel->Listen(PortFor(plan), error))
        return false;
    m_channels.append({&plan, ChannelUrl(channel->port(), plan)});
    return true;
}

bool Station::LoadHlsChannel(const ChannelPlan& plan, const MediaMaker& media, QString& error)
{
    HlsLoop loop;
    if (!loop.Load(media.SegmentFolder(plan), Titles(plan), media.SegmentsPerSong(), error))
        return false;
    auto* channel = new HlsChannel(plan, std::move(loop), this);
    if (!channel->Listen(PortFor(plan), error))
        return false;
    m_channels.append({&plan, ChannelUrl(channel->port(), plan)});
    return true;
}

quint16 Station::PortFor(const ChannelPlan& plan) const
{
    return m_options.basePort == 0 ? 0 : quint16(m_options.basePort + plan.portOffset);
}

bool Station::Start(QString& error, const std::function<void(const QString&)>& progress)
{
    MediaMaker media(m_options.mediaDir, m_options.songSeconds);
    if (!media.Prepare(DemoChannels(), error, progress, m_options.stopRequested))
        return false;

    m_files = new FileServer(m_options.wwwDir, this);
    connect(m_files, &FileServer::Note, this, &Station::Note);
    if (!m_files->Listen(m_options.basePort, error))
        return false;
    for (const ChannelPlan& plan : DemoChannels()) {
        if (!(plan.hls ? LoadHlsChannel(plan, media, error) : LoadChannel(plan, media, error)))
            return false;
    }

    QMap<QByteArray, QByteArray> values;
    QByteArray station = ServerUrl();
    station.chop(1);
    values.insert("STATION", station);
    values.insert("MESSAGE_FILE", MessageFileIn(m_options.wwwDir).toUtf8());
    for (const ListedChannel& channel : m_channels)
        values.insert(channel.plan->id + "_URL", channel.url);
    values.insert(ChannelTexts(m_channels));
    return RenderSite(m_options.siteDir, m_options.wwwDir, values, error);
}

QString Station::Describe() const
{
    QStringList lines;
    lines << QStringLiteral("corvane-station: operator files from %1").arg(m_options.wwwDir);
    lines << QStringLiteral("  Settings.ini [Server] URL=%1").arg(QString::fromLatin1(ServerUrl()));
    for (const ListedChannel& channel : m_channels) {
        const bool radio = channel.plan->kind == ChannelKind::Radio;
        lines << QStringLiteral("  %1 %2 %3 (%4)")
                     .arg(radio ? QStringLiteral("Radio") : QStringLiteral("TV   "))
                     .arg(QString::fromLatin1(channel.url))
                     .arg(channel.plan->name)
                     .arg(QString::fromLatin1(FormatOf(*channel.plan)));
    }
    lines << QStringLiteral("  operator's message: edit %1").arg(MessageFileIn(m_options.wwwDir));
    return lines.join(QLatin1Char('\n'));
}
