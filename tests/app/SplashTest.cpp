// The splash against a real HTTP server on 127.0.0.1: what lands in the program folder, what the
// status line says, and when the player window opens.
#include "AppTestSupport.h"
#include "Config.h"
#include "ProgramState.h"
#include "TestHttpServer.h"
#include "WindowRegistry.h"
#include "frmLoad.h"

#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace app;
using namespace controls;
using namespace platform;

using Mode = TestHttpServer::Mode;

namespace {

const QByteArray kOldChannel = "ok\r\n[Old]\r\nChannel=http://127.0.0.1:1/\r\n";
const QByteArray kOldRSettings = "ok\r\n[Info]\r\nTitle=Old\r\n";

// Calls back when the player window is shown, before anything else runs.
class PlayerShowWatch : public QObject
{
  public:
    explicit PlayerShowWatch(std::function<void()> Seen) : seen(std::move(Seen))
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == "frmPlayer")
            seen();
        return false;
    }

  private:
    std::function<void()> seen;
};

class SplashTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(server.Listen()); }
    void TearDown() override { CloseAllWindows(); }

    // Starts the splash over the old files and records its status line.
    void Start(const QString& serverUrl)
    {
        folder.Write("Channel.ini", kOldChannel);
        folder.Write("RSettings.ini", kOldRSettings);
        folder.Write("Settings.ini", "[Server]\r\nURL=" + serverUrl.toUtf8() + "\r\n");
        statuses.clear();
        splash = new frmLoad;
        QObject::connect(splash, &frmLoad::StatusChanged,
                         [this](const QString& s) { statuses << s; });
        splash->show();
    }
    static bool PlayerShown()
    {
        const QWidget* player = FindWindow(QString::fromLatin1(WindowName::Player));
        return player && player->isVisible();
    }

    TempProgramFolder folder;
    TestHttpServer server;
    QPointer<frmLoad> splash;
    QStringList statuses;
    // What the player found in the program folder, and how opaque the splash was, as it opened.
    QByteArray channelAtHandOver;
    double splashOpacityAtHandOver = -1;
    PlayerShowWatch watch{[this] {
        channelAtHandOver = folder.Read("Channel.ini");
        splashOpacityAtHandOver = splash ? splash->windowOpacity() : -1;
    }};
};

} // namespace

TEST_F(SplashTest, ValidBodiesReplaceBothFilesThenFadeOutHandsOver)
{
    const QByteArray channel("ok\r\n[Radio]\r\nOne=http://127.0.0.1:8000/\r\n\xe9t\xe9\r\n", 43);
    const QByteArray rsettings = "ok\n[Info]\nTitle=Corvane demo\n";
    server.SetRoute("/Settings/Channel.ini", {200, channel});
    server.SetRoute("/Settings/RSettings.ini", {200, rsettings});
    Start(server.BaseUrl() + "/"); // used as stored: the doubled slash, which servers accept

    ASSERT_TRUE(WaitUntil([&] { return PlayerShown() && splash.isNull(); }));
    EXPECT_EQ(Config::SettingsFileAddress(State().ServerURL(), "Channel.ini"),
              server.BaseUrl() + "//Settings/Channel.ini");
    EXPECT_EQ(folder.Read("Channel.ini"), channel);
    EXPECT_EQ(folder.Read("RSettings.ini"), rsettings);
    EXPECT_EQ(Config::Read(Config::InfoTitle), "Corvane demo") << "the marker line is invisible";
    // The second download starts at the first one's response (its "Loading player..."), and the
    // first one's completion (its emptied line) waits for the second's.
    EXPECT_EQ(statuses,
              QStringList({"Connecting...", "Host resolved.", "Updateing channel list....",
                           "Loading player...",
                           "Loading player...", // channel list's response
                           "Connecting...", "Host resolved.", "Updateing channel list....",
                           "Update successfully!!", "Loading player...", "", ""}));
    EXPECT_EQ(splashOpacityAtHandOver, 0.0) << "the fade-out ran to its end before the hand-over";
    EXPECT_EQ(channelAtHandOver, channel);
}

TEST_F(SplashTest, BadBodiesAndErrorsKeepTheOldFilesAndErrorsSkipTheFadeOut)
{
    using Route = TestHttpServer::Route;
    const QString base = server.BaseUrl();
    // Address, answers for the two files, the channel list afterwards, whether an error shows.
    const std::tuple<QString, Route, Route, QByteArray, bool> cases[] = {
        {base, {200, "OK\r\n[Radio]\r\n"}, {404, "<html>404</html>"}, kOldChannel, false},
        // The remote settings fail after the channel list's body arrived: the player opens
        // once that body is stored.
        {base, {200, "ok new"}, {200, "ok cut", Mode::ShortBody}, "ok new", true},
        {"http://127.0.0.1:1", {}, {}, kOldChannel, true}, // server down
        {"", {}, {}, kOldChannel, true},                   // first run: no address yet
    };
    for (const auto& [url, channel, rsettings, channelAfter, error] : cases) {
        SCOPED_TRACE(url.toStdString() + " " + channel.body.toStdString());
        server.SetRoute("/Settings/Channel.ini", channel);
        server.SetRoute("/Settings/RSettings.ini", rsettings);
        Start(url);
        ASSERT_TRUE(WaitUntil([&] { return PlayerShown() && splash.isNull(); }));
        EXPECT_EQ(channelAtHandOver, channelAfter) << "the player reads the list as stored";
        EXPECT_EQ(folder.Read("Channel.ini"), channelAfter);
        EXPECT_EQ(folder.Read("RSettings.ini"), kOldRSettings);
        EXPECT_EQ(statuses.filter(QRegularExpression("^Error \\S")).size(), error ? 1 : 0)
            << statuses.join('|').toStdString();
        // An error skips the fade-out: the splash is still visible when the player opens.
        if (error)
            EXPECT_GT(splashOpacityAtHandOver, 0.0);
        else
            EXPECT_EQ(splashOpacityAtHandOver, 0.0);
        CloseAllWindows();
    }
}

TEST_F(SplashTest, DoubleClickDuringTheDownloadsEndsTheProgramAndStoresNothing)
{
    // The channel list has arrived whole; the remote settings never answer, and the click lands
    // while their fetch runs inside the list's.
    server.SetRoute("/Settings/Channel.ini", {200, "ok new"});
    server.SetRoute("/Settings/RSettings.ini", {200, "ok", Mode::Stall});
    Start(server.BaseUrl());
    QObject::connect(splash, &frmLoad::StatusChanged, [&](const QString& s) {
        if (s == "Update successfully!!")
            QTimer::singleShot(0, [&] { QTest::mouseDClick(splash->pic, Qt::LeftButton); });
    });
    QTimer::singleShot(15'000, [] { QCoreApplication::exit(1); }); // guard against a hang
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(PlayerShown()) << "no hand-over after the end";
    EXPECT_FALSE(splash->iNetChannel.StillExecuting());
    EXPECT_FALSE(splash->InetRSettings.StillExecuting());
    EXPECT_EQ(folder.Read("Channel.ini"), kOldChannel) << "nothing written after the end";
    EXPECT_EQ(folder.Read("RSettings.ini"), kOldRSettings);
}
