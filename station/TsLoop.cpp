#include "TsLoop.h"

#include <algorithm>

namespace {
constexpr qint64 kWrap90k = qint64(1) << 33;
constexpr int kNullPid = 0x1fff;

int PidOf(const unsigned char* p)
{
    return ((p[1] & 0x1f) << 8) | p[2];
}
bool HasPayload(const unsigned char* p)
{
    return (p[3] & 0x10) != 0;
}
int PayloadStart(const unsigned char* p)
{
    return (p[3] & 0x20) ? 5 + p[4] : 4;
}

void WritePesTimestamp(unsigned char* p, qint64 ts)
{
    p[0] = (p[0] & 0xf1) | ((ts >> 29) & 0x0e);
    p[1] = (ts >> 22) & 0xff;
    p[2] = ((ts >> 14) & 0xfe) | 1;
    p[3] = (ts >> 7) & 0xff;
    p[4] = ((ts << 1) & 0xfe) | 1;
}

void WritePcr(unsigned char* p, qint64 pcr27)
{
    const qint64 base = (pcr27 / 300) % kWrap90k;
    const int ext = int(pcr27 % 300);
    p[0] = (base >> 25) & 0xff;
    p[1] = (base >> 17) & 0xff;
    p[2] = (base >> 9) & 0xff;
    p[3] = (base >> 1) & 0xff;
    p[4] = ((base & 1) << 7) | 0x7e | (ext >> 8);
    p[5] = ext & 0xff;
}
// A video PES that carries an MPEG-2 sequence header (or an H.264 access unit delimiter
// followed by parameter sets would do as well; we make MPEG-2).
bool StartsVideoSequence(const unsigned char* p)
{
    if (!(p[1] & 0x40) || !HasPayload(p))
        return false;
    const int start = PayloadStart(p);
    if (start + 9 > TsPacketSize)
        return false;
    const unsigned char* pes = p + start;
    if (pes[0] != 0 || pes[1] != 0 || pes[2] != 1 || (pes[3] & 0xf0) != 0xe0)
        return false;
    if (start + 9 + pes[8] >= TsPacketSize)
        return false;
    const QByteArray rest(reinterpret_cast<const char*>(pes) + 9 + pes[8],
                          TsPacketSize - start - 9 - pes[8]);
    return rest.contains(QByteArray("\x00\x00\x01\xb3", 4));
}
} // namespace

qint64 ReadPesTimestamp(const unsigned char* p)
{
    return (qint64((p[0] >> 1) & 7) << 30) | (qint64(p[1]) << 22) | (qint64(p[2] >> 1) << 15) |
           (qint64(p[3]) << 7) | (p[4] >> 1);
}

qint64 ReadPcr(const unsigned char* p)
{
    const qint64 base = (qint64(p[0]) << 25) | (qint64(p[1]) << 17) | (qint64(p[2]) << 9) |
                        (qint64(p[3]) << 1) | (p[4] >> 7);
    return base * 300 + (((p[4] & 1) << 8) | p[5]);
}

int PcrOffset(const unsigned char* p)
{
    if (!(p[3] & 0x20) || p[4] < 7 || !(p[5] & 0x10))
        return -1;
    return 6;
}

int PtsOffset(const unsigned char* p, bool& hasDts)
{
    hasDts = false;
    if (!(p[1] & 0x40) || !HasPayload(p))
        return -1;
    const int start = PayloadStart(p);
    if (start + 19 > TsPacketSize)
        return -1;
    const unsigned char* pes = p + start;
    if (pes[0] != 0 || pes[1] != 0 || pes[2] != 1)
        return -1;
    const unsigned char streamId = pes[3];
    // Streams without the optional PES header (padding, private 2, tables) carry no timestamps.
    if (streamId == 0xbc || streamId == 0xbe || streamId == 0xbf || streamId == 0xf0 ||
        streamId == 0xf1 || streamId == 0xf2 || streamId == 0xf8 || streamId == 0xff)
        return -1;
    const int flags = pes[7] >> 6;
    if (!(flags & 2))
        return -1;
    hasDts = flags == 3;
    return start + 9;
}

bool TsLoop::Load(const QByteArray& clip)
{
    m_clip.clear();
    m_payloadPackets.clear();
    m_entries.clear();
    m_period90k = 0;
    if (clip.isEmpty() || clip.size() % TsPacketSize != 0)
        return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(clip.constData());
    const qint64 count = clip.size() / TsPacketSize;
    qint64 firstIndex = -1, lastIndex = -1, firstPcr = 0, lastPcr = 0;
    int pcrPid = -1;
    QHash<int, qint64> payloadPackets;
    QList<qint64> entries;
    qint64 lastPat = -1;
    for (qint64 i = 0; i < count; ++i) {
        const unsigned char* p = bytes + i * TsPacketSize;
        if (p[0] != 0x47)
            return false;
        const int pid = PidOf(p);
        if (pid == 0)
            lastPat = i;
        if (StartsVideoSequence(p))
            entries.append(lastPat >= 0 ? lastPat : i);
        if (HasPayload(p) && pid != kNullPid)
            ++payloadPackets[pid];
        const int at = PcrOffset(p);
        if (at < 0 || (pcrPid >= 0 && pid != pcrPid))
            continue;
        pcrPid = pid;
        if (firstIndex < 0) {
            firstIndex = i;
            firstPcr = ReadPcr(p + at);
        }
        lastIndex = i;
        lastPcr = ReadPcr(p + at);
    }
    if (lastIndex <= firstIndex || lastPcr <= firstPcr)
        return false;
    // The multiplex rate is constant, so the clip lasts as many PCR ticks per packet as the
    // span between its first and last PCR shows.
    const double ticksPerPacket = double(lastPcr - firstPcr) / double(lastIndex - firstIndex);
    m_period90k = qint64(ticksPerPacket * double(count) / 300.0 + 0.5);
    m_clip = clip;
    m_payloadPackets = payloadPackets;
    m_entries = entries;
    return true;
}

QByteArray TsLoop::Packet(qint64 index) const
{
    const qint64 count = packetCount();
    if (count == 0 || index < 0)
        return {};
    const qint64 turn = index / count;
    QByteArray packet = m_clip.mid((index % count) * TsPacketSize, TsPacketSize);
    if (turn == 0)
        return packet;
    auto* p = reinterpret_cast<unsigned char*>(packet.data());
    const int pid = PidOf(p);
    // Packets without payload repeat the counter of the one before, so they move with it.
    if (pid != kNullPid) {
        const qint64 shift = turn * m_payloadPackets.value(pid);
        p[3] = (p[3] & 0xf0) | ((p[3] + shift) & 0x0f);
    }
    const qint64 offset90k = turn * m_period90k;
    const int pcrAt = PcrOffset(p);
    if (pcrAt >= 0) {
        const qint64 wrap27 = kWrap90k * 300;
        WritePcr(p + pcrAt, (ReadPcr(p + pcrAt) + offset90k * 300) % wrap27);
    }
    bool hasDts = false;
    const int ptsAt = PtsOffset(p, hasDts);
    if (ptsAt >= 0) {
        WritePesTimestamp(p + ptsAt, (ReadPesTimestamp(p + ptsAt) + offset90k) % kWrap90k);
        if (hasDts)
            WritePesTimestamp(p + ptsAt + 5,
                              (ReadPesTimestamp(p + ptsAt + 5) + offset90k) % kWrap90k);
    }
    return packet;
}

qint64 TsLoop::EntryAtOrBefore(qint64 index) const
{
    const qint64 count = packetCount();
    if (m_entries.isEmpty() || count == 0 || index < 0)
        return index;
    const qint64 turn = index / count;
    const qint64 local = index % count;
    const auto after = std::upper_bound(m_entries.begin(), m_entries.end(), local);
    if (after != m_entries.begin())
        return turn * count + *(after - 1);
    return turn > 0 ? (turn - 1) * count + m_entries.last() : index;
}
