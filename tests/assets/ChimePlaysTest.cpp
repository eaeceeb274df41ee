// "msg.wav" is a short, audible, unclipped chime that libmpv plays through to its end: the
// message popup plays it with the same component, audio only.
#include "MediaPlayer.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using platform::MediaPlayer;
using State = MediaPlayer::State;

TEST(ChimePlays, MsgWavPlaysFromOpeningToEndedWithoutAnError)
{
    const QString wav = qEnvironmentVariable("CORVANE_BINARY_DIR") + QStringLiteral("/bin/msg.wav");
    ASSERT_TRUE(QFileInfo(wav).isFile()) << wav.toStdString();

    MediaPlayer player(nullptr, MediaPlayer::Video::Off);
    std::vector<State> states;
    QObject::connect(&player, &MediaPlayer::StateChanged, &player,
                     [&states](State state) { states.push_back(state); });
    QSignalSpy errors(&player, &MediaPlayer::ErrorOccurred);
    player.setURL(wav);

    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return player.state() == State::Ended || player.state() == State::Failed; }, 20000))
        << "still " << int(player.state());
    EXPECT_EQ(player.state(), State::Ended);
    EXPECT_EQ(errors.count(), 0) << (errors.isEmpty()
                                         ? ""
                                         : errors.first().first().toString().toStdString());
    const auto opening = std::find(states.begin(), states.end(), State::Opening);
    const auto ended = std::find(states.begin(), states.end(), State::Ended);
    EXPECT_TRUE(opening != states.end() && opening < ended) << "opened before it ended";
    EXPECT_EQ(std::count(states.begin(), states.end(), State::Failed), 0);

    // 16-bit mono samples at 44.1 kHz after a 44-byte header: under a second, loud enough to be
    // heard, with headroom, and starting at rest (no click).
    QFile file(wav);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 44);
    const int samples = int(bytes.size() - 44) / 2;
    EXPECT_GT(samples, 44100 / 5);
    EXPECT_LT(samples, 44100);
    int loudest = 0;
    for (int i = 0; i < samples; ++i)
        loudest = std::max(
            loudest, std::abs(int(qFromLittleEndian<qint16>(bytes.constData() + 44 + 2 * i))));
    EXPECT_GT(loudest, 32767 / 8);
    EXPECT_LT(loudest, 32767 * 9 / 10);
    EXPECT_EQ(qFromLittleEndian<qint16>(bytes.constData() + 44), 0);
}

} // namespace
