#include "HlsLoop.h"

#include "HlsId3.h"
#include "TsLoop.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {
// A player may round an entry's length to the nearest second, and none may exceed the target.
constexpr double kLongestSegment = 2.5;
constexpr int kTargetDuration = 2;

bool IsTransportStream(const QByteArray& data)
{
    if (data.isEmpty() || data.size() % TsPacketSize != 0)
        return false;
    for (qsizetype at = 0; at < data.size(); at += TsPacketSize) {
        if (data[at] != 0x47)
            return false;
    }
    return true;
}
} // namespace

QByteArray HlsSegmentName(qint64 sequence)
{
    return "seg-" + QByteArray::number(sequence) + ".ts";
}

qint64 HlsSequenceOf(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^seg-([0-9]{1,15})\\.ts$"));
    const auto match = pattern.match(name);
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

bool HlsLoop::Load(const QString& folder, const QList<QByteArray>& titles, int segmentsPerSong,
                   QString& error)
{
    m_segments.clear();
    m_ends.clear();
    const QDir dir(folder);
    QFile list(dir.filePath(QStringLiteral("list.csv")));
    if (!list.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1").arg(list.fileName());
        return false;
    }
    const qsizetype expected = titles.size() * segmentsPerSong;
    double total = 0;
    for (const QByteArray& line : list.readAll().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(',');
        if (fields.size() != 3)
            continue;
        const QString name = QString::fromUtf8(fields[0]);
        const double seconds = fields[2].toDouble() - fields[1].toDouble();
        QFile file(dir.filePath(name));
        if (name.contains(QLatin1Char('/')) || !file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read the segment %1 in %2").arg(name, folder);
            return false;
        }
        HlsSegment segment{file.readAll(), seconds,
                           titles.value(m_segments.size() / segmentsPerSong)};
        if (!IsTransportStream(segment.data) || !(seconds > 0 && seconds < kLongestSegment)) {
            error = QStringLiteral("%1 in %2 is not a usable segment").arg(name, folder);
            return false;
        }
        const qsizetype index = m_segments.size();
        const bool songStarts = index % segmentsPerSong == 0;
        segment.data = WithTimedTitle(segment.data, songStarts ? segment.title : QByteArray(),
                                      int(index / segmentsPerSong));
        total += seconds;
        m_segments.append(std::move(segment));
        m_ends.append(total);
    }
    if (m_segments.size() != expected || expected == 0) {
        error = QStringLiteral("%1 holds %2 segments, not %3")
                    .arg(folder)
                    .arg(m_segments.size())
                    .arg(expected);
        m_segments.clear();
        m_ends.clear();
        return false;
    }
    return true;
}

qint64 HlsLoop::NewestAt(double seconds) const
{
    if (m_segments.isEmpty() || seconds < 0)
        return -1;
    const double turnSeconds = m_ends.last();
    const auto turn = qint64(std::floor(seconds / turnSeconds));
    const double within = seconds - double(turn) * turnSeconds;
    const auto whole = std::upper_bound(m_ends.begin(), m_ends.end(), within) - m_ends.begin();
    return turn * count() + whole - 1;
}

QByteArray HlsLoop::Playlist(qint64 newest) const
{
    const qint64 first = qMax<qint64>(0, newest - HlsWindowSegments + 1);
    // Every turn before the first entry has already moved the discontinuity count on, so a
    // player that joins late numbers the turns as one that has followed from the start.
    QByteArray text =
        "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:" + QByteArray::number(kTargetDuration) +
        "\n#EXT-X-MEDIA-SEQUENCE:" + QByteArray::number(first) +
        "\n#EXT-X-DISCONTINUITY-SEQUENCE:" + QByteArray::number(first / count()) + "\n";
    for (qint64 sequence = first; sequence <= newest; ++sequence) {
        if (sequence > first && sequence % count() == 0)
            text += "#EXT-X-DISCONTINUITY\n";
        const HlsSegment& segment = At(sequence);
        text += "#EXTINF:" + QByteArray::number(segment.seconds, 'f', 3) + "," + segment.title +
                "\n" + HlsSegmentName(sequence) + "\n";
    }
    return text;
}
