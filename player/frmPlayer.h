// The player window: the media component and the row of image buttons, the hub of the running
// program. It opens the channel directory under itself and the hidden tray menu window, and every
// other window from its buttons, by name through the window registry.
#pragma once

#include "Channels.h"
#include "PlayerLogic.h"
#include "PlayerTray.h"

#include <QString>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace controls {
class FormSkin;
} // namespace controls

namespace platform {
class MediaPlayer;
} // namespace platform

namespace core {
class MessageBoard;
} // namespace core

namespace player {

class Mpris;
class NowPlayingCard;

class ImageButton;
class WindowDrag;

class frmPlayer : public QWidget, public core::ChannelPlayer, public core::TrayPlayer
{
    Q_OBJECT

  public:
    explicit frmPlayer(QWidget* parent = nullptr);
    ~frmPlayer() override;

    // core::ChannelPlayer: the directory's channel selection.
    void PlayChannel(const QString& Address) override;
    // core::TrayPlayer: what the tray menu asks of the player.
    void DirectoryShown() override;
    void ExitProgram() override;

    void LoadSet();
    void btnPlay_Click();
    void BtnMute_Click();
    void BtnVolUp_Click();
    void BtnVolDown_Click();
    void ImgTray_Click();
    void ImgFullScreen_Click();
    void ImgSysTray_Click();
    void ingClose_Click();
    void btnInfo_Click();
    void BtnAbout_Click();
    void btnSettings_Click();
    void btnRecord_Click();
    void btnMsg_Click();
    // The docking step: the open directory under the player, the open recorder beside it.
    void TimerMove_Timer();

    int16_t VolumeLevel() const { return m_Volume.VolumeLevel(); }
    bool Muted() const { return m_bMuted; }
    bool DirectoryOpen() const { return m_bDirectoryOpen; }
    // The ImgList position each of the three state buttons shows.
    int PlayImage() const { return m_iPlayImage; }
    int MuteImage() const { return m_iMuteImage; }
    int TrayImage() const { return m_iTrayImage; }
    // What the player beeped for since it opened (volume bounds).
    int Beeps() const { return m_iBeeps; }

    controls::FormSkin* Skin;
    QWidget* pic; // the skin's picture: background and drag handle
    QLabel* Image4;
    QLabel* lblTitle;
    QLabel* ImgFullScreen;
    QLabel* ImgSysTray;
    QLabel* ingClose;
    QWidget* PicPlayer;
    platform::MediaPlayer* Player;
    // What the media area shows while there is no picture (frmPlayerMedia.cpp).
    NowPlayingCard* Card;
    ImageButton* btnPlay;
    ImageButton* BtnMute;
    ImageButton* BtnVolDown;
    ImageButton* BtnVolUp;
    QLabel* ImgTray;
    ImageButton* btnInfo;
    ImageButton* BtnAbout;
    ImageButton* btnSettings;
    ImageButton* btnRecord;
    ImageButton* btnMsg;
    // Outline pictures only; never shown.
    QLabel* PicBtnVolDown;
    QLabel* PicBtnVolUp;
    QLabel* PicMute;
    QLabel* picPlay;
    // The operator's message poll (TimerMsg, InetMsg and LastMessage) with its popup, as the
    // program registered it (a silent one without).
    core::MessageBoard* Poll;

  signals:
    // The volume buttons (or the bus through them) changed the level.
    void VolumeChanged(int Level);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void CreateControls();
    void CreateMediaArea();
    // frmPlayerAccess.cpp: Tab order, keys, names; the states a screen reader hears.
    void MakeAccessible();
    void ExposeStates();
    void ConnectMpris();
    void ShapeButtons();
    void GiveAddress(const QString& Address);
    void ShowPlayImage(int Index);
    void ShowMuteImage(int Index);
    void ShowTrayImage(int Index);
    void ApplyVolumeStep(const CVolume::Step& Step);
    void Player_MouseDown(Qt::MouseButton Button, QPoint GlobalPos);
    void Player_MouseUp(Qt::MouseButton Button, QPoint GlobalPos);
    void RaisePlayer();

    CVolume m_Volume;
    bool m_bMuted = false;
    bool m_bDirectoryOpen = false;
    bool m_bExiting = false;
    int m_iPlayImage = 0;
    int m_iMuteImage = 0;
    int m_iTrayImage = 0;
    int m_iBeeps = 0;
    QString m_sLastGiven; // the address the component was last given
    WindowDrag* m_Drag;
    Mpris* m_Mpris = nullptr; // the media keys and the desktop's sound menu
};

} // namespace player
