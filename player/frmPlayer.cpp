#include "frmPlayer.h"

#include "Artwork.h"
#include "Config.h"
#include "FormSkin.h"
#include "ImageButton.h"
#include "ImageClick.h"
#include "MediaPlayer.h"
#include "MessageBoard.h"
#include "Mpris.h"
#include "MyFunction.h"
#include "PlayerArt.h"
#include "PlayerDock.h"
#include "PlayerTray.h"
#include "ProgramState.h"
#include "Questions.h"
#include "Twips.h"
#include "WindowDrag.h"
#include "WindowRegistry.h"
#include "btnFunction.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSystemTrayIcon>

namespace player {

using namespace core;
using platform::MediaPlayer;

namespace {

constexpr QSize SkinSize(360, 320);
constexpr QSize SmallImage(16, 16);
constexpr QSize ButtonSize(28, 28);
constexpr int ButtonRowTop = 278;

QLabel* MakeImage(QWidget* parent, const char* Name, const QString& ToolTip, QPoint At,
                  const QImage& Picture)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(Name));
    image->setToolTip(ToolTip);
    image->setPixmap(controls::PixmapFor(Picture, *image));
    image->setGeometry(QRect(At, Picture.size()));
    image->setCursor(Qt::PointingHandCursor);
    return image;
}

QLabel* MakeOutline(QWidget* parent, const char* Name, const QImage& Picture)
{
    auto* outline = new QLabel(parent);
    outline->setObjectName(QString::fromLatin1(Name));
    outline->setPixmap(QPixmap::fromImage(Picture));
    outline->hide();
    return outline;
}

} // namespace

frmPlayer::frmPlayer(QWidget* parent)
    : QWidget(parent), Skin(new controls::FormSkin(this)), m_Drag(new WindowDrag(this))
{
    setObjectName(QString::fromLatin1(WindowName::Player));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(tr("Player"));
    resize(SkinSize);
    // Findable from the first step of the load on: the directory and the tray window it opens
    // look for the player while it is still loading.
    AdoptWindow(QString::fromLatin1(WindowName::Player), this);
    Poll = MakeMessageBoard(this);
    CreateControls();
    MakeAccessible();
    Form_Load();
}

frmPlayer::~frmPlayer()
{
    // The video comes back from full screen while this window is whole: leaving full screen as
    // our children are destroyed would put it back into a window half taken apart.
    Player->setFullScreen(false);
}

void frmPlayer::CreateControls()
{
    Skin->setPicture(SkinImage(QStringLiteral("frmPlayer"), SkinSize));
    pic = Skin->pic();
    Image4 = MakeImage(this, "Image4", tr("Move"), {6, 5},
                       ButtonImage(QStringLiteral("Image4"), SmallImage, QStringLiteral("\u2725")));
    Image4->setCursor(Qt::SizeAllCursor);
    lblTitle = new QLabel(tr("TV Player"), this);
    lblTitle->setTextFormat(Qt::PlainText); // the operator's title
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(26, 4, 264, 18);
    lblTitle->setStyleSheet(QStringLiteral("color: #dfe6ee; background: transparent;"));
    lblTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    ImgFullScreen = MakeImage(
        this, "ImgFullScreen", tr("Full screen"), {296, 5},
        ButtonImage(QStringLiteral("ImgFullScreen"), SmallImage, QStringLiteral("\u25a1")));
    ImgSysTray =
        MakeImage(this, "ImgSysTray", tr("Go to system tray"), {316, 5},
                  ButtonImage(QStringLiteral("ImgSysTray"), SmallImage, QStringLiteral("_")));
    ingClose =
        MakeImage(this, "ingClose", tr("Exit"), {338, 5},
                  ButtonImage(QStringLiteral("ingClose"), SmallImage, QStringLiteral("\u00d7")));

    CreateMediaArea();

    auto button = [this](const char* name, const QString& tip, int left) {
        auto* made = new ImageButton(this, QString::fromLatin1(name), tip);
        made->setGeometry(QRect(QPoint(left, ButtonRowTop), ButtonSize));
        return made;
    };
    btnPlay = button("btnPlay", tr("Stop/Play"), 18);
    BtnMute = button("BtnMute", tr("Mute"), 50);
    BtnVolDown = button("BtnVolDown", tr("Volume down"), 82);
    BtnVolUp = button("BtnVolUp", tr("Volume up"), 114);
    ImgTray = MakeImage(this, "ImgTray", QString(), {150, 280}, ImgList(Images::DirectoryClosed));
    btnInfo = button("btnInfo", tr("Information viewer"), 186);
    BtnAbout = button("BtnAbout", tr("About"), 218);
    btnSettings = button("btnSettings", tr("Settings"), 250);
    btnRecord = button("btnRecord", tr("Radio recorder"), 282);
    btnMsg = button("btnMsg", tr("Message"), 314);

    const QImage volumeDown =
        ButtonImage(QStringLiteral("PicBtnVolDown"), ButtonSize, QStringLiteral("\u2212"));
    const QImage volumeUp =
        ButtonImage(QStringLiteral("PicBtnVolUp"), ButtonSize, QStringLiteral("+"));
    PicBtnVolDown = MakeOutline(this, "PicBtnVolDown", volumeDown);
    PicBtnVolUp = MakeOutline(this, "PicBtnVolUp", volumeUp);
    PicMute =
        MakeOutline(this, "PicMute",
                    ButtonImage(QStringLiteral("PicMute"), ButtonSize, QStringLiteral("\u266a")));
    picPlay =
        MakeOutline(this, "picPlay", ButtonImage(QStringLiteral("picPlay"), ButtonSize, QString()));
    // The images themselves rather than the outlines' copies: drawing finds their dense twins.
    BtnVolDown->setPicture(volumeDown);
    BtnVolUp->setPicture(volumeUp);
    const std::pair<ImageButton*, const char*> faces[] = {{btnInfo, "i"},
                                                          {BtnAbout, "?"},
                                                          {btnSettings, "\u2699"},
                                                          {btnRecord, "\u25cf"},
                                                          {btnMsg, "\u2709"}};
    for (const auto& [face, glyph] : faces)
        face->setPicture(ButtonImage(face->objectName(), ButtonSize, QString::fromUtf8(glyph)));

    Image4->installEventFilter(this);
    controls::OnImageClick(*ImgTray, [this] { ImgTray_Click(); });
    controls::OnImageClick(*ImgFullScreen, [this] { ImgFullScreen_Click(); });
    controls::OnImageClick(*ImgSysTray, [this] { ImgSysTray_Click(); });
    controls::OnImageClick(*ingClose, [this] { ingClose_Click(); });
    connect(btnPlay, &QAbstractButton::clicked, this, &frmPlayer::btnPlay_Click);
    connect(BtnMute, &QAbstractButton::clicked, this, &frmPlayer::BtnMute_Click);
    connect(BtnVolUp, &QAbstractButton::clicked, this, &frmPlayer::BtnVolUp_Click);
    connect(BtnVolDown, &QAbstractButton::clicked, this, &frmPlayer::BtnVolDown_Click);
    connect(btnInfo, &QAbstractButton::clicked, this, &frmPlayer::btnInfo_Click);
    connect(BtnAbout, &QAbstractButton::clicked, this, &frmPlayer::BtnAbout_Click);
    connect(btnSettings, &QAbstractButton::clicked, this, &frmPlayer::btnSettings_Click);
    connect(btnRecord, &QAbstractButton::clicked, this, &frmPlayer::btnRecord_Click);
    connect(btnMsg, &QAbstractButton::clicked, this, &frmPlayer::btnMsg_Click);
}

void frmPlayer::Form_Load()
{
    // From here on the program ends through Exit (player or tray menu) only: closing the last
    // visible window while the player waits in the notification area (About, a message) must
    // not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    CenterForm(*this);
    Skin->move(0, 0);
    Skin->MakeSkin(true);
    Skin->lower();
    m_bDirectoryOpen = false;
    State().SetPlayStopped(false);
    ShowPlayImage(Images::Playing);
    ShowMuteImage(Images::NotMuted);
    ShowTrayImage(Images::DirectoryClosed);
    LoadSet();
    ImgTray_Click();
    LoadWindow(QString::fromLatin1(WindowName::TrayMenu));
    ShapeButtons();
    if (Config::IsFlagSet(Config::Read(Config::InfoViewerShow)))
        ShowWindow(QString::fromLatin1(WindowName::InfoViewer));
    Poll->Start();
    ConnectMpris();
}

void frmPlayer::ShapeButtons()
{
    ShapeButton(*PicBtnVolDown, *BtnVolDown);
    ShapeButton(*PicBtnVolUp, *BtnVolUp);
    ShapeButton(*PicMute, *BtnMute);
    for (ImageButton* button : {btnPlay, btnInfo, BtnAbout, btnRecord, btnSettings, btnMsg})
        ShapeButton(*picPlay, *button);
}

void frmPlayer::LoadSet()
{
    Poll->LoadLastMessage();
    State().SetServerURL(Config::Read(Config::ServerURL));
    m_Volume.Load();
    Player->setVolume(m_Volume.EngineVolume());
    PicPlayer->setGeometry(controls::TwipsToPixels(270), controls::TwipsToPixels(400),
                           controls::TwipsToPixels(4815), controls::TwipsToPixels(3615));
    Player->setGeometry(0, 0, PicPlayer->width(), PicPlayer->height());
    // The stored stream starts and keeps playing (the toggle after it would stop it at once).
    if (const auto address = AutoplayAddress()) {
        GiveAddress(*address);
        ShowPlayImage(Images::Playing);
        State().SetPlayStopped(false);
    }
    State().SetPlayerTitle(Config::Read(Config::InfoTitle));
    lblTitle->setText(State().PlayerTitle());
}

void frmPlayer::PlayChannel(const QString& Address)
{
    GiveAddress(Address);
    ShowPlayImage(Images::Playing);
    State().SetPlayStopped(false);
}

void frmPlayer::GiveAddress(const QString& Address)
{
    if (!Address.isEmpty())
        m_sLastGiven = Address;
    Player->setURL(Address);
}

void frmPlayer::btnPlay_Click()
{
    const PlayStep step =
        NextPlayStep(State().PlayStopped(), Config::Read(Config::LastPath), m_sLastGiven);
    if (step.Play)
        GiveAddress(step.Address);
    else
        Player->stop();
    ShowPlayImage(step.Image);
    State().SetPlayStopped(step.PlayStopped);
}

void frmPlayer::BtnMute_Click()
{
    m_bMuted = !m_bMuted;
    Player->setMute(m_bMuted);
    ShowMuteImage(m_bMuted ? Images::Muted : Images::NotMuted);
}

void frmPlayer::BtnVolUp_Click()
{
    ApplyVolumeStep(m_Volume.StepUp());
}

void frmPlayer::BtnVolDown_Click()
{
    ApplyVolumeStep(m_Volume.StepDown());
}

void frmPlayer::ApplyVolumeStep(const CVolume::Step& Step)
{
    if (Step.Beep) {
        ++m_iBeeps;
        QApplication::beep();
    }
    Player->setVolume(m_Volume.EngineVolume());
    // The button says "sound" from here on, so the component must not stay muted.
    Player->setMute(false);
    ShowMuteImage(Images::NotMuted);
    m_bMuted = false;
    emit VolumeChanged(m_Volume.VolumeLevel());
}

void frmPlayer::ImgTray_Click()
{
    const QString directory = QString::fromLatin1(WindowName::Directory);
    // What is on screen decides: the directory may have been closed or restored elsewhere.
    m_bDirectoryOpen = FindWindow(directory) != nullptr;
    if (m_bDirectoryOpen) {
        // A hidden window (the player came back from the tray alone) stays findable until its
        // deletion, so the close's own answer says whether it went.
        if (QWidget* window = FindWindow(directory))
            m_bDirectoryOpen = !window->close();
    } else {
        m_bDirectoryOpen = ShowWindow(directory) != nullptr;
        TimerMove_Timer();
    }
    ShowTrayImage(m_bDirectoryOpen ? Images::DirectoryOpen : Images::DirectoryClosed);
}

void frmPlayer::DirectoryShown()
{
    m_bDirectoryOpen = FindWindow(QString::fromLatin1(WindowName::Directory)) != nullptr;
    ShowTrayImage(m_bDirectoryOpen ? Images::DirectoryOpen : Images::DirectoryClosed);
}

void frmPlayer::ImgSysTray_Click()
{
    LoadWindow(QString::fromLatin1(WindowName::TrayMenu));
    QWidget* directory = FindWindow(QString::fromLatin1(WindowName::Directory));
    // Without a notification area there would be no way back from hiding.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showMinimized();
        if (directory)
            directory->showMinimized();
        return;
    }
    hide();
    if (directory)
        directory->hide();
}

void frmPlayer::ingClose_Click()
{
    ExitProgram();
}

void frmPlayer::ExitProgram()
{
    if (m_bExiting)
        return;
    m_bExiting = true;
    if (auto* tray = FindWindow<TrayIconMenu>(QString::fromLatin1(WindowName::TrayMenu)))
        tray->RemoveIcon();
    Player->stop();
    UnloadAllForms();
}

void frmPlayer::RaisePlayer()
{
    // Back from the notification area as its menu's Show brings it.
    if (auto* tray = FindWindow<TrayIconMenu>(QString::fromLatin1(WindowName::TrayMenu))) {
        tray->ShowPlayer();
    } else {
        showNormal();
    }
    raise();
    activateWindow();
}

void frmPlayer::btnInfo_Click()
{
    ShowWindow(QString::fromLatin1(WindowName::InfoViewer));
}

void frmPlayer::BtnAbout_Click()
{
    ShowWindow(QString::fromLatin1(WindowName::About));
}

void frmPlayer::btnSettings_Click()
{
    ShowWindow(QString::fromLatin1(WindowName::Settings));
}

void frmPlayer::btnRecord_Click()
{
    // A closed directory has nothing selected; it is not opened to be asked.
    const auto* selection =
        FindWindow<ChannelSelection>(QString::fromLatin1(WindowName::Directory));
    if (!selection || selection->SelectedChannel().isEmpty()) {
        Ask().Message(this, tr("Error"), tr("Please select a channel then try again"),
                      Questions::Icon::None);
        return;
    }
    ShowWindow(QString::fromLatin1(WindowName::Recorder));
    TimerMove_Timer();
}

void frmPlayer::btnMsg_Click()
{
    // The poll keeps running: a new text goes into the open popup.
    Poll->ShowLastMessage();
    // Asked for, the popup takes the keyboard (a polled one never does): Tab and Esc reach it.
    if (QWidget* popup = FindWindow(QString::fromLatin1(WindowName::Message)))
        popup->activateWindow();
}

void frmPlayer::TimerMove_Timer()
{
    PlayerDock::Follow(geometry());
}

void frmPlayer::ShowPlayImage(int Index)
{
    m_iPlayImage = Index;
    btnPlay->setPicture(ImgList(Index));
    ExposeStates();
}

void frmPlayer::ShowMuteImage(int Index)
{
    m_iMuteImage = Index;
    BtnMute->setPicture(ImgList(Index));
    ExposeStates();
}

void frmPlayer::ShowTrayImage(int Index)
{
    m_iTrayImage = Index;
    ImgTray->setPixmap(controls::PixmapFor(ImgList(Index), *ImgTray));
    ExposeStates();
}

void frmPlayer::Player_MouseDown(Qt::MouseButton Button, QPoint GlobalPos)
{
    if (Button == Qt::LeftButton)
        m_Drag->Start(GlobalPos);
}

void frmPlayer::Player_MouseUp(Qt::MouseButton, QPoint)
{
    m_Drag->Stop();
}

bool frmPlayer::eventFilter(QObject* watched, QEvent* event)
{
    // The move image drags the window with the left button.
    const QEvent::Type type = event->type();
    if (watched != Image4 ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease))
        return QWidget::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton)
        m_Drag->Start(mouse->globalPosition().toPoint());
    else if (type == QEvent::MouseButtonRelease)
        m_Drag->Stop();
    return true;
}

void frmPlayer::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    TimerMove_Timer();
}

void frmPlayer::closeEvent(QCloseEvent* event)
{
    // The player is the program: closing it by the window manager ends it as Exit does.
    event->accept();
    ExitProgram();
}

} // namespace player
