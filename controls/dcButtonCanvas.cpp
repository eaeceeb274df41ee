#include "dcButtonCanvas.h"

#include <QPainter>
#include <algorithm>

namespace controls {

namespace dcbutton {

namespace {

QRgb ToRgb(OleColor c)
{
    return qRgb(Red(c), Green(c), Blue(c));
}

} // namespace

void Canvas::Pixel(int x, int y, OleColor c)
{
    if (x >= 0 && y >= 0 && x < Width() && y < Height())
        reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = ToRgb(c);
}

OleColor Canvas::PixelAt(int x, int y) const
{
    const QRgb p = m_image.pixel(x, y);
    return Rgb(qRed(p), qGreen(p), qBlue(p));
}

void Canvas::FillRect(const QRect& r, OleColor c)
{
    const QRect area = r & Bounds();
    const QRgb rgb = ToRgb(c);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        std::fill(row + area.left(), row + area.right() + 1, rgb);
    }
}

void Canvas::Line(int x1, int y1, int x2, int y2, OleColor c)
{
    if (y1 == y2)
        FillRect(QRect(QPoint(std::min(x1, x2), y1), QPoint(std::max(x1, x2), y1)), c);
    else if (x1 == x2)
        FillRect(QRect(QPoint(x1, std::min(y1, y2)), QPoint(x1, std::max(y1, y2))), c);
    else
        Polyline(QPolygon({QPoint(x1, y1), QPoint(x2, y2)}), c);
}

void Canvas::Rect(const QRect& r, OleColor c)
{
    if (r.width() < 1 || r.height() < 1)
        return;
    Line(r.left(), r.top(), r.right(), r.top(), c);
    Line(r.left(), r.bottom(), r.right(), r.bottom(), c);
    Line(r.left(), r.top(), r.left(), r.bottom(), c);
    Line(r.right(), r.top(), r.right(), r.bottom(), c);
}

void Canvas::SoftFrame(const QRect& r, OleColor border, OleColor face)
{
    Rect(r, border);
    const OleColor corner = BlendColors(border, face, 0.5);
    Pixel(r.left() + 1, r.top() + 1, corner);
    Pixel(r.right() - 1, r.top() + 1, corner);
    Pixel(r.left() + 1, r.bottom() - 1, corner);
    Pixel(r.right() - 1, r.bottom() - 1, corner);
}

void Canvas::Polyline(const QPolygon& points, OleColor c)
{
    if (points.size() < 2)
        return;
    QPainter p(&m_image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(ToQColor(c), 0));
    p.drawPolyline(points);
    // The platform's polylines leave out the last point; ours are closed, so it is drawn anyway.
    p.drawPoint(points.last());
}

void Canvas::Gradient(OleColor c1, OleColor c2, int percent, int x1, int y1, int x2, int y2)
{
    if (x2 == -1 || x2 >= Width())
        x2 = Width() - 1;
    if (y2 == -1 || y2 >= Height())
        y2 = Height() - 1;
    percent = std::clamp(percent, 0, 100);
    if (y2 < y1 || x2 < x1)
        return;
    const OleColor middle = BlendColors(c1, c2, 0.5);
    int split = y1 + RoundHalfEven(percent * (y2 - y1 - 1) / 100.0);
    if (split == 0)
        split = 1;
    for (int y = y1; y <= y2; ++y) {
        OleColor c;
        if (y <= split)
            c = split == y1 ? middle : BlendColors(c1, middle, double(y - y1) / (split - y1));
        else
            c = BlendColors(middle, c2, double(y - split) / (y2 - split));
        Line(x1, y, x2, y, c);
    }
}

void Canvas::Edge(const QRect& r, bool raised)
{
    const OleColor hilight = TranslateColor(0x80000014);
    const OleColor light = TranslateColor(0x80000016);
    const OleColor shadow = TranslateColor(0x80000010);
    const OleColor dkShadow = TranslateColor(0x80000015);
    // Soft edges put the strongest contrast on the outer ring.
    const OleColor outerTL = raised ? hilight : dkShadow;
    const OleColor outerBR = raised ? dkShadow : hilight;
    const OleColor innerTL = raised ? light : shadow;
    const OleColor innerBR = raised ? shadow : light;
    const auto ring = [this](const QRect& q, OleColor tl, OleColor br) {
        Line(q.left(), q.bottom(), q.right(), q.bottom(), br);
        Line(q.right(), q.top(), q.right(), q.bottom(), br);
        Line(q.left(), q.top(), q.right() - 1, q.top(), tl);
        Line(q.left(), q.top(), q.left(), q.bottom() - 1, tl);
    };
    ring(r, outerTL, outerBR);
    ring(r.adjusted(1, 1, -1, -1), innerTL, innerBR);
}

void Canvas::Checker(const QRect& r, OleColor a, OleColor b)
{
    const QRect area = r & Bounds();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            Pixel(x, y, ((x + y) & 1) == 0 ? a : b);
}

void Canvas::FocusRect(const QRect& r)
{
    if (r.width() < 2 || r.height() < 2)
        return;
    const auto invert = [this](int x, int y) {
        if (((x + y) & 1) == 0 && Bounds().contains(x, y))
            Pixel(x, y, PixelAt(x, y) ^ 0xFFFFFF);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        invert(x, r.top());
        invert(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        invert(r.left(), y);
        invert(r.right(), y);
    }
}

void Canvas::FillClipped(const QRect& r, const QRegion& clip, OleColor c)
{
    for (const QRect& part : clip& r)
        FillRect(part, c);
}

} // namespace dcbutton

} // namespace controls
