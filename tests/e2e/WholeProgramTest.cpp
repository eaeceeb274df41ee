// The whole program as a person uses it. Coordinates are those of the windows' designed layout:
// the player's button row, its title bar images, the directory's two lists.
#include "DesktopSession.h"
#include "StationProcess.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <gtest/gtest.h>

using namespace e2e;

namespace {

const QPoint kVolumeUp{128, 292};
const QPoint kMessageExit{314, 13};
const QPoint kBrowserClose{476, 14};
const QPoint kFirstType{60, 38};
const QPoint kFirstChannel{236, 38};
const QSize kDirectorySize{300, 250};
const char* kDirectory = "Corvane_net_player";

QByteArray ReadFile(const QString& Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
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

TEST_F(WholeProgram, ListensStepsTheVolumeAnswersTheMessageHidesAndComesBack)
{
    ASSERT_FALSE(bus.Address().isEmpty());
    ProgramUnderTest program(station.serverUrl());
    ASSERT_TRUE(program.Start(bus.Address()));

    // The player and, docked under it, the directory; both files exactly as the station serves
    // them.
    ASSERT_TRUE(WaitFor([&] { return program.Shows("Player", kPlayerSize); }));
    ASSERT_TRUE(WaitFor([&] { return program.Shows(kDirectory, kDirectorySize); }));
    const Window player = program.Find("Player", kPlayerSize);
    const Window directory = program.Find(kDirectory, kDirectorySize);
    EXPECT_EQ(directory.Geometry.left(), player.Geometry.left());
    EXPECT_GT(directory.Geometry.top(), player.Geometry.center().y());
    const QString served = station.wwwDir() + QStringLiteral("/Settings/");
    EXPECT_EQ(program.Read("Channel.ini"), ReadFile(served + "Channel.ini"));
    EXPECT_EQ(program.Read("RSettings.ini"), ReadFile(served + "RSettings.ini"));

    // The operator's message slides in from the right edge; its Exit, clicked once the popup is
    // wholly on screen and still, records the message as read.
    const Window message = program.Settled("Message");
    ASSERT_FALSE(message.Id.isEmpty());
    ASSERT_TRUE(Click(message, kMessageExit));
    EXPECT_TRUE(WaitFor([&] { return !program.Shows("Message"); }));
    EXPECT_TRUE(WaitFor([&] {
        return program.IniValue("Settings.ini", "Message", "Msg") ==
               QString::fromUtf8(ReadFile(station.wwwDir() + "/Settings/Message.ini"));
    }));
    if (program.Shows("Browser"))
        Click(program.Find("Browser"), kBrowserClose);

    // A channel chosen in the directory plays: the station has a listener.
    const quint16 lounge = PortOf(station.radioUrls().first());
    ASSERT_TRUE(Click(program.Find(kDirectory, kDirectorySize), kFirstType));
    ASSERT_TRUE(Click(program.Find(kDirectory, kDirectorySize), kFirstChannel));
    EXPECT_TRUE(WaitFor([&] { return ConnectionsTo(program.Pid(), lounge) == 1; }));
    // Remembered just after the stream was started: the stream's thread may connect first.
    EXPECT_TRUE(WaitFor([&] {
        return program.IniValue("Settings.ini", "LastPlay", "Channel") == "Corvane Lounge";
    }));

    // A first run is audible: no volume stored yet gives 50, as the desktop's controls see it.
    // A volume step lands in "Settings.ini" at once.
    const QStringList onBus{"DBUS_SESSION_BUS_ADDRESS=" + bus.Address()};
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
    // The song as the recorder tags it: "Artist - Title" split, the stream's address with it.
    EXPECT_TRUE(WaitFor([&] { return !playerctl({"metadata", "xesam:artist"}).isEmpty(); }));
    EXPECT_FALSE(playerctl({"metadata", "xesam:title"}).contains(" - "));
    EXPECT_TRUE(playerctl({"metadata", "xesam:url"}).contains(QStringLiteral(":%1").arg(lounge)));
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

    // Started again with the provider's autoplay settings, it plays the last channel at once
    // and the directory shows it chosen.
    QFile settings(program.Folder() + "/Settings.ini");
    ASSERT_TRUE(settings.open(QIODevice::Append));
    settings.write("[CheckBox]\r\nAutoplay=1\r\n[Path]\r\nLastPath=" + station.radioUrls().first() +
                   "\r\n");
    settings.close();
    ASSERT_TRUE(program.Start(bus.Address()));
    EXPECT_TRUE(WaitFor([&] { return ConnectionsTo(program.Pid(), lounge) == 1; }));
    ASSERT_TRUE(WaitFor([&] { return program.Shows("Player", kPlayerSize); }));
    EXPECT_TRUE(WaitFor([&] {
        return playerctl({"metadata", "xesam:album"}) == "Corvane Lounge";
    }));
    ASSERT_NO_FATAL_FAILURE(EndAndExpectClean(program));
}

TEST_F(WholeProgram, WithTheStationGoneTheSplashGivesUpAndThePlayerStillServes)
{
    // A first run leaves the operator's files; then the station stops.
    ProgramUnderTest program(station.serverUrl());
    ASSERT_TRUE(program.Start(QString())); // and no session bus at all
    ASSERT_TRUE(WaitFor([&] { return program.Shows(kDirectory, kDirectorySize); }));
    ASSERT_FALSE(PlayerWindow(program).Id.isEmpty());
    ASSERT_NO_FATAL_FAILURE(EndAndExpectClean(program));
    const QByteArray channels = program.Read("Channel.ini");
    ASSERT_TRUE(channels.contains("Corvane Lounge"));
    ASSERT_TRUE(station.Stop(SIGTERM));

    ASSERT_TRUE(program.Start(QString()));
    ASSERT_TRUE(WaitFor([&] { return program.Shows("Player", kPlayerSize); }));
    ASSERT_TRUE(WaitFor([&] { return program.Shows(kDirectory, kDirectorySize); }));
    EXPECT_FALSE(program.Shows("Loading\\.\\.\\.", {1, 1}));
    EXPECT_EQ(program.Read("Channel.ini"), channels) << "a failed download must keep the old list";
    // Its Exit still ends it cleanly.
    ASSERT_NO_FATAL_FAILURE(EndAndExpectClean(program));
}

TEST_F(WholeProgram, TheRecorderRecordsBySongWhileFfmpegListensThroughTheRelay)
{
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 8000))
            GTEST_SKIP() << "port 8000 is busy on this machine: the relay cannot be tried";
    }
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
        GTEST_SKIP() << "needs ffmpeg";
    // The user's earlier choices: a recordings folder, a file per song, the last channel.
    ProgramUnderTest program(station.serverUrl());
    const QString recordings = program.Folder() + "/recordings";
    ASSERT_TRUE(QDir().mkpath(recordings));
    QFile settings(program.Folder() + "/Settings.ini");
    ASSERT_TRUE(settings.open(QIODevice::Append));
    settings.write("[Record]\r\nFolderPath=" + recordings.toUtf8() +
                   "\r\nFileName=1\r\n[LastPlay]\r\nType=Radio\r\nChannel=Corvane Lounge\r\n");
    settings.close();
    ASSERT_TRUE(program.Start(bus.Address()));
    ASSERT_TRUE(WaitFor([&] {
        return program.Shows("Player", kPlayerSize) && program.Shows(kDirectory, kDirectorySize);
    }));

    ASSERT_TRUE(Click(program.Find("Player", kPlayerSize), kRecorder));
    ASSERT_TRUE(Click(program.Settled("Record"), kRecordButton));

    // An external player on the relay, as the recorder invites one.
    const QString heard = program.Folder() + "/heard.mp3";
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-i", "http://127.0.0.1:8000/",
                            "-c", "copy", "-f", "mp3", heard});
    ASSERT_TRUE(ffmpeg.waitForStarted(15'000));
    EXPECT_TRUE(WaitFor([&] { return QFileInfo(heard).size() > 16 * 1024; }))
        << "ffmpeg heard nothing through 127.0.0.1:8000";

    // Songs of three seconds: whole songs land in files named after their titles
    // ("Artist - Title"), never in one file, never under a made-up name.
    auto recorded = [&] {
        QStringList named;
        for (const QFileInfo& file : QDir(recordings).entryInfoList(QDir::Files)) {
            if (file.fileName().contains(" - ") && file.suffix() == "mp3" &&
                file.size() > 16 * 1024)
                named.append(file.fileName());
        }
        return named;
    };
    EXPECT_TRUE(WaitFor([&] { return recorded().size() >= 2; }, 60))
        << QDir(recordings).entryList(QDir::Files).join(", ").toStdString();
    ASSERT_TRUE(Click(program.Find("Record"), kRecordButton)); // STOP
    EXPECT_EQ(ffmpeg.state(), QProcess::Running) << "the relay dropped its listener";
    ffmpeg.terminate();
    ASSERT_TRUE(ffmpeg.waitForFinished(15'000));
    // ffmpeg ends on SIGTERM by itself, with its own status for an interrupted run.
    EXPECT_EQ(ffmpeg.exitStatus(), QProcess::NormalExit);
    ASSERT_NO_FATAL_FAILURE(EndAndExpectClean(program));
}

} // namespace
