#pragma once
// Turns a finite MPEG-TS clip into an endless broadcast. Played round and round as it is, the
// clip's clock would jump back at every turn and players stall or drop frames there; so turn k
// gets its PCR, PTS and DTS moved on by k clip lengths and its continuity counters continued,
// and a player sees one long programme. Pure bytes in, result out.
#include <QByteArray>
#include <QHash>
#include <QList>

constexpr int TsPacketSize = 188;

class TsLoop
{
  public:
    // False when the clip is not whole 188-byte packets with sync bytes, or carries fewer than
    // two PCRs (its pace cannot be known then).
    bool Load(const QByteArray& clip);

    qint64 packetCount() const { return m_clip.size() / TsPacketSize; }
    // Playing time of one packet: the clip is multiplexed at a constant rate.
    double packetSeconds() const { return double(m_period90k) / 90000.0 / double(packetCount()); }
    qint64 period90k() const { return m_period90k; }

    // Packet number index of the endless programme (index 0 is the clip's first packet).
    QByteArray Packet(qint64 index) const;

    // The last packet at or before index where a viewer can start: the programme table just
    // before a picture that starts a sequence, so the first thing decoded is a whole picture.
    qint64 EntryAtOrBefore(qint64 index) const;

  private:
    QByteArray m_clip;
    qint64 m_period90k = 0;
    QHash<int, qint64> m_payloadPackets; // per PID: packets carrying payload in one turn
    QList<qint64> m_entries;             // in one turn, ascending
};

// Reads a 33-bit PES timestamp (PTS/DTS) from its five bytes.
qint64 ReadPesTimestamp(const unsigned char* p);
// Reads a PCR in 27 MHz units from the six bytes after the adaptation flags.
qint64 ReadPcr(const unsigned char* p);
// Where the PCR of a packet sits, or -1 when the packet has none.
int PcrOffset(const unsigned char* packet);
// Where the PTS of a packet sits (its DTS follows 5 bytes later when hasDts), or -1.
int PtsOffset(const unsigned char* packet, bool& hasDts);
