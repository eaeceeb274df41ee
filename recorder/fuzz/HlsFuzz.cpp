// Arbitrary bytes as an HLS playlist, a segment and an ID3 tag: no reader may crash, loop or read
// past its input, and what they give must hold together (numbers in order, ranges that do not
// wrap, audio no larger than the segment it came from).
//
// Input: a flags byte, then the bytes.
//   flags bit 0: the bytes follow "#EXTM3U\n" (reaches the tag reader sooner)
//   flags bit 1: the bytes follow an MPEG-TS program table for AAC and timed ID3
//   flags bit 2: the bytes follow an ID3v2.4 header whose size claims them all
// The remaining bits pick the bandwidth limit for ChooseVariant.

#include "FuzzCheck.h"
#include "HlsPlaylist.h"
#include "HlsSegment.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace recorder::hls;

namespace {

// PAT naming the PMT on 0x1000, and that PMT: AAC on 0x100, timed ID3 on 0x101.
std::string ProgramTables()
{
    std::string pat("\x47\x40\x00\x10\x00\x00\xB0\x0D\x00\x01\xC1\x00\x00\x00\x01\xF0\x00"
                    "CRC.",
                    21);
    std::string pmt("\x47\x50\x00\x10\x00\x02\xB0\x17\x00\x01\xC1\x00\x00\xE1\x00\xF0\x00"
                    "\x0F\xE1\x00\xF0\x00\x15\xE1\x01\xF0\x00CRC.",
                    31);
    pat.resize(188, '\xFF');
    pmt.resize(188, '\xFF');
    return pat + pmt;
}

std::string Id3Header(std::size_t size)
{
    std::string tag("ID3\x04\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        tag += static_cast<char>((size >> shift) & 0x7F);
    return tag;
}

void CheckPlaylist(std::string_view body, std::uint64_t limit)
{
    const auto playlist = ReadPlaylist(body);
    Check((playlist.kind == Playlist::Kind::Broken) == !playlist.error.empty());
    if (playlist.kind == Playlist::Kind::Media) {
        auto next = playlist.media.mediaSequence;
        for (const auto& segment : playlist.media.segments) {
            Check(segment.sequence == next++);
            Check(!segment.uri.empty() && segment.duration >= 0);
            if (segment.range)
                Check(segment.range->length <= UINT64_MAX - segment.range->offset);
            if (segment.key.method == Key::Method::Aes128)
                Check(!segment.key.uri.empty());
        }
    }
    const auto& variants = playlist.master.variants;
    const Variant* chosen = ChooseVariant(playlist.master, limit);
    Check((chosen == nullptr) == variants.empty());
    if (chosen) {
        Check(chosen >= variants.data() && chosen < variants.data() + variants.size());
        Check(!chosen->uri.empty());
    }
}

void CheckSegment(std::string_view bytes)
{
    const auto segment = ReadSegment(bytes);
    Check((segment.result == SegmentAudio::Result::Ok) == segment.error.empty());
    Check(segment.audio.size() <= bytes.size());
    Check(segment.result == SegmentAudio::Result::Ok || segment.audio.empty());
    // Every title byte comes from at most one input byte (UTF-16 units become at most 3).
    Check(segment.title.size() <= 2 * bytes.size());
    const auto title = TitleFromId3(bytes);
    Check(title.size() <= 2 * bytes.size() + 3);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const unsigned char flags = data[0];
    std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    if (flags & 1)
        input.insert(0, "#EXTM3U\n");
    if (flags & 2)
        input.insert(0, ProgramTables());
    if (flags & 4)
        input.insert(0, Id3Header(input.size()));
    const std::uint64_t limit = (flags >> 3) * std::uint64_t{16000};
    CheckPlaylist(input, limit);
    CheckSegment(input);
    return 0;
}
