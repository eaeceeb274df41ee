// The test card played round and round must look like one unbroken programme to a player.
#include "TsLoop.h"
#include "BinaryDir.h"
#include "ChannelTable.h"
#include "MediaMaker.h"

#include <QFile>
#include <QHash>
#include <gtest/gtest.h>

namespace {
const unsigned char* Bytes(const QByteArray& packet)
{
    return reinterpret_cast<const unsigned char*>(packet.constData());
}

int Pid(const unsigned char* p)
{
    return ((p[1] & 0x1f) << 8) | p[2];
}

QByteArray TestCard()
{
    const ChannelSpec& tv = DemoChannels().last();
    MediaMaker media(TestBinaryDir() + "/tests/station-media", 3);
    QString error;
    if (!media.Prepare({tv}, error, [](const QString&) {}))
        return {};
    QFile file(media.ClipPath(tv));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST(StationTsLoop, JoinsTurnsWithoutBreakInCountersOrClocks)
{
    const QByteArray clip = TestCard();
    ASSERT_FALSE(clip.isEmpty());
    TsLoop loop;
    ASSERT_TRUE(loop.Load(clip));
    EXPECT_NEAR(double(loop.period90k()) / 90000.0, double(ClipSeconds), 0.05);
    EXPECT_NEAR(loop.packetSeconds() * double(loop.packetCount()), double(ClipSeconds), 0.05);
    EXPECT_EQ(loop.Packet(5), clip.mid(5 * TsPacketSize, TsPacketSize))
        << "the first turn is the clip";

    // Walk three turns the way a demuxer does.
    QHash<int, int> lastCounter;
    QHash<int, qint64> lastTime;
    qint64 lastPcr = -1;
    int counterBreaks = 0, clockSteps = 0, pcrSteps = 0;
    for (qint64 i = 0; i < 3 * loop.packetCount(); ++i) {
        const QByteArray packet = loop.Packet(i);
        const unsigned char* p = Bytes(packet);
        ASSERT_EQ(p[0], 0x47);
        const int pid = Pid(p);
        if (pid == 0x1fff)
            continue;
        const int counter = p[3] & 0x0f;
        const bool payload = p[3] & 0x10;
        if (lastCounter.contains(pid) &&
            counter != (payload ? (lastCounter[pid] + 1) & 0x0f : lastCounter[pid]))
            ++counterBreaks;
        lastCounter[pid] = counter;
        if (const int at = PcrOffset(p); at >= 0) {
            const qint64 pcr = ReadPcr(p + at);
            pcrSteps += pcr > lastPcr ? 0 : 1;
            lastPcr = pcr;
        }
        bool hasDts = false;
        if (const int at = PtsOffset(p, hasDts); at >= 0) {
            const qint64 decodeTime = ReadPesTimestamp(p + at + (hasDts ? 5 : 0));
            if (lastTime.contains(pid) && decodeTime <= lastTime[pid])
                ++clockSteps;
            lastTime[pid] = decodeTime;
        }
    }
    EXPECT_EQ(counterBreaks, 0);
    EXPECT_EQ(pcrSteps, 0);
    EXPECT_EQ(clockSteps, 0);

    // A viewer joining in the second turn starts at a programme table before a whole picture.
    const qint64 entry = loop.EntryAtOrBefore(loop.packetCount() + 100);
    EXPECT_LE(entry, loop.packetCount() + 100);
    EXPECT_GT(entry, loop.packetCount() - 200);
    EXPECT_EQ(Pid(Bytes(loop.Packet(entry))), 0);
}

TEST(StationTsLoop, RefusesWhatIsNotAPacedTransportStream)
{
    TsLoop loop;
    EXPECT_FALSE(loop.Load({}));
    EXPECT_FALSE(loop.Load(QByteArray(TsPacketSize * 3 + 1, '\x47')));
    EXPECT_FALSE(loop.Load(QByteArray(TsPacketSize * 3, '\x00')));
    QByteArray nulls;
    for (int i = 0; i < 10; ++i)
        nulls += QByteArray("\x47\x1f\xff\x10", 4) + QByteArray(TsPacketSize - 4, '\xff');
    EXPECT_FALSE(loop.Load(nulls)) << "no clock reference, so no pace";
    EXPECT_TRUE(loop.Packet(0).isEmpty());
}
