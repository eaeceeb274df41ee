// The test card played round and round must look like one unbroken programme to a player.
// Players correct a clock that jumps back only sometimes, so the decoders in the station's
// process tests cannot be relied on to notice; this walks the clocks itself.
#include "TsLoop.h"
#include "ChannelTable.h"
#include "MediaMaker.h"
#include "StationProcess.h"

#include <QFile>
#include <QHash>
#include <gtest/gtest.h>

TEST(StationTsLoop, JoinsTurnsWithoutBreakInCountersOrClocks)
{
    const ChannelPlan& tv = DemoChannels().last();
    MediaMaker media(StationProcess::MediaDir(), StationProcess::SongSeconds);
    QString error;
    ASSERT_TRUE(media.Prepare({tv}, error, [](const QString&) {})) << qPrintable(error);
    QFile file(media.ClipPath(tv));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    TsLoop loop;
    ASSERT_TRUE(loop.Load(file.readAll()));

    // Walk three turns the way a demuxer does.
    QHash<int, int> lastCounter;
    QHash<int, qint64> lastTime;
    qint64 lastPcr = -1;
    int counterBreaks = 0, clockSteps = 0;
    for (qint64 i = 0; i < 3 * loop.packetCount(); ++i) {
        const QByteArray packet = loop.Packet(i);
        const auto* p = reinterpret_cast<const unsigned char*>(packet.constData());
        const int pid = ((p[1] & 0x1f) << 8) | p[2];
        if (pid == 0x1fff)
            continue;
        // Packets without payload repeat the counter; the others count on by one.
        const int expected = (lastCounter.value(pid) + (p[3] & 0x10 ? 1 : 0)) & 0x0f;
        counterBreaks += lastCounter.contains(pid) && (p[3] & 0x0f) != expected ? 1 : 0;
        lastCounter[pid] = p[3] & 0x0f;
        if (const int at = PcrOffset(p); at >= 0) {
            clockSteps += ReadPcr(p + at) > lastPcr ? 0 : 1;
            lastPcr = ReadPcr(p + at);
        }
        bool hasDts = false;
        if (const int at = PtsOffset(p, hasDts); at >= 0) {
            const qint64 decodeTime = ReadPesTimestamp(p + at + (hasDts ? 5 : 0));
            clockSteps += lastTime.contains(pid) && decodeTime <= lastTime[pid] ? 1 : 0;
            lastTime[pid] = decodeTime;
        }
    }
    EXPECT_EQ(counterBreaks, 0);
    EXPECT_EQ(clockSteps, 0);

    // A viewer joining in the second turn starts at a programme table before a whole picture.
    const qint64 entry = loop.EntryAtOrBefore(loop.packetCount() + 100);
    EXPECT_LE(entry, loop.packetCount() + 100);
    EXPECT_GT(entry, loop.packetCount() - 200);
    const QByteArray table = loop.Packet(entry);
    EXPECT_EQ(((table[1] & 0x1f) << 8) | table[2], 0);
}
