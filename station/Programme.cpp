#include "Programme.h"

#include "Mp3Frames.h"

bool Mp3Programme::AddSong(const QByteArray& data, const QByteArray& title)
{
    const Mp3Scan scan = ScanMp3Frames(data);
    if (scan.offsets.isEmpty())
        return false;
    if (m_sampleRate != 0 && (scan.sampleRate != m_sampleRate || scan.samples != m_samples))
        return false;
    m_sampleRate = scan.sampleRate;
    m_samples = scan.samples;
    m_songStarts.append(m_offsets.size());
    m_titles.append(title);
    const qsizetype base = m_audio.size() - scan.offsets.first();
    for (qsizetype offset : scan.offsets)
        m_offsets.append(base + offset);
    m_audio.append(data.constData() + scan.offsets.first(), scan.end - scan.offsets.first());
    return true;
}

double Mp3Programme::chunkSeconds() const
{
    return m_sampleRate == 0 ? 0.0 : double(m_samples) / double(m_sampleRate);
}

QByteArray Mp3Programme::Chunk(qint64 index) const
{
    if (m_offsets.isEmpty() || index < 0)
        return {};
    const qsizetype frame = qsizetype(index % m_offsets.size());
    const qsizetype start = m_offsets[frame];
    const qsizetype end = frame + 1 < m_offsets.size() ? m_offsets[frame + 1] : m_audio.size();
    return m_audio.mid(start, end - start);
}

QByteArray Mp3Programme::TitleAt(qint64 index) const
{
    if (m_offsets.isEmpty() || index < 0)
        return {};
    const qint64 frame = index % m_offsets.size();
    qsizetype song = m_songStarts.size() - 1;
    while (song > 0 && m_songStarts[song] > frame)
        --song;
    return m_titles[song];
}
