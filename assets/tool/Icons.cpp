#include "Catalogues.h"

#include "Palette.h"

#include <QPainter>

namespace artwork {

namespace {

// The mark on a rounded navy tile, drawn on a 256-unit grid and scaled to each size. Small
// sizes drop the rim highlight, which would only blur there.
QImage Icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);
    const QRectF tile(8, 8, 240, 240);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0, BodyTop.lighter(115));
    fill.setColorAt(1, BodyBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(tile, 56, 56);
    if (size >= 32) {
        painter.setPen(QPen(Rim, 256.0 / size));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(tile.adjusted(2, 2, -2, -2), 54, 54);
    }
    DrawMark(painter, QPointF(128, 128), size >= 32 ? 82 : 90);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

Catalogue Icons()
{
    Catalogue made;
    for (const int size : IconSizes)
        made.push_back({QStringLiteral("icons/corvane-%1.png").arg(size), Icon(size)});
    return made;
}

} // namespace artwork
