// Geometry of the custom button: where caption and picture go, which character of the caption is
// the access key, and the window shape with its traced outline. Pure functions, so that the rules
// can be checked without a window.
#pragma once

#include <QChar>
#include <QPolygon>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

namespace controls {

namespace dcbutton {

// The lower-cased character after the last single "&" of the caption ("&&" stands for a literal
// ampersand and is skipped); a null QChar when the caption has none.
QChar AccessKeyFromCaption(const QString& caption);

struct LayoutInput
{
    QSize client;     // W × H
    QSize captionBox; // measured caption, empty when there is no caption
    bool hasPicture = false;
    QSize picture;     // PictureSizeW × PictureSizeH
    int alignment = 4; // PictureAlignment
    int margin = 4;
};

struct LayoutResult
{
    QRect caption;
    QRect picture;
    QRect inner;
};

LayoutResult LayoutButton(const LayoutInput& in);

// Rounded rectangle (0, 0, w + 1, h + 1) with a cw × ch corner ellipse, the corners that
// `buttonShape` squares (1 left, 2 right, 3 both) added back.
QRegion ShapeRegion(int width, int height, int cornerW, int cornerH, int buttonShape);

// The points round the shape's edge pixels, for drawing the border of the capsule styles with
// one polyline.
QPolygon TraceOutline(const QRegion& shape, int width, int height, int cornerW, int cornerH,
                      int buttonShape);

} // namespace dcbutton

} // namespace controls
