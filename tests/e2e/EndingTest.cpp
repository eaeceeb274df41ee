// The program's end from every state a person leaves it in: Exit, SIGTERM, SIGINT and SIGHUP end
// it with exit status 0, every helper it started gone, and nothing said on standard error.
// One station for all runs; each run starts the program afresh in the same folder.
#include "DesktopSession.h"
#include "StationProcess.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

using namespace e2e;

namespace {

const QPoint kFullScreen{296, 5};
const QPoint kAbout{232, 292};
const QPoint kSettings{264, 292};

// 0 stands for the program's own Exit.
const int kEndings[] = {SIGTERM, SIGINT, SIGHUP, 0};

QString EndingName(int Signal)
{
    return Signal == 0 ? QStringLiteral("Exit") : QString::fromLatin1(sigabbrev_np(Signal));
}

class ProgramEnd : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!ToolsPresent({"xdotool", "dbus-daemon"}))
            GTEST_SKIP() << "needs an X server, xdotool and dbus-daemon";
        ASSERT_TRUE(station.Start()) << station.output().toStdString();
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

    StationProcess station;
    SessionBus bus;
    ProgramUnderTest program{QByteArray()};
};

} // namespace

// Playing radio, where SIGTERM once crashed one end in two (the tray icon's window deleted
// before its icon): twenty ends, every kind in turn.
TEST_F(ProgramEnd, TwentyEndsWhilePlayingRadio)
{
    for (int run = 0; run < 20; ++run) {
        ASSERT_NO_FATAL_FAILURE(StartPlaying(station.radioUrls().first()));
        ASSERT_NO_FATAL_FAILURE(
            EndAndExpectClean(kEndings[run % 4], QStringLiteral("radio, run %1").arg(run + 1)));
    }
}

// TV in full screen, in the notification area, and with every other window open and the
// recorder recording: each ended by every signal, and by the player's Exit where it is in view
// (the tray menu's Exit has its own test with the real notification area).
TEST_F(ProgramEnd, EveryStateEndsEveryWay)
{
    const int screenWidth = e2e::Run("xdotool", {"getdisplaygeometry"}).section(' ', 0, 0).toInt();
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_NO_FATAL_FAILURE(StartPlaying(station.tvUrl()));
        // Full screen takes the picture, which comes a moment after the stream: asked again
        // until there is one to take.
        auto fullScreen = [&] {
            for (const Window& window : program.Windows()) {
                if (window.Geometry.width() >= screenWidth)
                    return true;
            }
            return false;
        };
        for (int attempt = 0; attempt < 6 && !fullScreen(); ++attempt) {
            ASSERT_TRUE(Click(program.Find("Player", kPlayerSize), kFullScreen));
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

    for (const int signal : kEndings) {
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
