// An ID3v2.4 tag for a song's MP3 file: written before the audio, so the audio bytes after it stay
// exactly as the station sent them. Bytes out, no Qt.
#pragma once

#include <string>
#include <string_view>

namespace recorder {

struct SongTags
{
    std::string title;  // UTF-8
    std::string artist; // UTF-8, empty when the title names none
    std::string album;  // the station
};

// "Artist - Title" as stations send it (core::SplitStreamTitle); a title without " - " is all
// title.
SongTags TagsFromStreamTitle(std::string_view streamTitle, std::string_view station);

// The tag: header and UTF-8 text frames (TIT2, TPE1, TALB) for the fields that are not empty;
// empty when all are.
std::string Id3v24Tag(const SongTags& tags);

// The size of the ID3v2 tag at the start of bytes (header included), 0 when there is none.
std::size_t Id3TagSize(std::string_view bytes);

} // namespace recorder
