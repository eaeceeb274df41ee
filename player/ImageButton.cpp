#include "ImageButton.h"

#include "Artwork.h"
#include "KeyboardAccess.h"

#include <QKeyEvent>
#include <QPainter>

namespace player {

ImageButton::ImageButton(QWidget* parent, const QString& Name, const QString& ToolTip)
    : QAbstractButton(parent)
{
    setObjectName(Name);
    setToolTip(ToolTip);
    setCursor(Qt::PointingHandCursor);
    // Tab reaches it; a mouse click does not take the focus from where the user typed.
    setFocusPolicy(Qt::TabFocus);
    controls::KeepButtonKeys(*this);
}

void ImageButton::setPicture(const QImage& Picture)
{
    m_Picture = Picture;
    update();
}

void ImageButton::keyPressEvent(QKeyEvent* event)
{
    // Space presses it as every button does; Enter too, as the picture buttons do.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_Picture.isNull())
        painter.drawImage(rect(), controls::ImageForRatio(m_Picture, devicePixelRatioF()));
    // Pressed: a shade over the picture, the old buttons' sunken look.
    if (isDown())
        painter.fillRect(rect(), QColor(0, 0, 0, 70));
    if (hasFocus())
        controls::DrawFocusRing(painter, rect(), true);
}

} // namespace player
