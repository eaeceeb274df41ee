#include "HlsSchedule.h"

namespace recorder::hls {

HlsSchedule::Step HlsSchedule::Update(const MediaPlaylist& list)
{
    Step step;
    if (list.segments.empty())
        return step;
    const std::uint64_t first = list.segments.front().sequence;
    const std::uint64_t end = list.segments.back().sequence + 1;
    if (m_Next && end + list.segments.size() < *m_Next) {
        // Wholly behind what we have had, by more than a window: not a stale copy from another
        // cache but a station whose encoder started counting again. All of it is new.
        step.restarted = true;
        m_Next = first;
    } else if (!m_Next) {
        // A finished playlist is recorded whole; a live one joined close to its end.
        const std::size_t back =
            list.ended ? list.segments.size() : std::min(list.segments.size(), kLiveStartSegments);
        m_Next = end - back;
    } else if (first > *m_Next) {
        // The window slid past segments we never fetched: said, never hidden.
        step.missed = first - *m_Next;
        step.missedSeconds = static_cast<double>(step.missed) * list.targetDuration;
        m_Next = first;
    }
    m_WindowFirst = first;
    m_WindowEnd = end;
    for (const Segment& segment : list.segments)
        if (segment.sequence >= *m_Next)
            step.fetch.push_back(segment);
    if (end > *m_Next)
        m_Next = end;
    return step;
}

bool HlsSchedule::InWindow(std::uint64_t sequence) const
{
    return sequence >= m_WindowFirst && sequence < m_WindowEnd;
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
