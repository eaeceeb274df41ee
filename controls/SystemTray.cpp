#include "SystemTray.h"

#include "InputCodes.h"
#include "PropertyBag.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QTextDocument>
#include <QWidget>

namespace controls {

namespace {

const QString TipKey = QStringLiteral("Tip");
const QString IconKey = QStringLiteral("Icon");
const QString DefaultTip = QStringLiteral("0");

// An icon slot must show something; an empty icon stands for "no icon chosen".
QIcon Blank()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

int NotificationFor(QEvent::Type type, Qt::MouseButton button)
{
    const int base = button == Qt::RightButton    ? SystemTray::RightDown
                     : button == Qt::MiddleButton ? SystemTray::MiddleDown
                                                  : SystemTray::LeftDown;
    switch (type) {
    case QEvent::MouseButtonPress:
        return base;
    case QEvent::MouseButtonRelease:
        return base + 1;
    case QEvent::MouseButtonDblClick:
        return base + 2;
    default:
        return SystemTray::PointerMoved;
    }
}

} // namespace

SystemTray::SystemTray(QObject* parent) : QObject(parent)
{
    connect(&m_icon, &QSystemTrayIcon::activated, this, &SystemTray::Activated);
}

// Qt takes the icon away with its object; the host is expected to have called Remove already.
SystemTray::~SystemTray() = default;

void SystemTray::setTip(const QString& tip)
{
    m_tip = tip;
    PushToDesktop();
}

void SystemTray::setIcon(const QIcon& icon)
{
    m_iconImage = icon;
    PushToDesktop();
}

// A change to an absent icon is refused by the desktop and only kept for the next add().
void SystemTray::PushToDesktop()
{
    if (!m_present)
        return;
    // An XEmbed tray shows the tip as a Qt tool tip, which takes text that looks like HTML as
    // HTML: there it goes escaped, as rich text, so it reads exactly as given. A StatusNotifier
    // host takes the tip as plain text.
    const QString tip = m_tip.left(MaxTipLength);
    m_icon.setToolTip(m_rawSource ? Qt::convertFromPlainText(tip, Qt::WhiteSpaceNormal) : tip);
    m_icon.setIcon(m_iconImage.isNull() ? Blank() : m_iconImage);
}

void SystemTray::add()
{
    if (m_present)
        return;
    m_present = true;
    PushToDesktop();
    const QList<QWidget*> before = QApplication::topLevelWidgets();
    m_icon.show();
    FindRawSource(before);
    if (m_rawSource)
        PushToDesktop(); // the tip in the form this host shows
}

void SystemTray::Remove()
{
    if (!m_present)
        return;
    m_present = false;
    m_icon.hide();
    m_rawSource.clear();
}

// Under an XEmbed tray Qt shows the icon through a small widget of its own, created by show().
// Its mouse events carry presses, moves and right/middle double clicks, which the activation
// signal drops; when there is no such widget (a StatusNotifier desktop) activations are used.
void SystemTray::FindRawSource(const QList<QWidget*>& before)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!before.contains(widget) && (widget->inherits("QSystemTrayIconSys") ||
                                         widget->objectName() == "QSystemTrayIconSys")) {
            m_rawSource = widget;
            widget->setMouseTracking(true);
            widget->installEventFilter(this);
            return;
        }
    }
}

bool SystemTray::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_rawSource) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            Dispatch(NotificationFor(event->type(), mouse->button()),
                     controls::ShiftCode(mouse->modifiers()));
            // Qt's own handling would raise the activation signal and show the context menu;
            // the host does that from MouseClick.
            return true;
        }
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void SystemTray::Activated(QSystemTrayIcon::ActivationReason reason)
{
    if (m_rawSource)
        return; // the raw events already said it
    const int shift = controls::ShiftCode(QGuiApplication::queryKeyboardModifiers());
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        Dispatch(LeftUp, shift);
        break;
    case QSystemTrayIcon::DoubleClick:
        Dispatch(LeftDoubleClick, shift);
        break;
    case QSystemTrayIcon::Context:
        Dispatch(RightUp, shift);
        break;
    case QSystemTrayIcon::MiddleClick:
        Dispatch(MiddleUp, shift);
        break;
    default:
        Dispatch(PointerMoved, shift);
        break;
    }
}

void SystemTray::Dispatch(int message, int Shift)
{
    // A notification while the host still handles an earlier one (say, a popup menu running its
    // own loop) is dropped.
    if (bInEvent)
        return;
    bInEvent = true;
    switch (message) {
    case LeftUp:
        emit LeftClick();
        emit MouseClick(controls::vbLeftButton, Shift);
        break;
    case LeftDoubleClick:
        emit LeftDblClick();
        emit MouseDblClick(controls::vbLeftButton, Shift);
        break;
    case RightUp:
        emit RightClick();
        emit MouseClick(controls::vbRightButton, Shift);
        break;
    case RightDoubleClick:
        emit RightDblClick();
        emit MouseDblClick(controls::vbRightButton, Shift);
        break;
    case MiddleUp:
        emit MiddleClick();
        emit MouseClick(controls::vbMiddleButton, Shift);
        break;
    case MiddleDoubleClick:
        emit MiddleDblClick();
        emit MouseDblClick(controls::vbMiddleButton, Shift);
        break;
    default:
        emit Other();
        break;
    }
    bInEvent = false;
}

void SystemTray::ReadProperties(const PropertyBag& bag)
{
    m_tip = bag.ReadProperty(TipKey, DefaultTip).toString();
    const QVariant icon = bag.ReadProperty(IconKey, 0);
    m_iconImage = icon.canConvert<QIcon>() && icon.typeId() == QMetaType::QIcon
                      ? icon.value<QIcon>()
                      : QIcon();
    PushToDesktop();
}

void SystemTray::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(TipKey, m_tip, DefaultTip);
    // No icon is stored as the default 0.
    if (m_iconImage.isNull())
        bag.WriteProperty(IconKey, 0, 0);
    else
        bag.WriteProperty(IconKey, m_iconImage, 0);
}

} // namespace controls
