// Builds ICY streams for tests and benchmarks: audio intervals with metadata blocks between them,
// and keeps what a correct parser must hand on (the audio alone, the block texts in order); and
// HTTP's chunked coding of them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace icytest {

// Audio bytes that cover all 256 values, so that every byte a parser might mistake for a length
// byte or a marker occurs in them.
inline std::string AudioBytes(std::size_t size, std::uint32_t seed)
{
    std::string audio(size, '\0');
    std::minstd_rand random(seed);
    for (auto& c : audio)
        c = static_cast<char>(random() >> 8);
    return audio;
}

struct Stream
{
    std::string bytes;               // what the server sends after its header
    std::string audio;               // what must reach the file
    std::vector<std::string> texts;  // block texts with their padding, blocks of length 0 left out
    std::vector<std::size_t> textAt; // audio offset at which each text's block came
};

// intervals full intervals of metaInt audio bytes, each followed by the block metaText(i) gives
// (an empty text is a block of length 0): the length byte, then the text padded with NULs to a
// multiple of 16. Then tailAudio bytes of audio.
inline Stream BuildStream(int metaInt, int intervals, std::size_t tailAudio,
                          const std::function<std::string(int)>& metaText, std::uint32_t seed = 1)
{
    Stream s;
    for (int i = 0; i < intervals; ++i) {
        const auto audio = AudioBytes(static_cast<std::size_t>(metaInt), seed + i);
        s.bytes += audio;
        s.audio += audio;
        auto text = metaText(i);
        const std::size_t units = (text.size() + 15) / 16;
        text.resize(units * 16, '\0');
        s.bytes += static_cast<char>(static_cast<unsigned char>(units)) + text;
        if (units) {
            s.texts.push_back(text);
            s.textAt.push_back(s.audio.size());
        }
    }
    const auto tail = AudioBytes(tailAudio, seed + intervals);
    s.bytes += tail;
    s.audio += tail;
    return s;
}

// Chunked transfer coding of data in chunks of Size bytes, ended by the last chunk; Extension
// goes after each size, Trailer after the last chunk.
inline std::string Chunked(const std::string& data, std::size_t size,
                           const std::string& extension = "", const std::string& trailer = "")
{
    std::string out;
    char line[24];
    for (std::size_t at = 0; at < data.size(); at += size) {
        const auto piece = data.substr(at, size);
        std::snprintf(line, sizeof line, "%zX", piece.size());
        out += line + extension + "\r\n" + piece + "\r\n";
    }
    return out + "0\r\n" + trailer + "\r\n";
}

inline std::string Title(const std::string& text)
{
    return "StreamTitle='" + text + "';";
}

inline std::string Header(int metaInt,
                          const std::string& extra = "icy-name:Test FM\r\nicy-br:128\r\n")
{
    return "ICY 200 OK\r\n" + extra + "icy-metaint:" + std::to_string(metaInt) + "\r\n\r\n";
}

} // namespace icytest
