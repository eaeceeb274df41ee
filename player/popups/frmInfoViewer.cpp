#include "frmInfoViewer.h"

#include "Address.h"
#include "Artwork.h"
#include "Config.h"
#include "Docking.h"
#include "FormSkin.h"
#include "ImageClick.h"
#include "KeyboardAccess.h"
#include "PopupChrome.h"
#include "Twips.h"
#include "WebPageView.h"
#include "WindowRegistry.h"
#include "btnFunction.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolButton>

namespace player {

using controls::TwipsToPixels;

namespace {

const QSize SkinSize(492, 345);
const QSize ButtonSize(22, 22);
constexpr int ButtonTop = 3;

// The outline the four buttons take when the artwork has none: a round button.
QImage ButtonOutline()
{
    QImage image(":/artwork/buttons/picBtn.png");
    if (!image.isNull())
        return image;
    image = QImage(ButtonSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRect(QPoint(0, 0), ButtonSize));
    return image;
}

// An address typed without "http://" still reaches its page, as it did in the old browser; one
// that is no web page (a local file, a script) is not loaded.
QUrl HomeAddress(const QString& HomePage)
{
    const QUrl page = core::WebAddress(HomePage);
    if (page.isEmpty() && !HomePage.trimmed().isEmpty())
        qWarning("Not showing the information page \"%s\": only http and https pages are shown",
                 qUtf8Printable(HomePage));
    return page;
}

} // namespace

frmInfoViewer::frmInfoViewer(QWidget* parent)
    : QWidget(parent), Skin(new controls::FormSkin(this)), Picture1(new QLabel(this)),
      lblNoBrowser(new QLabel(this)), picBtn(new QLabel(this)), lblTitle(new QLabel(this)),
      lblURL(new QLabel(this)), Image4(new QLabel(this)), ingClose(new QLabel(this))
{
    setObjectName(QString::fromLatin1(core::WindowName::InfoViewer));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(tr("Browser"));
    resize(SkinSize);

    const QImage skin =
        Artwork(QStringLiteral(":/artwork/skins/frmInfoViewer.png"), SkinSize, FallbackFace);
    Skin->setPicture(skin);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(controls::PixmapFor(skin, *Picture1));
    Picture1->setGeometry(QRect(QPoint(0, 0), skin.size()));
    MakeDragHandle(*Picture1);

    lblNoBrowser->setObjectName(QStringLiteral("lblNoBrowser"));
    lblNoBrowser->setTextFormat(Qt::PlainText);
    lblNoBrowser->setAlignment(Qt::AlignCenter);
    lblNoBrowser->setWordWrap(true);
    lblNoBrowser->setText(tr("Web pages cannot be shown: the web engine of this "
                             "installation could not be loaded."));
    lblNoBrowser->setStyleSheet(QStringLiteral("background: white; color: black;"));
    lblNoBrowser->hide();

    picBtn->setObjectName(QStringLiteral("picBtn"));
    picBtn->setPixmap(QPixmap::fromImage(ButtonOutline()));
    picBtn->hide();
    btnHome =
        MakeButton("btnHome", tr("Home"), QStringLiteral("Home"), QStringLiteral("\u2302"), 320);
    btnPre =
        MakeButton("btnPre", tr("Go Back"), QStringLiteral("Back"), QStringLiteral("\u25c0"), 346);
    btnNext = MakeButton("btnNext", tr("Go Forward"), QStringLiteral("Forward"),
                         QStringLiteral("\u25b6"), 372);
    btnRefresh = MakeButton("btnRefresh", tr("Refresh"), QStringLiteral("Refresh"),
                            QStringLiteral("\u21bb"), 398);
    connect(btnHome, &QToolButton::clicked, this, &frmInfoViewer::btnHome_Click);
    connect(btnPre, &QToolButton::clicked, this, &frmInfoViewer::btnPre_Click);
    connect(btnNext, &QToolButton::clicked, this, &frmInfoViewer::btnNext_Click);
    connect(btnRefresh, &QToolButton::clicked, this, &frmInfoViewer::btnRefresh_Click);

    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::PlainText);
    lblURL->setTextFormat(Qt::PlainText); // the operator's home page address
    lblTitle->setText(tr("Inside"));
    lblTitle->setGeometry(26, 6, 284, 16);
    lblTitle->setStyleSheet(
        QStringLiteral("color: white; background: transparent; font-weight: bold;"));
    lblTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblURL->setObjectName(QStringLiteral("lblURL"));
    lblURL->setGeometry(21, 331, 450, 12);
    lblURL->setStyleSheet(
        QStringLiteral("color: #c0c8d0; background: transparent; font-size: 8pt;"));
    lblURL->setAttribute(Qt::WA_TransparentForMouseEvents);

    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setToolTip(tr("Move"));
    Image4->setPixmap(controls::PixmapFor(
        controls::LoadArtwork(QStringLiteral(":/artwork/buttons/Image4.png")), *Image4));
    Image4->setGeometry(6, 6, 16, 16);
    Image4->setCursor(Qt::SizeAllCursor);
    MakeDragHandle(*Image4);

    ingClose->setObjectName(QStringLiteral("ingClose"));
    ingClose->setPixmap(controls::PixmapFor(
        CloseArtwork(QStringLiteral(":/artwork/buttons/ingClose.png"), QSize(16, 16)), *ingClose));
    ingClose->setGeometry(468, 6, 16, 16);
    ingClose->setCursor(Qt::PointingHandCursor);
    controls::OnImageClick(*ingClose, [this] { ingClose_Click(); });
    ingClose->setAccessibleName(tr("Close"));
    controls::NameControlsAfterToolTips(*this);
    controls::CloseOnEscape(*this, [this] { ingClose_Click(); });

    Form_Load();
    // The web engine takes a while to start the first time: the window, and the player that
    // opens this one while it loads, come on screen first.
    controls::WhenWindowsAreUp(this, [this] { MakeBrowser(); });
}

void frmInfoViewer::MakeBrowser()
{
    Browser = controls::CreateWebPageView(this);
    lblNoBrowser->setVisible(!Browser);
    if (!Browser)
        return;
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setGeometry(lblNoBrowser->geometry());
    Browser->stackUnder(lblTitle);
    Browser->show();
    NavigateHome();
}

QToolButton* frmInfoViewer::MakeButton(const char* Name, const QString& Tip, const QString& Image,
                                       const QString& Stand, int Left)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(Name));
    button->setToolTip(Tip);
    const QPixmap picture(QStringLiteral(":/artwork/buttons/%1.png").arg(Image));
    if (picture.isNull()) {
        button->setText(Stand);
    } else {
        button->setIcon(
            QIcon(QStringLiteral(":/artwork/buttons/%1.png").arg(Image))); // with its @2x twin
        button->setIconSize(picture.size());
    }
    button->setAutoRaise(true);
    button->setGeometry(QRect(QPoint(Left, ButtonTop), ButtonSize));
    return button;
}

void frmInfoViewer::Form_Load()
{
    Skin->move(0, 0);
    Skin->MakeSkin(true);
    for (QWidget* control : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(lblNoBrowser),
                             static_cast<QWidget*>(lblTitle), static_cast<QWidget*>(lblURL),
                             static_cast<QWidget*>(Image4), static_cast<QWidget*>(ingClose)})
        control->raise();

    // By the top-left corner of the screen: designed just over it, kept inside the screen's free
    // part so that its buttons and title stay within reach.
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    move(core::KeepInside(origin + QPoint(TwipsToPixels(-50), TwipsToPixels(-50)), size(),
                          screen ? screen->availableGeometry() : QRect()));

    lblNoBrowser->setGeometry(TwipsToPixels(320), TwipsToPixels(430), TwipsToPixels(6750),
                              TwipsToPixels(4520));

    lblTitle->setText(QStringLiteral("Corvane net player"));
    lblURL->setText(core::Config::Read(core::Config::InfoViewerHomePage));

    for (QToolButton* button : {btnPre, btnNext, btnRefresh, btnHome}) {
        core::ShapeButton(*picBtn, *button);
        button->raise();
    }
}

void frmInfoViewer::NavigateHome()
{
    const QUrl home = HomeAddress(core::Config::Read(core::Config::InfoViewerHomePage));
    if (Browser && !home.isEmpty())
        Browser->Load({home, {}, {}});
}

void frmInfoViewer::btnHome_Click()
{
    NavigateHome();
}

void frmInfoViewer::btnPre_Click()
{
    if (Browser)
        Browser->Back();
}

void frmInfoViewer::btnNext_Click()
{
    if (Browser)
        Browser->Forward();
}

void frmInfoViewer::btnRefresh_Click()
{
    if (Browser)
        Browser->Reload();
}

void frmInfoViewer::ingClose_Click()
{
    close();
}

} // namespace player
