// Spaces and tabs cut from both ends of protocol and tag text (HTTP and ICY headers, stream
// titles, ID3 station names), the one rule for it. Header only and without Qt, so the recorder's
// parser library uses it too. The INI store keeps its own: it is a library of its own, below
// everything of ours, and INI files count vertical tabs and form feeds as blanks as well.
#pragma once

#include <string_view>

namespace core {

inline std::string_view TrimBlanks(std::string_view Text)
{
    const auto first = Text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return Text.substr(first, Text.find_last_not_of(" \t") - first + 1);
}

} // namespace core
