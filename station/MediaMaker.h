#pragma once
// Makes the station's songs and test-card clip with Debian's ffmpeg the first time they are
// needed, so nothing large lives in the repository. Files are named after everything that
// shapes them and written under a temporary name first, so a folder shared by several stations
// (parallel tests) only ever holds whole files.
#include "ChannelTable.h"

#include <QString>
#include <functional>

class MediaMaker
{
  public:
    MediaMaker(QString folder, int songSeconds)
        : m_folder(std::move(folder)), m_songSeconds(songSeconds)
    {
    }

    QString SongPath(const ChannelPlan& channel, int song) const;
    QString ClipPath(const ChannelPlan& channel) const;
    // The HLS radio's folder: its segments and the list ffmpeg wrote of them.
    QString SegmentFolder(const ChannelPlan& channel) const;
    // Each HLS song is a few segments long, so titles change often; short songs (tests) make a
    // loop of a segment per song, short enough to turn within one playlist window.
    int SegmentsPerSong() const { return qBound(1, m_songSeconds / 2, 4); }

    // Makes what is missing; progress gets one line per file made. False with a reason in
    // error when ffmpeg is missing or fails, or when stopRequested says so (a signal arrived).
    bool Prepare(
        const QList<ChannelPlan>& channels, QString& error,
        const std::function<void(const QString&)>& progress,
        std::function<bool()> stopRequested = [] { return false; });

    // The ffmpeg arguments for one song and for the clip (without the output file).
    QStringList SongArguments(const ChannelPlan& channel, const Song& song) const;
    QStringList ClipArguments(const ChannelPlan& channel) const;
    QStringList SegmentArguments(const ChannelPlan& channel) const;

  private:
    bool Run(const QStringList& arguments, const QString& target, QString& error) const;
    bool Make(const QStringList& arguments, const QString& target, QString& error) const;
    bool MakeSegments(const ChannelPlan& channel, QString& error) const;

    QString m_folder;
    int m_songSeconds;
    std::function<bool()> m_stopRequested = [] { return false; };
};

// Playing time of the test-card clip; the station loops it seamlessly.
constexpr int ClipSeconds = 10;

// The stream titles of a channel's songs, in order.
QList<QByteArray> Titles(const ChannelPlan& channel);
