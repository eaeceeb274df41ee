// The player window's media area: the media component, the now-playing card it shows while
// there is no picture, full screen, and the player on the session bus.
#include "Config.h"
#include "MediaPlayer.h"
#include "Mpris.h"
#include "NowPlayingCard.h"
#include "ProgramState.h"
#include "frmPlayer.h"

namespace player {

using namespace core;
using platform::MediaPlayer;

void frmPlayer::CreateMediaArea()
{
    PicPlayer = new QWidget(this);
    PicPlayer->setObjectName(QStringLiteral("PicPlayer"));
    PicPlayer->setStyleSheet(QStringLiteral("background: black;"));
    PicPlayer->setAttribute(Qt::WA_StyledBackground);
    Player = new MediaPlayer(PicPlayer, MediaPlayer::Video::On);
    Player->setObjectName(QStringLiteral("Player"));
    Card = new NowPlayingCard(Player, [] { return Config::Read(Config::LastPlayChannel); });
    Player->setCover(Card);
    FollowInTrayTip(*Card);
    connect(Player, &MediaPlayer::MouseDown, this, &frmPlayer::Player_MouseDown);
    connect(Player, &MediaPlayer::MouseUp, this, &frmPlayer::Player_MouseUp);
}

void frmPlayer::ConnectMpris()
{
    // The bus presses the same buttons.
    m_Mpris = new Mpris(Player,
                        {[this] { btnPlay_Click(); }, [] { return State().PlayStopped(); },
                         [this] { BtnVolUp_Click(); }, [this] { BtnVolDown_Click(); },
                         [this] { return int(m_Volume.VolumeLevel()); },
                         [] { return Config::Read(Config::LastPlayChannel); },
                         [this] { RaisePlayer(); }, [this] { ingClose_Click(); }},
                        this);
    // The bus hears of what the buttons, the directory and the bus itself change.
    connect(&State(), &ProgramState::PlayStoppedChanged, m_Mpris, &Mpris::Refresh);
    connect(this, &frmPlayer::VolumeChanged, m_Mpris, &Mpris::Refresh);
    m_Mpris->Refresh();
}

void frmPlayer::ImgFullScreen_Click()
{
    // A radio goes full screen too: its card fills the screen.
    Player->setFullScreen(true);
}

} // namespace player
