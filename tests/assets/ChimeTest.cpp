// "msg.wav" beside the program: a short, audible, unclipped 16-bit PCM chime.
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

quint32 U32(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
quint16 U16(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

TEST(Chime, MsgWavIsAShortAudibleUnclippedPcmFile)
{
    QFile file(qEnvironmentVariable("CORVANE_BINARY_DIR") + QStringLiteral("/bin/msg.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QByteArray wav = file.readAll();
    ASSERT_GE(wav.size(), 44);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(U32(wav, 4), static_cast<quint32>(wav.size() - 8));
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(U32(wav, 16), 16u);    // plain PCM format chunk
    EXPECT_EQ(U16(wav, 20), 1u);     // PCM
    EXPECT_EQ(U16(wav, 22), 1u);     // mono
    EXPECT_EQ(U32(wav, 24), 44100u); // samples per second
    EXPECT_EQ(U32(wav, 28), 88200u); // bytes per second
    EXPECT_EQ(U16(wav, 32), 2u);     // bytes per frame
    EXPECT_EQ(U16(wav, 34), 16u);    // bits per sample
    EXPECT_EQ(wav.mid(36, 4), "data");
    const quint32 dataBytes = U32(wav, 40);
    ASSERT_EQ(dataBytes, static_cast<quint32>(wav.size() - 44));

    const int samples = static_cast<int>(dataBytes / 2);
    const double seconds = samples / 44100.0;
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 1.0);
    int loudest = 0;
    for (int i = 0; i < samples; ++i)
        loudest = std::max(loudest, std::abs(static_cast<int>(
                                        qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * i))));
    EXPECT_GT(loudest, 32767 / 8);      // audible
    EXPECT_LT(loudest, 32767 * 9 / 10); // headroom, nothing clipped
    // It starts and ends at rest: no click.
    const auto at = [&](int i) { return qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * i); };
    EXPECT_EQ(at(0), 0);
    EXPECT_LT(std::abs(static_cast<int>(at(samples - 1))), 64);
}

} // namespace
