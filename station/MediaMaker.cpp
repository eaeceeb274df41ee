#include "MediaMaker.h"

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

bool MediaMaker::Make(const QStringList& arguments, const QString& target, QString& error) const
{
    const QString partial =
        target + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-nostdin", "-v", "error", "-y"} + arguments + QStringList{partial});
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
            QFile::remove(partial);
            error = QStringLiteral("stopped while making %1").arg(target);
            return false;
        }
    }
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        QFile::remove(partial);
        error = QStringLiteral("ffmpeg failed making %1: %2")
                    .arg(target, QString::fromLocal8Bit(ffmpeg.readAll()).trimmed());
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
