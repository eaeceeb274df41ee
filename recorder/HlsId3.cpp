// The titles of timed ID3 in HLS segments. Tags come from stations' packagers, which write v2.3 and
// v2.4 alike and sometimes unsynchronise; every size in them is checked against the bytes we hold.
#include "HlsSegment.h"

#include "TrimBlanks.h"

#include <algorithm>
#include <cstdint>

namespace recorder::hls {
namespace {

std::uint8_t Byte(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, int bitsPerByte)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << bitsPerByte | (Byte(bytes, at + i) & ((1u << bitsPerByte) - 1));
    return value;
}

// Unsynchronisation put a 0x00 after every 0xFF; take those out again.
std::string Resynchronise(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (Byte(bytes, i) == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == '\0')
            ++i;
    }
    return out;
}

void PutUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 up to its terminator (two zero bytes on a unit boundary); bytes is moved past it.
std::string Utf16(std::string_view& bytes, bool bigEndian)
{
    std::string out;
    std::uint32_t high = 0; // a pending high surrogate
    std::size_t at = 0;
    for (; at + 1 < bytes.size(); at += 2) {
        const std::uint32_t unit = bigEndian ? Byte(bytes, at) << 8 | Byte(bytes, at + 1)
                                             : Byte(bytes, at + 1) << 8 | Byte(bytes, at);
        if (unit == 0) {
            at += 2;
            break;
        }
        if (unit >= 0xD800 && unit < 0xDC00) {
            if (high)
                PutUtf8(out, 0xFFFD);
            high = unit;
            continue;
        }
        if (unit >= 0xDC00 && unit < 0xE000 && high) {
            PutUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
        } else {
            if (high)
                PutUtf8(out, 0xFFFD);
            PutUtf8(out, unit >= 0xDC00 && unit < 0xE000 ? 0xFFFD : unit);
        }
        high = 0;
    }
    if (high)
        PutUtf8(out, 0xFFFD);
    bytes.remove_prefix(std::min(at, bytes.size()));
    return out;
}

// One string of a text frame in its encoding, as UTF-8; bytes is moved past its terminator.
std::string TakeString(std::string_view& bytes, std::uint8_t encoding)
{
    if (encoding == 1 || encoding == 2) {
        bool bigEndian = true; // the byte order Unicode assumes when a string names none
        if (encoding == 1 && bytes.size() >= 2) {
            if (Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE)
                bigEndian = false;
            if ((Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE) ||
                (Byte(bytes, 0) == 0xFE && Byte(bytes, 1) == 0xFF))
                bytes.remove_prefix(2);
        }
        return Utf16(bytes, bigEndian);
    }
    const auto end = std::min(bytes.size(), bytes.find('\0'));
    const auto text = bytes.substr(0, end);
    bytes.remove_prefix(std::min(bytes.size(), end + 1));
    if (encoding == 3)
        return std::string(text);
    std::string out;
    for (const char c : text)
        PutUtf8(out, static_cast<std::uint8_t>(c));
    return out;
}

struct Found
{
    std::string streamTitle, artist, title;
};

void ReadFrame(std::string_view id, std::string_view data, Found& found)
{
    if (id == "PRIV") {
        const auto ownerEnd = data.find('\0');
        if (ownerEnd != std::string_view::npos && data.substr(0, ownerEnd) == "StreamTitle") {
            auto value = data.substr(ownerEnd + 1);
            found.streamTitle = std::string(value.substr(0, value.find('\0')));
        }
        return;
    }
    if (data.empty() || Byte(data, 0) > 3 || (id != "TXXX" && id != "TIT2" && id != "TPE1"))
        return;
    const auto encoding = Byte(data, 0);
    data.remove_prefix(1);
    if (id == "TXXX") {
        if (TakeString(data, encoding) == "StreamTitle")
            found.streamTitle = TakeString(data, encoding);
    } else {
        (id == "TIT2" ? found.title : found.artist) = TakeString(data, encoding);
    }
}

// Frames of a v2.3 or v2.4 tag body (after the header and any extended header).
void ReadFrames(std::string_view body, int version, bool tagUnsynchronised, Found& found)
{
    while (body.size() >= 10 && body[0] != '\0') {
        const auto id = body.substr(0, 4);
        const auto size = BigEndian(body, 4, version == 4 ? 7 : 8);
        const auto flags = Byte(body, 9);
        if (size > body.size() - 10)
            return;
        auto data = body.substr(10, size);
        body.remove_prefix(10 + size);
        std::string resynchronised;
        if (version == 4) {
            if (flags & 0x0C) // compressed or encrypted
                continue;
            const std::size_t skip = (flags & 0x40 ? 1 : 0) + (flags & 0x01 ? 4 : 0);
            if (skip > data.size())
                continue;
            data.remove_prefix(skip);
            if (tagUnsynchronised || (flags & 0x02)) {
                resynchronised = Resynchronise(data);
                data = resynchronised;
            }
        } else {
            if (flags & 0xC0) // compressed or encrypted
                continue;
            if (flags & 0x20) {
                if (data.empty())
                    continue;
                data.remove_prefix(1);
            }
        }
        ReadFrame(id, data, found);
    }
}

std::string Clean(std::string_view text)
{
    return std::string(core::TrimBlanks(text.substr(0, text.find('\0'))));
}

} // namespace

std::string TitleFromId3(std::string_view tag)
{
    if (tag.size() < 10 || tag.substr(0, 3) != "ID3")
        return {};
    const int version = Byte(tag, 3);
    const auto flags = Byte(tag, 5);
    const auto size = BigEndian(tag, 6, 7);
    if ((version != 3 && version != 4) || size > tag.size() - 10)
        return {};
    std::string_view body = tag.substr(10, size);
    std::string resynchronised;
    const bool unsynchronised = flags & 0x80;
    if (version == 3 && unsynchronised) {
        resynchronised = Resynchronise(body);
        body = resynchronised;
    }
    if (flags & 0x40) {
        if (body.size() < 4)
            return {};
        // v2.3 counts the extended header without its size field, v2.4 with it.
        const std::size_t extended =
            version == 4 ? BigEndian(body, 0, 7) : std::size_t{BigEndian(body, 0, 8)} + 4;
        if (extended > body.size())
            return {};
        body.remove_prefix(extended);
    }
    Found found;
    ReadFrames(body, version, version == 4 && unsynchronised, found);
    const auto streamTitle = Clean(found.streamTitle);
    if (!streamTitle.empty())
        return streamTitle;
    const auto artist = Clean(found.artist), title = Clean(found.title);
    if (artist.empty() || title.empty())
        return artist + title;
    return artist + " - " + title;
}

} // namespace recorder::hls
