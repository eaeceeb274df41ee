// The whole program as a person uses it, and its end from every state a person leaves it in.
// Coordinates are those of the windows' designed layout: the player's button row, its title bar
// images, the directory's two lists.
#include "DesktopSession.h"
#include "StationProcess.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>

using namespace e2e;

namespace {

const QPoint kVolumeUp{128, 292};
const QPoint kMessageExit{314, 13};
const QPoint kBrowserClose{476, 14};
const QPoint kFirstType{60, 38};
const QPoint kFirstChannel{236, 38};
const QSize kDirectorySize{300, 250};
const char* kDirectory = "Corvane_net_player";
const QPoint kFullScreen{296, 5};
const QPoint kAbout{232, 292};
const QPoint kSettings{264, 292};

QString EndingName(int Signal)
{
    return Signal == 0 ? QStringLiteral("Exit") : QString::fromLatin1(sigabbrev_np(Signal));
}

class WholeProgram : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!ToolsPresent({"xdotool", "playerctl", "dbus-daemon"}))
            GTEST_SKIP() << "needs an X server, xdotool, playerctl and dbus-daemon";
        ASSERT_TRUE(station.Start()) << station.output().toStdString();
    }

    StationProcess station;
    SessionBus bus;
};

TEST_F(WholeProgram, ListensStepsTheVolumeAnswersTheMessageHidesComesBackAndOutlivesTheStation)
{
    ASSERT_FALSE(bus.Address().isEmpty());
    ProgramUnderTest program(station.serverUrl());
    // Read by a screen reader too (below): Qt speaks AT-SPI when asked, or when the desktop says
    // one is running.
    ASSERT_TRUE(program.Start(bus.Address(), {}, {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"}));

    ASSERT_TRUE(WaitFor([&] {
        return program.Shows("Player", kPlayerSize) && program.Shows(kDirectory, kDirectorySize);
    }));

    // The operator's message slides in from the right edge; its Exit, clicked once the popup is
    // wholly on screen and still, records the message as read.
    const Window message = program.Settled("Message");
    ASSERT_FALSE(message.Id.isEmpty());
    ASSERT_TRUE(Click(message, kMessageExit));
    EXPECT_TRUE(WaitFor([&] { return !program.Shows("Message"); }));
    QFile served(station.wwwDir() + "/Settings/Message.ini");
    ASSERT_TRUE(served.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(served.readAll());
    EXPECT_TRUE(
        WaitFor([&] { return program.IniValue("Settings.ini", "Message", "Msg") == text; }));
    if (program.Shows("Browser"))
        Click(program.Find("Browser"), kBrowserClose);

    // A channel chosen in the directory plays: the station has a listener.
    const quint16 lounge = PortOf(station.radioUrls().first());
    ASSERT_TRUE(Click(program.Find(kDirectory, kDirectorySize), kFirstType));
    ASSERT_TRUE(Click(program.Find(kDirectory, kDirectorySize), kFirstChannel));
    EXPECT_TRUE(WaitFor([&] { return ConnectionsTo(program.Pid(), lounge) == 1; }));
    // Written after the player has the address, so maybe a moment after the station hears it.
    EXPECT_TRUE(WaitFor([&] {
        return program.IniValue("Settings.ini", "LastPlay", "Channel") == "Corvane Lounge";
    }));

    // A screen reader, on the accessibility bus the session starts, finds every window and
    // every control of the player and the directory named and reachable by the keyboard.
    const QStringList onBus{"DBUS_SESSION_BUS_ADDRESS=" + bus.Address()};
    const QString read =
        e2e::Run("/usr/bin/python3",
                 {qEnvironmentVariable("CORVANE_SOURCE_DIR") + "/tests/e2e/atspi-walk.py",
                  QString::number(program.Pid())},
                 onBus);
    EXPECT_TRUE(read.startsWith("ok")) << read.toStdString();

    // A first run is audible at 50, as the desktop's controls see it; a step is stored at once.
    auto playerctl = [&](const QStringList& Arguments) {
        return e2e::Run("playerctl", QStringList{"--player=corvane"} + Arguments, onBus);
    };
    EXPECT_EQ(program.IniValue("Settings.ini", "Player", "Volume"), "");
    EXPECT_TRUE(WaitFor([&] { return playerctl({"volume"}).toDouble() == 0.5; }))
        << playerctl({"volume"}).toStdString();
    ASSERT_TRUE(Click(program.Find("Player", kPlayerSize), kVolumeUp));
    EXPECT_TRUE(WaitFor(
        [&] { return program.IniValue("Settings.ini", "Player", "Volume").toInt() == 60; }));

    // The desktop's media controls see the channel and its song, and steer the player through
    // its own buttons: a pause lets go of the stream, the volume takes the buttons' steps.
    EXPECT_TRUE(WaitFor([&] { return playerctl({"status"}) == "Playing"; }));
    EXPECT_TRUE(WaitFor([&] {
        return playerctl({"metadata", "xesam:album"}) == "Corvane Lounge";
    }));
    playerctl({"pause"});
    EXPECT_TRUE(WaitFor([&] { return playerctl({"status"}) == "Stopped"; }));
    EXPECT_TRUE(WaitFor([&] { return ConnectionsTo(program.Pid(), lounge) == 0; }));
    playerctl({"play"});
    EXPECT_TRUE(WaitFor([&] { return ConnectionsTo(program.Pid(), lounge) == 1; }));
    EXPECT_TRUE(WaitFor([&] { return playerctl({"status"}) == "Playing"; }));
    playerctl({"volume", "0.5"});
    EXPECT_TRUE(WaitFor(
        [&] { return program.IniValue("Settings.ini", "Player", "Volume").toInt() == 50; }));

    // Into the notification area and back with a double click on its icon.
    ASSERT_TRUE(Click(program.Find("Player", kPlayerSize), kGoToTray));
    EXPECT_TRUE(WaitFor([&] {
        return !program.Shows("Player", kPlayerSize) && !program.Shows(kDirectory, kDirectorySize);
    }));
    Window icon;
    for (const Window& window : program.Windows()) {
        if (window.Geometry.width() <= 64 && window.Geometry.height() <= 64)
            icon = window;
    }
    ASSERT_FALSE(icon.Id.isEmpty()) << "no icon in the notification area";
    ASSERT_TRUE(Click(icon, {icon.Geometry.width() / 2, icon.Geometry.height() / 2}, 2));
    EXPECT_TRUE(WaitFor([&] {
        return program.Shows("Player", kPlayerSize) && program.Shows(kDirectory, kDirectorySize);
    }));
    EXPECT_EQ(ConnectionsTo(program.Pid(), lounge), 1) << "hiding must not stop the music";

    ASSERT_NO_FATAL_FAILURE(EndAndExpectClean(program));

    // With the station gone, the splash gives up, the player still serves the list it kept, and
    // its Exit still ends it cleanly.
    const QByteArray channels = program.Read("Channel.ini");
    ASSERT_TRUE(station.Stop(SIGTERM));
    ASSERT_TRUE(program.Start(QString())); // and no session bus at all
    ASSERT_TRUE(WaitFor([&] {
        return program.Shows("Player", kPlayerSize) && program.Shows(kDirectory, kDirectorySize);
    }));
    EXPECT_FALSE(program.Shows("Loading\\.\\.\\.", {1, 1}));
    EXPECT_EQ(program.Read("Channel.ini"), channels) << "a failed download must keep the old list";
    ASSERT_NO_FATAL_FAILURE(EndAndExpectClean(program));
}

// The program's end from every state a person leaves it in: Exit, SIGTERM, SIGINT and SIGHUP end
// it with exit status 0, every helper it started gone, and nothing said on standard error. Each
// run starts the program afresh in the same folder.
class ProgramEnd : public WholeProgram
{
  protected:
    void SetUp() override
    {
        WholeProgram::SetUp();
        QDir().mkpath(Recordings());
    }

    QString Recordings() const { return program.Folder() + QStringLiteral("/recordings"); }

    // Started afresh, playing Address at once (the last channel, autoplay); for the radio, the
    // directory has its channel chosen, for the recorder, which records a file per song.
    void StartPlaying(const QByteArray& Address)
    {
        const QByteArray chosen = Address == station.tvUrl()
                                      ? QByteArray()
                                      : "[LastPlay]\r\nType=Radio\r\nChannel=Corvane Lounge\r\n";
        QFile settings(program.Folder() + QStringLiteral("/Settings.ini"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[Server]\r\nURL=" + station.serverUrl() +
                       "\r\n[CheckBox]\r\nAutoplay=1\r\n" + "[Path]\r\nLastPath=" + Address +
                       "\r\n" + chosen + "[Record]\r\n" + "FolderPath=" + Recordings().toUtf8() +
                       "\r\nFileName=1\r\n");
        settings.close();
        ASSERT_TRUE(program.Start(bus.Address()));
        ASSERT_TRUE(WaitFor([&] { return ConnectionsTo(program.Pid(), PortOf(Address)) >= 1; }));
        ASSERT_TRUE(WaitFor([&] { return program.Shows("Player", kPlayerSize); }));
    }

    // Ends the program the way Signal names (0: the player's Exit) and expects the clean end,
    // silent on standard error.
    void EndAndExpectClean(int Signal, const QString& State)
    {
        SCOPED_TRACE((State + " / " + EndingName(Signal)).toStdString());
        ASSERT_NO_FATAL_FAILURE(e2e::EndAndExpectClean(program, Signal));
        EXPECT_EQ(program.ErrorOutput(), QByteArray()) << "a normal run prints nothing";
    }

    ProgramUnderTest program{QByteArray()};
};

// TV in full screen, in the notification area, and with every other window open and the
// recorder recording: each ended by every signal, and by the player's Exit where it is in view
// (the tray menu's Exit has its own test with the real notification area). Radio with the tray
// icon is where SIGTERM once crashed one end in two (the icon's window deleted before its icon).
TEST_F(ProgramEnd, EveryStateEndsEveryWay)
{
    const int screenWidth = e2e::Run("xdotool", {"getdisplaygeometry"}).section(' ', 0, 0).toInt();
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_NO_FATAL_FAILURE(StartPlaying(station.tvUrl()));
        // Full screen takes the picture, which comes a moment after the stream: asked again
        // until there is one to take. A click may miss a player that is going full screen just
        // then; the outcome is what counts.
        auto fullScreen = [&] {
            return std::ranges::any_of(program.Windows(), [&](const Window& window) {
                return window.Geometry.width() >= screenWidth;
            });
        };
        for (int attempt = 0; attempt < 6 && !fullScreen(); ++attempt) {
            Click(program.Find("Player", kPlayerSize), kFullScreen);
            WaitFor(fullScreen, 5);
        }
        ASSERT_TRUE(fullScreen()) << "no full screen";
        ASSERT_NO_FATAL_FAILURE(EndAndExpectClean(signal, QStringLiteral("TV in full screen")));
    }

    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_NO_FATAL_FAILURE(StartPlaying(station.radioUrls().first()));
        ASSERT_TRUE(Click(program.Find("Player", kPlayerSize), kGoToTray));
        ASSERT_TRUE(WaitFor([&] { return !program.Shows("Player", kPlayerSize); }));
        ASSERT_NO_FATAL_FAILURE(EndAndExpectClean(signal, QStringLiteral("in the tray")));
    }

    for (const int signal : {SIGTERM, SIGINT, SIGHUP, 0}) { // 0: the player's own Exit
        ASSERT_NO_FATAL_FAILURE(StartPlaying(station.radioUrls().first()));
        // The message and the viewer open by themselves (the station asks for both).
        ASSERT_TRUE(WaitFor([&] { return program.Shows("Message") && program.Shows("Browser"); }));
        ASSERT_TRUE(Click(program.Find("Player", kPlayerSize), kRecorder));
        // The recorder docks beside the player: clicked once it stands still.
        const Window recorder = program.Settled("Record");
        ASSERT_FALSE(recorder.Id.isEmpty());
        const qsizetype before = QDir(Recordings()).entryList(QDir::Files).size();
        ASSERT_TRUE(Click(recorder, kRecordButton));
        ASSERT_TRUE(WaitFor([&] {
            return QDir(Recordings()).entryList(QDir::Files).size() > before;
        })) << "not recording";
        ASSERT_TRUE(Click(program.Find("Player", kPlayerSize), kSettings));
        ASSERT_TRUE(Click(program.Find("Player", kPlayerSize), kAbout));
        ASSERT_TRUE(WaitFor([&] { return program.Shows("About", {50, 50}); }));
        ASSERT_NO_FATAL_FAILURE(
            EndAndExpectClean(signal, QStringLiteral("with every window, recording")));
    }
}

} // namespace
