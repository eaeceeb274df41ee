// Mouse, keyboard, focus, activation and drop-down menu handling of dcButton.
#include "dcButton.h"

#include "Twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcutEvent>
#include <QWindow>

namespace {

// The key codes the button's events carry are the desktop's virtual-key numbers.
short KeyCodeOf(const QKeyEvent* e)
{
    const int key = e->key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return short(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return short(112 + key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return short(e->nativeVirtualKey() & 0x7FFF);
    }
}

// 1 Shift, 2 Ctrl, 4 Alt, as the events report them.
short ShiftOf(Qt::KeyboardModifiers m)
{
    return short((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                 (m & Qt::AltModifier ? 4 : 0));
}

short ButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

short ButtonsOf(Qt::MouseButtons b)
{
    return short((b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
                 (b & Qt::MiddleButton ? 4 : 0));
}

// Mouse positions in the events are in twips, like every other position the windows handle.
float Twips(qreal pixels)
{
    return float(pixels * corvane::TwipsPerPixel);
}

} // namespace

bool dcButton::IsOverButton(const QPoint& pos) const
{
    if (!rect().contains(pos))
        return false;
    return mask().isEmpty() || mask().contains(pos);
}

void dcButton::Capture()
{
    m_captured = true;
    if (isVisible() && QWidget::mouseGrabber() != this)
        grabMouse();
}

void dcButton::ReleaseCapture()
{
    if (!m_captured)
        return;
    m_captured = false;
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

void dcButton::UpdateCursorForPress()
{
    if (m_handPointer)
        setCursor(Qt::PointingHandCursor);
}

// --- mouse ---------------------------------------------------------------------------------------

void dcButton::mousePressEvent(QMouseEvent* e)
{
    UpdateCursorForPress();
    const QPoint pos = e->position().toPoint();
    m_lastButton = ButtonOf(e->button());
    if (e->button() == Qt::LeftButton) {
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        m_hasFocus = true;
        m_drawnDown = m_mousePressed = true;
        if (!m_spaceHeld) {
            RedrawButton(2);
        } else if (!IsOverButton(pos)) {
            m_mousePressed = false;
            RedrawButton(0);
            m_mousePressed = true;
        }
    }
    if (!m_menu) {
        short button = m_lastButton, shift = ShiftOf(e->modifiers());
        float x = Twips(e->position().x()), y = Twips(e->position().y());
        emit MouseDown(button, shift, x, y);
    } else if (m_closedOnButton || m_menuShown) {
        // This press is the one that closed our own open menu: it must not open it again.
        m_closedOnButton = m_menuShown = false;
        m_menuPressSeen = true;
    } else {
        ShowPopupMenu();
    }
}

void dcButton::mouseMoveEvent(QMouseEvent* e)
{
    ApplyMousePointer();
    const QPoint pos = e->position().toPoint();
    if (IsOverButton(pos)) {
        m_hot = true;
        if (m_spaceHeld) {
            if (m_mousePressed)
                RedrawButton(2);
        } else {
            RedrawButton(m_drawnDown ? 2 : 1);
        }
        if (m_tracking) {
            short button = ButtonsOf(e->buttons()), shift = ShiftOf(e->modifiers());
            float x = Twips(e->position().x()), y = Twips(e->position().y());
            emit MouseMove(button, shift, x, y);
        } else {
            m_tracking = true;
            emit MouseEnter();
        }
    } else if (m_hot) {
        m_hot = false;
        if (!m_spaceHeld && !m_mousePressed)
            RedrawButton(0);
        emit MouseLeave();
    } else if (m_mousePressed) {
        RedrawButton(1);
    }
    m_closedOnButton = false;
}

void dcButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (m_handPointer && m_hot)
        setCursor(Qt::PointingHandCursor);
    const short button = ButtonOf(e->button());
    if (button != 1 && !m_menu && !m_closedOnButton)
        return;
    const QPoint pos = e->position().toPoint();
    const bool over = IsOverButton(pos);
    m_mousePressed = false;
    m_drawnDown = m_spaceHeld;
    if (m_spaceHeld && !over)
        RedrawButton(2);
    else if (m_lastButton == 8)
        RedrawButton(m_hot ? 1 : 0);
    if (!m_spaceHeld)
        ReleaseCapture();
    if (m_menu) {
        if (!m_hot)
            RedrawButton(0);
        m_menuShown = m_closedOnButton = false;
    } else {
        short b = button, shift = ShiftOf(e->modifiers());
        float x = Twips(e->position().x()), y = Twips(e->position().y());
        emit MouseUp(b, shift, x, y);
    }
    // A left press and release over the button is a click of the container.
    if (button == 1 && over)
        ClickHandling();
}

void dcButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || m_lastButton != 1) {
        mousePressEvent(e);
        return;
    }
    m_drawnDown = m_mousePressed = true;
    RedrawButton(2);
    m_lastButton = 8;
    if (!m_menu)
        emit DblClick();
    else if (m_closedOnButton || m_menuShown)
        m_closedOnButton = m_menuShown = false;
    else
        ShowPopupMenu();
}

void dcButton::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    if (!m_tracking)
        return; // no hover was under way, so nobody waits for its end
    const bool wasHot = m_hot;
    m_hot = m_tracking = false;
    if (m_menu) {
        if (m_menuShown) {
            m_menuShown = false;
            m_closedOnButton = true;
            return;
        }
        m_closedOnButton = false;
    }
    // A keyboard press keeps the face pressed; the leave is still announced, so that every
    // MouseEnter has its MouseLeave. A move off the captured button has already announced it.
    if (!m_spaceHeld && isEnabled())
        RedrawButton(0, m_lastButton == 1);
    if (wasHot)
        emit MouseLeave();
}

// --- clicks --------------------------------------------------------------------------------------

void dcButton::ClickHandling()
{
    if (m_drawnDown || m_lastButton != 1)
        return;
    m_mousePressed = m_spaceHeld = false;
    if (m_checkBoxMode)
        m_value = !m_value;
    if (m_hot)
        RedrawButton(1, m_checkBoxMode);
    else
        RedrawButton(0, true);
    if (!m_menu)
        emit Click();
    if (!m_checkBoxMode)
        m_value = false;
}

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
    short code = KeyCodeOf(e);
    short shift = ShiftOf(e->modifiers());
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
    short code = KeyCodeOf(e);
    short shift = ShiftOf(e->modifiers());
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

// --- drop-down menu ------------------------------------------------------------------------------

void dcButton::SetPopupMenu(QMenu* menu, int align, int flags, QAction* defaultMenu)
{
    if (!menu)
        return;
    m_menu = menu;
    m_menuAlign = align;
    m_menuFlags = flags;
    m_defaultMenu = defaultMenu;
}

void dcButton::UnsetPopupMenu()
{
    m_menu = nullptr;
    m_menuAlign = m_menuFlags = 0;
    m_defaultMenu = nullptr;
    m_menuShown = m_closedOnButton = false;
}

void dcButton::ShowPopupMenu()
{
    constexpr int RightAlign = 0x8, BottomAlign = 0x20;
    struct Anchor
    {
        bool right, bottom; // anchor at the button's right edge / bottom edge
        int flags;
    };
    static constexpr Anchor anchors[8] = {{false, true, 0},
                                          {false, false, RightAlign},
                                          {false, true, RightAlign},
                                          {true, false, 0},
                                          {true, true, 0},
                                          {false, false, BottomAlign},
                                          {false, false, BottomAlign | RightAlign},
                                          {true, false, BottomAlign}};
    m_menuShown = true;
    if (!m_menu || m_menuAlign < 0 || m_menuAlign > 7) {
        m_menuShown = false;
        return;
    }
    const Anchor& a = anchors[m_menuAlign];
    const int flags = m_menuFlags | a.flags;
    QPoint at(a.right ? width() : 0, a.bottom ? height() : 0);
    at = mapToGlobal(at);
    const QSize menuSize = m_menu->sizeHint();
    if (flags & RightAlign)
        at.rx() -= menuSize.width();
    if (flags & BottomAlign)
        at.ry() -= menuSize.height();

    RedrawButton(2);
    QPointer<dcButton> self(this);
    QPointer<QMenu> menu(m_menu);
    if (m_defaultMenu)
        menu->setDefaultAction(m_defaultMenu);
    m_menuPressSeen = false;
    m_menuLastPress = QPoint(-1, -1);
    menu->installEventFilter(this);
    menu->exec(at);
    if (!self)
        return; // the window was closed from a menu command
    if (menu)
        menu->removeEventFilter(this);

    const bool closedOverButton =
        m_menuLastPress != QPoint(-1, -1) && IsOverButton(mapFromGlobal(m_menuLastPress));
    if (closedOverButton) {
        // The press that closed the menu must not open it again; when it has already reached
        // us there is nothing left to swallow.
        if (!m_menuPressSeen)
            m_closedOnButton = true;
        return;
    }
    m_drawnDown = m_mousePressed = m_hot = m_spaceHeld = false;
    RedrawButton(0);
    m_menuShown = m_closedOnButton = false;
}

bool dcButton::eventFilter(QObject* watched, QEvent* e)
{
    // Remember where the press that dismisses our menu happened: over the button it must not
    // reopen the menu.
    if (watched == m_menu && e->type() == QEvent::MouseButtonPress) {
        const auto* me = static_cast<QMouseEvent*>(e);
        m_menuLastPress = me->globalPosition().toPoint();
    }
    return QWidget::eventFilter(watched, e);
}
