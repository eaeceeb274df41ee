// Moving a borderless window by a part of it, as dragging a caption does: the window manager moves
// it when it will; where there is none, or where it accepts the move and then does not carry it
// out (openbox under XInput2), the window follows the pointer until the button is released.
#pragma once

#include <QPoint>
#include <Qt>

class QWidget;

namespace controls {

class WindowMove
{
  public:
    // A press at Global (screen pixels) starts moving Window.
    void Press(QWidget& Window, QPoint Global);
    // Pointer motion; Held: the button that started the move is still down. True while the window
    // follows the pointer (the motion was the move's, not the part's).
    bool Motion(QWidget& Window, QPoint Global, bool Held);
    // The release; true when it ended a move the window followed. A move the window manager has
    // not started yet is called off: the press and release were a click.
    bool Release(QWidget& Window);

    bool Following() const { return m_following; }

  private:
    QPoint m_offset;           // window position minus the pointer's position at the press
    bool m_systemMove = false; // the window manager was asked to move the window
    bool m_following = false;
};

// Makes Handle a place to move its window by: a press with one of Buttons moves it. Handle's own
// presses, motion and releases are taken for the move.
void MakeMoveHandle(QWidget& Handle, Qt::MouseButtons Buttons = Qt::LeftButton);

} // namespace controls
