#include "dcButtonLayout.h"

#include "dcButtonColors.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace controls {

namespace dcbutton {

QChar AccessKeyFromCaption(const QString& caption)
{
    const qsizetype n = caption.size();
    if (n < 2)
        return {};
    // Search backwards from the second-to-last character, 0-based here.
    for (qsizetype p = n - 2; p >= 0;) {
        if (caption[p] != u'&') {
            --p;
            continue;
        }
        // The first half of a trailing "&&" is met before its partner: it is no prefix either.
        if (caption[p + 1] == u'&') {
            p -= 1;
            continue;
        }
        if (p == 0)
            return caption[1].toLower();
        if (caption[p - 1] != u'&')
            return caption[p + 1].toLower();
        p -= 2; // a doubled "&&" is a literal ampersand
    }
    return {};
}

namespace {

int Half(int value)
{
    return value / 2;
}

// Centres `size` in the free space [from, to) when that leaves at least two pixels, else keeps
// `pos`: a caption squeezed against the picture stays where it was put.
int CentreIfRoom(int pos, int size, int from, int to)
{
    const int room = to - from - size;
    return room >= 2 ? from + Half(room) : pos;
}

} // namespace

LayoutResult LayoutButton(const LayoutInput& in)
{
    const int W = in.client.width();
    const int H = in.client.height();
    const int m = in.margin;
    LayoutResult out;
    out.inner = QRect(QPoint(m, m), QPoint(W - m - 1, H - m - 1));

    const bool hasCaption = !in.captionBox.isEmpty();
    const int bw = in.captionBox.width();
    const int bh = in.captionBox.height();
    QRect cap(Half(W - bw), Half(H - bh), bw, bh);
    if (!in.hasPicture) {
        out.caption = hasCaption ? cap : QRect();
        return out;
    }
    const int pw = in.picture.width();
    const int ph = in.picture.height();
    const int gap = hasCaption ? 2 : 0;
    QRect pic(0, 0, pw, ph);
    const int centreX = Half(W - pw);
    const int centreY = Half(H - ph);

    switch (in.alignment) {
    case 0:
        pic.moveTo(centreX, centreY);
        break;
    case 1:
        pic.moveTo(centreX, H - m - ph);
        cap.moveTop(CentreIfRoom(pic.top() - gap - bh, bh, m, pic.top() - gap));
        break;
    case 2:
    case 8: {
        const int top = Half(H - (bh + gap + ph));
        const bool pictureFirst = in.alignment == 8;
        cap.moveTop(pictureFirst ? top + ph + gap : top);
        pic.moveTo(centreX, pictureFirst ? top : top + bh + gap);
        break;
    }
    case 3:
        pic.moveTo(m, centreY);
        cap.moveLeft(CentreIfRoom(pic.right() + 1 + gap, bw, pic.right() + 1 + gap, W - m));
        break;
    case 4:
    case 6: {
        const int left = Half(W - (pw + gap + bw));
        const bool pictureFirst = in.alignment == 4;
        cap.moveLeft(pictureFirst ? left + pw + gap : left);
        pic.moveTo(pictureFirst ? left : left + bw + gap, centreY);
        break;
    }
    case 5:
        pic.moveTo(W - m - pw, centreY);
        cap.moveLeft(CentreIfRoom(pic.left() - gap - bw, bw, m, pic.left() - gap));
        break;
    case 7:
        pic.moveTo(centreX, m);
        cap.moveTop(CentreIfRoom(pic.bottom() + 1 + gap, bh, pic.bottom() + 1 + gap, H - m));
        break;
    default:
        break; // top-left corner, caption centred
    }
    out.picture = pic;
    out.caption = hasCaption ? cap : QRect();
    return out;
}

namespace {

// Horizontal extent [left, right) of row y of a rounded rectangle rw × rh with corner radii
// rx, ry, sampled at the pixel centres.
std::pair<int, int> RoundRectRow(int y, int rw, int rh, double rx, double ry)
{
    const double cy = y + 0.5;
    double dy = 0;
    if (cy < ry)
        dy = ry - cy;
    else if (cy > rh - ry)
        dy = cy - (rh - ry);
    if (dy <= 0 || rx <= 0 || ry <= 0)
        return {0, rw};
    const double inside = 1.0 - (dy / ry) * (dy / ry);
    const double dx = inside > 0 ? rx * std::sqrt(inside) : 0.0;
    const int left = int(std::lround(rx - dx));
    return {left, rw - left};
}

} // namespace

QRegion ShapeRegion(int width, int height, int cornerW, int cornerH, int buttonShape)
{
    const int rw = width + 1;
    const int rh = height + 1;
    // Like the platform's rounded regions, an ellipse larger than the rectangle is cut to it.
    const double rx = std::min(cornerW, rw) / 2.0;
    const double ry = std::min(cornerH, rh) / 2.0;
    QRegion region;
    int bandTop = 0;
    auto band = RoundRectRow(0, rw, rh, rx, ry);
    for (int y = 1; y <= rh; ++y) {
        const auto row = y < rh ? RoundRectRow(y, rw, rh, rx, ry) : std::pair{-1, -1};
        if (row == band)
            continue;
        if (band.second > band.first)
            region += QRect(band.first, bandTop, band.second - band.first, y - bandTop);
        band = row;
        bandTop = y;
    }
    const int halfW = RoundHalfEven(width / 2.0);
    if (buttonShape == 1 || buttonShape == 3)
        region += QRect(0, 0, halfW, rh);
    if (buttonShape == 2 || buttonShape == 3)
        region += QRect(halfW, 0, rw - halfW, rh);
    return region;
}

QPolygon TraceOutline(const QRegion& shape, int width, int height, int cornerW, int cornerH,
                      int buttonShape)
{
    const int halfW = std::min(cornerW / 2, width / 2);
    const int halfH = std::min(cornerH / 2, height / 2);
    const bool squareLeft = buttonShape == 1 || buttonShape == 3;
    const bool squareRight = buttonShape == 2 || buttonShape == 3;

    // Rows of the rounded corner zones, top to bottom.
    std::vector<int> rows;
    for (int y = 0; y < halfH; ++y)
        rows.push_back(y);
    for (int y = std::max(height - halfH, halfH); y < height; ++y)
        rows.push_back(y);

    QPolygon left;
    if (squareLeft || rows.empty()) {
        left << QPoint(0, 0) << QPoint(0, height - 1);
    } else {
        for (int y : rows) {
            int x = halfW;
            while (x > 0 && shape.contains(QPoint(x - 1, y)))
                --x;
            // x is the first pixel inside, scanning outwards from the corner's half width.
            if (!left.isEmpty() && left.last().y() == y - 1 && left.last().x() > x + 1)
                left << QPoint(x + 1, y);
            left << QPoint(x, y);
        }
    }
    QPolygon right;
    if (squareRight || rows.empty()) {
        right << QPoint(width - 1, 0) << QPoint(width - 1, height - 1);
    } else {
        for (int y : rows) {
            int x = width - 1 - halfW;
            while (x < width - 1 && shape.contains(QPoint(x + 1, y)))
                ++x;
            if (!right.isEmpty() && right.last().y() == y - 1 && right.last().x() < x - 1)
                right << QPoint(x - 1, y);
            right << QPoint(x, y);
        }
    }
    QPolygon outline = left;
    for (qsizetype i = right.size() - 1; i >= 0; --i)
        outline << right[i];
    if (!outline.isEmpty())
        outline << outline.first();
    return outline;
}

} // namespace dcbutton

} // namespace controls
