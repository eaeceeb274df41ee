#include "Mp3Frames.h"

namespace {
// kbps by bitrate index, for MPEG-1 and for MPEG-2/2.5 (layer III).
constexpr int kBitrateV1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kBitrateV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr int kRateV1[4] = {44100, 48000, 32000, 0};

qsizetype SkipId3v2(const QByteArray& data)
{
    if (data.size() < 10 || !data.startsWith("ID3"))
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype size = (qsizetype(p[6] & 0x7f) << 21) | ((p[7] & 0x7f) << 14) |
                           ((p[8] & 0x7f) << 7) | (p[9] & 0x7f);
    return 10 + size + ((p[5] & 0x10) ? 10 : 0);
}
} // namespace

Mp3FrameInfo ReadMp3Header(const unsigned char* p)
{
    if (p[0] != 0xff || (p[1] & 0xe0) != 0xe0)
        return {};
    const int version = (p[1] >> 3) & 3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int layer = (p[1] >> 1) & 3;   // 1: layer III
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    const int padding = (p[2] >> 1) & 1;
    if (version == 1 || layer != 1 || rateIndex == 3)
        return {};
    const bool mpeg1 = version == 3;
    const int kbps = (mpeg1 ? kBitrateV1 : kBitrateV2)[bitrateIndex];
    if (kbps == 0)
        return {};
    const int divisor = mpeg1 ? 1 : (version == 2 ? 2 : 4);
    Mp3FrameInfo info;
    info.sampleRate = kRateV1[rateIndex] / divisor;
    info.samples = mpeg1 ? 1152 : 576;
    info.size = (info.samples / 8) * kbps * 1000 / info.sampleRate + padding;
    return info;
}

Mp3Scan ScanMp3Frames(const QByteArray& data)
{
    Mp3Scan scan;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    qsizetype pos = SkipId3v2(data);
    while (pos + 4 <= data.size()) {
        const Mp3FrameInfo info = ReadMp3Header(bytes + pos);
        if (info.size == 0 || pos + info.size > data.size())
            break;
        if (scan.offsets.isEmpty()) {
            scan.sampleRate = info.sampleRate;
            scan.samples = info.samples;
        }
        scan.offsets.append(pos);
        pos += info.size;
    }
    scan.end = scan.offsets.isEmpty() ? 0 : pos;
    return scan;
}
