#pragma once
// The HLS radio's segments played round and round as a live stream. Segment number n of the
// endless stream is file n mod count of one turn; every turn starts the clock of the recording
// again, so a playlist marks each turn as a discontinuity. Pure data in, text out.
#include <QByteArray>
#include <QList>
#include <QString>

struct HlsSegment
{
    QByteArray data;  // MPEG-TS: AAC (ADTS) sound
    double seconds;   // its playing time
    QByteArray title; // "Artist - Title" of the song it belongs to
};

constexpr int HlsWindowSegments = 6;

class HlsLoop
{
  public:
    // Reads the segment list ffmpeg wrote ("list.csv": name,start,end) and its segments. False
    // with a reason when a file is missing or not MPEG-TS, a segment would not fit the target
    // duration, or the count is not segmentsPerSong for each title.
    bool Load(const QString& folder, const QList<QByteArray>& titles, int segmentsPerSong,
              QString& error);

    qint64 count() const { return m_segments.size(); }
    const HlsSegment& At(qint64 sequence) const { return m_segments[sequence % count()]; }

    // The newest segment whole after seconds on air (-1 before the first is whole).
    qint64 NewestAt(double seconds) const;
    // The live playlist whose last entry is newest: a sliding window of HlsWindowSegments.
    QByteArray Playlist(qint64 newest) const;

  private:
    QList<HlsSegment> m_segments;
    QList<double> m_ends; // within one turn, ascending; the last is the turn's length
};

// "seg-1234.ts": the name of segment sequence in the playlist.
QByteArray HlsSegmentName(qint64 sequence);
// The sequence a requested name stands for, or -1 for anything else.
qint64 HlsSequenceOf(const QString& name);
