// Playback state, errors, volume and titles of the media component, with the real libmpv and no
// video output.
#include "LiveServer.h"
#include "MediaTestKit.h"
#include "StreamError.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

using platform::MediaPlayer;
using namespace mediatest;

namespace {

std::unique_ptr<MediaPlayer> AudioPlayer()
{
    return std::make_unique<MediaPlayer>(nullptr, MediaPlayer::Video::Off);
}

// A port nobody listens on: taken from the system, then given back.
quint16 RefusedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

} // namespace

// An address that cannot play fails with its cause named, not just "loading failed", and is not
// brought back. This machine has no sound card: ALSA cannot open, and playback must go on
// regardless. The file that plays is the message popup's chime, which plays with this component.
TEST(MediaPlayerTest, BadAddressesFailWithTheirCauseAndAFilePlaysToItsEndWithoutASoundDevice)
{
    QTemporaryDir dir;
    qputenv("CORVANE_MPV_AO", "alsa");
    auto player = AudioPlayer();
    qputenv("CORVANE_MPV_AO", "null");
    const quint16 port = RefusedPort();
    const QList<QPair<QString, QString>> bad{
        {QStringLiteral("http://127.0.0.1:%1/").arg(port), QString::number(port)},
        {dir.filePath(QStringLiteral("no such file.mp3")), QStringLiteral("no such file.mp3")}};
    for (const auto& [url, cause] : bad) {
        SCOPED_TRACE(url.toStdString());
        StateLog log(*player);
        QSignalSpy errors(player.get(), &MediaPlayer::ErrorOccurred);
        player->setURL(url);
        ASSERT_TRUE(WaitForState(*player, State::Failed));
        ASSERT_EQ(errors.count(), 1);
        EXPECT_TRUE(errors.at(0).at(0).toString().contains(cause))
            << errors.at(0).at(0).toString().toStdString();
        EXPECT_EQ(player->errorText(), errors.at(0).at(0).toString());
        EXPECT_FALSE(log.Saw(State::Playing));
        EXPECT_FALSE(log.Saw(State::Reconnecting)) << "what never played is not brought back";
    }

    // A failure leaves the player usable.
    const QString tone =
        qEnvironmentVariable("CORVANE_BINARY_DIR") + QStringLiteral("/bin/msg.wav");
    StateLog log(*player);
    QSignalSpy errors(player.get(), &MediaPlayer::ErrorOccurred);
    player->setURL(tone);
    EXPECT_EQ(player->URL(), tone);
    ASSERT_TRUE(WaitForState(*player, State::Ended));
    EXPECT_EQ(log.states, (std::vector<State>{State::Opening, State::Playing, State::Ended}));
    EXPECT_EQ(errors.count(), 0);
    EXPECT_EQ(player->URL(), tone) << "the address stays after the end";

    // A playlist (stations often hand out .m3u and .pls) is no end in itself: its entry plays.
    QFile list(dir.filePath(QStringLiteral("station.m3u")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(tone.toUtf8() + '\n');
    list.close();
    log.states.clear();
    player->setURL(list.fileName());
    ASSERT_TRUE(WaitForState(*player, State::Ended));
    EXPECT_EQ(log.states, (std::vector<State>{State::Opening, State::Playing, State::Ended}));
    EXPECT_EQ(errors.count(), 0);
}

// What the engine says, as a listener reads it.
TEST(MediaPlayerTest, FailuresReadAsOneLine)
{
    const QString url = QStringLiteral("http://radio.example:8000/live");
    EXPECT_EQ(platform::ShortStreamError("Connection to tcp://radio.example:8000?timeout=10000000 "
                                         "failed: Connection timed out",
                                         url),
              "Cannot connect to radio.example:8000 (no answer)");
    EXPECT_EQ(platform::ShortStreamError("Failed to resolve hostname radio.example", url),
              "Cannot find radio.example");
    EXPECT_EQ(platform::ShortStreamError("HTTP error 404 Not Found\nFailed to open", url),
              "radio.example:8000 answered 404 Not Found");
    const QString longText = QString(200, QLatin1Char('x')) + QStringLiteral("\nsecond line");
    EXPECT_EQ(platform::ShortStreamError(longText, url).size(), 90);
    EXPECT_FALSE(platform::ShortStreamError(longText, url).contains(QLatin1Char('\n')));
}

// A stop keeps the address and an empty address stops; another address reports only itself; the
// volume is clamped, and what is set while nothing plays holds for what plays next.
TEST(MediaPlayerTest, StopSwitchVolumeAndMute)
{
    QTemporaryDir dir;
    const QString tone = MakeTone(dir, 60);
    auto player = AudioPlayer();
    player->setURL(tone);
    ASSERT_TRUE(WaitForState(*player, State::Playing));
    player->stop();
    EXPECT_EQ(player->state(), State::Stopped);
    EXPECT_EQ(player->URL(), tone);

    // A stop's late report from the engine does not spoil the next start.
    player->setURL(player->URL());
    ASSERT_TRUE(WaitForState(*player, State::Playing));
    StateLog log(*player);
    player->setURL(MakeTone(dir, 1));
    ASSERT_TRUE(WaitForState(*player, State::Ended));
    EXPECT_EQ(log.states, (std::vector<State>{State::Opening, State::Playing, State::Ended}))
        << "the replaced file's end is not the player's stop";

    player->setURL(tone);
    ASSERT_TRUE(WaitForState(*player, State::Playing));
    player->setURL(QString());
    EXPECT_EQ(player->state(), State::Stopped);
    EXPECT_TRUE(player->URL().isEmpty());
    QTest::qWait(300);
    EXPECT_EQ(player->state(), State::Stopped) << "nothing plays on after the stop";
    EXPECT_FALSE(log.Saw(State::Failed));

    player->setVolume(150);
    EXPECT_EQ(player->volume(), 100);
    player->setVolume(-20);
    EXPECT_EQ(player->volume(), 0);
    player->setMute(true);
    player->setURL(MakeTone(dir, 1));
    ASSERT_TRUE(WaitForState(*player, State::Ended));
    EXPECT_EQ(player->volume(), 0);
    EXPECT_TRUE(player->mute());
    player->setMute(false);
    EXPECT_FALSE(player->mute());
}

TEST(MediaPlayerTest, DestroyingWhileBusyReturnsPromptly)
{
    // A server that accepts and then says nothing: the engine is still opening when it goes.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    auto player = AudioPlayer();
    player->setURL(QStringLiteral("http://127.0.0.1:%1/stream").arg(silent.serverPort()));
    ASSERT_TRUE(WaitFor([&] { return silent.hasPendingConnections(); }));
    EXPECT_EQ(player->state(), State::Opening);
    player.reset();
    // The engine's threads are gone and the connection with them.
    EXPECT_TRUE(WaitFor([&] {
        QTcpSocket* socket = silent.nextPendingConnection();
        return socket && (socket->state() == QAbstractSocket::UnconnectedState ||
                          socket->waitForDisconnected(100));
    }));
}

// A live stream's titles arrive; lost while it should play (the server went away, or went quiet)
// it is opened again after each wait until it plays; the station's name and bitrate stay. A stop
// or another address during a wait drops the reconnect.
TEST(MediaPlayerTest, LiveStreamComesBackAfterADropAndAStall)
{
    QTemporaryDir dir;
    LiveServer server(dir);
    auto player = AudioPlayer();
    player->setReconnectWaits([](int) { return 200; });
    player->setStallTimeout(1.5);
    QList<int> waits;
    QObject::connect(player.get(), &MediaPlayer::Reconnecting, [&](int ms) { waits << ms; });
    QStringList titles;
    QObject::connect(player.get(), &MediaPlayer::TitleChanged,
                     [&](const QString& title) { titles << title; });
    StateLog log(*player);

    player->setURL(server.Url());
    ASSERT_TRUE(WaitForState(*player, State::Playing));
    EXPECT_TRUE(WaitFor([&] { return player->stationKbps() == 64; }));
    EXPECT_EQ(player->stationName(), QStringLiteral("Loop FM"));
    ASSERT_TRUE(WaitFor([&] { return titles.size() >= 2; })) << titles.join('|').toStdString();
    EXPECT_TRUE(titles.first().startsWith("Loop Artist - Song ")) << titles.first().toStdString();

    // Gone for a while: refused attempts follow one another, then the return plays.
    server.GoAway();
    ASSERT_TRUE(WaitForState(*player, State::Reconnecting));
    ASSERT_TRUE(WaitFor([&] { return waits.count(0) >= 2; }, 3 * Patience)) << "attempts";
    ASSERT_TRUE(server.Return());
    ASSERT_TRUE(WaitForState(*player, State::Playing, 4 * Patience));
    EXPECT_EQ(player->stationName(), QStringLiteral("Loop FM"));
    EXPECT_EQ(player->URL(), server.Url());

    // Quiet on the open connection: after the stall time it counts as lost and comes back.
    const int connections = server.Connections();
    server.Stall();
    ASSERT_TRUE(WaitForState(*player, State::Reconnecting, 3 * Patience));
    ASSERT_TRUE(WaitForState(*player, State::Playing, 3 * Patience));
    EXPECT_EQ(server.Connections(), connections + 1) << "one attempt at a time";
    EXPECT_FALSE(log.Saw(State::Ended));
    EXPECT_FALSE(log.Saw(State::Failed));

    // A stop during a wait: nothing more is tried.
    player->setReconnectWaits([](int) { return 1000; });
    server.GoAway();
    ASSERT_TRUE(WaitForState(*player, State::Reconnecting));
    player->stop();
    ASSERT_TRUE(server.Return());
    const int stopped = server.Connections();
    QTest::qWait(2500);
    EXPECT_EQ(server.Connections(), stopped);
    EXPECT_EQ(player->state(), State::Stopped);

    // Another address during a wait: only the new one plays.
    player->setURL(server.Url());
    ASSERT_TRUE(WaitForState(*player, State::Playing));
    server.GoAway();
    ASSERT_TRUE(WaitForState(*player, State::Reconnecting));
    player->setURL(MakeTone(dir, 1));
    ASSERT_TRUE(WaitForState(*player, State::Ended)) << "a file that ends, ends";
    ASSERT_TRUE(server.Return());
    const int switched = server.Connections();
    QTest::qWait(2500);
    EXPECT_EQ(server.Connections(), switched);
    EXPECT_EQ(player->state(), State::Ended);
}
