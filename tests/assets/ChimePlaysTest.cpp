// "msg.wav" is a sound libmpv plays through to its end: the message popup plays it with the same
// component, audio only.
#include "MediaPlayer.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
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
    EXPECT_EQ(errors.count(), 0) << (errors.isEmpty() ? "" : errors.first().first().toString().toStdString());
    const auto opening = std::find(states.begin(), states.end(), State::Opening);
    const auto ended = std::find(states.begin(), states.end(), State::Ended);
    EXPECT_TRUE(opening != states.end() && opening < ended) << "opened before it ended";
    EXPECT_EQ(std::count(states.begin(), states.end(), State::Failed), 0);
}

} // namespace
