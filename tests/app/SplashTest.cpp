// The splash against a real HTTP server on 127.0.0.1: what lands in the program folder, what the
// status line says, and when the player window opens.
#include "AppTestSupport.h"
#include "Config.h"
#include "ProgramState.h"
#include "TestHttpServer.h"
#include "frmLoad.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using Mode = TestHttpServer::Mode;

namespace {

const QByteArray kOldChannel = "ok\r\n[Old]\r\nChannel=http://127.0.0.1:1/\r\n";
const QByteArray kOldRSettings = "ok\r\n[Info]\r\nTitle=Old\r\n";

class SplashTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Listen());
        folder.Write("Channel.ini", kOldChannel);
        folder.Write("RSettings.ini", kOldRSettings);
        SetServerURL(server.BaseUrl());
    }
    void TearDown() override
    {
        CloseAllWindows();
        ProgramEnding = false;
    }

    void SetServerURL(const QString& url)
    {
        folder.Write("Settings.ini", "[Server]\r\nURL=" + url.toUtf8() + "\r\n");
    }

    // Starts the splash and records its status line until the player window shows.
    frmLoad* Start()
    {
        splash = new frmLoad;
        QObject::connect(splash, &frmLoad::StatusChanged,
                         [this](const QString& text) { statuses << text; });
        splash->show();
        return splash;
    }
    bool WaitForPlayer()
    {
        return WaitUntil([] {
            QWidget* player = FindWindow("frmPlayer");
            return player && player->isVisible();
        });
    }
    bool SplashGone() const { return !splash || !splash->isVisible(); }

    TempProgramFolder folder;
    TestHttpServer server;
    QPointer<frmLoad> splash;
    QStringList statuses;
};

} // namespace

TEST_F(SplashTest, ValidBodiesReplaceBothFilesThenFadeOutHandsOver)
{
    const QByteArray channel("ok\r\n[Radio]\r\nOne=http://127.0.0.1:8000/\r\n\xe9t\xe9\r\n", 43);
    const QByteArray rsettings = "ok\n[Info]\nTitle=Corvane demo\n";
    server.SetRoute("/Settings/Channel.ini", {200, channel});
    server.SetRoute("/Settings/RSettings.ini", {200, rsettings});

    // What is on disk at the moment the channel list's fetch completes: the remote settings
    // were fetched and stored inside it, the channel list is not stored yet.
    QByteArray channelAtCompletion, rsettingsAtCompletion;
    Start();
    QObject::connect(&splash->iNetChannel, &InetTransfer::StateChanged, [&](int state) {
        if (state == InetTransfer::icResponseCompleted) {
            channelAtCompletion = folder.Read("Channel.ini");
            rsettingsAtCompletion = folder.Read("RSettings.ini");
        }
    });

    ASSERT_TRUE(WaitForPlayer());
    EXPECT_TRUE(WaitUntil([&] { return SplashGone(); }));
    EXPECT_EQ(folder.Read("Channel.ini"), channel);
    EXPECT_EQ(folder.Read("RSettings.ini"), rsettings);
    EXPECT_EQ(channelAtCompletion, kOldChannel);
    EXPECT_EQ(rsettingsAtCompletion, rsettings);
    EXPECT_EQ(server.requestPaths,
              (QList<QByteArray>{"/Settings/Channel.ini", "/Settings/RSettings.ini"}));
    EXPECT_EQ(statuses,
              QStringList({"Connecting...", "Host resolved.", "Updateing channel list....",
                           "Loading player...",
                           "Loading player...", // channel list's response
                           "Connecting...", "Host resolved.", "Updateing channel list....",
                           "Update successfully!!", "Loading player...", "", ""}));
    // The fade-out ran to its end before the hand-over.
    EXPECT_EQ(FadeTarget, 0);
    EXPECT_LT(FadeAlpha, 0);
    EXPECT_EQ(ServerURL, server.BaseUrl());
}

TEST_F(SplashTest, BodiesWithoutTheLowerCaseMarkerLeaveTheFilesAlone)
{
    server.SetRoute("/Settings/Channel.ini", {200, "OK\r\n[Radio]\r\nOne=x\r\n"});
    server.SetRoute("/Settings/RSettings.ini", {404, "<html><body>404 Not Found</body></html>"});
    Start();
    ASSERT_TRUE(WaitForPlayer());
    EXPECT_EQ(folder.Read("Channel.ini"), kOldChannel);
    EXPECT_EQ(folder.Read("RSettings.ini"), kOldRSettings);
    EXPECT_EQ(FadeTarget, 0) << "the sequence goes on normally, with the fade-out";
}

TEST_F(SplashTest, ServerDownReportsTheErrorAndOpensThePlayerAtOnce)
{
    server.Close();
    Start();
    ASSERT_TRUE(WaitForPlayer());
    EXPECT_TRUE(WaitUntil([&] { return SplashGone(); }));
    ASSERT_FALSE(statuses.isEmpty());
    EXPECT_TRUE(statuses.last().startsWith("Error ")) << statuses.last().toStdString();
    EXPECT_GT(statuses.last().size(), 6) << "a reason follows";
    EXPECT_EQ(FadeTarget, 255) << "no fade-out";
    EXPECT_EQ(folder.Read("Channel.ini"), kOldChannel);
    EXPECT_EQ(folder.Read("RSettings.ini"), kOldRSettings);
}

TEST_F(SplashTest, FailingSecondDownloadStillStoresTheChannelList)
{
    server.SetRoute("/Settings/Channel.ini", {200, "ok new"});
    server.SetRoute("/Settings/RSettings.ini", {200, "ok cut", Mode::ShortBody});
    Start();
    QString reason;
    QObject::connect(&splash->InetRSettings, &InetTransfer::StateChanged, [&](int state) {
        if (state == InetTransfer::icError)
            reason = splash->InetRSettings.ResponseInfo();
    });
    ASSERT_TRUE(WaitForPlayer());
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(statuses.contains(QStringLiteral("Error ") + reason));
    EXPECT_TRUE(WaitUntil([&] { return folder.Read("Channel.ini") == "ok new"; }));
    EXPECT_EQ(folder.Read("RSettings.ini"), kOldRSettings);
    EXPECT_TRUE(WaitUntil([&] { return splash.isNull(); })) << "closed once the fetch returned";
}

TEST_F(SplashTest, EmptyOrMalformedServerUrlOpensThePlayerWithAnError)
{
    for (const QString& url : {QString(), QStringLiteral("not a url"), QStringLiteral("ftp://x")}) {
        SetServerURL(url);
        statuses.clear();
        Start();
        ASSERT_TRUE(WaitForPlayer()) << url.toStdString();
        EXPECT_EQ(statuses.value(0), "Error Invalid address");
        EXPECT_EQ(FadeTarget, 255);
        EXPECT_TRUE(server.requestPaths.isEmpty());
        CloseAllWindows();
    }
    EXPECT_EQ(folder.Read("Channel.ini"), kOldChannel);
}

TEST_F(SplashTest, TrailingSlashInTheAddressStillReachesBothFiles)
{
    EXPECT_EQ(Config::SettingsFileAddress("http://h:1/", "Channel.ini"),
              "http://h:1//Settings/Channel.ini");
    EXPECT_EQ(Config::MessageAddress("http://h:1/"), "http://h:1/Settings/Message.ini");
    server.SetRoute("/Settings/Channel.ini", {200, "ok slash"});
    server.SetRoute("/Settings/RSettings.ini", {200, "ok slash too"});
    SetServerURL(server.BaseUrl() + "/");
    Start();
    ASSERT_TRUE(WaitForPlayer());
    EXPECT_EQ(ServerURL, server.BaseUrl() + "/") << "used exactly as stored";
    EXPECT_EQ(folder.Read("Channel.ini"), "ok slash");
    EXPECT_EQ(folder.Read("RSettings.ini"), "ok slash too");
}

TEST_F(SplashTest, DoubleClickOnThePictureEndsTheProgramWithoutWriting)
{
    server.SetRoute("/Settings/Channel.ini", {200, "ok never", Mode::StallInBody});
    Start();
    QObject::connect(&server, &TestHttpServer::RequestArrived, [&] {
        QTimer::singleShot(50, [&] { QTest::mouseDClick(splash->pic, Qt::LeftButton); });
    });
    QTimer::singleShot(15'000, [] { QCoreApplication::exit(1); }); // guard against a hang
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(ProgramEnding);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_EQ(FindWindow("frmPlayer"), nullptr);
    EXPECT_EQ(folder.Read("Channel.ini"), kOldChannel);
    EXPECT_FALSE(splash->iNetChannel.StillExecuting());
}
