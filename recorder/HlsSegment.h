// What one HLS segment carries for a recorder: its elementary audio, as the station encoded it,
// and the title of any timed ID3 it carries. MPEG-TS segments (AAC in ADTS, or MP3) are taken
// apart; packed audio (".aac", ".mp3" after an ID3 tag with the timestamp) has its tags taken off.
// Bytes in, result out, no Qt.
#pragma once

#include <string>
#include <string_view>

namespace recorder::hls {

enum class AudioKind { Unknown, Aac, Mp3 };

struct SegmentAudio
{
    enum class Result {
        Ok,      // audio holds the segment's sound (it may be empty: a segment of video alone)
        Refused, // a kind of segment we do not record (fMP4/CMAF, SAMPLE-AES, LATM): error names it
        Broken   // not a segment at all (a web page, a cut file): error says what was found
    };
    Result result = Result::Broken;
    AudioKind kind = AudioKind::Unknown;
    std::string audio; // ADTS or MP3 frames, whole, byte for byte as carried
    std::string title; // "Artist - Title" from timed ID3 in the segment; empty when there is none
    std::string error;
};

SegmentAudio ReadSegment(std::string_view bytes);

// The title an ID3v2 tag carries: a TXXX or PRIV frame holding "StreamTitle" wins, else
// "TPE1 - TIT2" (either alone when the other is missing). Empty when there is none or the tag is
// broken. tag starts with "ID3".
std::string TitleFromId3(std::string_view tag);

// The file extension of a recording of this audio: ".aac" or ".mp3".
std::string ExtensionFor(AudioKind kind);

} // namespace recorder::hls
