// The painting vocabulary every picture is made of, so that all windows share one look.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace artwork {

// One generated file: its path below the artwork folder and its pixels.
struct Artwork
{
    QString path;
    QImage image;
};
using Catalogue = std::vector<Artwork>;
using Painting = std::function<void(QPainter&)>;

// A window skin: fully transparent (the top-left pixel, hence the colour cut out of the window)
// outside `shape`, fully opaque inside it. The outline is taken without antialiasing so that
// every pixel is clearly in or out; `paint` draws the face with antialiasing and may spill over
// the outline, which is cut away afterwards. At `scale` 2 the face is drawn at twice the size
// and each pixel of the outline becomes a 2 x 2 block.
QImage ShapedSkin(QSize size, const QPainterPath& shape, const Painting& paint, int scale = 1);

// A picture drawn in logical units on a transparent image `scale` times `size`, so the @2x
// variants come from the same vectors.
QImage Drawn(QSize size, int scale, const Painting& paint);

QPainterPath RoundedShape(const QRectF& rect, qreal radius);

// The window face, a vertical gradient over `rect`.
void FillBody(QPainter& painter, const QRectF& rect);
// A raised strip (titles, button bars).
void FillStrip(QPainter& painter, const QRectF& rect);
// A recessed area for a control: `area` itself is filled, its frame lies just outside it.
void DrawWell(QPainter& painter, const QRect& area, const QColor& fill);
// The window's rim: a light outer line and a soft highlight just inside the top.
void DrawRim(QPainter& painter, const QRectF& rect, qreal radius);
// The program's mark: an amber ring around a navy disc with an amber centre.
void DrawMark(QPainter& painter, QPointF centre, qreal radius);
// An amber rule across the face.
void DrawAccentRule(QPainter& painter, const QRectF& rect);

QFont Font(qreal pixelSize, bool bold = false);

} // namespace artwork
