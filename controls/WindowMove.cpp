#include "WindowMove.h"

#include "X11Move.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace controls {

void WindowMove::Press(QWidget& Window, QPoint Global)
{
    m_offset = Window.pos() - Global;
    QWindow* handle = Window.windowHandle();
    m_systemMove = handle && handle->startSystemMove();
    // No window manager, or one that refuses: the window follows the mouse until release.
    m_following = !m_systemMove;
}

bool WindowMove::Motion(QWidget& Window, QPoint Global, bool Held)
{
    // A window manager that took the move owns the pointer and we see no motion. Motion with the
    // button still down means it accepted the request but is not moving the window: take the
    // move back (it ignores our own moves while it believes it is moving) and follow the mouse.
    if (m_systemMove && Held) {
        CancelSystemMove(Window.windowHandle());
        m_systemMove = false;
        m_following = true;
    }
    if (m_following)
        Window.move(Global + m_offset);
    return m_following;
}

bool WindowMove::Release(QWidget& Window)
{
    // The window manager grabs the pointer for a move it has started, so a release that reaches
    // us came first: a tap. Left alone, the move would start after it and hold the window to the
    // pointer until the next click.
    if (m_systemMove)
        CancelSystemMove(Window.windowHandle());
    const bool moving = m_following;
    m_following = m_systemMove = false;
    return moving;
}

namespace {

class MoveHandle : public QObject
{
  public:
    MoveHandle(QWidget& Handle, Qt::MouseButtons Buttons) : QObject(&Handle), m_Buttons(Buttons)
    {
        Handle.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        QWidget& window = *static_cast<QWidget*>(watched)->window();
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (!(m_Buttons & mouse->button()))
                return false;
            m_Move.Press(window, mouse->globalPosition().toPoint());
            return true;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            return m_Move.Motion(window, mouse->globalPosition().toPoint(),
                                 mouse->buttons() != Qt::NoButton);
        }
        case QEvent::MouseButtonRelease:
            return m_Move.Release(window);
        default:
            return false;
        }
    }

  private:
    Qt::MouseButtons m_Buttons;
    WindowMove m_Move;
};

} // namespace

void MakeMoveHandle(QWidget& Handle, Qt::MouseButtons Buttons)
{
    new MoveHandle(Handle, Buttons);
}

} // namespace controls
