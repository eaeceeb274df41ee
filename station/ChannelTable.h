#pragma once
// The demo line-up: what each channel is called, how it sounds, and which port it takes
// relative to the station's base port.
#include <QByteArray>
#include <QList>
#include <QString>

struct Song
{
    QByteArray streamTitle; // "Artist - Title", as listeners see it in StreamTitle
    double baseHz;          // tonic of the melody
    double notesPerSecond;  // tempo
    int step;               // semitone stride of the melody pattern
    int span;               // the pattern repeats within this many semitones
    bool reedy;             // a squarer, brighter timbre instead of a pure tone
};

enum class ChannelKind { Radio, TV };

struct ChannelPlan
{
    QByteArray id; // short name used in file names and in the site templates (@ID_URL@)
    QString name;  // shown in the directory and sent as icy-name
    ChannelKind kind;
    int portOffset;    // base port + this
    int bitrateKbps;   // radio: MP3 bitrate; TV: multiplex rate
    QList<Song> songs; // radio only
    // Icecast style: answers "HTTP/1.1 200 OK" with icy-* fields, for this path only ("/live.mp3").
    // Empty: a SHOUTcast-style "ICY 200 OK" for any path.
    QByteArray mount = {};
    // HLS: the mount is a live playlist of AAC segments in MPEG-TS, each song a few segments
    // long, instead of one endless stream.
    bool hls = false;
};

// The channels in the order they are listed in Channel.ini.
const QList<ChannelPlan>& DemoChannels();
