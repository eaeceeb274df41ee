#include "Id3Tag.h"

#include "StreamTitle.h"

#include <cstdint>

namespace recorder {
namespace {

// A frame's text is cut so the tag stays small; no title comes near this.
constexpr std::size_t kMaxText = 1024;

// ID3v2.4 sizes are "synchsafe": 7 bits per byte, so no size byte looks like an MPEG sync.
void PutSyncSafe(std::string& out, std::uint32_t size)
{
    for (int shift = 21; shift >= 0; shift -= 7)
        out += static_cast<char>((size >> shift) & 0x7f);
}

// Cut at a character boundary: a frame never ends inside a UTF-8 sequence.
std::string_view CutText(std::string_view text)
{
    if (text.size() <= kMaxText)
        return text;
    std::size_t end = kMaxText;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80)
        --end;
    return text.substr(0, end);
}

void PutFrame(std::string& out, const char* id, std::string_view text)
{
    text = CutText(text);
    if (text.empty())
        return;
    out.append(id, 4);
    PutSyncSafe(out, static_cast<std::uint32_t>(text.size() + 1));
    out.append(2, '\0'); // no frame flags
    out += '\x03';       // UTF-8
    out.append(text);
}

} // namespace

SongTags TagsFromStreamTitle(std::string_view streamTitle, std::string_view station)
{
    auto [artist, title] = core::SplitStreamTitle(streamTitle);
    return {std::move(title), std::move(artist), std::string(core::TrimBlanks(station))};
}

std::string Id3v24Tag(const SongTags& tags)
{
    std::string frames;
    PutFrame(frames, "TIT2", tags.title);
    PutFrame(frames, "TPE1", tags.artist);
    PutFrame(frames, "TALB", tags.album);
    if (frames.empty())
        return {};
    std::string tag = "ID3";
    tag += '\x04';
    tag += '\0';
    tag += '\0'; // no flags: no unsynchronisation, no extended header, no footer
    PutSyncSafe(tag, static_cast<std::uint32_t>(frames.size()));
    return tag + frames;
}

std::size_t Id3TagSize(std::string_view bytes)
{
    if (bytes.size() < 10 || bytes.substr(0, 3) != "ID3")
        return 0;
    std::size_t size = 0;
    for (int i = 6; i < 10; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
        if (byte & 0x80)
            return 0;
        size = size << 7 | byte;
    }
    const bool footer = static_cast<unsigned char>(bytes[5]) & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

} // namespace recorder
