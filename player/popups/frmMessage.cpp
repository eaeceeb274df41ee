#include "frmMessage.h"

#include "Artwork.h"
#include "Config.h"
#include "FormSkin.h"
#include "ImageClick.h"
#include "KeyboardAccess.h"
#include "MakeSk.h"
#include "MediaPlayer.h"
#include "MessagePoll.h"
#include "MessageRules.h"
#include "PopupChrome.h"
#include "SaveSetting.h"
#include "Twips.h"
#include "WindowRegistry.h"
#include "dcButton.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>

namespace player {

using controls::PixelsToTwips;
using controls::TwipsToPixels;

namespace {

const QSize SkinSize(330, 180);
// Only the popup's left edge is on the screen when it loads; it stops 5150 twips from the right.
constexpr int StartFromRightTwips = 200;
constexpr int EndFromRightTwips = 5150;
constexpr int FromBottomTwips = 3050;

QRect ScreenArea(const QWidget& window)
{
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

} // namespace

frmMessage::frmMessage(QWidget* parent)
    : QWidget(parent), Skin(new controls::FormSkin(this)), Picture1(new QLabel(this)),
      txtMsg(new QPlainTextEdit(this)),
      dcButton1(new controls::dcButton(this, QStringLiteral("dcButton1"))),
      ingClose(new QLabel(this))
{
    setObjectName(QString::fromLatin1(core::WindowName::Message));
    setAttribute(Qt::WA_DeleteOnClose);
    // A message must not take the keyboard from whatever the user is typing into.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(tr("Message"));
    resize(SkinSize);

    const QImage skin =
        Artwork(QStringLiteral(":/artwork/skins/frmMessage.png"), SkinSize, FallbackFace);
    Skin->setPicture(skin);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(controls::PixmapFor(skin, *Picture1));
    Picture1->setGeometry(QRect(QPoint(0, 0), skin.size()));

    txtMsg->setObjectName(QStringLiteral("txtMsg"));
    txtMsg->setReadOnly(true);
    txtMsg->setGeometry(12, 32, 306, 110);
    txtMsg->setFrameShape(QFrame::NoFrame);
    // The operator picks the text colour, black by default: the text sits on paper.
    QPalette paper = txtMsg->palette();
    paper.setColor(QPalette::Base, QColor(0xf3, 0xf5, 0xf8));
    txtMsg->setPalette(paper);

    dcButton1->setObjectName(QStringLiteral("dcButton1"));
    dcButton1->SetButtonStyle(ButtonStyle);
    dcButton1->SetBackColor(ButtonBackColor);
    dcButton1->SetForeColor(ButtonForeColor);
    dcButton1->SetCaption(tr("Close"));
    dcButton1->setGeometry(12, 148, 306, 24);
    connect(dcButton1, &controls::dcButton::Click, this, &frmMessage::dcButton1_Click);

    ingClose->setObjectName(QStringLiteral("ingClose"));
    ingClose->setPixmap(controls::PixmapFor(
        CloseArtwork(QStringLiteral(":/artwork/buttons/ingClose.png"), QSize(16, 16)), *ingClose));
    ingClose->setToolTip(tr("Exit"));
    ingClose->setGeometry(306, 5, 16, 16);
    ingClose->setCursor(Qt::PointingHandCursor);
    controls::OnImageClick(*ingClose, [this] { ingClose_Click(); });
    txtMsg->setAccessibleName(windowTitle()); // the text box is what the popup says
    controls::NameControlsAfterToolTips(*this);
    controls::CloseOnEscape(*this, [this] { ingClose_Click(); });

    TimerShow.setInterval(SlideIntervalMs);
    connect(&TimerShow, &QTimer::timeout, this, &frmMessage::TimerShow_Timer);

    Form_Load();
}

void frmMessage::Form_Load()
{
    Skin->move(0, 0);
    Skin->MakeSkin(true);
    for (QWidget* control : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(txtMsg),
                             static_cast<QWidget*>(dcButton1), static_cast<QWidget*>(ingClose)})
        control->raise();
    controls::MakeTopmost(this);

    const QRect area = ScreenArea(*this);
    lTopTwips = PixelsToTwips(area.height()) - FromBottomTwips;
    PlaceAt(PixelsToTwips(area.width()) - StartFromRightTwips);

    const QString sound = MessageSoundFile();
    if (!sound.isEmpty())
        PlayChime(sound);

    LoadLook();
    // Every slide-in starts slow, however often the popup has been shown before.
    iSlideStep = 0;
    TimerShow.start();
}

// A media engine of its own for a second of sound: it goes as soon as the chime has ended (or
// could not be played), not with the popup.
void frmMessage::PlayChime(const QString& Sound)
{
    using platform::MediaPlayer;
    mediaMsg = new MediaPlayer(this, MediaPlayer::Video::Off);
    mediaMsg->setObjectName(QStringLiteral("mediaMsg"));
    mediaMsg->hide();
    connect(mediaMsg, &MediaPlayer::StateChanged, this, [this](MediaPlayer::State state) {
        if (state != MediaPlayer::State::Ended && state != MediaPlayer::State::Failed)
            return;
        bChimePlayed = state == MediaPlayer::State::Ended;
        mediaMsg->deleteLater();
        mediaMsg = nullptr;
    });
    mediaMsg->setURL(Sound);
}

void frmMessage::LoadLook()
{
    QFont font = txtMsg->font();
    font.setPointSizeF(MessageFontSize(core::Config::Read(core::Config::MessageFontSize))
                           .value_or(DesignFontSize));
    txtMsg->setFont(font);
    QPalette palette = txtMsg->palette();
    palette.setColor(
        QPalette::Text,
        MessageFontColor(core::Config::Read(core::Config::MessageFontColor), DesignTextColor));
    txtMsg->setPalette(palette);
}

void frmMessage::PlaceAt(int LeftTwips)
{
    lLeftTwips = LeftTwips;
    const QRect area = ScreenArea(*this);
    move(area.x() + TwipsToPixels(lLeftTwips), area.y() + TwipsToPixels(lTopTwips));
}

int frmMessage::SlideEndX() const
{
    const QRect area = ScreenArea(*this);
    return area.x() + TwipsToPixels(PixelsToTwips(area.width()) - EndFromRightTwips);
}

void frmMessage::TimerShow_Timer()
{
    iSlideStep += 5;
    const int endTwips = PixelsToTwips(ScreenArea(*this).width()) - EndFromRightTwips;
    PlaceAt(lLeftTwips - iSlideStep);
    if (lLeftTwips <= endTwips)
        TimerShow.stop();
}

void frmMessage::SetText(const QString& Text)
{
    // The text box turns CR LF into its own paragraph breaks: keep the text as it came, so that
    // what "Exit" records is exactly what the server sends.
    sText = Text;
    txtMsg->setPlainText(Text);
}

QString frmMessage::Text() const
{
    return sText;
}

void frmMessage::ingClose_Click()
{
    if (!WriteAcknowledgedMessage(Text()))
        core::TellUnsaved(this, core::Config::LastMessage);
    close();
}

void frmMessage::dcButton1_Click()
{
    close();
}

void frmMessage::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted() && !bUnloaded) {
        bUnloaded = true;
        TimerShow.stop();
        emit Unloaded();
    }
}

frmMessage* ShowMessage(const QString& Text, MessagePoll* Poll)
{
    auto* popup =
        qobject_cast<frmMessage*>(core::LoadWindow(QString::fromLatin1(core::WindowName::Message)));
    if (!popup)
        return nullptr;
    popup->SetText(Text);
    if (Poll)
        QObject::connect(popup, &frmMessage::Unloaded, Poll, &MessagePoll::Start,
                         Qt::UniqueConnection);
    popup->show();
    popup->raise();
    return popup;
}

void ConnectMessagePopup(MessagePoll& Poll)
{
    QObject::connect(&Poll, &MessagePoll::NewMessage, &Poll,
                     [&Poll](const QString& Text) { ShowMessage(Text, &Poll); });
}

} // namespace player
