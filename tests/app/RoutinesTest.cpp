// The shared routines, the configuration keys and the start-up environment.
#include "AppTestSupport.h"
#include "Config.h"
#include "InetTransfer.h"
#include "MyFunction.h"
#include "ProgramState.h"
#include "StartupEnvironment.h"
#include "TestHttpServer.h"
#include "btnFunction.h"

#include <QLabel>
#include <QScreen>
#include <gtest/gtest.h>
#include <map>

TEST(AddressSplitting, GetPortAndGetHostFollowTheirTextOperations)
{
    EXPECT_EQ(GetPort("http://10.0.0.1:8000/"), "8000");
    EXPECT_EQ(GetHost("http://10.0.0.1:8000/"), "10.0.0.1");
    EXPECT_EQ(GetPort("http://radio.example.org:8080/"), "8080");
    EXPECT_EQ(GetHost("http://radio.example.org:8080/"), "radio.example.org");
    // A path after the port stays attached, without its slashes.
    EXPECT_EQ(GetPort("http://10.0.0.1:8000/stream"), "8000stream");
    // ...and GetHost, removing that text, finds nothing to remove: recording needs the
    // "host:port/" form, as the channel list promises.
    EXPECT_EQ(GetHost("http://10.0.0.1:8000/stream"), "10.0.0.18000stream");
    // No port: the last ":" is the scheme's, so the "port" is the host.
    EXPECT_EQ(GetPort("http://radio.example.org/"), "radio.example.org");
    // No ":" at all: the address without its slashes.
    EXPECT_EQ(GetPort("radio/live/"), "radiolive");
    EXPECT_EQ(GetPort(""), "");
    EXPECT_EQ(GetHost(""), "");
}

TEST(Configuration, FreshFolderReadsEmptyAndTheFirstWriteCreatesSettings)
{
    TempProgramFolder folder;
    for (const Config::Key& key :
         {Config::ServerURL, Config::LastPlayType, Config::LastPlayChannel, Config::PlayerVolume,
          Config::Autoplay, Config::LastPath, Config::LastMessage, Config::RecordFolder,
          Config::RecordFilePerSong, Config::AdURL, Config::AdClickURL, Config::InfoTitle,
          Config::InfoViewerShow, Config::InfoViewerHomePage, Config::MessageFontSize,
          Config::MessageFontColor})
        EXPECT_EQ(Config::Read(key), "") << key.Section << "/" << key.Name;
    EXPECT_FALSE(QFile::exists(folder.Path("Settings.ini")));

    EXPECT_TRUE(Config::Write(Config::PlayerVolume, "40"));
    EXPECT_TRUE(QFile::exists(folder.Path("Settings.ini")));
    EXPECT_EQ(Config::Read(Config::PlayerVolume), "40");
    EXPECT_TRUE(folder.Read("Settings.ini").contains("[Player]"));

    // The "ok" line before the first section is invisible to readers.
    folder.Write("RSettings.ini", "ok\r\n[Info]\r\nTitle=Station\r\n[InfoViewer]\r\nShow=1\r\n");
    EXPECT_EQ(Config::Read(Config::InfoTitle), "Station");
    EXPECT_TRUE(Config::IsFlagSet(Config::Read(Config::InfoViewerShow)));
    EXPECT_FALSE(Config::IsFlagSet("true"));
    EXPECT_FALSE(Config::IsFlagSet(" 1"));
}

class DownloadTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Listen());
        ServerURL = server.BaseUrl();
        folder.Write("Channel.ini", "ok old");
    }
    void TearDown() override { ServerURL.clear(); }

    TempProgramFolder folder;
    TestHttpServer server;
    InetTransfer inet;
};

TEST_F(DownloadTest, StoresOnlyBodiesThatStartWithOk)
{
    const QByteArray body("ok\r\n[A]\r\nB=\xff\x01\r\n\r\nno final break", 29);
    server.SetRoute("/Settings/Channel.ini", {200, body});
    EXPECT_TRUE(DownloadSettingsFile(inet, "Channel.ini"));
    EXPECT_EQ(folder.Read("Channel.ini"), body);

    for (const QByteArray& bad : {QByteArray("OK upper case"), QByteArray("<html>ok</html>"),
                                  QByteArray("o"), QByteArray()}) {
        server.SetRoute("/Settings/Channel.ini", {200, bad});
        EXPECT_FALSE(DownloadSettingsFile(inet, "Channel.ini"));
        EXPECT_EQ(folder.Read("Channel.ini"), body);
    }
    // No leftovers of the safe write in the folder.
    EXPECT_EQ(QDir(folder.dir.path()).entryList(QDir::Files), QStringList{"Channel.ini"});

    // A file that does not exist yet is created.
    server.SetRoute("/Settings/RSettings.ini", {200, "ok new"});
    EXPECT_TRUE(DownloadSettingsFile(inet, "RSettings.ini"));
    EXPECT_EQ(folder.Read("RSettings.ini"), "ok new");
}

TEST_F(DownloadTest, FailedTransfersAndUnwritableFoldersKeepTheOldCopy)
{
    server.SetRoute("/Settings/Channel.ini",
                    {200, "ok but cut short", TestHttpServer::Mode::ShortBody});
    EXPECT_FALSE(DownloadSettingsFile(inet, "Channel.ini"));
    EXPECT_EQ(folder.Read("Channel.ini"), "ok old");

    // The program folder vanished: nothing is written, nothing breaks.
    server.SetRoute("/Settings/Channel.ini", {200, "ok fine"});
    OverrideProgramFolder(folder.Path("gone"));
    EXPECT_FALSE(DownloadSettingsFile(inet, "Channel.ini"));
    OverrideProgramFolder(folder.dir.path());
    EXPECT_EQ(folder.Read("Channel.ini"), "ok old");
}

TEST(Windows, CenterFormCentresAndLetsLargeWindowsStickOut)
{
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window.resize(300, 201);
    CenterForm(window);
    EXPECT_NEAR(window.x(), screen.x() + (screen.width() - 300) / 2.0, 1.0);
    EXPECT_NEAR(window.y(), screen.y() + (screen.height() - 201) / 2.0, 1.0);

    window.resize(screen.width() + 200, screen.height() + 100);
    CenterForm(window);
    EXPECT_NEAR(window.x(), screen.x() - 100, 1.0);
    EXPECT_NEAR(window.y(), screen.y() - 50, 1.0);
}

TEST(Windows, UnloadAllFormsClosesEveryWindowAndEndsTheProgram)
{
    QList<QPointer<QWidget>> windows;
    for (int i = 0; i < 3; ++i) {
        auto* window = new QWidget;
        window->setAttribute(Qt::WA_DeleteOnClose);
        if (i != 1) // one stays hidden, like the tray window
            window->show();
        windows.append(window);
    }
    // A window that closes another while it closes.
    QObject::connect(windows[0], &QObject::destroyed, [&] { delete windows[2].data(); });
    QTimer::singleShot(0, [] { UnloadAllForms(); });
    QTimer::singleShot(15'000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const auto& window : windows)
        EXPECT_TRUE(window.isNull());
}

TEST(StartupEnvironment, SandboxOffForRootAndXcbPreferredUnderWayland)
{
    auto changes = [](bool root, std::map<std::string, QByteArray> env) {
        return StartupEnvironmentChanges(root, [&](const char* name) { return env[name]; });
    };
    using C = EnvironmentChange;
    EXPECT_EQ(changes(true, {}), QList<C>{C("QTWEBENGINE_DISABLE_SANDBOX", "1")});
    EXPECT_TRUE(changes(false, {}).isEmpty());
    EXPECT_TRUE(changes(true, {{"QTWEBENGINE_DISABLE_SANDBOX", "0"}}).isEmpty())
        << "the user's own choice stands";

    const std::map<std::string, QByteArray> wayland = {
        {"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}};
    EXPECT_EQ(changes(false, wayland), QList<C>{C("QT_QPA_PLATFORM", "xcb;wayland")});
    auto chosen = wayland;
    chosen["QT_QPA_PLATFORM"] = "wayland";
    EXPECT_TRUE(changes(false, chosen).isEmpty());
    auto noX = wayland;
    noX.erase("DISPLAY");
    EXPECT_TRUE(changes(false, noX).isEmpty());
    EXPECT_TRUE(changes(false, {{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}).isEmpty());
}

TEST(Windows, ShapeButtonTakesThePicturesOutlineAndSize)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::magenta);               // the top-left colour: cut away
    image.setPixel(3, 2, qRgb(0, 0, 255)); // one opaque pixel
    for (int x = 5; x < 20; ++x)           // a run to the right edge
        image.setPixel(x, 7, qRgb(255, 255, 255));
    QLabel picture;
    picture.setFrameShape(QFrame::Box);
    picture.resize(50, 50);
    picture.setPixmap(QPixmap::fromImage(image));
    QPushButton button;
    button.resize(80, 30);

    ShapeButton(picture, button);
    EXPECT_EQ(picture.size(), QSize(20, 10));
    EXPECT_EQ(picture.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(button.size(), QSize(20, 10));
    EXPECT_EQ(button.mask(), QRegion(3, 2, 1, 1).united(QRegion(5, 7, 15, 1)));

    image.fill(Qt::magenta); // nothing opaque: a plain rectangle
    picture.setPixmap(QPixmap::fromImage(image));
    ShapeButton(picture, button);
    EXPECT_TRUE(button.mask().isEmpty());
}
