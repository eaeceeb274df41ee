#include "HlsId3.h"

#include "TsLoop.h"

namespace {
using Packet = const unsigned char*;

int PidOf(Packet p)
{
    return ((p[1] & 0x1f) << 8) | p[2];
}
bool StartsUnit(Packet p)
{
    return (p[1] & 0x40) != 0;
}
int PayloadStart(Packet p)
{
    return (p[3] & 0x20) ? 5 + p[4] : 4;
}

quint32 MpegCrc32(const QByteArray& data)
{
    quint32 crc = 0xffffffff;
    for (const char byte : data) {
        crc ^= quint32(quint8(byte)) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000) ? (crc << 1) ^ 0x04c11db7 : crc << 1;
    }
    return crc;
}

void Append16(QByteArray& out, int value)
{
    out.append(char(value >> 8)).append(char(value & 0xff));
}

QByteArray SyncSafe(qsizetype size)
{
    QByteArray out;
    for (int shift = 21; shift >= 0; shift -= 7)
        out.append(char((size >> shift) & 0x7f));
    return out;
}

QByteArray TextFrame(const char* id, const QByteArray& text)
{
    return QByteArray(id) + SyncSafe(text.size() + 1) + QByteArray(2, '\0') + '\x03' + text;
}

// "ID3 " in the way the tables name the metadata's format: all-ones application format first.
QByteArray Id3FormatFields()
{
    return QByteArray("\xff\xff", 2) + "ID3 " + '\xff' + "ID3 ";
}

// The table at p with the metadata stream added, or empty when it is not a whole table in one
// packet, already has the stream, or would not fit.
QByteArray ExtendedTable(Packet p)
{
    const int start = PayloadStart(p) + 1 + p[PayloadStart(p)];
    if (start + 12 > TsPacketSize)
        return {};
    const unsigned char* section = p + start;
    const int length = ((section[1] & 0x0f) << 8) | section[2];
    const int programInfo = ((section[10] & 0x0f) << 8) | section[11];
    if (section[0] != 0x02 || start + 3 + length > TsPacketSize || 12 + programInfo > length - 4)
        return {};
    const QByteArray streams(reinterpret_cast<const char*>(section) + 12 + programInfo,
                             length - 4 - 9 - programInfo);
    for (qsizetype at = 0; at + 5 <= streams.size();
         at += 5 + ((streams[at + 3] & 0x0f) << 8 | quint8(streams[at + 4]))) {
        if (((streams[at + 1] & 0x1f) << 8 | quint8(streams[at + 2])) == HlsId3Pid)
            return {};
    }
    const int programNumber = (section[3] << 8) | section[4];
    // metadata_pointer_descriptor: the metadata is in this stream and this programme.
    const QByteArray pointer = QByteArray("\x25\x0f", 2) + Id3FormatFields() + '\x00' + '\x1f' +
                               char(programNumber >> 8) + char(programNumber & 0xff);
    // metadata_descriptor: the service, carried in PES.
    const QByteArray descriptor = QByteArray("\x26\x0d", 2) + Id3FormatFields() + '\x00' + '\x0f';
    QByteArray body(reinterpret_cast<const char*>(section) + 3, 7); // up to the PCR PID
    Append16(body, 0xf000 | (programInfo + pointer.size()));
    body += QByteArray(reinterpret_cast<const char*>(section) + 12, programInfo) + pointer;
    body += streams + '\x15';
    Append16(body, 0xe000 | HlsId3Pid);
    Append16(body, 0xf000 | descriptor.size());
    body += descriptor;
    QByteArray table = QByteArray(1, '\x02');
    Append16(table, 0xb000 | (body.size() + 4));
    table += body;
    const quint32 crc = MpegCrc32(table);
    Append16(table, int(crc >> 16));
    Append16(table, int(crc & 0xffff));
    QByteArray packet(reinterpret_cast<const char*>(p), 4);
    packet[3] = char((p[3] & 0x0f) | 0x10); // payload only
    packet += '\x00' + table;
    if (packet.size() > TsPacketSize)
        return {};
    return packet + QByteArray(TsPacketSize - packet.size(), '\xff');
}

// One packet carrying the tag in a PES stamped at pts, padded with adaptation stuffing.
QByteArray TagPacket(const QByteArray& tag, qint64 pts, int counter)
{
    QByteArray pes("\x00\x00\x01\xbd", 4);
    Append16(pes, int(3 + 5 + tag.size()));
    pes += QByteArray("\x84\x80\x05", 3); // aligned, a PTS only
    pes += char(0x21 | ((pts >> 29) & 0x0e));
    Append16(pes, int(((pts >> 14) & 0xfffe) | 1));
    Append16(pes, int(((pts << 1) & 0xfffe) | 1));
    pes += tag;
    if (pes.size() > TsPacketSize - 4 - 2)
        return {};
    QByteArray packet("\x47", 1);
    packet += char(0x40 | (HlsId3Pid >> 8));
    packet += char(HlsId3Pid & 0xff);
    packet += char(0x30 | (counter & 0x0f));
    const int stuffing = TsPacketSize - 4 - int(pes.size());
    packet += char(stuffing - 1);
    packet += '\x00' + QByteArray(stuffing - 2, '\xff');
    return packet + pes;
}
} // namespace

QByteArray Id3TitleTag(const QByteArray& title)
{
    const qsizetype dash = title.indexOf(" - ");
    QByteArray frames =
        dash < 0 ? TextFrame("TIT2", title)
                 : TextFrame("TIT2", title.mid(dash + 3)) + TextFrame("TPE1", title.left(dash));
    return QByteArray("ID3\x04\x00\x00", 6) + SyncSafe(frames.size()) + frames;
}

QByteArray WithTimedTitle(const QByteArray& segment, const QByteArray& title, int counter)
{
    int tablePid = -1;
    qint64 firstPts = -1;
    for (qsizetype at = 0; at + TsPacketSize <= segment.size(); at += TsPacketSize) {
        const auto* p = reinterpret_cast<Packet>(segment.constData() + at);
        const int start = PayloadStart(p);
        if (PidOf(p) == 0 && StartsUnit(p) && start + 17 <= TsPacketSize && tablePid < 0)
            tablePid = ((p[start + 1 + p[start] + 10] & 0x1f) << 8) | p[start + 1 + p[start] + 11];
        bool hasDts = false;
        if (const int pts = PtsOffset(p, hasDts); pts >= 0 && firstPts < 0)
            firstPts = ReadPesTimestamp(p + pts);
    }
    if (tablePid < 0 || firstPts < 0)
        return segment;
    QByteArray out;
    out.reserve(segment.size() + TsPacketSize);
    bool tagged = title.isEmpty();
    for (qsizetype at = 0; at + TsPacketSize <= segment.size(); at += TsPacketSize) {
        const auto* p = reinterpret_cast<Packet>(segment.constData() + at);
        const QByteArray table =
            PidOf(p) == tablePid && StartsUnit(p) ? ExtendedTable(p) : QByteArray();
        out += table.isEmpty() ? segment.mid(at, TsPacketSize) : table;
        if (!table.isEmpty() && !tagged) {
            out += TagPacket(Id3TitleTag(title), firstPts, counter);
            tagged = true;
        }
    }
    return out;
}
