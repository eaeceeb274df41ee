#pragma once
// Finds the frames of an MP3 file, so the station can pace a stream by playing time and start a
// new listener on a frame boundary. Pure bytes in, result out.
#include <QByteArray>
#include <QList>

struct Mp3FrameInfo
{
    int size = 0;       // bytes, header included
    int sampleRate = 0; // Hz
    int samples = 0;    // per channel, per frame
};

// Reads the four header bytes at p; size 0 when they are not an MPEG audio layer III header.
Mp3FrameInfo ReadMp3Header(const unsigned char* p);

struct Mp3Scan
{
    QList<qsizetype> offsets; // start of every frame, in order
    qsizetype end = 0;        // the byte after the last whole frame
    int sampleRate = 0;       // of the first frame
    int samples = 0;          // per frame, of the first frame
};

// Walks the frames one after the other from the start (after an ID3v2 tag, if any) and stops
// at the first byte that does not continue the chain or at a frame cut short by the end.
Mp3Scan ScanMp3Frames(const QByteArray& data);
