// The player with real streams from the demo station (playing, stopping and playing again are the
// whole program's test): the TV channel shows its picture in the media area, a radio after it the
// now-playing card, and a dead channel says why on the card and in the tip.
#include "FrmSysTray.h"
#include "ImageButton.h"
#include "MediaPlayer.h"
#include "NowPlayingCard.h"
#include "PlayerTestSupport.h"
#include "StationProcess.h"

#include <QSignalSpy>
#include <QTcpServer>

using namespace core;
using namespace player;
using State = platform::MediaPlayer::State;

using PlayerStreams = PlayerTest;

TEST_F(PlayerStreams, TVShowsFramesARadioAfterItTheCardAndADeadChannelSaysWhy)
{
    StationProcess station;
    ASSERT_TRUE(station.Start()) << station.output().toStdString();
    const QString radio = QString::fromLatin1(station.radioUrls().value(0));
    frmPlayer* p = Open("[Player]\r\nVolume=50\r\n");
    ASSERT_TRUE(p);
    auto* media = p->Player;

    QSignalSpy frames(media, &platform::MediaPlayer::FrameShown);
    p->PlayChannel(QString::fromLatin1(station.tvUrl()));
    EXPECT_TRUE(WaitUntil([&] { return frames.count() > 0; }));
    EXPECT_EQ(p->PlayImage(), Images::Playing);
    EXPECT_FALSE(p->Card->isVisible()) << "TV shows its picture";

    // A radio after TV: the card, never the last TV frame.
    p->PlayChannel(radio);
    EXPECT_TRUE(p->Card->isVisible());
    EXPECT_TRUE(WaitUntil([&] { return media->state() == State::Playing; }));
    EXPECT_TRUE(WaitUntil([&] { return !p->Card->Account().StationLine().isEmpty(); }));
    EXPECT_TRUE(p->Card->isVisible());
    p->ImgFullScreen_Click();
    EXPECT_TRUE(media->fullScreen());
    media->setFullScreen(false);

    // A channel whose server refuses says so on the card and in the tray's tip.
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 port = closed.serverPort();
    closed.close();
    p->PlayChannel(QStringLiteral("http://127.0.0.1:%1/").arg(port));
    EXPECT_TRUE(WaitUntil([&] { return media->state() == State::Failed; }));
    const QString refused = QStringLiteral("Cannot connect to 127.0.0.1:%1 (refused)").arg(port);
    EXPECT_EQ(p->Card->StateLine(), refused);
    auto* tray = FindWindow<FrmSysTray>(WindowName::TrayMenu);
    ASSERT_TRUE(tray);
    EXPECT_TRUE(tray->SysIcon.Tip().endsWith(refused)) << tray->SysIcon.Tip().toStdString();
}
