#include "HlsAttributes.h"

#include "TrimBlanks.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace recorder::hls {

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameUpper(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == y; });
}

std::optional<Attributes> ReadAttributes(std::string_view text)
{
    Attributes out;
    while (true) {
        text = core::TrimBlanks(text);
        if (text.empty())
            return out;
        const auto equals = text.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        std::string name(core::TrimBlanks(text.substr(0, equals)));
        std::transform(name.begin(), name.end(), name.begin(), Upper);
        text = core::TrimBlanks(text.substr(equals + 1));
        std::string_view value;
        if (StartsWith(text, "\"")) {
            const auto close = text.find('"', 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            value = text.substr(1, close - 1);
            text = core::TrimBlanks(text.substr(close + 1));
            if (!text.empty() && text.front() != ',')
                return std::nullopt;
        } else {
            value = core::TrimBlanks(text.substr(0, text.find(',')));
            text = text.substr(std::min(text.size(), text.find(',')));
        }
        out.emplace_back(std::move(name), std::string(value));
        if (!text.empty())
            text.remove_prefix(1); // the comma
    }
}

std::string Get(const Attributes& attributes, std::string_view name)
{
    for (const auto& [key, value] : attributes)
        if (key == name)
            return value;
    return {};
}

bool Has(const Attributes& attributes, std::string_view name)
{
    return std::any_of(attributes.begin(), attributes.end(),
                       [&](const auto& attribute) { return attribute.first == name; });
}

std::optional<std::uint64_t> ReadNumber(std::string_view text)
{
    text = core::TrimBlanks(text);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<double> ReadSeconds(std::string_view text)
{
    text = core::TrimBlanks(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value < 0)
        return std::nullopt;
    return value;
}

// "0x" and up to 32 hex digits: the IV is a 128-bit number, so fewer digits are its low bytes.
std::optional<std::array<std::uint8_t, 16>> ReadIv(std::string_view text)
{
    if (!StartsWith(text, "0x") && !StartsWith(text, "0X"))
        return std::nullopt;
    text.remove_prefix(2);
    if (text.empty() || text.size() > 32)
        return std::nullopt;
    std::array<std::uint8_t, 16> iv{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = Upper(text[text.size() - 1 - i]);
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        iv[15 - i / 2] |= static_cast<std::uint8_t>(i % 2 ? digit << 4 : digit);
    }
    return iv;
}

namespace {

bool IsVideoCodec(std::string_view codec)
{
    codec = core::TrimBlanks(codec);
    for (const std::string_view video :
         {"avc1", "avc3", "hvc1", "hev1", "dvh1", "dvhe", "vp08", "vp09", "av01", "mp4v"})
        if (StartsWith(codec, video))
            return true;
    return false;
}

} // namespace

bool NamesVideo(std::string_view codecs)
{
    while (!codecs.empty()) {
        const auto comma = std::min(codecs.size(), codecs.find(','));
        if (IsVideoCodec(codecs.substr(0, comma)))
            return true;
        codecs.remove_prefix(std::min(codecs.size(), comma + 1));
    }
    return false;
}
} // namespace recorder::hls
