#pragma once
// Timed titles in the HLS radio's segments, as broadcasters send them: every programme table
// declares an ID3 metadata stream (type 0x15), and the first segment of a song carries an ID3
// tag (TIT2 and TPE1) stamped with the time of its first sound. Players and recorders that read
// the tags hear the title change where the song does, not a whole segment early or late.
// Pure bytes in, bytes out.
#include <QByteArray>

constexpr int HlsId3Pid = 0x102;

// The segment with its programme tables declaring the metadata stream and, when title is not
// empty ("Artist - Title"), the tag right after the first table. counter is the continuity
// counter for the tag's packet. The segment comes back unchanged when it has no table to extend.
QByteArray WithTimedTitle(const QByteArray& segment, const QByteArray& title, int counter);

// An ID3v2.4 tag with TIT2 and TPE1 from "Artist - Title" (all of it as TIT2 without " - ").
QByteArray Id3TitleTag(const QByteArray& title);
