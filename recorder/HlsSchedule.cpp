#include "HlsSchedule.h"

namespace recorder::hls {

// Numbers are compared as first and last, never as one past the end: a station may count up to
// the very last number there is.
HlsSchedule::Step HlsSchedule::Update(const MediaPlaylist& list)
{
    Step step;
    if (list.segments.empty())
        return step;
    const std::uint64_t first = list.segments.front().sequence;
    const std::uint64_t last = list.segments.back().sequence;
    const std::size_t count = list.segments.size();
    std::size_t from = 0; // the first segment to hand out
    if (!m_Last) {
        // A finished playlist is recorded whole; a live one joined close to its end.
        from = list.ended ? 0 : count - std::min(count, kLiveStartSegments);
    } else if (*m_Last > last && *m_Last - last > count) {
        // Wholly behind what we have had, by more than a window: not a stale copy from another
        // cache but a station whose encoder started counting again. All of it is new.
        step.restarted = true;
    } else {
        if (first > *m_Last && first - *m_Last > 1) {
            // The window slid past segments we never fetched: said, never hidden.
            step.missed = first - *m_Last - 1;
            step.missedSeconds = static_cast<double>(step.missed) * list.targetDuration;
        }
        while (from < count && list.segments[from].sequence <= *m_Last)
            ++from;
    }
    step.fetch.assign(list.segments.begin() + static_cast<std::ptrdiff_t>(from),
                      list.segments.end());
    if (!step.fetch.empty())
        m_Last = last;
    m_WindowFirst = first;
    m_WindowLast = last;
    return step;
}

bool HlsSchedule::InWindow(std::uint64_t sequence) const
{
    return sequence >= m_WindowFirst && sequence <= m_WindowLast;
}

std::string SegmentTitles::TitleOf(const std::string& id3Title, const std::string& extinfTitle,
                                   const std::string& station)
{
    if (!id3Title.empty())
        m_Timed = id3Title;
    if (!m_Timed.empty())
        return m_Timed;
    return extinfTitle.empty() ? station : extinfTitle;
}

} // namespace recorder::hls
