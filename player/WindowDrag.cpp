#include "WindowDrag.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace player {

WindowDrag::WindowDrag(QWidget* Window) : QObject(Window), m_Window(Window)
{
    // Only while a button is held: a frame's worth of following is smooth enough.
    m_Follow.setInterval(16);
    connect(&m_Follow, &QTimer::timeout, this, &WindowDrag::Follow);
}

void WindowDrag::Start(QPoint GlobalPos)
{
    if (!m_Window)
        return;
    QWindow* handle = m_Window->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    m_Offset = m_Window->pos() - GlobalPos;
    m_Follow.start();
}

void WindowDrag::Stop()
{
    m_Follow.stop();
}

void WindowDrag::Follow()
{
    // The part that was pressed may never report the release (the video area under another
    // window): no button held ends the drag too.
    if (!m_Window || QGuiApplication::mouseButtons() == Qt::NoButton) {
        Stop();
        return;
    }
    m_Window->move(QCursor::pos() + m_Offset);
}

} // namespace player
