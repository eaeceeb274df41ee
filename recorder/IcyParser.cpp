#include "IcyParser.h"

#include "TrimBlanks.h"

#include <algorithm>
#include <charconv>

namespace recorder {
namespace {

constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr std::string_view kIcyOk = "ICY 200 OK";
constexpr std::string_view kLineEnd = "\r\n";

// The bytes after the first occurrence of key up to the next line end (or the end of the text).
std::optional<std::string_view> ValueAfter(std::string_view text, std::string_view key)
{
    const auto at = text.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    const auto value = text.substr(at + key.size());
    return value.substr(0, value.find(kLineEnd));
}

// Searches text for pattern starting from `searched` bytes in, stepping back far enough to catch
// a pattern split over arrivals; afterwards records how far the text has been searched.
bool FindFrom(std::string_view text, std::string_view pattern, std::size_t& searched,
              std::size_t& found)
{
    const std::size_t from = searched >= pattern.size() ? searched - (pattern.size() - 1) : 0;
    found = text.find(pattern, from);
    searched = text.size();
    return found != std::string_view::npos;
}

} // namespace

void IcyHeaderReader::Reset()
{
    m_RecvBuffer.clear();
    m_SearchedEnd = m_SearchedIcy = 0;
    m_HeaderEnd = npos;
    m_IcyFound = false;
    m_Http = false;
}

IcyHeaderReader::Result IcyHeaderReader::Append(std::string_view sData)
{
    if (Accepted())
        return Result::Accepted;
    if (Answered())
        return Result::Answered;
    if (m_RecvBuffer.size() > kMaxHeaderBytes)
        return Result::TooLong;
    m_RecvBuffer.append(sData);
    std::size_t found = 0;
    if (m_HeaderEnd == npos && FindFrom(m_RecvBuffer, kHeaderEnd, m_SearchedEnd, found))
        m_HeaderEnd = found + kHeaderEnd.size();
    if (!m_IcyFound)
        m_IcyFound = FindFrom(m_RecvBuffer, kIcyOk, m_SearchedIcy, found);
    if (Accepted())
        return Result::Accepted;
    m_Http = m_RecvBuffer.compare(0, 7, "HTTP/1.") == 0;
    if (Answered())
        return Result::Answered;
    return m_RecvBuffer.size() > kMaxHeaderBytes ? Result::TooLong : Result::NeedMore;
}

std::string_view IcyHeaderReader::sHeader() const
{
    return Accepted() || Answered() ? std::string_view(m_RecvBuffer).substr(0, m_HeaderEnd)
                                    : std::string_view();
}

std::string_view IcyHeaderReader::AfterHeader() const
{
    return Accepted() || Answered() ? std::string_view(m_RecvBuffer).substr(m_HeaderEnd)
                                    : std::string_view();
}

std::int32_t MetaIntOf(std::string_view sHeader)
{
    const auto value = ValueAfter(sHeader, "icy-metaint:");
    if (!value)
        return 0;
    const auto digits = core::TrimBlanks(*value);
    std::int32_t metaInt = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), metaInt);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        return 0;
    return metaInt > 0 && metaInt <= kMaxMetaInt ? metaInt : 0;
}

std::string StationText(std::string_view sIcy)
{
    const auto name = ValueAfter(sIcy, "icy-name:");
    return name ? std::string(*name) : std::string("unknown station");
}

std::string BitrateText(std::string_view sIcy)
{
    const auto bitrate = ValueAfter(sIcy, "icy-br:");
    return bitrate ? "Bitrate: " + std::string(*bitrate) + " Kbps"
                   : std::string("Bitrate: unknown bitrate");
}

std::optional<std::string> TitleCaption(std::string_view sMetaData)
{
    constexpr std::string_view key = "StreamTitle=";
    const auto at = sMetaData.find(key);
    if (at == std::string_view::npos)
        return std::string("Title: Title not Available");
    const auto value = sMetaData.substr(at + key.size());
    // A quoted title ends at the quote that closes it, so its own ";" stay in it ("Rock; Live");
    // anything else ends at the next ";".
    const auto closing = value.starts_with('\'') ? value.find("';", 1) : std::string_view::npos;
    const auto end = closing != std::string_view::npos ? closing + 1 : value.find(';');
    if (end == std::string_view::npos)
        return std::nullopt;
    return "Title: " + std::string(value.substr(0, end));
}

std::string SongFileName(std::string_view sCaption)
{
    const auto colon = sCaption.find(':');
    if (colon == std::string_view::npos)
        return ".mp3";
    auto piece = sCaption.substr(colon + 1);
    piece = piece.substr(0, piece.find(':'));
    const auto first = piece.find_first_not_of(' ');
    piece = first == std::string_view::npos ? std::string_view() : piece.substr(first);
    return std::string(piece) + ".mp3";
}

void IcyStreamParser::Reset(std::int32_t metaInt)
{
    lMetaInt = metaInt;
    lByteCount = 0;
    lMetaLen = 0;
    sMeta.clear();
}

std::string_view IcyStreamParser::ProcessBuffer(std::string_view sBuffer, bool& esMeta)
{
    if (sBuffer.empty())
        return sBuffer;
    return esMeta ? Meta(sBuffer, esMeta) : Audio(sBuffer, esMeta);
}

std::string_view IcyStreamParser::Audio(std::string_view sBuffer, bool& esMeta)
{
    // Without an interval the stream carries no metadata: every byte is audio.
    if (lMetaInt == 0) {
        m_Sink.WriteOutFile(sBuffer);
        return {};
    }
    const auto left = static_cast<std::size_t>(lMetaInt - lByteCount);
    if (left > sBuffer.size()) {
        lByteCount += static_cast<std::int32_t>(sBuffer.size());
        m_Sink.WriteOutFile(sBuffer);
        return {};
    }
    m_Sink.WriteOutFile(sBuffer.substr(0, left));
    lByteCount = 0;
    esMeta = true;
    return sBuffer.substr(left);
}

std::string_view IcyStreamParser::Meta(std::string_view sBuffer, bool& esMeta)
{
    if (lMetaLen == 0) {
        // The length byte is unsigned: up to 255 * 16 = 4080 bytes of text.
        lMetaLen = 16 * static_cast<unsigned char>(sBuffer.front());
        sBuffer.remove_prefix(1);
        if (lMetaLen == 0) {
            esMeta = false;
            return sBuffer;
        }
        sMeta.reserve(static_cast<std::size_t>(lMetaLen));
    }
    const auto take = std::min(static_cast<std::size_t>(lMetaLen) - sMeta.size(), sBuffer.size());
    sMeta.append(sBuffer.substr(0, take));
    sBuffer.remove_prefix(take);
    if (sMeta.size() < static_cast<std::size_t>(lMetaLen))
        return {};
    // The sink may look at the text only during the call; clear it afterwards.
    m_Sink.ShowTitle(sMeta);
    sMeta.clear();
    lMetaLen = 0;
    esMeta = false;
    return sBuffer;
}

} // namespace recorder

namespace recorder {
namespace {

void ReplaceAll(std::string& text, std::string_view what, std::string_view with)
{
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

} // namespace

std::string IcyRequest(std::string_view host, std::string_view sPath)
{
    std::string request = "GET $ HTTP/1.0\r\nHost: %\r\nUser-Agent: WinampMPEG/2.7\r\nAccept: "
                          "*/*\r\nIcy-MetaData:1\r\nConnection: close\r\n\r\n";
    ReplaceAll(request, "%", host);
    ReplaceAll(request, "$", sPath);
    return request;
}

} // namespace recorder
