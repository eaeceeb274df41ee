// Segments of "#EXT-X-KEY:METHOD=AES-128": each segment AES-128-CBC encrypted whole, with PKCS#7
// padding. OpenSSL's libcrypto does the cipher.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace recorder::hls {

using AesKey = std::array<std::uint8_t, 16>;

// nullopt when data is not whole blocks or its padding is wrong (most often: the wrong key).
std::optional<std::string> DecryptAes128(std::string_view data, const AesKey& key,
                                         const AesKey& iv);

// The IV of a segment whose key line names none: its media sequence number, big-endian.
AesKey SequenceIv(std::uint64_t sequence);

} // namespace recorder::hls
