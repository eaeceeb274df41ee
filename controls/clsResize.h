// Keeps the controls of one window in proportion when the window changes size: each control's
// left, top, width and height scale by the ratio of the window's new size to its previous one.
#pragma once

#include <QPointer>
#include <QWidget>

namespace controls {

class clsResize
{
  public:
    // Binds to `frm` and records its current size as the previous size.
    void FormInitialize(QWidget* frm);
    // Scales every control of the bound window, then records the window's size as the previous
    // size, so repeated resizes compound from the last one.
    void FormResize();

  private:
    QPointer<QWidget> m_form;
    int m_previousHeight = 0;
    int m_previousWidth = 0;
};

} // namespace controls
