#include "ImageButton.h"

#include <QPainter>

namespace player {

ImageButton::ImageButton(QWidget* parent, const QString& Name, const QString& ToolTip)
    : QAbstractButton(parent)
{
    setObjectName(Name);
    setToolTip(ToolTip);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void ImageButton::setPicture(const QImage& Picture)
{
    m_Picture = Picture;
    update();
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_Picture.isNull())
        painter.drawImage(rect(), m_Picture);
    // Pressed: a shade over the picture, the old buttons' sunken look.
    if (isDown())
        painter.fillRect(rect(), QColor(0, 0, 0, 70));
}

} // namespace player
