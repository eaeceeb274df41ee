// The drawing primitives the button's painters are written in: one-pixel solid lines whose end
// point is included, outline rectangles, whole-face fills, row gradients, three-dimensional
// edges, a checker pattern and the dotted focus rectangle. They write straight into the face
// image, so every pixel is exactly the colour the painter asked for.
#pragma once

#include "dcButtonColors.h"

#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QRegion>

namespace controls {

namespace dcbutton {

class Canvas
{
  public:
    explicit Canvas(QImage& image) : m_image(image) {}

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    QRect Bounds() const { return m_image.rect(); }

    void Pixel(int x, int y, OleColor c);
    OleColor PixelAt(int x, int y) const;
    void Fill(OleColor c) { FillRect(Bounds(), c); }
    void FillRect(const QRect& r, OleColor c);
    // Horizontal or vertical line, both ends included.
    void Line(int x1, int y1, int x2, int y2, OleColor c);
    void Rect(const QRect& r, OleColor c);
    // A frame whose inner corner pixels blend the border into the face, so the corners look
    // rounded off.
    void SoftFrame(const QRect& r, OleColor border, OleColor face);
    void Polyline(const QPolygon& points, OleColor c);
    // Rows from y1 to y2 run from c1 through their middle colour (at `percent` of the height) to
    // c2; x2 or y2 of -1 mean the last column or row.
    void Gradient(OleColor c1, OleColor c2, int percent, int x1 = 0, int y1 = 0, int x2 = -1,
                  int y2 = -1);
    // The desktop's soft three-dimensional edge, raised or sunken.
    void Edge(const QRect& r, bool raised);
    // 2 × 2 checker: `a` at (0, 0) and (1, 1), `b` at (1, 0) and (0, 1).
    void Checker(const QRect& r, OleColor a, OleColor b);
    // Every other pixel of the outline inverted, so that it shows on any face.
    void FocusRect(const QRect& r);
    // Fills the part of `r` that lies inside `clip`.
    void FillClipped(const QRect& r, const QRegion& clip, OleColor c);

  private:
    QImage& m_image;
};

} // namespace dcbutton

} // namespace controls
