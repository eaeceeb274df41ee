// Mouse handling of dcButton: hover, press, release, double click and the click itself.
#include "dcButton.h"

#include "InputCodes.h"
#include "Twips.h"

#include <QMenu>
#include <QMouseEvent>

namespace controls {

using namespace dcbutton;

namespace {

// The button's mouse events carry positions in twips, like every other position the windows
// handle.
float Twips(qreal pixels)
{
    return float(pixels * TwipsPerPixel);
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

// --- mouse ---------------------------------------------------------------------------------------

void dcButton::mousePressEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    m_lastButton = short(ButtonCode(e->button()));
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
        short button = m_lastButton, shift = short(ShiftCode(e->modifiers()));
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
    // The cursor (hand, custom or standard) is a property of the widget: it needs no re-applying.
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
            short button = short(ButtonCode(e->buttons())),
                  shift = short(ShiftCode(e->modifiers()));
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
    const short button = short(ButtonCode(e->button()));
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
        short b = button, shift = short(ShiftCode(e->modifiers()));
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

} // namespace controls
