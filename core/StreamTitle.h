// "Artist - Title" as stations send it, split the one way the program knows: the recorder's song
// tags and the desktop's media controls show the same artist and title. Bytes in and out (UTF-8
// stays UTF-8), no Qt, so the recorder's parser library can use it on its own.
#pragma once

#include "TrimBlanks.h"

#include <string>
#include <string_view>

namespace core {

struct ArtistTitle
{
    std::string artist; // empty when the title names none
    std::string title;
};

// The artist before the first " - ", the title after it. Without " - ", or with nothing on one
// side of it, the whole text is the title.
inline ArtistTitle SplitStreamTitle(std::string_view StreamTitle)
{
    const auto dash = StreamTitle.find(" - ");
    if (dash != std::string_view::npos) {
        const auto artist = TrimBlanks(StreamTitle.substr(0, dash));
        const auto title = TrimBlanks(StreamTitle.substr(dash + 3));
        if (!artist.empty() && !title.empty())
            return {std::string(artist), std::string(title)};
    }
    return {{}, std::string(TrimBlanks(StreamTitle))};
}

} // namespace core
