// The ICY stream parser: bytes in, audio and metadata texts out. No Qt here, so that the parser
// builds, tests and benchmarks on its own and both front ends (window and command line) share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace recorder {

// A header is a few hundred bytes; a server that has sent this much without one is not an ICY
// server we can talk to, and must not make us buffer without end.
inline constexpr std::size_t kMaxHeaderBytes = 64 * 1024;

// Real servers use 8192..65536. Anything far beyond cannot be a metadata interval; such a stream
// is treated as carrying no metadata at all.
inline constexpr std::int32_t kMaxMetaInt = 1024 * 1024;

// Where the parser hands its results: audio for the recording file, block texts for the title.
class IcySink
{
  public:
    virtual ~IcySink() = default;
    virtual void WriteOutFile(std::string_view sBuff) = 0;
    virtual void ShowTitle(std::string_view sMetaData) = 0;
};

// Gathers the response header over as many arrivals as it takes. Each arrival is searched once:
// only its own bytes and the few before it that could start a split marker.
class IcyHeaderReader
{
  public:
    // Answered: the head of an "HTTP/1.x" answer has arrived whole, without "ICY 200 OK" in it;
    // what it says (a stream, a redirect, a playlist, a refusal) is for HttpAnswer to read.
    enum class Result { NeedMore, Accepted, TooLong, Answered };

    void Reset();
    // sRecvBuffer grows by sData; the header is accepted once "\r\n\r\n" has arrived and
    // "ICY 200 OK" occurs in what has arrived. Past kMaxHeaderBytes it is TooLong and takes
    // nothing more.
    Result Append(std::string_view sData);
    // Bytes held: at most kMaxHeaderBytes plus the arrival that crossed it.
    std::size_t Buffered() const { return m_RecvBuffer.size(); }

    bool Accepted() const { return m_HeaderEnd != npos && m_IcyFound; }
    bool Answered() const { return m_HeaderEnd != npos && !m_IcyFound && m_Http; }
    std::string_view sHeader() const;
    // The bytes that came after the header in the same arrivals: the first audio of the stream.
    std::string_view AfterHeader() const;

  private:
    static constexpr std::size_t npos = std::string::npos;
    std::string m_RecvBuffer;
    std::size_t m_SearchedEnd = 0;
    std::size_t m_SearchedIcy = 0;
    std::size_t m_HeaderEnd = npos; // one past the blank line
    bool m_IcyFound = false;
    bool m_Http = false;
};

// The metadata interval of a header: 0 (no metadata in the stream) unless "icy-metaint:" carries a
// positive decimal number not above kMaxMetaInt.
std::int32_t MetaIntOf(std::string_view sHeader);

// ShowInfo's texts, as bytes (each byte one character when shown).
std::string StationText(std::string_view sIcy);
std::string BitrateText(std::string_view sIcy);

// ShowTitle's caption for lblTitle ("Title: " and the StreamTitle value as sent, quotes
// included), or nothing when the label is to stay as it was. A value in quotes ends at the "';"
// that closes it, else at the next ";".
std::optional<std::string> TitleCaption(std::string_view sMetaData);

// The by-song file name taken from lblTitle's caption: the piece after its first ":", without
// leading blanks, plus ".mp3". The caller still has to make it safe for the file system.
std::string SongFileName(std::string_view sCaption);

// The step function over the stream after the header, and its state.
class IcyStreamParser
{
  public:
    explicit IcyStreamParser(IcySink& sink) : m_Sink(sink) {}

    void Reset(std::int32_t metaInt);
    // Consumes a leading piece of sBuffer and returns the rest (a view into sBuffer, never a
    // copy). esMeta says whether the first byte belongs to a metadata block, before and after.
    std::string_view ProcessBuffer(std::string_view sBuffer, bool& esMeta);
    // The next audio byte starts an interval: where a listener that counts intervals may join.
    bool AtIntervalStart() const { return lMetaInt == 0 || lByteCount == 0; }

    std::int32_t lMetaInt = 0;
    std::int32_t lByteCount = 0;
    std::int32_t lMetaLen = 0;
    std::string sMeta;

  private:
    std::string_view Audio(std::string_view sBuffer, bool& esMeta);
    std::string_view Meta(std::string_view sBuffer, bool& esMeta);
    IcySink& m_Sink;
};

} // namespace recorder

namespace recorder {

// The request sent once the connection stands, byte for byte: "%" becomes the host, then "$"
// the path.
std::string IcyRequest(std::string_view host, std::string_view sPath);

} // namespace recorder
