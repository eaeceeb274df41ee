#include "MakeSk.h"

#include <QWidget>
#include <vector>

namespace controls {

namespace {

// Fully transparent pixels count as one colour whatever their colour channels hold: a GIF's
// transparent index may decode to different RGB values in different frames of the same tool chain.
inline QRgb Normalised(QRgb pixel)
{
    return qAlpha(pixel) == 0 ? 0u : pixel;
}

QImage ScanableCopy(const QImage& picture)
{
    if (picture.format() == QImage::Format_ARGB32 || picture.format() == QImage::Format_RGB32)
        return picture; // shared, no copy
    return picture.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

QRegion RegionFromPicture(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage image = ScanableCopy(picture);
    const int width = image.width();
    const int height = image.height();
    const QRgb transparent = Normalised(image.pixel(0, 0));

    // Runs come out sorted by row, then column, and never overlap: exactly the banded order
    // QRegion keeps internally, so the region is built in one step instead of by repeated
    // unions, which cost quadratic time on large skins.
    std::vector<QRect> runs;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int start = -1;
        for (int x = 0; x < width; ++x) {
            const bool opaque = Normalised(line[x]) != transparent;
            if (opaque && start < 0) {
                start = x;
            } else if (!opaque && start >= 0) {
                runs.emplace_back(start, y, x - start, 1);
                start = -1;
            }
        }
        if (start >= 0)
            runs.emplace_back(start, y, width - start, 1);
    }
    QRegion region;
    if (!runs.empty())
        region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

int SetWindowOpacity(QWidget* window, int alpha)
{
    if (alpha < 0 || alpha > 255)
        return OpacityOutOfRange;
    // Only top-level windows can be translucent; a child widget is what the layered-window
    // call refuses.
    if (!window || !window->isWindow())
        return OpacityFailed;
    window->setWindowOpacity(alpha / 255.0);
    return OpacityDone;
}

void MakeTopmost(QWidget* window)
{
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return;
    // Changing window flags re-creates the native window and hides it; put it back where it was.
    const QRect geometry = window->geometry();
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window->setGeometry(geometry);
    if (visible)
        window->show();
}

} // namespace controls
