// The bus side of the player on its own: requests become button presses, never anything else.
#include "Mpris.h"
#include "MediaPlayer.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

namespace {

// The player's buttons as plain state: the volume in tens, the stop/play toggle.
struct Buttons
{
    int level = 0;
    bool stopped = false;
    int toggles = 0;
    int presses = 0;
    player::MprisHooks Hooks()
    {
        return {[this] { ++toggles, stopped = !stopped; },
                [this] { return stopped; },
                [this] { ++presses, level = std::min(level + 10, 100); },
                [this] { ++presses, level = std::max(level - 10, 0); },
                [this] { return level; },
                [] { return QStringLiteral("Corvane Lounge"); },
                [] {},
                [] {}};
    }
};

// Volume requests take the buttons' steps to the nearest level; play, pause and stop press the
// stop/play button only when it changes something.
TEST(Mpris, RequestsPressTheButtonsOnlyAsFarAsTheyChangeSomething)
{
    platform::MediaPlayer media(nullptr, platform::MediaPlayer::Video::Off);
    Buttons buttons;
    player::Mpris mpris(&media, buttons.Hooks());
    mpris.SetVolume(0.5);
    EXPECT_EQ(buttons.level, 50);
    EXPECT_EQ(buttons.presses, 5);
    // Halfway between two steps: it stays, rather than swinging up and down.
    buttons.presses = 0;
    mpris.SetVolume(0.55);
    EXPECT_EQ(buttons.level, 50);
    EXPECT_EQ(buttons.presses, 0);
    mpris.SetVolume(7.0); // out of range: held to full
    EXPECT_EQ(buttons.level, 100);
    mpris.SetVolume(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(buttons.level, 100);
    // A stored level beyond the scale reads as full.
    buttons.level = 250;
    EXPECT_DOUBLE_EQ(mpris.Volume(), 1.0);

    // Nothing sounds although the button says "playing": Play presses twice, stop then play.
    mpris.Play();
    EXPECT_EQ(buttons.toggles, 2);
    EXPECT_FALSE(buttons.stopped);
    mpris.Stop();
    EXPECT_TRUE(buttons.stopped);
    EXPECT_EQ(mpris.PlaybackStatus(), "Stopped");
    mpris.Pause(); // already stopped: no press, which would start it again
    mpris.Stop();
    EXPECT_EQ(buttons.toggles, 3);
    mpris.PlayPause();
    EXPECT_FALSE(buttons.stopped);
    EXPECT_EQ(buttons.toggles, 4);
    // The metadata name the channel until the stream names its song.
    EXPECT_EQ(mpris.Metadata().value("xesam:title").toString(), "Corvane Lounge");
    EXPECT_EQ(mpris.Metadata().value("xesam:album").toString(), "Corvane Lounge");
}

} // namespace
