#include "HttpAnswer.h"

#include "TrimBlanks.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace recorder {
namespace {

// A size line longer than this is no size line: it must not make us buffer without end.
constexpr std::size_t kMaxChunkLine = 1024;

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

int StatusOf(std::string_view line)
{
    if (!StartsWith(line, "HTTP/1.0 ") && !StartsWith(line, "HTTP/1.1 "))
        return 0;
    // Three digits, nothing else: "-02" or "+20" is no status.
    const auto code = line.substr(9, 3);
    if (code.size() != 3 ||
        !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
}

// "ice-samplerate=44100;ice-bitrate=128;ice-channels=2": the bitrate, or nothing.
std::string BitrateFromAudioInfo(std::string_view info)
{
    const std::string lower = Lower(info);
    for (const std::string_view key : {"ice-bitrate=", "bitrate="}) {
        const auto at = lower.find(key);
        if (at == std::string::npos)
            continue;
        const auto value = std::string_view(info).substr(at + key.size());
        return std::string(core::TrimBlanks(value.substr(0, value.find(';'))));
    }
    return {};
}

} // namespace

HttpAnswer ReadHttpAnswer(std::string_view head)
{
    HttpAnswer answer;
    auto lineEnd = head.find("\r\n");
    answer.status = StatusOf(head.substr(0, lineEnd));
    std::string icy, bitrate, audioInfo;
    while (lineEnd != std::string_view::npos) {
        head.remove_prefix(lineEnd + 2);
        lineEnd = head.find("\r\n");
        const auto line = head.substr(0, lineEnd);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string name = Lower(core::TrimBlanks(line.substr(0, colon)));
        const auto value = core::TrimBlanks(line.substr(colon + 1));
        if (name == "transfer-encoding")
            answer.chunked = Lower(value).find("chunked") != std::string::npos;
        else if (name == "location")
            answer.location = std::string(value);
        else if (name == "content-type")
            answer.contentType =
                std::string(core::TrimBlanks(Lower(value.substr(0, value.find(';')))));
        else if (name == "icy-br")
            bitrate = std::string(value);
        else if (name == "ice-audio-info")
            audioInfo = std::string(value);
        else if (name == "icy-name" || name == "icy-genre" || name == "icy-url" ||
                 name == "icy-metaint" || name == "icy-pub" || name == "icy-description")
            icy += name + ":" + std::string(value) + "\r\n";
    }
    if (bitrate.empty())
        bitrate = BitrateFromAudioInfo(audioInfo);
    if (!bitrate.empty())
        icy += "icy-br:" + bitrate + "\r\n";
    if (!answer.contentType.empty())
        icy += "content-type:" + answer.contentType + "\r\n";
    answer.icyHeader = "ICY 200 OK\r\n" + icy + "\r\n";
    return answer;
}

bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string FileExtensionFor(std::string_view contentType)
{
    if (contentType == "audio/aac" || contentType == "audio/aacp")
        return ".aac";
    if (contentType == "audio/ogg" || contentType == "application/ogg")
        return ".ogg";
    return ".mp3";
}

bool IsAudioType(std::string_view contentType)
{
    const std::string type = Lower(core::TrimBlanks(contentType.substr(0, contentType.find(';'))));
    for (const std::string_view major :
         {"video/", "text/", "image/", "font/", "model/", "multipart/", "message/"})
        if (StartsWith(type, major))
            return false;
    for (const std::string_view document : {"html", "xml", "json", "javascript", "pdf", "zip"})
        if (StartsWith(type, "application/") && type.find(document) != std::string::npos)
            return false;
    return true;
}

bool IsPlaylist(std::string_view contentType, std::string_view path)
{
    for (const std::string_view type :
         {"audio/x-scpls", "audio/scpls", "audio/x-mpegurl", "audio/mpegurl",
          "application/x-mpegurl", "application/vnd.apple.mpegurl", "application/pls+xml"})
        if (contentType == type)
            return true;
    // A stream's own type wins over an address that happens to end like a list.
    if (contentType == "audio/mpeg" || contentType == "audio/aac" || contentType == "audio/aacp" ||
        contentType == "audio/ogg" || contentType == "application/ogg")
        return false;
    const std::string lower = Lower(path.substr(0, path.find('?')));
    for (const std::string_view ending : {".pls", ".m3u", ".m3u8"})
        if (lower.size() >= ending.size() &&
            lower.compare(lower.size() - ending.size(), ending.size(), ending) == 0)
            return true;
    return false;
}

std::vector<std::string> PlaylistEntries(std::string_view body)
{
    std::vector<std::string> entries;
    bool segments = false;
    while (!body.empty()) {
        const auto end = body.find_first_of("\r\n");
        auto line = core::TrimBlanks(body.substr(0, end));
        body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
        if (StartsWith(line, "#EXT-X-TARGETDURATION") || StartsWith(line, "#EXT-X-MEDIA-SEQUENCE"))
            segments = true;
        // ".pls": "File1=http://..."; ".m3u": the address alone on its line.
        if (StartsWith(Lower(line.substr(0, 4)), "file")) {
            const auto equals = line.find('=');
            if (equals != std::string_view::npos)
                line = core::TrimBlanks(line.substr(equals + 1));
        }
        const std::string lower = Lower(line.substr(0, 8));
        if (StartsWith(lower, "http://") || StartsWith(lower, "https://"))
            entries.emplace_back(line);
    }
    return segments ? std::vector<std::string>() : entries;
}

ChunkedDecoder::Result ChunkedDecoder::Fail()
{
    m_State = State::Bad;
    m_Line.clear();
    return Result::Bad;
}

ChunkedDecoder::Result ChunkedDecoder::Decode(std::string_view in, std::string& out)
{
    while (!in.empty() && m_State != State::Done && m_State != State::Bad) {
        if (m_State == State::Data) {
            const auto take = static_cast<std::size_t>(
                std::min<std::uint64_t>(m_Left, static_cast<std::uint64_t>(in.size())));
            out.append(in.substr(0, take));
            in.remove_prefix(take);
            m_Left -= take;
            if (m_Left == 0)
                m_State = State::DataEnd;
            continue;
        }
        // Size, DataEnd and Trailer read lines.
        const auto end = in.find('\n');
        m_Line.append(in.substr(0, end));
        in.remove_prefix(end == std::string_view::npos ? in.size() : end + 1);
        if (m_Line.size() > kMaxChunkLine)
            return Fail();
        if (end == std::string_view::npos)
            break;
        if (!m_Line.empty() && m_Line.back() == '\r')
            m_Line.pop_back();
        const std::string line = std::move(m_Line);
        m_Line.clear();
        if (m_State == State::DataEnd) {
            if (!line.empty())
                return Fail();
            m_State = State::Size;
        } else if (m_State == State::Trailer) {
            if (line.empty())
                m_State = State::Done;
        } else {
            const auto digits = core::TrimBlanks(std::string_view(line).substr(0, line.find(';')));
            std::uint64_t size = 0;
            const auto [at, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), size, 16);
            if (digits.empty() || digits.size() > 15 || error != std::errc() ||
                at != digits.data() + digits.size())
                return Fail();
            m_Left = size;
            m_State = size == 0 ? State::Trailer : State::Data;
        }
    }
    if (m_State == State::Bad)
        return Result::Bad;
    return m_State == State::Done ? Result::Done : Result::Ok;
}

} // namespace recorder
