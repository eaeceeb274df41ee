// The player's decisions without its window: reading the stored volume, the steps and what they
// leave in "Settings.ini", the stop/play toggle, autoplay and docking.
#include "PlayerLogic.h"
#include "FakeQuestions.h"
#include "Docking.h"
#include "PlayerDock.h"
#include "PlayerTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace player;

// The stored volume reads as the old runtime read its texts and is held to the engine's scale; the
// steps are tens from the stored value, each written at once; a write that fails is told once and
// the volume still applies.
TEST(PlayerLogic, TheStoredVolumeIsReadAndEachStepIsWritten)
{
    const std::pair<const char*, std::optional<int16_t>> texts[] = {
        {"abc", 0},   {"  70dB", 70},   {"-20", -20},  {"2.5", 2},     {"3.5", 4},
        {"1e2", 100}, {"32767", 32767}, {"32768", {}}, {"-32769", {}},
    };
    for (const auto& [text, expected] : texts)
        EXPECT_EQ(LeadingInteger(QString::fromLatin1(text)), expected) << text;

    TempProgramFolder folder;
    for (const auto& [stored, level, engine] :
         {std::tuple("250", 250, 100), {"-40", -40, 0}, {"55", 55, 55}, {"70000", 0, 0}}) {
        folder.Write("Settings.ini", QByteArray("[Player]\nVolume=") + stored + "\n");
        CVolume volume;
        volume.Load();
        EXPECT_EQ(std::pair(int(volume.VolumeLevel()), volume.EngineVolume()),
                  std::pair(level, engine))
            << stored;
    }

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
    EXPECT_EQ(volumeAfter("95", &CVolume::StepDown), T(85, false, stored("85")));
    EXPECT_EQ(volumeAfter("0", &CVolume::StepDown), T(0, true, stored("0")));
    // At the edge of the 16-bit range the step is skipped and the bound still applies.
    EXPECT_EQ(volumeAfter("32765", &CVolume::StepUp), T(100, true, stored("100")));

    // No value at all: a first run, audible at 50; the step creates the file.
    QFile::remove(folder.Path("Settings.ini"));
    CVolume fresh;
    fresh.Load();
    EXPECT_EQ(fresh.VolumeLevel(), 50);
    EXPECT_EQ(fresh.StepUp().Level, 60);
    EXPECT_EQ(folder.Read("Settings.ini"), stored("60"));

    AnsweredQuestions user;
    QFile::remove(folder.Path("Settings.ini"));
    ASSERT_TRUE(QDir(folder.dir.path()).mkdir("Settings.ini")); // every write fails
    CVolume unsaved;
    EXPECT_EQ(unsaved.StepUp().Level, 10);
    EXPECT_EQ(unsaved.StepUp().Level, 20);
    ASSERT_EQ(user->Messages().size(), 1) << "told once, not at every step";
    EXPECT_TRUE(user->Messages()[0].contains("Settings.ini"));
}

// Play again takes LastPath, else the address last given; autoplay only for the exact flag.
TEST(PlayerLogic, PlayAgainAndAutoplay)
{
    const PlayStep stop = NextPlayStep(false, "http://stored/", "http://given/");
    EXPECT_TRUE(!stop.Play && stop.Image == Images::Stopped && stop.PlayStopped);
    const PlayStep stored = NextPlayStep(true, "http://stored/", "http://given/");
    EXPECT_TRUE(stored.Play && stored.Image == Images::Playing && !stored.PlayStopped);
    EXPECT_EQ(stored.Address, "http://stored/");
    EXPECT_EQ(NextPlayStep(true, "", "http://given/").Address, "http://given/");

    TempProgramFolder folder;
    for (const char* flag : {"1", "", "0", "true", "11", "1.0"}) {
        folder.Write("Settings.ini", QByteArray("[CheckBox]\nAutoplay=") + flag +
                                         "\n[Path]\nLastPath=http://h:1/\n");
        EXPECT_EQ(AutoplayAddress(), flag == std::string_view("1")
                                         ? std::optional<QString>("http://h:1/")
                                         : std::nullopt)
            << flag;
    }
}

// Docked under and beside the player, overlapping it by 100 and 310 twips; by an edge of the
// screen they go to its other side, or back inside.
TEST(PlayerLogic, DockedWindowsFollowThePlayerAndStayOnTheScreen)
{
    EXPECT_EQ(core::DirectoryDockPosition(QRect(40, 100, 360, 320)), QPoint(40, 413));
    EXPECT_EQ(core::RecorderDockPosition(QRect(40, 100, 360, 320), 300), QPoint(319, 100));
    const QSize directory(360, 300), recorder(380, 330);
    auto placed = [&](QPoint player, const QRect& area = QRect(0, 0, 1920, 1080)) {
        const QRect at(player, QSize(360, 320));
        return std::pair{PlayerDock::DirectoryPlace(at, directory, area),
                         PlayerDock::RecorderPlace(at, recorder, area)};
    };
    EXPECT_EQ(placed({400, 300}), std::pair(QPoint(400, 613), QPoint(759, 300)));
    EXPECT_EQ(placed({1600, 300}), std::pair(QPoint(1560, 613), QPoint(1220, 300)));
    EXPECT_EQ(placed({-100, 300}).first, QPoint(0, 613));
    EXPECT_EQ(placed({400, -100}).second, QPoint(759, 0));
    EXPECT_EQ(placed({1560, 760}), std::pair(QPoint(1560, 460), QPoint(1180, 750)));
    // No room on either side (a low screen with a panel at its top): moved back inside.
    EXPECT_EQ(placed({0, 130}, QRect(0, 30, 1024, 500)).first, QPoint(0, 230));
}
