// A push button that is nothing but its picture, as the player's graphical buttons are; its
// outline comes from ShapeButton. It takes the keyboard focus by Tab and shows it with a ring.
#pragma once

#include <QAbstractButton>
#include <QImage>

namespace player {

class ImageButton : public QAbstractButton
{
    Q_OBJECT
  public:
    explicit ImageButton(QWidget* parent, const QString& Name, const QString& ToolTip);

    QImage Picture() const { return m_Picture; }
    void setPicture(const QImage& Picture);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QImage m_Picture;
};

} // namespace player
