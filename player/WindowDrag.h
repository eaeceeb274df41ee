// Moving a borderless window by one of its parts: the window manager moves it when it will;
// otherwise the window follows the pointer until the button is released.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

class QWidget;

namespace player {

class WindowDrag : public QObject
{
    Q_OBJECT
  public:
    explicit WindowDrag(QWidget* Window);

    // A press at GlobalPos (in the window's part that drags).
    void Start(QPoint GlobalPos);
    // The release, where the part that was pressed reports one.
    void Stop();
    bool Following() const { return m_Timer.isActive() && !m_bSystemMove; }

  private:
    void Tick();

    QPointer<QWidget> m_Window;
    // Runs only while a button is held: a frame's worth of following is smooth enough.
    QTimer m_Timer;
    QPoint m_Press; // where the button went down
    QPoint m_WindowAtPress;
    bool m_bSystemMove = false; // the window manager was asked to move the window
};

} // namespace player
