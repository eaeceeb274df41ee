// The player with real streams from the demo station: a channel plays, stop really stops, play
// starts the stored address, and the TV channel shows its picture in the media area.
#include "FakeQuestions.h"
#include "ImageButton.h"
#include "MediaPlayer.h"
#include "PlayerTestSupport.h"
#include "PlayerWindows.h"
#include "ProgramState.h"
#include "StationProcess.h"
#include "frmPlayer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace core;
using namespace player;
using State = platform::MediaPlayer::State;

TEST(PlayerStreams, AChannelPlaysStopsAndTheStoredAddressPlaysAgainThenTVShowsFrames)
{
    StationProcess station;
    ASSERT_TRUE(station.Start()) << station.output().toStdString();
    ASSERT_GE(station.radioUrls().size(), 2);
    const QString radio = QString::fromLatin1(station.radioUrls()[0]);
    const QString stored = QString::fromLatin1(station.radioUrls()[1]);

    TempProgramFolder folder;
    AnsweredQuestions questions;
    folder.Write("Settings.ini",
                 "[Player]\r\nVolume=50\r\n[Path]\r\nLastPath=" + stored.toUtf8() + "\r\n");
    RegisterWindows();
    RegisterStandIns();
    auto* p = qobject_cast<frmPlayer*>(ShowWindow(WindowName::Player));
    ASSERT_TRUE(p);
    auto* media = p->Player;

    p->PlayChannel(radio);
    EXPECT_TRUE(WaitUntil([&] { return media->state() == State::Playing; }));
    p->btnPlay->click();
    EXPECT_TRUE(WaitUntil([&] { return media->state() == State::Stopped; }));
    EXPECT_TRUE(PlayStopped);
    p->btnPlay->click();
    EXPECT_EQ(media->URL(), stored);
    EXPECT_TRUE(WaitUntil([&] { return media->state() == State::Playing; }));

    QSignalSpy frames(media, &platform::MediaPlayer::FrameShown);
    p->PlayChannel(QString::fromLatin1(station.tvUrl()));
    EXPECT_TRUE(WaitUntil([&] { return frames.count() > 0; }));
    EXPECT_EQ(p->PlayImage(), Images::Playing);

    DeleteAllWindows();
    PlayStopped = false;
}
