#include "HlsCrypto.h"

#include <openssl/evp.h>

#include <climits>
#include <memory>

namespace recorder::hls {

std::optional<std::string> DecryptAes128(std::string_view data, const AesKey& key, const AesKey& iv)
{
    constexpr std::size_t kBlock = 16;
    // Whole blocks and at least the padding's: anything else is a cut or a lie, and
    // EVP_DecryptUpdate takes an int.
    if (data.empty() || data.size() % kBlock != 0 || data.size() > INT_MAX - kBlock)
        return std::nullopt;
    const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(
        EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    if (!context ||
        EVP_DecryptInit_ex(context.get(), EVP_aes_128_cbc(), nullptr, key.data(), iv.data()) != 1)
        return std::nullopt;
    std::string out(data.size() + kBlock, '\0');
    auto* const outBytes = reinterpret_cast<unsigned char*>(out.data());
    int written = 0, last = 0;
    if (EVP_DecryptUpdate(context.get(), outBytes, &written,
                          reinterpret_cast<const unsigned char*>(data.data()),
                          static_cast<int>(data.size())) != 1 ||
        EVP_DecryptFinal_ex(context.get(), outBytes + written, &last) != 1)
        return std::nullopt;
    out.resize(static_cast<std::size_t>(written) + static_cast<std::size_t>(last));
    return out;
}

AesKey SequenceIv(std::uint64_t sequence)
{
    AesKey iv{};
    for (std::size_t i = 0; i < 8; ++i)
        iv[15 - i] = static_cast<std::uint8_t>(sequence >> (8 * i));
    return iv;
}

} // namespace recorder::hls
