// Video of the media component on the shared X server, through both renderers: no view (nor any
// OpenGL) while only sound plays, a view and frames once a video stream comes, full screen and
// back, presses on the video area. Each test runs in its own process.
#include "MediaTestKit.h"
#include "StationProcess.h"

#include <QApplication>
#include <QFile>
#include <QOpenGLContext>
#include <QOpenGLWidget>

#include <memory>

using platform::MediaPlayer;
using namespace mediatest;

namespace {

// Any OpenGL context made in this process maps a driver of Mesa's.
bool GlDriverMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("_dri.so");
}

QWidget* FullScreenWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->isFullScreen()) {
            return widget;
        }
    }
    return nullptr;
}

// A player with a cover (the now-playing card stands for it) in a window, a test card and a tone.
class MediaVideoTest : public ::testing::TestWithParam<const char*>
{
  protected:
    void SetUp() override
    {
        qputenv("CORVANE_MPV_RENDER", GetParam());
        card = MakeTestCard(dir, 30);
        ASSERT_FALSE(card.isEmpty());
        window.resize(340, 260);
        player = new MediaPlayer(&window);
        player->setGeometry(10, 10, 320, 240);
        player->setCover(cover);
    }

    // The player's own child that is not the cover: the video view, once there is one.
    QWidget* VideoArea() const
    {
        for (QWidget* child : player->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child != cover) {
                return child;
            }
        }
        return nullptr;
    }

    static bool ShowsPicture(QWidget* area)
    {
        return WaitFor([&] { return area && HasPicture(area->grab().toImage()); });
    }

    QTemporaryDir dir;
    QString card;
    QWidget window;
    MediaPlayer* player = nullptr;
    QWidget* cover = new QWidget;
};

} // namespace

// Radio, then TV, then radio again: the view comes with the first video and stays; the old
// picture goes at once when the radio comes back, and the cover shows, in the window and full
// screen.
TEST_P(MediaVideoTest, RadioHasNoViewTvGetsOneAndRadioAgainShowsTheCover)
{
    StationProcess station;
    ASSERT_TRUE(station.Start()) << station.output().toStdString();
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    window.show();
    player->setURL(QString::fromLatin1(station.radioUrls().first()));
    ASSERT_TRUE(WaitForState(*player, State::Playing));
    QTest::qWait(500);
    EXPECT_EQ(VideoArea(), nullptr);
    EXPECT_EQ(player->findChild<QOpenGLWidget*>(), nullptr);
    EXPECT_EQ(QOpenGLContext::globalShareContext(), nullptr);
    EXPECT_FALSE(GlDriverMapped());
    EXPECT_TRUE(cover->isVisible());

    player->setURL(QString::fromLatin1(station.tvUrl()));
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; })) << "state " << int(player->state());
    EXPECT_EQ(player->state(), State::Playing);
    QWidget* area = VideoArea();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(player->findChild<QOpenGLWidget*>() != nullptr, GetParam() == std::string("gl"));
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

// Given an address before it is on screen (and hidden again later, the player in the notification
// area), it plays on and shows pictures once on screen. Full screen and back by Escape and by a
// double click, each time with the picture (without shared contexts the view gets a new one in
// each window, and the engine follows); presses on the video are reported in the window and not
// full screen; a player destroyed full screen takes its window along and the next one plays.
TEST_P(MediaVideoTest, HiddenOnScreenFullScreenAndBackPressesAndDestroying)
{
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    QSignalSpy presses(player, &MediaPlayer::MouseDown);
    QSignalSpy releases(player, &MediaPlayer::MouseUp);
    QSignalSpy errors(player, &MediaPlayer::ErrorOccurred);
    player->setURL(card);
    ASSERT_TRUE(WaitForState(*player, State::Playing));
    window.show();
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; })) << "state " << int(player->state());
    EXPECT_TRUE(ShowsPicture(VideoArea()));
    EXPECT_EQ(frames.count(), 1) << "once per file";
    window.hide();
    QTest::qWait(500);
    EXPECT_EQ(player->state(), State::Playing);
    window.show();
    QWidget* area = VideoArea();
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(ShowsPicture(area));

    QTest::mousePress(area, Qt::RightButton, {}, QPoint(20, 30));
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(20, 30));
    ASSERT_EQ(presses.count(), 1);
    ASSERT_EQ(releases.count(), 1);
    EXPECT_EQ(presses.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(presses.at(0).at(1).toPoint(), area->mapToGlobal(QPoint(20, 30)));

    for (const bool byEscape : {true, false}) {
        player->setFullScreen(true);
        QWidget* full = FullScreenWindow();
        ASSERT_NE(full, nullptr);
        EXPECT_EQ(area->window(), full);
        EXPECT_TRUE(ShowsPicture(area)) << "full screen";
        if (byEscape) {
            QTest::keyClick(full, Qt::Key_Escape);
        } else {
            QTest::mouseDClick(area, Qt::LeftButton);
        }
        EXPECT_FALSE(player->fullScreen());
        EXPECT_EQ(area->parentWidget(), player);
        EXPECT_TRUE(ShowsPicture(area)) << "back";
    }
    EXPECT_EQ(presses.count(), 1) << "full screen presses do not drag the player window";
    EXPECT_EQ(player->state(), State::Playing) << "the round trips cost no playback";
    EXPECT_EQ(errors.count(), 0);

    player->setFullScreen(true);
    delete player;
    EXPECT_TRUE(WaitFor([&] { return FullScreenWindow() == nullptr; }));
    auto next = std::make_unique<MediaPlayer>(&window);
    QSignalSpy nextFrames(next.get(), &MediaPlayer::FrameShown);
    next->setGeometry(10, 10, 320, 240);
    next->show();
    next->setURL(card);
    EXPECT_TRUE(WaitFor([&] { return nextFrames.count() > 0; }));
}

INSTANTIATE_TEST_SUITE_P(Renderers, MediaVideoTest, ::testing::Values("gl", "sw"),
                         [](const auto& suite) { return std::string(suite.param); });
