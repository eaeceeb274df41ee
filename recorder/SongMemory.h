// The audio of the song playing now, from the first byte after its title arrived, kept while
// connected so that a song can be saved from its start after it has begun.
//
// Bounded: at most kMaxSongBytes, which holds about 17 minutes at 128 kbps and 7 minutes at
// 320 kbps. A longer song keeps its latest kMaxSongBytes; its saved file then starts there.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace recorder {

inline constexpr std::size_t kMaxSongBytes = 16u * 1024 * 1024;

class SongMemory
{
  public:
    // A new title: what came before it belongs to another song.
    void NewSong(bool fromItsStart)
    {
        m_Audio.clear();
        m_FromStart = fromItsStart;
    }
    void Append(std::string_view audio)
    {
        if (audio.size() >= kMaxSongBytes) {
            m_Audio.assign(audio.substr(audio.size() - kMaxSongBytes));
            m_FromStart = false;
            return;
        }
        const std::size_t over = m_Audio.size() + audio.size();
        if (over > kMaxSongBytes) {
            m_Audio.erase(0, over - kMaxSongBytes);
            m_FromStart = false;
        }
        m_Audio.append(audio);
    }
    std::string_view Audio() const { return m_Audio; }
    // Whether Audio starts at the song's first byte (not joined midway, not cut at the bound).
    bool FromStart() const { return m_FromStart; }

  private:
    std::string m_Audio;
    bool m_FromStart = false;
};

} // namespace recorder
