// Video of the media component on the shared X server: frames through both renderers, full screen
// and back, presses on the video area, and a player given an address before it is on screen.
#include "MediaTestKit.h"
#include "StationProcess.h"

#include <QApplication>
#include <QImage>

#include <memory>

using platform::MediaPlayer;
using namespace mediatest;

namespace {

// A test card playing in a player in a window. The renderer is chosen when a player is made;
// each test runs in its own process.
class VideoFixture
{
  protected:
    void Prepare(const char* renderer)
    {
        qputenv("CORVANE_MPV_RENDER", renderer);
        card = MakeTestCard(dir, 20);
        ASSERT_FALSE(card.isEmpty());
        window.resize(340, 260);
        player = new MediaPlayer(&window);
        player->setGeometry(10, 10, 320, 240);
    }

    QWidget* VideoArea() const { return player->findChild<QWidget*>(); }

    bool ShowsPicture(QWidget* area) const
    {
        return WaitFor([&] { return HasPicture(area->grab().toImage()); });
    }

    static QWidget* FullScreenWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->isFullScreen()) {
                return widget;
            }
        }
        return nullptr;
    }

    QTemporaryDir dir;
    QString card;
    QWidget window;
    MediaPlayer* player = nullptr;
};

class MediaVideoTest : public ::testing::TestWithParam<const char*>, public VideoFixture
{
  protected:
    void SetUp() override { Prepare(GetParam()); }
};

class GlVideoTest : public ::testing::Test, public VideoFixture
{
  protected:
    void SetUp() override { Prepare("gl"); }
};

} // namespace

TEST_P(MediaVideoTest, FirstFrameIsShown)
{
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    window.show();
    player->setURL(card);
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; })) << "state " << int(player->state());
    EXPECT_EQ(player->state(), State::Playing);
    EXPECT_TRUE(ShowsPicture(VideoArea()));
    EXPECT_EQ(frames.count(), 1) << "once per file";

    // Hidden (the player in the notification area) it plays on, and shows pictures once back.
    window.hide();
    QTest::qWait(500);
    EXPECT_EQ(player->state(), State::Playing);
    window.show();
    EXPECT_TRUE(ShowsPicture(VideoArea()));
}

TEST_P(MediaVideoTest, FullScreenAndBackByEscapeAndDoubleClick)
{
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    QSignalSpy presses(player, &MediaPlayer::MouseDown);
    window.show();
    player->setURL(card);
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; }));
    QWidget* area = VideoArea();

    player->setFullScreen(true);
    EXPECT_TRUE(player->fullScreen());
    QWidget* full = FullScreenWindow();
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(area->window(), full);
    EXPECT_TRUE(ShowsPicture(area));
    QTest::keyClick(full, Qt::Key_Escape);
    EXPECT_FALSE(player->fullScreen());
    EXPECT_EQ(area->parentWidget(), player);

    player->setFullScreen(true);
    ASSERT_TRUE(player->fullScreen());
    QTest::mouseDClick(area, Qt::LeftButton);
    EXPECT_FALSE(player->fullScreen());
    EXPECT_EQ(area->parentWidget(), player);
    EXPECT_EQ(presses.count(), 0) << "full screen presses do not drag the player window";

    EXPECT_TRUE(WaitFor([&] { return FullScreenWindow() == nullptr; }));
    EXPECT_EQ(player->state(), State::Playing) << "the round trips cost no playback";
    EXPECT_TRUE(ShowsPicture(area));
}

TEST_P(MediaVideoTest, PressAndReleaseOnTheVideoAreaAreReported)
{
    QSignalSpy presses(player, &MediaPlayer::MouseDown);
    QSignalSpy releases(player, &MediaPlayer::MouseUp);
    window.show();
    QWidget* area = VideoArea();
    ASSERT_NE(area, nullptr);
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(20, 30));
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(20, 30));
    ASSERT_EQ(presses.count(), 1);
    ASSERT_EQ(releases.count(), 1);
    EXPECT_EQ(presses.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(presses.at(0).at(1).toPoint(), area->mapToGlobal(QPoint(20, 30)));
    EXPECT_EQ(releases.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
}

TEST_P(MediaVideoTest, AddressGivenBeforeTheWindowShowsPlaysAndLaterShowsVideo)
{
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    player->setURL(card);
    // Hidden, it still plays (sound first); once on screen the picture comes.
    ASSERT_TRUE(WaitForState(*player, State::Playing));
    window.show();
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; })) << "state " << int(player->state());
    EXPECT_TRUE(ShowsPicture(VideoArea()));
}

TEST_P(MediaVideoTest, DestroyingWhilePlayingVideoIsClean)
{
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    window.show();
    player->setURL(card);
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; }));
    player->setFullScreen(true);
    delete player;
    player = nullptr;
    EXPECT_TRUE(WaitFor([&] { return FullScreenWindow() == nullptr; }));
    // Another player in the same process still works.
    auto next = std::make_unique<MediaPlayer>(&window);
    QSignalSpy nextFrames(next.get(), &MediaPlayer::FrameShown);
    next->setGeometry(10, 10, 320, 240);
    next->show();
    next->setURL(card);
    EXPECT_TRUE(WaitFor([&] { return nextFrames.count() > 0; }));
}

TEST_F(GlVideoTest, FullScreenWithoutSharedContextsKeepsThePicture)
{
    // Without shared contexts the view gets a new GL context in each window: the engine must
    // give up its video output and take it up again each time.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, false);
    QSignalSpy errors(player, &MediaPlayer::ErrorOccurred);
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    window.show();
    player->setURL(card);
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; }));
    QWidget* area = VideoArea();
    for (int round = 0; round < 2; ++round) {
        player->setFullScreen(true);
        ASSERT_TRUE(player->fullScreen());
        EXPECT_TRUE(ShowsPicture(area)) << "full screen, round " << round;
        player->setFullScreen(false);
        EXPECT_TRUE(ShowsPicture(area)) << "back, round " << round;
    }
    EXPECT_EQ(player->state(), State::Playing);
    EXPECT_EQ(errors.count(), 0);
}

TEST_P(MediaVideoTest, StationTvChannelShowsFrames)
{
    StationProcess station;
    ASSERT_TRUE(station.Start()) << station.output().toStdString();
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    window.show();
    player->setURL(QString::fromLatin1(station.tvUrl()));
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; })) << "state " << int(player->state());
    EXPECT_EQ(player->state(), State::Playing);
    EXPECT_TRUE(ShowsPicture(VideoArea()));
}

// A radio after TV: the old picture goes at once, none comes, and the cover (the player's
// now-playing card) is what shows, in the window and full screen.
TEST_P(MediaVideoTest, RadioAfterTvClearsThePictureAndShowsTheCover)
{
    auto* cover = new QWidget;
    player->setCover(cover);
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    window.show();
    QWidget* area = VideoArea();
    EXPECT_TRUE(cover->isVisible()) << "nothing plays yet";
    player->setURL(card);
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; }));
    EXPECT_TRUE(ShowsPicture(area));
    EXPECT_FALSE(cover->isVisible()) << "video shows its picture";

    player->setURL(MakeTone(dir, 30));
    EXPECT_TRUE(cover->isVisible());
    EXPECT_FALSE(player->pictureShown());
    EXPECT_FALSE(HasPicture(area->grab().toImage())) << "cleared at once";
    ASSERT_TRUE(WaitForState(*player, State::Playing));
    QTest::qWait(500);
    EXPECT_FALSE(HasPicture(area->grab().toImage())) << "no frame of the old stream comes back";
    EXPECT_EQ(frames.count(), 1);

    player->setFullScreen(true);
    ASSERT_NE(FullScreenWindow(), nullptr);
    EXPECT_EQ(cover->window(), FullScreenWindow());
    EXPECT_TRUE(cover->isVisible());
    EXPECT_EQ(cover->size(), FullScreenWindow()->size());
    player->setFullScreen(false);
    EXPECT_EQ(cover->parentWidget(), player);
    EXPECT_TRUE(cover->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Renderers, MediaVideoTest, ::testing::Values("gl", "sw"),
                         [](const auto& suite) { return std::string(suite.param); });
