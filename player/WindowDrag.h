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
    bool Following() const { return m_Follow.isActive(); }

  private:
    void Follow();

    QPointer<QWidget> m_Window;
    QTimer m_Follow;
    QPoint m_Offset; // window position minus the pointer's
};

} // namespace player
