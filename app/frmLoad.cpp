#include "frmLoad.h"

#include "Artwork.h"
#include "Config.h"
#include "FormSkin.h"
#include "MakeSk.h"
#include "MyFunction.h"
#include "PlayerHandOver.h"
#include "ProgramState.h"
#include "SplashStatus.h"
#include "Twips.h"
#include "WindowRegistry.h"

#include <QEvent>
#include <QLabel>
#include <utility>

namespace app {

using namespace controls;
using namespace core;
using platform::InetTransfer;

frmLoad::frmLoad(QWidget* parent)
    : QWidget(parent), Skin(new FormSkin(this)), pic(new QLabel(this)), lblStatus(new QLabel(this)),
      iNetChannel(this), InetRSettings(this)
{
    // Findable while it runs, so that an ending before the hand-over closes it too.
    AdoptWindow(QString::fromLatin1(WindowName::Splash), this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(tr("Loading..."));
    resize(TwipsToPixels(6975), TwipsToPixels(4215));

    const QImage artwork = controls::LoadArtwork(QStringLiteral(":/artwork/skins/frmLoad.png"));
    Skin->setPicture(artwork);
    pic->setPixmap(controls::PixmapFor(artwork, *pic));
    pic->resize(artwork.size());
    pic->installEventFilter(this);

    lblStatus->setTextFormat(Qt::PlainText); // a server's reason phrase may show here
    lblStatus->setText(tr("Loading..."));
    lblStatus->setGeometry(TwipsToPixels(360), TwipsToPixels(3390), TwipsToPixels(6255),
                           TwipsToPixels(300));
    lblStatus->setStyleSheet(QStringLiteral("color: #c9d6e3; background: transparent;"));

    Timer3.setInterval(1);
    TimerGetSett.setInterval(500);
    TimerGetSett.setSingleShot(true);
    Trans.setInterval(1);
    connect(&Timer3, &QTimer::timeout, this, &frmLoad::Timer3_Timer);
    connect(&TimerGetSett, &QTimer::timeout, this, &frmLoad::TimerGetSett_Timer);
    connect(&Trans, &QTimer::timeout, this, &frmLoad::Trans_Timer);
    connect(&iNetChannel, &InetTransfer::StateChanged, this, &frmLoad::iNetChannel_StateChanged);
    connect(&InetRSettings, &InetTransfer::StateChanged, this,
            &frmLoad::InetRSettings_StateChanged);
    connect(&iNetChannel, &InetTransfer::Finished, this, &frmLoad::iNetChannel_Finished);
    connect(&InetRSettings, &InetTransfer::Finished, this, &frmLoad::InetRSettings_Finished);

    Timer3.start();
    Form_Load();
}

void frmLoad::Form_Load()
{
    CenterForm(*this);
    pic->move(0, 0);
    Skin->move(0, 0);
    Skin->MakeSkin(true);
    pic->raise();
    lblStatus->raise();
    Trans.setInterval(1);
    FadeAlpha = 0;
    FadeTarget = 255;
    SetWindowOpacity(this, FadeAlpha);
    State().SetServerURL(Config::Read(Config::ServerURL));
    TimerGetSett.start();
}

void frmLoad::Timer3_Timer()
{
    FadeAlpha += 5;
    if (FadeAlpha - 1 < FadeTarget) {
        SetWindowOpacity(this, FadeAlpha);
    } else {
        Timer3.stop();
        SetWindowOpacity(this, 255);
    }
}

void frmLoad::TimerGetSett_Timer()
{
    TimerGetSett.stop();
    DownloadSettingsFile(iNetChannel, QString::fromLatin1(Config::ChannelFile));
}

void frmLoad::Trans_Timer()
{
    FadeAlpha -= 5;
    if (FadeAlpha + 1 > FadeTarget) {
        SetWindowOpacity(this, FadeAlpha);
    } else {
        Trans.stop();
        SetWindowOpacity(this, 0);
        HandOver();
    }
}

void frmLoad::iNetChannel_StateChanged(int State)
{
    // The list's state 12 is shown once the remote settings are over (CompleteChannel).
    if (State == InetTransfer::icResponseCompleted)
        return;
    if (const auto text =
            SplashStatusText(SplashTransfer::Channel, State, iNetChannel.ResponseInfo()))
        SetStatus(*text);
    if (State == InetTransfer::icResponseReceived)
        DownloadSettingsFile(InetRSettings, QString::fromLatin1(Config::RSettingsFile));
}

void frmLoad::iNetChannel_Finished(const QByteArray& Body)
{
    // Answered, the list waits for the remote settings, asked for at its state 8.
    if (iNetChannel.LastOutcome() == InetTransfer::Outcome::Answered) {
        sChannelBody = Body;
        return;
    }
    StoreSettingsFile(iNetChannel, QString::fromLatin1(Config::ChannelFile), Body);
    HandOver();
}

void frmLoad::InetRSettings_StateChanged(int State)
{
    if (const auto text =
            SplashStatusText(SplashTransfer::RSettings, State, InetRSettings.ResponseInfo()))
        SetStatus(*text);
    if (State == InetTransfer::icResponseReceived)
        StartFadeOut();
}

void frmLoad::InetRSettings_Finished(const QByteArray& Body)
{
    StoreSettingsFile(InetRSettings, QString::fromLatin1(Config::RSettingsFile), Body);
    CompleteChannel();
    if (InetRSettings.LastOutcome() != InetTransfer::Outcome::Answered)
        HandOver();
}

void frmLoad::CompleteChannel()
{
    SetStatus(*SplashStatusText(SplashTransfer::Channel, InetTransfer::icResponseCompleted, {}));
    StoreSettingsFile(iNetChannel, QString::fromLatin1(Config::ChannelFile),
                      std::exchange(sChannelBody, {}));
}

void frmLoad::pic_DblClick()
{
    EndProgram();
}

bool frmLoad::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pic && event->type() == QEvent::MouseButtonDblClick) {
        pic_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmLoad::SetStatus(const QString& Text)
{
    lblStatus->setText(Text);
    emit StatusChanged(Text);
}

void frmLoad::StartFadeOut()
{
    FadeAlpha = 255;
    FadeTarget = 0;
    SetWindowOpacity(this, 255);
    Trans.start();
}

void frmLoad::HandOver()
{
    Timer3.stop();
    Trans.stop();
    ShowPlayerWindow();
    close();
}

} // namespace app
