// The skin every visible window carries as `Skin`: it shows the window's skin image, gives the
// window the image's size and outline (MakeSkin), and lets the user drag the window by it.
#pragma once

#include "WindowMove.h"

#include <QEvent>
#include <QImage>
#include <QPoint>
#include <QWidget>

namespace controls {

class PropertyBag;

class FormSkin : public QWidget
{
    Q_OBJECT
  public:
    explicit FormSkin(QWidget* parent);

    QImage Picture() const { return m_picture; }
    void setPicture(const QImage& vNewValue);

    // Skins the owning window when `TF` is true: borderless, the skin's size and its outline.
    // False does nothing.
    void MakeSkin(bool TF);

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // The inner surface that shows the picture and starts the drag.
    QWidget* pic() const { return m_pic; }
    // True while the window follows the mouse because the window manager would not move it.
    bool IsDragging() const { return m_move.Following(); }

  signals:
    // Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt; X, Y in pixels of the
    // surface that was hit.
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ApplyResizeRule();
    bool PicMouseEvent(QEvent::Type type, QMouseEvent* event);

    QImage m_picture;
    QWidget* m_pic = nullptr;
    WindowMove m_move;
};

} // namespace controls
