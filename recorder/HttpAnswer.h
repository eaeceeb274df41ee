// Answers of today's stream servers: Icecast and newer SHOUTcast answer "HTTP/1.x 200" with the
// same icy-* fields the ICY answer carries, sometimes chunked, sometimes after a redirect or as a
// playlist that names the stream. Bytes in, result out, no Qt: the fuzz target links it as is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace recorder {

// The head of an HTTP answer, as far as a recorder needs it.
struct HttpAnswer
{
    int status = 0; // 0: not an "HTTP/1.x nnn" status line
    bool chunked = false;
    std::string location;
    std::string contentType; // lower case, parameters cut off
    // The answer written the way an ICY server would have sent it (no chunking, only the icy-*
    // fields and the content type): what the labels read and what a relayed player is served.
    std::string icyHeader;
};

// head runs to and including its blank line. Field names are matched without regard to case.
HttpAnswer ReadHttpAnswer(std::string_view head);

bool IsRedirect(int status);

// ".mp3", ".aac" or ".ogg" after the stream's content type; ".mp3" when it names none of these.
std::string FileExtensionFor(std::string_view contentType);

// Whether a stream of this content type can be recorded as sound: anything but pictures, video,
// text and documents (an error page). No type at all is sound: old stations send none.
bool IsAudioType(std::string_view contentType);

// Whether an answer is a playlist naming streams rather than a stream itself.
bool IsPlaylist(std::string_view contentType, std::string_view path);

// The stream addresses a ".pls" or ".m3u"/".m3u8" list names, in order. HLS lists (segments,
// "#EXT-X-" lines) name no stream a recorder can take whole: they give nothing.
std::vector<std::string> PlaylistEntries(std::string_view body);

// Undoes chunked transfer coding: the data of the chunks, byte for byte, across any cut.
class ChunkedDecoder
{
  public:
    enum class Result { Ok, Done, Bad };
    void Reset() { *this = ChunkedDecoder(); }
    // Appends the data carried in `in` to `out`.
    Result Decode(std::string_view in, std::string& out);

  private:
    enum class State { Size, Data, DataEnd, Trailer, Done, Bad };
    Result Fail();
    State m_State = State::Size;
    std::string m_Line;       // the size or trailer line gathered so far
    std::uint64_t m_Left = 0; // data bytes left in this chunk
};

} // namespace recorder
