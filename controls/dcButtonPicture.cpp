// Drawing a picture onto the face: scaled to the picture size, with its mask colour showing the
// face through, blended at the picture opacity, or flattened into one colour for the caption
// effects.
#include "dcButton.h"

#include <QPainter>

namespace controls {

using namespace dcbutton;

namespace {

OleColor OleOf(QRgb p)
{
    return Rgb(qRed(p), qGreen(p), qBlue(p));
}
QRgb RgbOf(OleColor c)
{
    return qRgb(Red(c), Green(c), Blue(c));
}

// Pictures with their own transparency play the part of icons: they are drawn over a background
// of the transparent colour. Opaque pictures are bitmaps and are simply stretched.
bool IsIcon(const QImage& picture)
{
    return picture.hasAlphaChannel();
}

} // namespace

void dcButton::DrawPic(const QImage& picture, int dx, int dy, OleColor flat, int state)
{
    if (picture.isNull())
        return;
    QRect target = m_pictureRect.translated(dx, dy);
    if (target.width() < 1 || target.height() < 1)
        return;

    QImage rendered(target.size(), QImage::Format_RGB32);
    if (IsIcon(picture)) {
        rendered.fill(ToQColor(m_colors[Mask]));
        QPainter p(&rendered);
        p.drawImage(rendered.rect(), picture);
    } else {
        rendered = picture.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                       .convertToFormat(QImage::Format_RGB32);
    }

    // Only the part of the target on the face is drawn; the source is offset by what was cut off.
    const QRect visible = target & m_surface.rect();
    const QPoint sourceOffset = visible.topLeft() - target.topLeft();
    target = visible;
    if (target.width() < 1 || target.height() < 1)
        return;

    bool transparent = false;
    OleColor transparentColor = 0;
    if (m_useMaskColor) {
        transparent = true;
        transparentColor = m_colors[Mask];
    } else if (IsIcon(picture)) {
        transparent = true;
        transparentColor = OleOf(rendered.pixel(0, 0));
    }
    // Disabled pictures fade to a fifth without touching the configured opacity.
    const double opacity = state == 3 ? 0.2 : m_pictureOpacity;
    const bool hasFlat = flat != NoColor;

    for (int y = 0; y < target.height(); ++y) {
        const QRgb* src =
            reinterpret_cast<const QRgb*>(rendered.constScanLine(y + sourceOffset.y())) +
            sourceOffset.x();
        QRgb* dst = reinterpret_cast<QRgb*>(m_surface.scanLine(y + target.top())) + target.left();
        for (int x = 0; x < target.width(); ++x) {
            const OleColor pixel = OleOf(src[x]);
            if (transparent && pixel == transparentColor)
                continue; // the face shows through
            if (hasFlat)
                dst[x] = RgbOf(flat);
            else if (opacity < 1.0)
                dst[x] = RgbOf(BlendColors(OleOf(dst[x]), pixel, opacity));
            else
                dst[x] = RgbOf(pixel);
        }
    }
}

} // namespace controls
