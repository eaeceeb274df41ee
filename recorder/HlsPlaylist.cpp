#include "HlsPlaylist.h"

#include "HlsAttributes.h"
#include "TrimBlanks.h"

#include <algorithm>
#include <map>
#include <utility>

namespace recorder::hls {
namespace {

struct Rendition
{
    std::string name, uri;
    bool isDefault = false;
};

// The state between lines: what applies to the next URI line.
struct Reader
{
    Playlist playlist;
    std::multimap<std::string, Rendition> audioGroups;
    std::vector<std::string> variantGroups; // parallel to master.variants
    std::optional<Variant> pendingVariant;
    std::string pendingVariantGroup;
    std::optional<Segment> pending; // after #EXTINF, before its URI
    std::optional<std::uint64_t> rangeLength, rangeOffset;
    bool rangePending = false;
    bool discontinuity = false;
    Key key;
    bool identityKeyHere = false; // an identity key line since the last segment
    std::uint64_t nextSequence = 0;
    bool sequenceLeft = true; // false once nextSequence has passed the largest number
    bool sawSegment = false;

    bool Fail(std::string text)
    {
        playlist.kind = Playlist::Kind::Broken;
        playlist.error = std::move(text);
        return false;
    }

    bool Tag(std::string_view line);
    bool Uri(std::string_view line);
    bool StreamInf(std::string_view rest);
    bool Media(std::string_view rest);
    bool Extinf(std::string_view rest);
    bool KeyLine(std::string_view rest);
    bool ByteRangeLine(std::string_view rest);
    void Finish();
};

bool Reader::StreamInf(std::string_view rest)
{
    const auto attributes = ReadAttributes(rest);
    if (!attributes)
        return Fail("a variant's attributes cannot be read");
    Variant variant;
    const auto average = ReadNumber(Get(*attributes, "AVERAGE-BANDWIDTH"));
    variant.bandwidth = average ? *average : ReadNumber(Get(*attributes, "BANDWIDTH")).value_or(0);
    variant.codecs = Get(*attributes, "CODECS");
    variant.name = Get(*attributes, "NAME");
    variant.video = Has(*attributes, "RESOLUTION") || NamesVideo(variant.codecs);
    pendingVariant = std::move(variant);
    pendingVariantGroup = Get(*attributes, "AUDIO");
    return true;
}

bool Reader::Media(std::string_view rest)
{
    const auto attributes = ReadAttributes(rest);
    if (!attributes)
        return Fail("a rendition's attributes cannot be read");
    if (Get(*attributes, "TYPE") != "AUDIO")
        return true;
    audioGroups.emplace(Get(*attributes, "GROUP-ID"),
                        Rendition{Get(*attributes, "NAME"), Get(*attributes, "URI"),
                                  Get(*attributes, "DEFAULT") == "YES"});
    return true;
}

// "<duration>,[title]", where some servers put title="…" (commas and all) before the comma.
bool Reader::Extinf(std::string_view rest)
{
    const auto durationEnd = std::min(rest.size(), rest.find_first_of(", \t"));
    const auto duration = ReadSeconds(rest.substr(0, durationEnd));
    if (!duration)
        return Fail("a segment's duration cannot be read");
    Segment segment;
    segment.duration = *duration;
    rest.remove_prefix(durationEnd);
    std::string attributeTitle;
    while (!rest.empty() && rest.front() != ',') {
        rest = core::TrimBlanks(rest);
        const auto stop = rest.find_first_of("=,");
        if (stop == std::string_view::npos || rest[stop] == ',') {
            rest.remove_prefix(std::min(rest.size(), stop));
            break;
        }
        const auto name = core::TrimBlanks(rest.substr(0, stop));
        rest = core::TrimBlanks(rest.substr(stop + 1));
        std::string_view value;
        if (StartsWith(rest, "\"")) {
            const auto close = rest.find('"', 1);
            if (close == std::string_view::npos)
                return Fail("a segment's title cannot be read");
            value = rest.substr(1, close - 1);
            rest.remove_prefix(close + 1);
        } else {
            const auto end = std::min(rest.size(), rest.find_first_of(" \t,"));
            value = rest.substr(0, end);
            rest.remove_prefix(end);
        }
        if (SameUpper(name, "TITLE"))
            attributeTitle = std::string(value);
    }
    if (!rest.empty())
        rest.remove_prefix(1); // the comma
    segment.title = attributeTitle.empty() ? std::string(core::TrimBlanks(rest)) : attributeTitle;
    pending = std::move(segment);
    return true;
}

bool Reader::KeyLine(std::string_view rest)
{
    const auto attributes = ReadAttributes(rest);
    if (!attributes)
        return Fail("a key line cannot be read");
    const auto format = Get(*attributes, "KEYFORMAT");
    const bool identity = format.empty() || format == "identity";
    // Lines of several key systems may stand side by side; the plain one is the one we can use.
    if (!identity && identityKeyHere)
        return true;
    identityKeyHere = identityKeyHere || identity;
    Key parsed;
    parsed.methodName = Get(*attributes, "METHOD");
    parsed.uri = Get(*attributes, "URI");
    if (parsed.methodName == "NONE") {
        key = Key{};
        key.methodName = parsed.methodName;
        return true;
    }
    if (parsed.methodName == "AES-128")
        parsed.method = Key::Method::Aes128;
    else if (StartsWith(parsed.methodName, "SAMPLE-AES"))
        parsed.method = Key::Method::SampleAes;
    else
        parsed.method = Key::Method::Other;
    if (Has(*attributes, "IV")) {
        parsed.iv = ReadIv(Get(*attributes, "IV"));
        if (!parsed.iv)
            return Fail("a key's IV cannot be read");
    }
    if (parsed.method == Key::Method::Aes128 && parsed.uri.empty())
        return Fail("an AES-128 key line names no key");
    key = std::move(parsed);
    return true;
}

bool Reader::ByteRangeLine(std::string_view rest)
{
    const auto at = rest.find('@');
    rangeLength = ReadNumber(rest.substr(0, at));
    rangeOffset.reset();
    if (!rangeLength)
        return Fail("a byte range cannot be read");
    if (at != std::string_view::npos) {
        rangeOffset = ReadNumber(rest.substr(at + 1));
        if (!rangeOffset)
            return Fail("a byte range cannot be read");
    }
    rangePending = true;
    return true;
}

bool Reader::Tag(std::string_view line)
{
    const auto colon = std::min(line.size(), line.find(':'));
    const auto name = line.substr(0, colon);
    const auto rest = line.substr(std::min(line.size(), colon + 1));
    auto& media = playlist.media;
    if (name == "#EXT-X-STREAM-INF")
        return StreamInf(rest);
    if (name == "#EXT-X-MEDIA")
        return Media(rest);
    if (name == "#EXTINF")
        return Extinf(rest);
    if (name == "#EXT-X-KEY")
        return KeyLine(rest);
    if (name == "#EXT-X-BYTERANGE")
        return ByteRangeLine(rest);
    if (name == "#EXT-X-TARGETDURATION") {
        const auto seconds = ReadSeconds(rest);
        if (!seconds)
            return Fail("the target duration cannot be read");
        media.targetDuration = *seconds;
    } else if (name == "#EXT-X-MEDIA-SEQUENCE") {
        const auto first = ReadNumber(rest);
        if (!first)
            return Fail("the media sequence number cannot be read");
        if (sawSegment)
            return Fail("the media sequence number comes after a segment");
        media.mediaSequence = nextSequence = *first;
    } else if (name == "#EXT-X-DISCONTINUITY") {
        discontinuity = true;
    } else if (name == "#EXT-X-ENDLIST") {
        media.ended = true;
    } else if (name == "#EXT-X-MAP") {
        const auto attributes = ReadAttributes(rest);
        if (!attributes)
            return Fail("the map line cannot be read");
        media.mapUri = Get(*attributes, "URI");
    }
    return true;
}

bool Reader::Uri(std::string_view line)
{
    if (pendingVariant) {
        pendingVariant->uri = std::string(line);
        playlist.master.variants.push_back(std::move(*pendingVariant));
        variantGroups.push_back(std::move(pendingVariantGroup));
        pendingVariant.reset();
        return true;
    }
    if (!pending)
        return Fail("a segment line without #EXTINF's duration");
    if (!sequenceLeft)
        return Fail("the media sequence numbers run out");
    Segment segment = std::move(*pending);
    pending.reset();
    segment.uri = std::string(line);
    segment.sequence = nextSequence;
    sequenceLeft = nextSequence != UINT64_MAX;
    ++nextSequence;
    segment.key = key;
    segment.discontinuity = std::exchange(discontinuity, false);
    identityKeyHere = false;
    if (rangePending) {
        ByteRange range{*rangeLength, 0};
        if (rangeOffset) {
            range.offset = *rangeOffset;
        } else {
            const auto& segments = playlist.media.segments;
            if (segments.empty() || !segments.back().range || segments.back().uri != segment.uri)
                return Fail("a byte range without an offset follows no range of its segment");
            const auto& previous = *segments.back().range;
            if (previous.length > UINT64_MAX - previous.offset)
                return Fail("a byte range cannot be read");
            range.offset = previous.offset + previous.length;
        }
        if (range.length > UINT64_MAX - range.offset)
            return Fail("a byte range cannot be read");
        segment.range = range;
        rangePending = false;
    }
    sawSegment = true;
    playlist.media.segments.push_back(std::move(segment));
    return true;
}

void Reader::Finish()
{
    // The rendition to name is the group's default; the one to record, the default among those
    // with an address of their own (one without is carried in the variant itself).
    const auto pick = [this](const std::string& group, bool needsUri) {
        const auto [first, last] = audioGroups.equal_range(group);
        const Rendition* chosen = nullptr;
        for (auto it = first; it != last; ++it)
            if ((!needsUri || !it->second.uri.empty()) &&
                (!chosen || (it->second.isDefault && !chosen->isDefault)))
                chosen = &it->second;
        return chosen;
    };
    auto& variants = playlist.master.variants;
    for (std::size_t i = 0; i < variants.size(); ++i) {
        if (const auto* recorded = pick(variantGroups[i], true))
            variants[i].audioUri = recorded->uri;
        if (const auto* named = pick(variantGroups[i], false); named && variants[i].name.empty())
            variants[i].name = named->name;
    }
}

} // namespace

Playlist ReadPlaylist(std::string_view body)
{
    Reader reader;
    if (body.size() > kMaxPlaylistBytes) {
        reader.Fail("the playlist is too large");
        return reader.playlist;
    }
    if (StartsWith(body, "\xEF\xBB\xBF"))
        body.remove_prefix(3);
    bool sawHeader = false, sawHlsTag = false;
    std::vector<std::string_view> lines;
    while (!body.empty()) {
        const auto end = std::min(body.size(), body.find('\n'));
        auto line = body.substr(0, end);
        body.remove_prefix(std::min(body.size(), end + 1));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = core::TrimBlanks(line);
        if (line.empty())
            continue;
        if (!sawHeader && !StartsWith(line, "#EXTM3U"))
            return reader.playlist; // NotHls
        sawHeader = true;
        sawHlsTag = sawHlsTag || StartsWith(line, "#EXT-X-");
        lines.push_back(line);
    }
    if (!sawHlsTag)
        return reader.playlist;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto line = lines[i];
        const bool ok = StartsWith(line, "#") ? (StartsWith(line, "#EXT") ? reader.Tag(line) : true)
                                              : reader.Uri(line);
        if (!ok)
            return reader.playlist;
    }
    const bool master = !reader.playlist.master.variants.empty();
    if (master && !reader.playlist.media.segments.empty()) {
        reader.Fail("the playlist names both variants and segments");
        return reader.playlist;
    }
    if (reader.pendingVariant) {
        reader.Fail("a variant line names no address");
        return reader.playlist;
    }
    reader.Finish();
    reader.playlist.kind = master ? Playlist::Kind::Master : Playlist::Kind::Media;
    return reader.playlist;
}

const Variant* ChooseVariant(const MasterPlaylist& master, std::uint64_t maxBandwidth)
{
    const bool anyAudioOnly = std::any_of(master.variants.begin(), master.variants.end(),
                                          [](const Variant& v) { return !v.video; });
    const Variant* best = nullptr;
    const Variant* lowest = nullptr;
    for (const auto& variant : master.variants) {
        if (anyAudioOnly && variant.video)
            continue;
        if (!lowest || variant.bandwidth < lowest->bandwidth)
            lowest = &variant;
        if ((maxBandwidth == 0 || variant.bandwidth <= maxBandwidth) &&
            (!best || variant.bandwidth > best->bandwidth))
            best = &variant;
    }
    return best ? best : lowest;
}

} // namespace recorder::hls
