// What the player says about the stream: the account on its own, then the card following a real
// media component that plays a live radio inside the test.
#include "NowPlaying.h"
#include "LiveServer.h"
#include "MediaTestKit.h"
#include "Mpris.h"
#include "NowPlayingCard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <gtest/gtest.h>

using namespace player;
using State = platform::MediaPlayer::State;

TEST(NowPlaying, StatesInWordsTheTitlesHeardAndTheTip)
{
    NowPlaying account;
    EXPECT_EQ(account.StateLine(0), "") << "nothing chosen yet";
    account.SetChannel("Late Night Jazz");
    account.SetState(State::Opening);
    EXPECT_EQ(account.StateLine(0), "Connecting\u2026");
    account.SetStation("Loop FM", 64);
    EXPECT_EQ(account.StationLine(), "Loop FM \u00b7 64 kbps");
    account.SetState(State::Playing);
    for (int i = 1; i <= 12; ++i) {
        account.SetTitle(QStringLiteral("Song %1").arg(i));
        account.SetTitle(QStringLiteral("Song %1").arg(i)); // a reconnect tells it again
    }
    EXPECT_EQ(account.Title(), "Song 12");
    ASSERT_EQ(account.History().size(), NowPlaying::HistorySize);
    EXPECT_EQ(account.History().front(), "Song 12");
    EXPECT_EQ(account.History().back(), "Song 3");
    EXPECT_EQ(account.Tip("Corvane", 0, 63), "Corvane\nLate Night Jazz: Song 12");

    // A loss: the countdown to the next attempt, the song no longer named.
    account.SetState(State::Reconnecting);
    account.SetReconnectWait(4000, 1000);
    EXPECT_EQ(account.Title(), "");
    EXPECT_EQ(account.StateLine(1000), "Reconnecting in 4 s\u2026");
    EXPECT_EQ(account.StateLine(2500), "Reconnecting in 3 s\u2026");
    EXPECT_EQ(account.StationLine(), "Loop FM \u00b7 64 kbps") << "the station stays";

    // Another channel: a fresh start, the titles heard stay.
    account.SetChannel("Dead FM");
    account.SetState(State::Opening);
    EXPECT_EQ(account.StationLine(), "");
    account.SetState(State::Failed, "Cannot connect to 127.0.0.1:9 (refused)");
    EXPECT_EQ(account.StateLine(0), "Cannot connect to 127.0.0.1:9 (refused)");
    EXPECT_EQ(account.History().size(), NowPlaying::HistorySize);
    // The tray shows 63 characters: the failure is what stays.
    EXPECT_EQ(account.Tip("A rather long operator title for the player", 0, 63),
              "Dead FM: Cannot connect to 127.0.0.1:9 (refused)");
}

// The card and the bus on a live radio: station, title, the titles heard as plain-text rows that
// copy themselves (a refused channel on the card is the player's stream test); the bus names the
// song as the recorder tags it, and a lost stream being brought back is still playing (the user did
// not stop) but names no song.
TEST(NowPlayingCard, FollowsTheStreamCopiesAHeardTitleAndTheBusNamesTheSong)
{
    QTemporaryDir dir;
    const QByteArray hostile = "<i>x</i> & <b>";
    mediatest::LiveServer server(dir, hostile + " - Song ");
    platform::MediaPlayer media(nullptr, platform::MediaPlayer::Video::Off);
    media.setReconnectWaits([](int) { return 500; });
    NowPlayingCard card(&media, [] { return QStringLiteral("Late Night Jazz"); });
    card.resize(321, 241);
    card.show();
    int toggles = 0;
    Mpris mpris(&media, {[&] { ++toggles; }, [] { return false; }, [] {}, [] {}, [] { return 50; },
                         [] { return QStringLiteral("Late Night Jazz"); }, [] {}, [] {}});

    media.setURL(server.Url());
    ASSERT_TRUE(mediatest::WaitFor([&] { return card.Account().History().size() >= 2; },
                                   3 * mediatest::Patience));
    EXPECT_EQ(card.Account().Channel(), "Late Night Jazz");
    EXPECT_EQ(card.StateLine(), "Playing");
    QLabel* newest = card.Rows().front();
    ASSERT_TRUE(newest->isVisible());
    EXPECT_EQ(newest->textFormat(), Qt::PlainText);
    EXPECT_EQ(newest->text(), card.Account().History().front());
    EXPECT_TRUE(newest->text().startsWith(QString::fromLatin1(hostile)));
    QTest::mouseClick(newest, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), card.Account().History().front());
    // From the keyboard too.
    QLabel* older = card.Rows().at(1);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(older, Qt::Key_Space);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), card.Account().History().at(1));

    QVariantMap metadata = mpris.Metadata();
    EXPECT_EQ(metadata.value("xesam:artist").toStringList(),
              QStringList{QString::fromLatin1(hostile)});
    EXPECT_TRUE(metadata.value("xesam:title").toString().startsWith("Song "));
    EXPECT_EQ(metadata.value("xesam:url").toString(), server.Url());
    server.GoAway();
    ASSERT_TRUE(mediatest::WaitFor([&] { return media.state() == State::Reconnecting; }));
    metadata = mpris.Metadata();
    EXPECT_EQ(mpris.PlaybackStatus(), "Playing");
    EXPECT_FALSE(metadata.contains("xesam:title") || metadata.contains("xesam:artist"));
    EXPECT_EQ(metadata.value("xesam:album").toString(), "Late Night Jazz");
    EXPECT_EQ(toggles, 0) << "the button keeps its state";
    ASSERT_TRUE(server.Return());
    ASSERT_TRUE(mediatest::WaitFor([&] { return mpris.Metadata().contains("xesam:artist"); },
                                   3 * mediatest::Patience));
    EXPECT_EQ(media.state(), State::Playing);
}
