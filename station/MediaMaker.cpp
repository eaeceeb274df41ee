#include "MediaMaker.h"

#include "HlsLoop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>

namespace {
// Bump when the sound or picture recipe changes, so old caches are not reused.
constexpr int kRecipe = 1;

// A little melody: a pattern of notes (the semitone stride wraps within span), each with a
// short attack and an exponential decay, over a slowly swelling bass note.
QString MelodyExpression(const Song& song)
{
    const QString t = QString::number(song.notesPerSecond, 'f', 3);
    const QString freq = QStringLiteral("%1*pow(2,mod(floor(t*%2)*%3,%4)/12)")
                             .arg(song.baseHz, 0, 'f', 2)
                             .arg(t)
                             .arg(song.step)
                             .arg(song.span);
    const QString phase = QStringLiteral("2*PI*t*") + freq;
    const QString tone = song.reedy
                             ? QStringLiteral("(sin(%1)+0.3*sin(3*%1)+0.15*sin(5*%1))").arg(phase)
                             : QStringLiteral("sin(%1)").arg(phase);
    const QString sinceNote = QStringLiteral("mod(t,1/%1)").arg(t);
    const QString envelope = QStringLiteral("min(1,%1*300)*exp(-3*%1*%2)").arg(sinceNote, t);
    const QString bass = QStringLiteral("0.12*sin(2*PI*t*%1)*(0.6+0.4*sin(2*PI*t*0.25))")
                             .arg(song.baseHz / 2, 0, 'f', 2);
    return QStringLiteral("0.22*%1*%2+%3").arg(tone, envelope, bass);
}
} // namespace

QList<QByteArray> Titles(const ChannelPlan& channel)
{
    QList<QByteArray> titles;
    for (const Song& song : channel.songs)
        titles.append(song.streamTitle);
    return titles;
}

QString MediaMaker::SongPath(const ChannelPlan& channel, int song) const
{
    return QDir(m_folder).filePath(QStringLiteral("%1-%2-%3s-%4k-r%5.mp3")
                                       .arg(QString::fromLatin1(channel.id).toLower())
                                       .arg(song + 1)
                                       .arg(m_songSeconds)
                                       .arg(channel.bitrateKbps)
                                       .arg(kRecipe));
}

QString MediaMaker::ClipPath(const ChannelPlan& channel) const
{
    return QDir(m_folder).filePath(QStringLiteral("%1-%2s-%3k-r%4.ts")
                                       .arg(QString::fromLatin1(channel.id).toLower())
                                       .arg(ClipSeconds)
                                       .arg(channel.bitrateKbps)
                                       .arg(kRecipe));
}

QString MediaMaker::SegmentFolder(const ChannelPlan& channel) const
{
    return QDir(m_folder).filePath(QStringLiteral("%1-%2x2s-%3k-r%4")
                                       .arg(QString::fromLatin1(channel.id).toLower())
                                       .arg(SegmentsPerSong())
                                       .arg(channel.bitrateKbps)
                                       .arg(kRecipe));
}

QStringList MediaMaker::SegmentArguments(const ChannelPlan& channel) const
{
    // One encode of all the songs in a row, so the sound and its clock run on unbroken from
    // segment to segment and only the turn of the loop is a discontinuity.
    QStringList arguments;
    QString joined;
    const double songSeconds = 2.0 * SegmentsPerSong();
    for (int i = 0; i < channel.songs.size(); ++i) {
        // The encoder adds a padded frame at the very end; the last song is that much shorter,
        // or the frame would make a sliver of a segment of its own.
        const double seconds = i + 1 < channel.songs.size() ? songSeconds : songSeconds - 0.025;
        arguments << "-f"
                  << "lavfi"
                  << "-i"
                  << QStringLiteral("aevalsrc=exprs='%1':s=48000:d=%2")
                         .arg(MelodyExpression(channel.songs[i]))
                         .arg(seconds);
        joined += QStringLiteral("[%1:a]").arg(i);
    }
    joined += QStringLiteral("concat=n=%1:v=0:a=1").arg(channel.songs.size());
    return arguments + QStringList{"-filter_complex",
                                   joined,
                                   "-ac",
                                   "2",
                                   "-c:a",
                                   "aac",
                                   "-b:a",
                                   QStringLiteral("%1k").arg(channel.bitrateKbps),
                                   "-map_metadata",
                                   "-1",
                                   "-f",
                                   "segment",
                                   "-segment_time",
                                   "2",
                                   "-segment_format",
                                   "mpegts",
                                   "-segment_list_type",
                                   "csv"};
}

QStringList MediaMaker::SongArguments(const ChannelPlan& channel, const Song& song) const
{
    const QString source = QStringLiteral("aevalsrc=exprs='%1':s=44100:d=%2")
                               .arg(MelodyExpression(song))
                               .arg(m_songSeconds);
    // Bare frames only: no ID3 tags and no Xing/LAME header frame, so songs join seamlessly.
    return {"-f",
            "lavfi",
            "-i",
            source,
            "-ac",
            "2",
            "-c:a",
            "libmp3lame",
            "-b:a",
            QStringLiteral("%1k").arg(channel.bitrateKbps),
            "-write_xing",
            "0",
            "-id3v2_version",
            "0",
            "-write_id3v1",
            "0",
            "-map_metadata",
            "-1",
            "-f",
            "mp3"};
}

QStringList MediaMaker::ClipArguments(const ChannelPlan& channel) const
{
    const QString picture =
        QStringLiteral("testsrc2=size=640x360:rate=25:duration=%1").arg(ClipSeconds);
    // A test-card beep: 1 kHz for a fifth of every second.
    const QString sound =
        QStringLiteral("aevalsrc=exprs='0.3*sin(2*PI*1000*t)*lt(mod(t,1),0.2)':s=48000:d=%1")
            .arg(ClipSeconds);
    // A constant multiplex rate lets the station pace the clip by bytes; a short GOP lets a
    // viewer who tunes in see a picture within half a second.
    return {"-f",       "lavfi",      "-i",       picture,
            "-f",       "lavfi",      "-i",       sound,
            "-c:v",     "mpeg2video", "-b:v",     "900k",
            "-maxrate", "900k",       "-bufsize", "900k",
            "-g",       "12",         "-c:a",     "mp2",
            "-b:a",     "128k",       "-muxrate", QStringLiteral("%1k").arg(channel.bitrateKbps),
            "-f",       "mpegts"};
}

bool MediaMaker::Run(const QStringList& arguments, const QString& target, QString& error) const
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-nostdin", "-v", "error", "-y"} + arguments);
    if (!ffmpeg.waitForStarted(15000)) {
        error = QStringLiteral("cannot run ffmpeg (%1); install it with scripts/install-deps")
                    .arg(ffmpeg.errorString());
        return false;
    }
    // The event loop is not running yet, so a stop request is looked for here.
    while (!ffmpeg.waitForFinished(100)) {
        if (m_stopRequested()) {
            ffmpeg.kill();
            ffmpeg.waitForFinished(15000);
            error = QStringLiteral("stopped while making %1").arg(target);
            return false;
        }
    }
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        error = QStringLiteral("ffmpeg failed making %1: %2")
                    .arg(target, QString::fromLocal8Bit(ffmpeg.readAll()).trimmed());
        return false;
    }
    return true;
}

bool MediaMaker::Make(const QStringList& arguments, const QString& target, QString& error) const
{
    const QString partial =
        target + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    if (!Run(arguments + QStringList{partial}, target, error)) {
        QFile::remove(partial);
        return false;
    }
    // rename() replaces atomically: another station may have made the same file meanwhile, and
    // a reader never finds it missing or half written.
    if (std::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        error = QStringLiteral("cannot store %1").arg(target);
        return false;
    }
    QFile::remove(partial);
    return true;
}

bool MediaMaker::MakeSegments(const ChannelPlan& channel, QString& error) const
{
    const QString target = SegmentFolder(channel);
    QDir partial(target + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid()));
    partial.removeRecursively();
    if (!QDir().mkpath(partial.path())) {
        error = QStringLiteral("cannot create %1").arg(partial.path());
        return false;
    }
    if (!Run(SegmentArguments(channel) +
                 QStringList{"-segment_list", partial.filePath(QStringLiteral("list.csv")),
                             partial.filePath(QStringLiteral("seg-%03d.ts"))},
             target, error)) {
        partial.removeRecursively();
        return false;
    }
    // A folder is renamed whole, so a reader sees all the segments or none; a set found broken
    // goes first, as rename() does not replace a folder that holds files.
    QDir(target).removeRecursively();
    const bool stored = std::rename(QFile::encodeName(partial.path()).constData(),
                                    QFile::encodeName(target).constData()) == 0;
    partial.removeRecursively();
    // Another station sharing the folder may have stored the same set meanwhile.
    if (!stored && !QFileInfo::exists(QDir(target).filePath(QStringLiteral("list.csv")))) {
        error = QStringLiteral("cannot store %1").arg(target);
        return false;
    }
    return true;
}

bool MediaMaker::Prepare(const QList<ChannelPlan>& channels, QString& error,
                         const std::function<void(const QString&)>& progress,
                         std::function<bool()> stopRequested)
{
    m_stopRequested = std::move(stopRequested);
    if (!QDir().mkpath(m_folder)) {
        error = QStringLiteral("cannot create the media folder %1").arg(m_folder);
        return false;
    }
    for (const ChannelPlan& channel : channels) {
        if (channel.hls) {
            HlsLoop existing;
            QString broken;
            if (existing.Load(SegmentFolder(channel), Titles(channel), SegmentsPerSong(), broken))
                continue;
            progress(QStringLiteral("making the segments of %1").arg(channel.name));
            if (!MakeSegments(channel, error))
                return false;
            continue;
        }
        if (channel.kind == ChannelKind::TV) {
            const QString path = ClipPath(channel);
            if (QFileInfo::exists(path))
                continue;
            progress(QStringLiteral("making the test card for %1").arg(channel.name));
            if (!Make(ClipArguments(channel), path, error))
                return false;
            continue;
        }
        for (int i = 0; i < channel.songs.size(); ++i) {
            const QString path = SongPath(channel, i);
            if (QFileInfo::exists(path))
                continue;
            progress(QStringLiteral("making \"%1\" for %2")
                         .arg(QString::fromUtf8(channel.songs[i].streamTitle), channel.name));
            if (!Make(SongArguments(channel, channel.songs[i]), path, error))
                return false;
        }
    }
    return true;
}
