// Keyboard, access keys, focus and window activation of dcButton.
#include "dcButton.h"

#include "InputCodes.h"

#include <QAccessibleWidget>

#include <QKeyEvent>
#include <QMenu>
#include <QShortcutEvent>

namespace controls {

using namespace dcbutton;

// --- screen readers ------------------------------------------------------------------------------

namespace {

// A push button named by its caption (without the access key's "&"), pressed by its action.
class dcButtonAccessible : public QAccessibleWidget
{
  public:
    explicit dcButtonAccessible(dcButton* button) : QAccessibleWidget(button, QAccessible::Button)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t != QAccessible::Name || !own.isEmpty())
            return own;
        QString caption = static_cast<dcButton*>(widget())->Caption();
        return caption.replace(QLatin1String("&&"), QStringLiteral("\x01"))
            .remove(QLatin1Char('&'))
            .replace(QStringLiteral("\x01"), QStringLiteral("&"));
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<dcButton*>(widget())->AccessKeyPress(32);
    }
};

QAccessibleInterface* dcButtonFactory(const QString&, QObject* object)
{
    if (auto* button = qobject_cast<dcButton*>(object))
        return new dcButtonAccessible(button);
    return nullptr;
}

} // namespace

void dcButton::InstallAccessibility()
{
    static const bool installed = (QAccessible::installFactory(dcButtonFactory), true);
    (void)installed;
}

// --- access keys ---------------------------------------------------------------------------------

void dcButton::AccessKeyPress(int keyAscii)
{
    if (!isEnabled())
        return;
    if (m_spaceHeld)
        ReleaseCapture();
    if (m_checkBoxMode && (keyAscii == 13 || keyAscii == 27))
        return;
    m_drawnDown = false;
    m_lastButton = 1;
    if (!m_menu) {
        ClickHandling();
    } else if (keyAscii != 27 && !m_closedOnButton) {
        ShowPopupMenu();
        m_drawnDown = m_mousePressed = m_menuShown = m_spaceHeld = false;
    }
}

void dcButton::ActivateByAccessKey()
{
    if (!isEnabled())
        return;
    setFocus(Qt::ShortcutFocusReason);
    AccessKeyPress(m_accessKey.unicode());
}

dcButton* dcButton::ButtonForAccessKey(const QString& typed) const
{
    if (typed.size() != 1 || !typed[0].isPrint())
        return nullptr;
    const QChar key = typed[0].toLower();
    const auto buttons = window()->findChildren<dcButton*>();
    for (dcButton* b : buttons)
        if (b->m_accessKey == key && b->isVisible() && b->isEnabled())
            return b;
    return nullptr;
}

bool dcButton::event(QEvent* e)
{
    // The window passes its activation on to its children.
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate)
        FormActivation(e->type() == QEvent::WindowActivate);
    if (e->type() == QEvent::Shortcut) {
        const auto* se = static_cast<QShortcutEvent*>(e);
        const QKeySequence& seq = se->key();
        const int key = seq.isEmpty() ? 0 : seq[0].key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AccessKeyPress(13);
        } else if (key == Qt::Key_Escape) {
            AccessKeyPress(27);
        } else {
            ActivateByAccessKey();
        }
        return true;
    }
    return QWidget::event(e);
}

// --- keyboard ------------------------------------------------------------------------------------

void dcButton::keyPressEvent(QKeyEvent* e)
{
    // Enter presses the focused button, as Space does (a keyboard user expects either).
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !m_checkBoxMode &&
        !m_spaceHeld) {
        AccessKeyPress(13);
        return;
    }
    short code = short(KeyCode(e->key()));
    short shift = short(ShiftCode(e->modifiers()));
    if (code == 32 && shift != 4) {
        m_drawnDown = m_spaceHeld = true;
        Capture();
        if (!m_mousePressed)
            RedrawButton(2);
        emit KeyDown(code, shift);
    } else if (code >= 37 && code <= 40) {
        const bool wasHeld = m_spaceHeld;
        if (shift == 0)
            focusNextPrevChild(code >= 39);
        if (wasHeld) {
            // Focus moving away has already ended the keyboard press; the press still counts.
            ReleaseCapture();
            m_lastButton = 1;
            ClickHandling();
        }
    } else if (dcButton* target = (shift & ~1) == 0 ? ButtonForAccessKey(e->text()) : nullptr) {
        // A button's access key typed while a button has the focus activates that button.
        target->ActivateByAccessKey();
        return;
    } else {
        if (m_spaceHeld) {
            m_drawnDown = m_spaceHeld = false;
            ReleaseCapture();
            RedrawButton(m_hot ? 1 : 0);
        }
        emit KeyDown(code, shift);
        if (code != 32)
            e->ignore(); // let the window see the keys we do not handle ourselves
    }
    const QString text = e->text();
    for (QChar ch : text) {
        if (ch.unicode() == 0 || ch.unicode() > 0x7FFF)
            continue;
        short ascii = short(ch.unicode());
        emit KeyPress(ascii);
    }
}

void dcButton::keyReleaseEvent(QKeyEvent* e)
{
    if (e->isAutoRepeat())
        return; // the key is still down
    short code = short(KeyCode(e->key()));
    short shift = short(ShiftCode(e->modifiers()));
    if (code != 32) {
        emit KeyUp(code, shift);
        e->ignore();
        return;
    }
    m_drawnDown = m_mousePressed;
    if (m_spaceHeld) {
        m_spaceHeld = false;
        if (!m_menu) {
            m_lastButton = 1;
            ClickHandling();
        } else {
            if (!m_closedOnButton)
                ShowPopupMenu();
            m_menuShown = false;
        }
    }
    if (!m_drawnDown)
        ReleaseCapture();
    if (m_menu)
        return;
    emit KeyUp(code, shift);
}

// --- focus and activation ------------------------------------------------------------------------

void dcButton::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    if (e->reason() == Qt::ActiveWindowFocusReason) {
        FormActivation(true);
        return;
    }
    m_hasFocus = true;
    if (!m_drawnDown)
        RedrawButton(0);
}

void dcButton::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    // The window going inactive keeps our focus; the activation handling takes care of the look.
    if (e->reason() == Qt::ActiveWindowFocusReason)
        return;
    m_hasFocus = m_drawnDown = m_mousePressed = m_spaceHeld = false;
    ReleaseCapture();
    if (isEnabled() && m_formActive)
        RedrawButton(0, true);
}

void dcButton::FormActivation(bool active)
{
    if (active == m_formActive)
        return;
    m_formActive = active;
    if (!active) {
        const bool focused = m_hasFocus, wasHot = m_hot, wasDefault = m_defaultLook;
        m_hasFocus = m_drawnDown = m_mousePressed = m_hot = m_spaceHeld = m_defaultLook = false;
        ReleaseCapture();
        if (isEnabled())
            RedrawButton(0, wasHot || focused || wasDefault);
        m_defaultLook = m_default;
        m_hasFocus = focused;
    } else if (isEnabled() && (m_hasFocus || m_defaultLook)) {
        RedrawButton(0, true);
    }
}

void dcButton::DefaultLookChanged()
{
    m_defaultLook = m_default;
    m_drawnDown = m_mousePressed = m_spaceHeld = false;
    if (isEnabled() && !m_hot && !m_hasFocus)
        RedrawButton(-1, true);
}

void dcButton::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    switch (e->type()) {
    case QEvent::ActivationChange:
        FormActivation(isActiveWindow());
        break;
    case QEvent::EnabledChange:
        // The toolkit ends the hover of a widget it disables; enabled again under the cursor,
        // the button is hot at once, as if the cursor had just arrived.
        if (isEnabled() && underMouse() && !m_hot) {
            m_hot = m_tracking = true;
            emit MouseEnter();
        }
        if (m_initialised)
            RedrawButton(isEnabled() ? (m_hot ? 1 : 0) : 3);
        break;
    case QEvent::FontChange:
        if (m_initialised)
            Refresh();
        break;
    default:
        break;
    }
}

} // namespace controls
