#include "Draw.h"

#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>

namespace artwork {

QImage ShapedSkin(QSize size, const QPainterPath& shape, const Painting& paint, int scale)
{
    QImage face(size * scale, QImage::Format_ARGB32_Premultiplied);
    face.fill(BodyBottom);
    {
        QPainter painter(&face);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale, scale);
        paint(painter);
    }
    // The outline is always taken at the window's own size: the window's mask comes from the
    // plain skin, and a larger twin must cover exactly the same pixels.
    QImage outline(size, QImage::Format_ARGB32_Premultiplied);
    outline.fill(Qt::transparent);
    {
        QPainter painter(&outline);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillPath(shape, Qt::white);
    }
    // The window mask is one bit deep: a half-covered edge pixel would be either a coloured
    // fringe or a hole, so each pixel is decided by the aliased outline alone.
    QImage skin(face.size(), QImage::Format_ARGB32);
    for (int y = 0; y < face.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(face.constScanLine(y));
        const auto* inside = reinterpret_cast<const QRgb*>(outline.constScanLine(y / scale));
        auto* out = reinterpret_cast<QRgb*>(skin.scanLine(y));
        for (int x = 0; x < face.width(); ++x)
            out[x] = qAlpha(inside[x / scale]) ? (in[x] | 0xff000000u) : 0u;
    }
    return skin;
}

QImage Drawn(QSize size, int scale, const Painting& paint)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        paint(painter);
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPainterPath RoundedShape(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void FillBody(QPainter& painter, const QRectF& rect)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, BodyTop);
    gradient.setColorAt(1, BodyBottom);
    painter.fillRect(rect, gradient);
}

void FillStrip(QPainter& painter, const QRectF& rect)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, StripTop);
    gradient.setColorAt(1, StripBottom);
    painter.fillRect(rect, gradient);
    painter.setPen(QPen(Frame, 1));
    painter.drawLine(QPointF(rect.left(), rect.bottom() - 0.5),
                     QPointF(rect.right(), rect.bottom() - 0.5));
}

void DrawWell(QPainter& painter, const QRect& area, const QColor& fill)
{
    const QRectF frame = QRectF(area).adjusted(-0.5, -0.5, 0.5, 0.5);
    painter.fillRect(area, fill);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Frame, 1));
    painter.drawRoundedRect(frame, 2, 2);
}

void DrawRim(QPainter& painter, const QRectF& rect, qreal radius)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Rim, 1));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    QColor soft = Highlight;
    soft.setAlpha(90);
    painter.setPen(QPen(soft, 1));
    painter.drawLine(QPointF(rect.left() + radius, rect.top() + 1.5),
                     QPointF(rect.right() - radius, rect.top() + 1.5));
}

void DrawMark(QPainter& painter, QPointF centre, qreal radius)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(Accent);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(BodyTop);
    painter.drawEllipse(centre, radius * 0.56, radius * 0.56);
    painter.setBrush(Accent);
    painter.drawEllipse(centre, radius * 0.22, radius * 0.22);
}

void DrawAccentRule(QPainter& painter, const QRectF& rect)
{
    QLinearGradient gradient(rect.topLeft(), rect.topRight());
    QColor faded = Accent;
    faded.setAlpha(0);
    gradient.setColorAt(0, Accent);
    gradient.setColorAt(0.7, Accent);
    gradient.setColorAt(1, faded);
    painter.fillRect(rect, gradient);
}

QFont Font(qreal pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace artwork
