// HLS playlists as a recorder reads them. A master playlist names one station's variants (its
// bitrates, sometimes with the audio in a rendition of its own); a media playlist names the
// segments in order, with sequence numbers, durations, keys and titles. Bytes in, result out, no
// Qt: the fuzz target links it as is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace recorder::hls {

// A finished playlist of an hour in 1 s segments is about 100 KiB; anything past this is not a
// playlist we follow.
inline constexpr std::size_t kMaxPlaylistBytes = 4 * 1024 * 1024;

struct Variant
{
    std::string uri;             // as written: relative to the master playlist's address
    std::uint64_t bandwidth = 0; // bits per second: AVERAGE-BANDWIDTH, else BANDWIDTH; 0: none
    std::string codecs;          // CODECS as written ("mp4a.40.2"); empty when not given
    std::string name;            // NAME of the variant, else of its audio rendition; may be empty
    bool video = false;          // RESOLUTION given or a video codec named
    std::string audioUri;        // the URI of its AUDIO group's rendition (DEFAULT=YES first),
                                 // empty when the variant carries its own audio
};

struct Key
{
    enum class Method { None, Aes128, SampleAes, Other };
    Method method = Method::None;
    std::string methodName; // METHOD as written, for the message refusing it
    std::string uri;
    std::optional<std::array<std::uint8_t, 16>> iv; // none: the sequence number is the IV
};

struct ByteRange
{
    std::uint64_t length = 0;
    std::uint64_t offset = 0; // resolved: an omitted offset follows the previous range
};

struct Segment
{
    std::uint64_t sequence = 0; // media sequence number
    double duration = 0;        // seconds, from #EXTINF
    std::string title; // #EXTINF's title="…", else the text after its comma; may be empty
    std::string uri;   // as written: relative to the playlist's address
    Key key;           // the #EXT-X-KEY in force
    std::optional<ByteRange> range;
    bool discontinuity = false; // #EXT-X-DISCONTINUITY before it
};

struct MediaPlaylist
{
    double targetDuration = 0;
    std::uint64_t mediaSequence = 0; // the first segment's number
    bool ended = false;              // #EXT-X-ENDLIST: no segment will be added
    std::string mapUri;              // #EXT-X-MAP: the segments are fMP4 (CMAF)
    std::vector<Segment> segments;
};

struct MasterPlaylist
{
    std::vector<Variant> variants;
};

struct Playlist
{
    enum class Kind { NotHls, Master, Media, Broken };
    Kind kind = Kind::NotHls;
    std::string error; // Broken: what is wrong, for the user
    MasterPlaylist master;
    MediaPlaylist media;
};

// NotHls: no "#EXTM3U" first line followed by any "#EXT-X-" tag (a plain ".m3u" naming streams).
// Broken: HLS that cannot be followed (too large, a segment line without #EXTINF's duration ...).
Playlist ReadPlaylist(std::string_view body);

// The variant to record: among variants without video when there are any, the one with the
// highest bandwidth not above maxBandwidth (bits per second, 0: no limit); when every variant is
// above it, the one with the lowest. nullptr when there is none.
const Variant* ChooseVariant(const MasterPlaylist& master, std::uint64_t maxBandwidth);

} // namespace recorder::hls
