// The small readers of HLS tag values that the playlist reader is built from: attribute lists,
// numbers, seconds, IVs and codec names. Internal to the HLS readers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace recorder::hls {

using Attributes = std::vector<std::pair<std::string, std::string>>;

bool StartsWith(std::string_view text, std::string_view prefix);
char Upper(char c);
// a equals b, which is written in capitals, in any letter case.
bool SameUpper(std::string_view a, std::string_view b);

// NAME=value,NAME="value, with commas",... Names in capitals, quotes taken off; a list that
// cannot be read gives nullopt rather than half of it, so a cut key line is never taken for a
// shorter one.
std::optional<Attributes> ReadAttributes(std::string_view text);
// The value of name, empty when it is not given.
std::string Get(const Attributes& attributes, std::string_view name);
bool Has(const Attributes& attributes, std::string_view name);

// A whole unsigned decimal number, nullopt when it is not one or does not fit.
std::optional<std::uint64_t> ReadNumber(std::string_view text);
// Finite, not negative seconds.
std::optional<double> ReadSeconds(std::string_view text);
std::optional<std::array<std::uint8_t, 16>> ReadIv(std::string_view text);
// A CODECS list names a video codec.
bool NamesVideo(std::string_view codecs);

} // namespace recorder::hls
