#include "frmAbout.h"

#include "Artwork.h"
#include "FormSkin.h"
#include "KeyboardAccess.h"
#include "MakeSk.h"
#include "MyFunction.h"
#include "PopupChrome.h"
#include "WindowRegistry.h"
#include "dcButton.h"

#include <QLabel>

namespace player {

namespace {
const QSize SkinSize(360, 240);
} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QWidget(parent), Skin(new controls::FormSkin(this)), pic(new QLabel(this)),
      lblVersion(new QLabel(this)),
      btnBrowse(new controls::dcButton(this, QStringLiteral("btnBrowse"))),
      dcButton1(new controls::dcButton(this, QStringLiteral("dcButton1")))
{
    setObjectName(QString::fromLatin1(core::WindowName::About));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(tr("About"));

    const QImage skin =
        Artwork(QStringLiteral(":/artwork/skins/frmAbout.png"), SkinSize, FallbackFace);
    Skin->setPicture(skin);
    pic->setObjectName(QStringLiteral("pic"));
    pic->setPixmap(controls::PixmapFor(skin, *pic));
    pic->resize(skin.size());
    MakeDragHandle(*pic);

    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setText(VersionText());
    lblVersion->setAlignment(Qt::AlignCenter);
    lblVersion->setGeometry(24, 150, 312, 18);
    lblVersion->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    // Presses on the text drag the window like the rest of the picture.
    lblVersion->setAttribute(Qt::WA_TransparentForMouseEvents);

    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->SetCaption(tr("OK"));
    btnBrowse->setGeometry(24, 196, 150, 28);
    dcButton1->setObjectName(QStringLiteral("dcButton1"));
    dcButton1->SetCaption(tr("Close"));
    dcButton1->setGeometry(186, 196, 150, 28);
    for (controls::dcButton* button : {btnBrowse, dcButton1}) {
        button->SetButtonStyle(ButtonStyle);
        button->SetBackColor(ButtonBackColor);
        button->SetForeColor(ButtonForeColor);
    }
    connect(btnBrowse, &controls::dcButton::Click, this, &frmAbout::btnBrowse_Click);
    connect(dcButton1, &controls::dcButton::Click, this, &frmAbout::dcButton1_Click);
    controls::CloseOnEscape(*this, [this] { dcButton1_Click(); });

    Form_Load();
}

QString frmAbout::VersionText()
{
    return QStringLiteral("Corvane net player " CORVANE_VERSION);
}

void frmAbout::Form_Load()
{
    core::CenterForm(*this);
    pic->move(0, 0);
    Skin->move(0, 0);
    Skin->MakeSkin(true);
    // The skin has given the window its final size: centre it as it is now.
    core::CenterForm(*this);
    controls::MakeTopmost(this);
    for (QWidget* control : {static_cast<QWidget*>(pic), static_cast<QWidget*>(lblVersion),
                             static_cast<QWidget*>(btnBrowse), static_cast<QWidget*>(dcButton1)})
        control->raise();
}

void frmAbout::btnBrowse_Click()
{
    close();
}

void frmAbout::dcButton1_Click()
{
    close();
}

} // namespace player
