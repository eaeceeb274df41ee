// Which segments of a media playlist to fetch next, reload after reload: each sequence number
// once, in order, none skipped without a word. No sockets, no Qt: the follower asks it after every
// playlist it reads.
#pragma once

#include "HlsPlaylist.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace recorder::hls {

// Live playlists are joined this many segments before their end, as players do: close to live,
// with room to fetch ahead of the window's slide.
inline constexpr std::size_t kLiveStartSegments = 3;

class HlsSchedule
{
  public:
    struct Step
    {
        std::vector<Segment> fetch; // the segments not yet handed out, in order
        std::uint64_t missed = 0;   // segments that left the window before we saw them
        double missedSeconds = 0;   // about: their durations are not known, targets are
        bool restarted = false;     // the numbers went back: the station began afresh
    };

    Step Update(const MediaPlaylist& list);
    // Whether the latest playlist still names this segment (one that failed may be tried again).
    bool InWindow(std::uint64_t sequence) const;
    bool Started() const { return m_Last.has_value(); }

  private:
    std::optional<std::uint64_t> m_Last; // the last sequence number handed out
    std::uint64_t m_WindowFirst = 0;
    std::uint64_t m_WindowLast = 0;
};

// The title a segment is recorded under: the timed ID3 title of this segment or the last one
// that carried one, else its #EXTINF title, else the station's name.
class SegmentTitles
{
  public:
    std::string TitleOf(const std::string& id3Title, const std::string& extinfTitle,
                        const std::string& station);

  private:
    std::string m_Timed;
};

} // namespace recorder::hls
