// Arbitrary bytes from a server, cut into arrivals in arbitrary ways: the header reader must hold
// no more than its bound, and the stream parser must hand on the same audio and block texts
// however the bytes are cut, consuming every byte exactly once.
//
// Input: flags byte, cutting byte, then the bytes the server sends.
//   flags bit 0: after the input, keep sending header junk until the reader gives up
//   flags bit 1: parse with an interval taken from the cutting byte instead of the header's
//   flags bit 2: parse with no interval at all (every byte audio)
//   flags bit 3: the stream bytes are chunked: undo the coding, whole and cut, the same way
// HTTP answers, playlists and ID3 tags built from block texts are checked on the way.

#include "FuzzCheck.h"
#include "HttpAnswer.h"
#include "IcyParser.h"
#include "Id3Tag.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace recorder;

namespace {

// Arrival sizes from 1 to maxPiece, in a sequence the cutting byte chooses.
class Cutter
{
  public:
    explicit Cutter(unsigned char cut) : m_State(cut), m_Max(1 + cut % 97 * (cut / 97 + 1)) {}
    std::size_t Next()
    {
        m_State = m_State * 1103515245u + 12345u;
        return 1 + (m_State >> 16) % m_Max;
    }

  private:
    std::uint32_t m_State;
    std::size_t m_Max;
};

struct Sink : IcySink
{
    std::string audio;
    std::vector<std::string> texts;

    void WriteOutFile(std::string_view sBuff) override { audio.append(sBuff); }
    void ShowTitle(std::string_view sMetaData) override
    {
        Check(!sMetaData.empty() && sMetaData.size() % 16 == 0 && sMetaData.size() <= 255 * 16);
        texts.emplace_back(sMetaData);
        // What the window does with a block: the caption, and a file name cut from it.
        if (const auto caption = TitleCaption(sMetaData)) {
            Check(caption->rfind("Title: ", 0) == 0);
            const auto name = SongFileName(*caption);
            Check(name.size() >= 4 && name.size() <= caption->size() + 4);
            const auto tag = Id3v24Tag(TagsFromStreamTitle(*caption, sMetaData));
            Check(tag.empty() || Id3TagSize(tag) == tag.size());
        }
    }
};

// The data-arrived loop: each step consumes a leading piece, and state stays within its bounds.
void Arrive(IcyStreamParser& parser, bool& inMeta, std::string_view data)
{
    while (!data.empty()) {
        const auto rest = parser.ProcessBuffer(data, inMeta);
        Check(rest.size() < data.size());
        Check(rest.empty() || rest.data() + rest.size() == data.data() + data.size());
        Check(parser.lByteCount >= 0 && parser.lByteCount <= parser.lMetaInt);
        Check(parser.sMeta.size() <= static_cast<std::size_t>(parser.lMetaLen));
        Check(parser.lMetaLen <= 255 * 16);
        data = rest;
    }
}

// Reads the header over arrivals; returns the stream bytes after it, or all input when no header
// is accepted (the parser gets to see them anyway).
std::string ReadHeader(std::string_view input, unsigned char flags, Cutter cutter,
                       std::int32_t& metaInt)
{
    IcyHeaderReader reader;
    std::size_t at = 0;
    while (at < input.size()) {
        const auto piece = input.substr(at, cutter.Next());
        at += piece.size();
        switch (reader.Append(piece)) {
        case IcyHeaderReader::Result::NeedMore:
            Check(reader.Buffered() == at && at <= kMaxHeaderBytes);
            break;
        case IcyHeaderReader::Result::TooLong: {
            Check(reader.Buffered() <= kMaxHeaderBytes + piece.size());
            const auto held = reader.Buffered();
            Check(reader.Append(piece) == IcyHeaderReader::Result::TooLong);
            Check(reader.Buffered() == held); // given up: takes nothing more
            return std::string(input);
        }
        case IcyHeaderReader::Result::Answered: {
            const auto head = reader.sHeader();
            Check(head.substr(0, 7) == "HTTP/1.");
            const auto answer = ReadHttpAnswer(head);
            Check(answer.status >= 0 && answer.status <= 999);
            Check(answer.icyHeader.rfind("ICY 200 OK\r\n", 0) == 0);
            Check(MetaIntOf(answer.icyHeader) >= 0);
            for (const auto& entry : PlaylistEntries(reader.AfterHeader()))
                Check(entry.rfind("http", 0) == 0 || entry.rfind("HTTP", 0) == 0 ||
                      entry.size() >= 7);
            return std::string(reader.AfterHeader()) + std::string(input.substr(at));
        }
        case IcyHeaderReader::Result::Accepted: {
            const auto header = reader.sHeader();
            Check(header.size() >= 4 && header.substr(header.size() - 4) == "\r\n\r\n");
            Check(std::string(header) + std::string(reader.AfterHeader()) == input.substr(0, at));
            metaInt = MetaIntOf(header);
            Check(metaInt >= 0 && metaInt <= kMaxMetaInt);
            const auto station = StationText(header);
            Check(station == "unknown station" || header.find(station) != header.npos);
            Check(BitrateText(header).rfind("Bitrate: ", 0) == 0);
            return std::string(reader.AfterHeader()) + std::string(input.substr(at));
        }
        }
    }
    if (flags & 1) {
        // A server that never ends its header: the reader must give up at its bound.
        const std::string junk(4096, 'x');
        IcyHeaderReader::Result result = IcyHeaderReader::Result::NeedMore;
        for (int i = 0; result == IcyHeaderReader::Result::NeedMore; ++i) {
            Check(i <= static_cast<int>(kMaxHeaderBytes / junk.size()) + 1);
            result = reader.Append(junk);
            Check(reader.Buffered() <= kMaxHeaderBytes + junk.size());
        }
        Check(result == IcyHeaderReader::Result::TooLong);
    }
    return std::string(input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const unsigned char flags = data[0], cut = data[1];
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);

    std::int32_t metaInt = 0;
    std::string stream = ReadHeader(input, flags, Cutter(cut), metaInt);
    if (flags & 8) {
        // Undone whole and undone in pieces: the same data, the same verdict.
        ChunkedDecoder wholeCoding, piecesCoding;
        std::string whole, pieces;
        const auto wholeResult = wholeCoding.Decode(stream, whole);
        auto piecesResult = ChunkedDecoder::Result::Ok;
        Cutter chunkCutter(static_cast<unsigned char>(cut ^ 0x33));
        for (std::size_t at = 0;
             at < stream.size() && piecesResult == ChunkedDecoder::Result::Ok;) {
            const auto piece = std::string_view(stream).substr(at, chunkCutter.Next());
            at += piece.size();
            piecesResult = piecesCoding.Decode(piece, pieces);
        }
        Check(whole.size() <= stream.size());
        if (wholeResult != ChunkedDecoder::Result::Bad &&
            piecesResult != ChunkedDecoder::Result::Bad)
            Check(whole == pieces && wholeResult == piecesResult);
        stream = whole;
    }
    if (flags & 2)
        metaInt = 1 + cut % 64;
    if (flags & 4)
        metaInt = 0;

    // The whole stream in one arrival, then cut into many: the same audio, the same texts.
    Sink whole, pieces;
    IcyStreamParser wholeParser(whole), piecesParser(pieces);
    wholeParser.Reset(metaInt);
    piecesParser.Reset(metaInt);
    bool wholeMeta = false, piecesMeta = false;
    Arrive(wholeParser, wholeMeta, stream);
    Cutter cutter(static_cast<unsigned char>(cut ^ 0x5a));
    for (std::size_t at = 0; at < stream.size();) {
        const auto piece = std::string_view(stream).substr(at, cutter.Next());
        at += piece.size();
        Arrive(piecesParser, piecesMeta, piece);
    }
    Check(whole.audio == pieces.audio && whole.texts == pieces.texts);
    Check(wholeMeta == piecesMeta && wholeParser.lByteCount == piecesParser.lByteCount);
    // Every byte is audio, a length byte, or block text (complete or still gathering).
    std::size_t textBytes = 0;
    for (const auto& text : whole.texts)
        textBytes += text.size();
    Check(whole.audio.size() + textBytes + wholeParser.sMeta.size() <= stream.size());
    if (metaInt == 0)
        Check(whole.audio == stream);
    return 0;
}
