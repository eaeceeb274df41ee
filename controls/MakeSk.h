// Window routines shared by every skinned window: the shape of a window from its skin image, the
// splash fade, and keeping a window above the others.
#pragma once

#include <QImage>
#include <QRegion>

class QWidget;

namespace controls {

// The opaque part of `picture` as one 1-pixel-high rectangle per horizontal run of pixels that
// differ from the top-left pixel (the transparent colour), in the image's pixel coordinates.
// Rows are not merged vertically. Empty when nothing differs from the top-left pixel.
QRegion RegionFromPicture(const QImage& picture);

// Status codes of SetWindowOpacity.
enum : int {
    OpacityDone = 0,
    OpacityOutOfRange = 1,
    OpacityFailed = 2,
};

// Makes the top-level window `window` translucent: alpha 0 is fully transparent, 255 opaque.
// Returns OpacityOutOfRange (and changes nothing) outside 0..255, OpacityFailed when `window` is
// not a top-level window, else OpacityDone.
int SetWindowOpacity(QWidget* window, int alpha);

// Keeps `window` above ordinary windows, in its place and at its size.
void MakeTopmost(QWidget* window);

} // namespace controls
