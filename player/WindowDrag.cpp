#include "WindowDrag.h"

#include "X11Move.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace player {

namespace {
// How far the pointer may travel before a window manager that took the move must have moved
// the window.
constexpr int MoveSlack = 4;
} // namespace

WindowDrag::WindowDrag(QWidget* Window) : QObject(Window), m_Window(Window)
{
    m_Timer.setInterval(16);
    connect(&m_Timer, &QTimer::timeout, this, &WindowDrag::Tick);
}

void WindowDrag::Start(QPoint GlobalPos)
{
    if (!m_Window)
        return;
    m_Press = GlobalPos;
    m_WindowAtPress = m_Window->pos();
    QWindow* handle = m_Window->windowHandle();
    m_bSystemMove = handle && handle->startSystemMove();
    m_Timer.start();
}

void WindowDrag::Stop()
{
    // A release we see is one the window manager did not take: a tap released before it started
    // the move. It would start it anyway and keep it until the next click, so it is called off.
    if (m_bSystemMove && m_Window)
        controls::CancelSystemMove(m_Window->windowHandle());
    m_Timer.stop();
    m_bSystemMove = false;
}

void WindowDrag::Tick()
{
    if (!m_Window) {
        Stop();
        return;
    }
    const QPoint pointer = QCursor::pos();
    if (m_bSystemMove) {
        // The window manager moves it: nothing more to do.
        if (m_Window->pos() != m_WindowAtPress) {
            m_Timer.stop();
            m_bSystemMove = false;
            return;
        }
        // Some accept the request and then leave the window where it is (seen with openbox
        // under synthetic input): take the move back and follow the pointer ourselves.
        if ((pointer - m_Press).manhattanLength() <= MoveSlack)
            return;
        controls::CancelSystemMove(m_Window->windowHandle());
        m_bSystemMove = false;
    }
    // The part that was pressed may never report the release (the video area under another
    // window): no button held ends the drag too.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        Stop();
        return;
    }
    m_Window->move(m_WindowAtPress + pointer - m_Press);
}

} // namespace player
