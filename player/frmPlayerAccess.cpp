// The player window for the keyboard and for screen readers: the order Tab takes, the keys, the
// names, and the states a screen reader hears change.
#include "FormSkin.h"
#include "ImageButton.h"
#include "KeyboardAccess.h"
#include "PlayerArt.h"
#include "PlayerKeys.h"
#include "WindowRegistry.h"
#include "frmPlayer.h"

#include <QLabel>

namespace player {

void frmPlayer::MakeAccessible()
{
    setAccessibleName(windowTitle());
    ImgTray->setAccessibleName(tr("Channel directory"));
    controls::NameControlsAfterToolTips(*this);
    PlayerKeys::NameKeysInToolTips(*this);
    // The row of buttons left to right, then the title strip's pictures.
    QWidget* order[] = {btnPlay,       BtnMute,    BtnVolDown,  BtnVolUp,  ImgTray,
                        btnInfo,       BtnAbout,   btnSettings, btnRecord, btnMsg,
                        ImgFullScreen, ImgSysTray, ingClose};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    // Play and mute show their state as a pressed button does.
    btnPlay->setCheckable(true);
    BtnMute->setCheckable(true);
    PlayerKeys::Attach(*this, *this);
    // The window opens with the focus on play, as a keyboard user starts.
    btnPlay->setFocus();
}

void frmPlayer::ExposeStates()
{
    btnPlay->setChecked(m_iPlayImage == Images::Playing);
    BtnMute->setChecked(m_iMuteImage == Images::Muted);
    controls::AnnounceChecked(*ImgTray, m_iTrayImage == Images::DirectoryOpen);
    // The directory under the player answers the player's keys too.
    QWidget* directory = core::FindWindow(QString::fromLatin1(core::WindowName::Directory));
    if (directory && !directory->property("playerKeys").toBool()) {
        directory->setProperty("playerKeys", true);
        PlayerKeys::Attach(*directory, *this);
    }
}

} // namespace player
