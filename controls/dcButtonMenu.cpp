// The drop-down menu mode of dcButton.
#include "dcButton.h"

#include <QMenu>
#include <QMouseEvent>

namespace controls {

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
    // The desktop's popup-menu placement flags; the caller's Flags may carry the centring ones.
    constexpr int CenterAlign = 0x4, RightAlign = 0x8, VCenterAlign = 0x10, BottomAlign = 0x20;
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
    else if (flags & CenterAlign)
        at.rx() -= menuSize.width() / 2;
    if (flags & BottomAlign)
        at.ry() -= menuSize.height();
    else if (flags & VCenterAlign)
        at.ry() -= menuSize.height() / 2;

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

} // namespace controls
