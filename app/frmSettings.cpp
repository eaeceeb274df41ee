#include "frmSettings.h"

#include "Artwork.h"
#include "Config.h"
#include "FormSkin.h"
#include "ImageClick.h"
#include "KeyboardAccess.h"
#include "MakeSk.h"
#include "MyFunction.h"
#include "Questions.h"
#include "SaveSetting.h"
#include "Twips.h"
#include "dcButton.h"
#include "dcButtonLook.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace app {

using namespace controls;
using namespace core;

frmSettings::frmSettings(QWidget* parent)
    : QWidget(parent), Skin(new FormSkin(this)), Picture1(Skin->pic()), Label1(new QLabel(this)),
      txtServerURL(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmSettings"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(tr("Settings"));
    resize(TwipsToPixels(5310), TwipsToPixels(2685));

    const QImage artwork = controls::LoadArtwork(QStringLiteral(":/artwork/skins/frmSettings.png"));
    Skin->setPicture(artwork);

    Label1->setText(tr("Server URL"));
    Label1->move(TwipsToPixels(2040), TwipsToPixels(600));
    Label1->setStyleSheet(QStringLiteral("color: #e8eef5; background: transparent;"));
    Label1->adjustSize();

    txtServerURL->setObjectName(QStringLiteral("txtServerURL"));
    txtServerURL->setGeometry(TwipsToPixels(360), TwipsToPixels(960), TwipsToPixels(4575),
                              TwipsToPixels(330));
    txtServerURL->setFont(QFont(QStringLiteral("Arial")));
    // The box fills the skin's recessed well: light text on the well's dark.
    txtServerURL->setStyleSheet(QStringLiteral(
        "background: #060c14; color: #e8eef5; border: 1px solid #274666; padding: 0 4px;"));
    txtServerURL->setReadOnly(true);

    btnEdit = MakeButton("btnEdit", tr("Edit"), tr("Edit server URL"), 480, 1440, 1215);
    btnCancel = MakeButton("btnCancel", tr("Cancel"), tr("Edit server URL"), 2040, 1440, 1215);
    btnSave = MakeButton("btnSave", tr("Save"), tr("Save server URL"), 3600, 1440, 1215);
    dcButton1 = MakeButton("dcButton1", tr("OK"), tr("Edit server URL"), 1680, 2040, 1935);

    ingClose = new QLabel(this);
    ingClose->setObjectName(QStringLiteral("ingClose"));
    // The close picture is smaller than its place: centred, it sits where the skin leaves room.
    // Through QIcon the picture's @2x twin serves screens of twice the density.
    ingClose->setPixmap(QIcon(QStringLiteral(":/artwork/buttons/ingClose.png"))
                            .pixmap(QSize(16, 16), devicePixelRatioF()));
    ingClose->setAlignment(Qt::AlignCenter);
    ingClose->setToolTip(tr("Exit"));
    ingClose->setGeometry(TwipsToPixels(4800), TwipsToPixels(240), TwipsToPixels(315),
                          TwipsToPixels(255));
    ingClose->setCursor(Qt::PointingHandCursor);
    controls::OnImageClick(*ingClose, [this] { ingClose_Click(); });

    connect(btnEdit, &dcButton::Click, this, &frmSettings::btnEdit_Click);
    connect(btnSave, &dcButton::Click, this, &frmSettings::btnSave_Click);
    connect(btnCancel, &dcButton::Click, this, &frmSettings::btnCancel_Click);
    connect(dcButton1, &dcButton::Click, this, &frmSettings::dcButton1_Click);
    Label1->setBuddy(txtServerURL); // names the box for a screen reader
    controls::NameControlsAfterToolTips(*this);
    controls::CloseOnEscape(*this, [this] { ingClose_Click(); });

    Form_Load();
}

dcButton* frmSettings::MakeButton(const char* name, const QString& caption, const QString& tip,
                                  int left, int top, int width)
{
    auto* button = new dcButton(this, QString::fromLatin1(name));
    button->setObjectName(QString::fromLatin1(name));
    button->SetButtonStyle(DialogButtonStyle);
    button->SetBackColor(DialogButtonBackColor);
    button->SetForeColor(DialogButtonForeColor);
    button->SetCaption(caption);
    button->setToolTip(tip);
    button->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                        TwipsToPixels(375));
    return button;
}

void frmSettings::Form_Load()
{
    Skin->move(0, 0);
    Skin->MakeSkin(true);
    Skin->lower();
    Label1->raise();
    txtServerURL->raise();
    for (QWidget* control : {static_cast<QWidget*>(btnEdit), static_cast<QWidget*>(btnCancel),
                             static_cast<QWidget*>(btnSave), static_cast<QWidget*>(dcButton1),
                             static_cast<QWidget*>(ingClose)})
        control->raise();
    CenterForm(*this);
    MakeTopmost(this);
    txtServerURL->setText(Config::Read(Config::ServerURL));
}

void frmSettings::btnEdit_Click()
{
    Ask().Message(this, QStringLiteral("Corvane net player"),
                  tr("Do not change te ServerURL if not necessary"), Questions::Icon::None);
    txtServerURL->setFocus();
    txtServerURL->setReadOnly(false);
    btnSave->SetEnabled(true);
    btnCancel->SetEnabled(true);
    btnEdit->SetEnabled(false);
}

void frmSettings::btnSave_Click()
{
    // Saying "changed" over a write that failed would lose the address at the next start.
    if (!Config::Write(Config::ServerURL, txtServerURL->text())) {
        TellUnsaved(this, Config::ServerURL, true);
        return;
    }
    Ask().Message(this, QStringLiteral("Corvane net player"), tr("ServetURL has been changed"),
                  Questions::Icon::None);
    btnSave->SetEnabled(false);
    btnCancel->SetEnabled(false);
    btnEdit->SetEnabled(true);
}

void frmSettings::btnCancel_Click()
{
    // Cancel stores the text as it stands too; only the confirmation is left out.
    (void)SaveSetting(this, Config::ServerURL, txtServerURL->text());
    btnSave->SetEnabled(false);
    btnCancel->SetEnabled(false);
}

void frmSettings::dcButton1_Click()
{
    close();
}

void frmSettings::ingClose_Click()
{
    close();
}

} // namespace app
