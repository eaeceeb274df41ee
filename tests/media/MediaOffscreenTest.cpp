// Where Qt has no OpenGL (the offscreen platform) the component picks the software renderer by
// itself and still shows the picture.
#include "MediaTestKit.h"

#include <QOpenGLWidget>

using platform::MediaPlayer;
using namespace mediatest;

TEST(MediaOffscreenTest, SoftwareRendererIsChosenAndShowsFrames)
{
    qunsetenv("CORVANE_MPV_RENDER");
    QTemporaryDir dir;
    const QString card = MakeTestCard(dir, 20);
    QWidget window;
    window.resize(340, 260);
    auto* player = new MediaPlayer(&window);
    player->setGeometry(10, 10, 320, 240);
    EXPECT_EQ(player->findChild<QOpenGLWidget*>(), nullptr);
    QSignalSpy frames(player, &MediaPlayer::FrameShown);
    window.show();
    player->setURL(card);
    ASSERT_TRUE(WaitFor([&] { return frames.count() > 0; })) << "state " << int(player->state());
    EXPECT_TRUE(WaitFor([&] { return HasPicture(player->grab().toImage()); }));
}
