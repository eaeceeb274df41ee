#include "HlsSegment.h"

#include "Id3Tag.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace recorder::hls {
namespace {

constexpr std::size_t kPacket = 188;
constexpr std::uint8_t kSync = 0x47;

std::uint8_t Byte(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

SegmentAudio Failed(SegmentAudio::Result result, std::string error)
{
    SegmentAudio out;
    out.result = result;
    out.error = std::move(error);
    return out;
}

// One TS packet's PID, start flag and payload (after any adaptation field).
struct Packet
{
    unsigned pid = 0;
    bool start = false;
    std::string_view payload;
};

std::optional<Packet> ReadPacket(std::string_view packet)
{
    if (Byte(packet, 1) & 0x80) // the transport error flag: the muxer says this one is damaged
        return std::nullopt;
    Packet out;
    out.pid = (Byte(packet, 1) & 0x1Fu) << 8 | Byte(packet, 2);
    out.start = Byte(packet, 1) & 0x40;
    const auto control = Byte(packet, 3) >> 4 & 3;
    std::size_t at = 4;
    if (control & 2)
        at += 1 + std::size_t{Byte(packet, 4)};
    if (!(control & 1) || at > kPacket)
        return std::nullopt;
    out.payload = packet.substr(at);
    return out;
}

// Every whole packet in order; a lost sync is found again at the next sync byte.
template <typename Visit> void ForEachPacket(std::string_view bytes, Visit visit)
{
    std::size_t at = 0;
    while (at + kPacket <= bytes.size()) {
        if (Byte(bytes, at) != kSync) {
            at = bytes.find(static_cast<char>(kSync), at + 1);
            if (at == std::string_view::npos)
                return;
            continue;
        }
        if (const auto packet = ReadPacket(bytes.substr(at, kPacket)))
            visit(*packet);
        at += kPacket;
    }
}

// A PSI section's body from a start packet: after the pointer field, bounded by section_length
// and without the CRC. Tables this small fit one packet.
std::string_view SectionOf(std::string_view payload, std::uint8_t tableId)
{
    if (payload.empty() || std::size_t{Byte(payload, 0)} + 1 + 3 > payload.size())
        return {};
    payload.remove_prefix(1 + std::size_t{Byte(payload, 0)});
    if (Byte(payload, 0) != tableId)
        return {};
    const std::size_t length = (Byte(payload, 1) & 0x0Fu) << 8 | Byte(payload, 2);
    if (length < 5 + 4 || length > payload.size() - 3)
        return {};
    return payload.substr(3 + 5, length - 5 - 4);
}

struct Program
{
    bool found = false; // a PMT was read
    unsigned audioPid = 0x2000;
    AudioKind kind = AudioKind::Unknown;
    std::vector<unsigned> id3Pids;
    std::string refused; // what kind of audio it carries that we cannot record
};

const char* RefusedKind(std::uint8_t streamType)
{
    switch (streamType) {
    case 0x11:
        return "LATM audio";
    case 0x81:
        return "AC-3 audio";
    case 0x87:
        return "E-AC-3 audio";
    case 0xCF:
    case 0xDB:
    case 0xC1:
    case 0xC2:
        return "SAMPLE-AES encrypted";
    default:
        return nullptr;
    }
}

void ReadPmt(std::string_view section, Program& program)
{
    if (section.size() < 4)
        return;
    const std::size_t infoLength = (Byte(section, 2) & 0x0Fu) << 8 | Byte(section, 3);
    if (infoLength > section.size() - 4)
        return;
    program.found = true;
    section.remove_prefix(4 + infoLength);
    while (section.size() >= 5) {
        const auto type = Byte(section, 0);
        const unsigned pid = (Byte(section, 1) & 0x1Fu) << 8 | Byte(section, 2);
        const std::size_t esInfo = (Byte(section, 3) & 0x0Fu) << 8 | Byte(section, 4);
        section.remove_prefix(std::min(section.size(), 5 + esInfo));
        const auto kind = type == 0x0F                   ? AudioKind::Aac
                          : type == 0x03 || type == 0x04 ? AudioKind::Mp3
                                                         : AudioKind::Unknown;
        if (kind != AudioKind::Unknown && program.kind == AudioKind::Unknown) {
            program.kind = kind;
            program.audioPid = pid;
        } else if (type == 0x15) {
            program.id3Pids.push_back(pid);
        } else if (const char* refused = RefusedKind(type); refused && program.refused.empty()) {
            program.refused = refused;
        }
    }
}

Program FindProgram(std::string_view bytes)
{
    Program program;
    std::optional<unsigned> pmtPid;
    ForEachPacket(bytes, [&](const Packet& packet) {
        if (!packet.start || program.found)
            return;
        if (packet.pid == 0 && !pmtPid) {
            auto entries = SectionOf(packet.payload, 0x00);
            for (; entries.size() >= 4 && !pmtPid; entries.remove_prefix(4))
                if (Byte(entries, 0) << 8 | Byte(entries, 1)) // program 0 names the network
                    pmtPid = (Byte(entries, 2) & 0x1Fu) << 8 | Byte(entries, 3);
        } else if (pmtPid && packet.pid == *pmtPid) {
            ReadPmt(SectionOf(packet.payload, 0x02), program);
        }
    });
    return program;
}

// A PES packet's payload: what follows its header. Streams without the optional header
// (padding, private 2 ...) carry none we want.
std::string_view PesPayload(std::string_view pes)
{
    if (pes.size() < 9 || pes.substr(0, 3) != std::string_view("\0\0\1", 3))
        return {};
    const std::size_t declared = std::size_t{Byte(pes, 4)} << 8 | Byte(pes, 5);
    if (declared != 0 && declared + 6 < pes.size())
        pes = pes.substr(0, declared + 6);
    const std::size_t headerEnd = 9 + std::size_t{Byte(pes, 8)};
    return headerEnd <= pes.size() ? pes.substr(headerEnd) : std::string_view{};
}

SegmentAudio ReadTransportStream(std::string_view bytes)
{
    const auto program = FindProgram(bytes);
    if (!program.found)
        return Failed(SegmentAudio::Result::Broken, "a transport stream without a program table");
    if (program.kind == AudioKind::Unknown && !program.refused.empty())
        return Failed(SegmentAudio::Result::Refused,
                      program.refused + " segments cannot be recorded");
    SegmentAudio out;
    out.result = SegmentAudio::Result::Ok;
    out.kind = program.kind;
    std::map<unsigned, std::string> pes; // the PES packet each wanted PID is gathering
    const auto finish = [&](unsigned pid) {
        const auto payload = PesPayload(pes[pid]);
        if (pid == program.audioPid) {
            out.audio.append(payload);
        } else if (auto title = TitleFromId3(payload); !title.empty()) {
            out.title = std::move(title); // the last title in the segment is the one in force
        }
        pes[pid].clear();
    };
    ForEachPacket(bytes, [&](const Packet& packet) {
        const bool wanted = packet.pid == program.audioPid ||
                            std::find(program.id3Pids.begin(), program.id3Pids.end(), packet.pid) !=
                                program.id3Pids.end();
        if (!wanted)
            return;
        if (packet.start)
            finish(packet.pid);
        else if (pes[packet.pid].empty())
            return; // the tail of a PES packet that began in the previous segment
        pes[packet.pid].append(packet.payload);
    });
    for (const auto& [pid, gathered] : pes)
        if (!gathered.empty())
            finish(pid);
    return out;
}

bool IsAdts(std::string_view at)
{
    return at.size() >= 2 && Byte(at, 0) == 0xFF && (Byte(at, 1) & 0xF6) == 0xF0;
}

bool IsMp3(std::string_view at)
{
    return at.size() >= 2 && Byte(at, 0) == 0xFF && (Byte(at, 1) & 0xE0) == 0xE0 &&
           (Byte(at, 1) & 0x06) != 0 && (Byte(at, 1) & 0x18) != 0x08;
}

// The length of the frame starting at "at", 0 when no frame of this kind starts there.
std::size_t FrameLength(std::string_view at, AudioKind kind)
{
    if (at.size() < 7)
        return 0;
    if (kind == AudioKind::Aac) {
        if (!IsAdts(at))
            return 0;
        const std::size_t length =
            (Byte(at, 3) & 3u) << 11 | std::size_t{Byte(at, 4)} << 3 | Byte(at, 5) >> 5;
        return length >= 7 ? length : 0;
    }
    if (!IsMp3(at))
        return 0;
    static constexpr std::uint16_t kBitrates[5][15] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // 1, layer I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // 1, layer II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // 1, layer III
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // 2, layer I
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};        // 2, II and III
    static constexpr std::uint32_t kRates[3] = {44100, 48000, 32000};
    const unsigned version = Byte(at, 1) >> 3 & 3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const unsigned layer = 4 - (Byte(at, 1) >> 1 & 3);
    const unsigned bitrateIndex = Byte(at, 2) >> 4, rateIndex = Byte(at, 2) >> 2 & 3;
    if (bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return 0;
    const bool mpeg1 = version == 3;
    const std::uint32_t bitrate =
        1000u * kBitrates[mpeg1 ? layer - 1 : (layer == 1 ? 3 : 4)][bitrateIndex];
    const std::uint32_t rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const std::uint32_t padding = Byte(at, 2) >> 1 & 1;
    if (layer == 1)
        return (12 * bitrate / rate + padding) * 4;
    return (layer == 3 && !mpeg1 ? 72 : 144) * bitrate / rate + padding;
}

// A whole ID3 tag starts here.
std::size_t TagAt(std::string_view at)
{
    const auto size = Id3TagSize(at);
    return size <= at.size() ? size : 0;
}

// Packed audio: ID3 tags and audio frames one after the other. The frames are walked so that a
// tag is only looked for where a frame ends, never inside the audio.
SegmentAudio ReadPacked(std::string_view bytes)
{
    SegmentAudio out;
    out.result = SegmentAudio::Result::Ok;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto rest = bytes.substr(at);
        if (const auto tag = TagAt(rest)) {
            if (auto title = TitleFromId3(rest.substr(0, tag)); !title.empty())
                out.title = std::move(title);
            at += tag;
            continue;
        }
        if (out.kind == AudioKind::Unknown) {
            out.kind = IsAdts(rest) ? AudioKind::Aac : IsMp3(rest) ? AudioKind::Mp3 : out.kind;
            if (out.kind == AudioKind::Unknown)
                return Failed(SegmentAudio::Result::Broken,
                              "not an audio segment (no audio after its ID3 tag)");
        }
        std::size_t length = FrameLength(rest, out.kind);
        if (length == 0) {
            // Not a frame: a cut last frame or junk; it stays in, as carried, up to the next tag.
            length = 1;
            while (length < rest.size() && !TagAt(rest.substr(length)) &&
                   !FrameLength(rest.substr(length), out.kind))
                ++length;
        }
        length = std::min(length, rest.size());
        out.audio.append(rest.substr(0, length));
        at += length;
    }
    return out;
}

bool IsFragmentedMp4(std::string_view bytes)
{
    if (bytes.size() < 8)
        return false;
    const auto box = bytes.substr(4, 4);
    return box == "ftyp" || box == "styp" || box == "moof" || box == "sidx" || box == "moov";
}

// The first bytes of something that is no segment, for the message: text as text, else hex.
std::string Describe(std::string_view bytes)
{
    const auto head = bytes.substr(0, 12);
    const auto text = head.substr(0, std::find_if(head.begin(), head.end(), [](char c) {
                                         return c < 0x20 || c >= 0x7F;
                                     }) - head.begin());
    if (text.size() >= 4)
        return "starts with \"" + std::string(text) + "\"";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "starts with bytes";
    for (std::size_t i = 0; i < std::min<std::size_t>(4, bytes.size()); ++i) {
        out += ' ';
        out += kHex[Byte(bytes, i) >> 4];
        out += kHex[Byte(bytes, i) & 15];
    }
    return out;
}

} // namespace

SegmentAudio ReadSegment(std::string_view bytes)
{
    if (bytes.empty())
        return Failed(SegmentAudio::Result::Broken, "the segment is empty");
    // Two syncs a packet apart: a page of text that happens to start with "G" is no stream.
    if (Byte(bytes, 0) == kSync &&
        (bytes.size() <= kPacket ? bytes.size() == kPacket : Byte(bytes, kPacket) == kSync))
        return ReadTransportStream(bytes);
    if (TagAt(bytes) || IsAdts(bytes) || IsMp3(bytes))
        return ReadPacked(bytes);
    if (IsFragmentedMp4(bytes))
        return Failed(SegmentAudio::Result::Refused, "fMP4/CMAF segments cannot be recorded");
    return Failed(SegmentAudio::Result::Broken, "not an audio segment (" + Describe(bytes) + ")");
}

std::string ExtensionFor(AudioKind kind)
{
    return kind == AudioKind::Mp3 ? ".mp3" : ".aac";
}

} // namespace recorder::hls
