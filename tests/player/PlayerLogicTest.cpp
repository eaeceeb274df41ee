// The player's decisions without its window: reading the stored volume, the steps and what they
// leave in "Settings.ini", the stop/play toggle, autoplay and docking.
#include "PlayerLogic.h"
#include "FakeQuestions.h"
#include "PlayerDock.h"
#include "PlayerTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace player;

TEST(PlayerLogic, StoredVolumeTextsReadAsTheOldRuntimeReadThem)
{
    const std::pair<const char*, std::optional<int16_t>> cases[] = {
        {"", 0},    {"abc", 0},       {"40", 40},    {"  70dB", 70}, {"-20", -20},
        {"2.5", 2}, {"3.5", 4},       {"95.5", 96},  {"1e2", 100},   {"7e", 7},
        {"+.5", 0}, {"32767", 32767}, {"32768", {}}, {"-32769", {}}, {"99999999999", {}},
        {".", 0},   {"-", 0},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(LeadingInteger(QString::fromLatin1(text)), expected) << text;
}

TEST(PlayerLogic, VolumeStepsAreTensFromTheStoredValueAndEachIsWritten)
{
    TempProgramFolder folder;
    auto volumeAfter = [&](const QByteArray& stored, auto step) {
        folder.Write("Settings.ini", "[Player]\r\nVolume=" + stored + "\r\n");
        CVolume volume;
        volume.Load();
        const CVolume::Step result = (volume.*step)();
        EXPECT_EQ(result.Level, volume.VolumeLevel());
        return std::tuple(result.Level, result.Beep, folder.Read("Settings.ini"));
    };
    auto stored = [](const char* value) {
        return QByteArray("[Player]\r\nVolume=") + value + "\r\n";
    };
    using T = std::tuple<int16_t, bool, QByteArray>;
    EXPECT_EQ(volumeAfter("0", &CVolume::StepUp), T(10, false, stored("10")));
    EXPECT_EQ(volumeAfter("90", &CVolume::StepUp), T(100, true, stored("100")));
    EXPECT_EQ(volumeAfter("100", &CVolume::StepUp), T(100, true, stored("100")));
    EXPECT_EQ(volumeAfter("95", &CVolume::StepUp), T(100, true, stored("100")));
    EXPECT_EQ(volumeAfter("95", &CVolume::StepDown), T(85, false, stored("85")));
    EXPECT_EQ(volumeAfter("10", &CVolume::StepDown), T(0, true, stored("0")));
    EXPECT_EQ(volumeAfter("0", &CVolume::StepDown), T(0, true, stored("0")));
    EXPECT_EQ(volumeAfter("15", &CVolume::StepDown), T(5, false, stored("5")));
    // At the edge of the 16-bit range the step is skipped and the bound still applies.
    EXPECT_EQ(volumeAfter("32765", &CVolume::StepUp), T(100, true, stored("100")));
    EXPECT_EQ(volumeAfter("-32765", &CVolume::StepDown), T(0, true, stored("0")));

    // No value at all (no file, no key, an empty one): a first run, audible at 50; the step
    // creates the file.
    for (const QByteArray& first : {QByteArray(), QByteArray("[Server]\r\nURL=x\r\n"),
                                    QByteArray("[Player]\r\nVolume=\r\n")}) {
        folder.Write("Settings.ini", first);
        if (first.isEmpty())
            QFile::remove(folder.dir.filePath("Settings.ini"));
        CVolume fresh;
        fresh.Load();
        EXPECT_EQ(fresh.VolumeLevel(), 50) << first.constData();
        EXPECT_EQ(fresh.StepUp().Level, 60);
        EXPECT_TRUE(folder.Read("Settings.ini").contains("[Player]\r\nVolume=60\r\n"));
    }
}

TEST(PlayerLogic, AVolumeThatCannotBeWrittenIsToldOnceAndStillApplies)
{
    TempProgramFolder folder;
    AnsweredQuestions user;
    ASSERT_TRUE(QDir(folder.dir.path()).mkdir("Settings.ini")); // every write fails
    CVolume volume;
    EXPECT_EQ(volume.StepUp().Level, 10);
    EXPECT_EQ(volume.StepUp().Level, 20);
    ASSERT_EQ(user->Messages().size(), 1) << "told once, not at every step";
    EXPECT_TRUE(user->Messages()[0].contains("Settings.ini"));
}

TEST(PlayerLogic, TheEngineGetsTheStoredVolumeHeldToItsScale)
{
    TempProgramFolder folder;
    for (const auto& [stored, level, engine] : {std::tuple("250", 250, 100),
                                                {"-40", -40, 0},
                                                {"55", 55, 55},
                                                {"0", 0, 0},
                                                {"70000", 0, 0}}) {
        folder.Write("Settings.ini", QByteArray("[Player]\nVolume=") + stored + "\n");
        CVolume volume;
        volume.Load();
        EXPECT_EQ(volume.VolumeLevel(), level) << stored;
        EXPECT_EQ(volume.EngineVolume(), engine) << stored;
    }
}

TEST(PlayerLogic, PlayAgainUsesLastPathElseTheAddressLastGiven)
{
    const PlayStep stop = NextPlayStep(false, "http://stored/", "http://given/");
    EXPECT_FALSE(stop.Play);
    EXPECT_EQ(stop.Image, Images::Stopped);
    EXPECT_TRUE(stop.PlayStopped);

    const PlayStep stored = NextPlayStep(true, "http://stored/", "http://given/");
    EXPECT_TRUE(stored.Play);
    EXPECT_EQ(stored.Address, "http://stored/");
    EXPECT_EQ(stored.Image, Images::Playing);
    EXPECT_FALSE(stored.PlayStopped);

    EXPECT_EQ(NextPlayStep(true, "", "http://given/").Address, "http://given/");
}

TEST(PlayerLogic, AutoplayOnlyForTheExactFlag)
{
    TempProgramFolder folder;
    folder.Write("Settings.ini", "[CheckBox]\nAutoplay=1\n[Path]\nLastPath=http://h:1/\n");
    EXPECT_EQ(AutoplayAddress(), QString("http://h:1/"));
    for (const char* flag : {"", "0", "true", "11", "1.0"}) {
        folder.Write("Settings.ini", QByteArray("[CheckBox]\nAutoplay=") + flag +
                                         "\n[Path]\nLastPath=http://h:1/\n");
        EXPECT_EQ(AutoplayAddress(), std::nullopt) << flag;
    }
}

TEST(PlayerLogic, DockingPositionsFollowThePlayer)
{
    // 100 twips of overlap are 6 2/3 pixels: the top is 4800 + 1500 - 100 = 6200 twips.
    EXPECT_EQ(DirectoryDockPosition(QRect(40, 100, 360, 320)), QPoint(40, 413));
    // Left = 600 + 4500 - 310 twips = 4790 twips.
    EXPECT_EQ(RecorderDockPosition(QRect(40, 100, 360, 320), 300), QPoint(319, 100));
}

// A player by an edge of the screen: the docked windows go to its other side, or back inside.
TEST(PlayerLogic, DockedWindowsStayOnTheScreenAtEveryEdge)
{
    const QRect screen(0, 0, 1920, 1080);
    const QSize directory(360, 300), recorder(380, 330);
    auto placed = [&](QPoint player, const QRect& area = QRect(0, 0, 1920, 1080)) {
        const QRect at(player, QSize(360, 320));
        return std::pair{PlayerDock::DirectoryPlace(at, directory, area),
                         PlayerDock::RecorderPlace(at, recorder, area)};
    };
    // In the middle, where they always went.
    const QRect middle(400, 300, 360, 320);
    EXPECT_EQ(placed(middle.topLeft()),
              std::pair(DirectoryDockPosition(middle), RecorderDockPosition(middle, 380)));
    // Bottom edge: the directory above the player, touching it.
    EXPECT_EQ(placed({400, 760}).first, QPoint(400, 460));
    // Right edge: the recorder left of the player, the directory pushed back in.
    EXPECT_EQ(placed({1600, 300}).second, QPoint(1220, 300));
    EXPECT_EQ(placed({1600, 300}).first, QPoint(1560, 613));
    // Left and top edges, the player partly off the screen: both back inside.
    EXPECT_EQ(placed({-100, 300}).first, QPoint(0, 613));
    EXPECT_EQ(placed({400, -100}).second, QPoint(759, 0));
    // The bottom-right corner: both on the other side.
    EXPECT_EQ(placed({1560, 760}), std::pair(QPoint(1560, 460), QPoint(1180, 750)));
    // No room on either side (a low screen with a panel at its top): moved back inside.
    EXPECT_EQ(placed({0, 130}, QRect(0, 30, 1024, 500)).first, QPoint(0, 230));
    // Every place lies inside the screen.
    for (const QPoint player : {QPoint(0, 0), QPoint(1560, 0), QPoint(0, 760), QPoint(1560, 760)}) {
        const auto [down, side] = placed(player);
        EXPECT_TRUE(screen.contains(QRect(down, directory))) << down.x() << "," << down.y();
        EXPECT_TRUE(screen.contains(QRect(side, recorder))) << side.x() << "," << side.y();
    }
}
