#include "FrmSysTray.h"

#include "InputCodes.h"
#include "MyFunction.h"
#include "PlayerArt.h"
#include "PlayerTray.h"
#include "ProgramState.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace player {

using namespace core;

namespace {

QIcon TrayIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        const QPixmap art(QStringLiteral(":/artwork/icons/corvane-%1.png").arg(size));
        if (!art.isNull())
            icon.addPixmap(art);
    }
    if (!icon.isNull())
        return icon;
    if (!QApplication::windowIcon().isNull())
        return QApplication::windowIcon();
    return QIcon(
        QPixmap::fromImage(ButtonImage(QString(), QSize(22, 22), QStringLiteral("\u266a"))));
}

} // namespace

FrmSysTray::FrmSysTray(QWidget* parent) : QWidget(parent), SysIcon(this), mnuFile(new QMenu(this))
{
    setObjectName(QString::fromLatin1(WindowName::TrayMenu));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    mnuShow = mnuFile->addAction(tr("Show"));
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(tr("Exit"));
    mnuAbout = mnuFile->addAction(tr("About"));
    mnuFile->setDefaultAction(mnuShow);
    connect(&SysIcon, &controls::SystemTray::MouseClick, this, &FrmSysTray::SysIcon_MouseClick);
    connect(&SysIcon, &controls::SystemTray::MouseDblClick, this,
            &FrmSysTray::SysIcon_MouseDblClick);
    connect(mnuShow, &QAction::triggered, this, &FrmSysTray::mnuShow_Click);
    connect(mnuExit, &QAction::triggered, this, &FrmSysTray::mnuExit_Click);
    connect(mnuAbout, &QAction::triggered, this, &FrmSysTray::mnuAbout_Click);
    Form_Load();
}

FrmSysTray::~FrmSysTray()
{
    SysIcon.Remove();
}

void FrmSysTray::setVisible(bool)
{
    QWidget::setVisible(false);
}

void FrmSysTray::Form_Load()
{
    SysIcon.setIcon(TrayIcon());
    // From here on the player's now-playing card keeps the tip (the title and the song).
    SysIcon.setTip(State().PlayerTitle());
    SysIcon.add();
    // Off the right edge of the screen, should anything ever map it.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().width() + width(), 0);
}

void FrmSysTray::SysIcon_MouseClick(int Button, int)
{
    if (Button != controls::vbRightButton)
        return;
    emit MenuOpening();
    mnuFile->exec(QCursor::pos(), mnuShow);
}

void FrmSysTray::SysIcon_MouseDblClick(int, int)
{
    SysIcon.add();
    ShowPlayerAndDirectory();
}

void FrmSysTray::mnuShow_Click()
{
    ShowPlayerAndDirectory();
}

void FrmSysTray::ShowPlayerAndDirectory()
{
    ShowWindow(QString::fromLatin1(WindowName::Player));
    ShowWindow(QString::fromLatin1(WindowName::Directory));
    if (auto* player = FindWindow<TrayPlayer>(QString::fromLatin1(WindowName::Player)))
        player->DirectoryShown();
}

void FrmSysTray::mnuExit_Click()
{
    SysIcon.Remove();
    if (auto* player = FindWindow<TrayPlayer>(QString::fromLatin1(WindowName::Player)))
        player->ExitProgram();
    else
        UnloadAllForms();
}

void FrmSysTray::mnuAbout_Click()
{
    ShowWindow(QString::fromLatin1(WindowName::About));
}

} // namespace player
