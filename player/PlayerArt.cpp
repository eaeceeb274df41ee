#include "PlayerArt.h"

#include "Artwork.h"

#include <QPainter>

namespace player {

namespace {

// The stand-ins are transparent outside their rounded outline, as the real artwork is, so that
// shaping after their top-left pixel cuts the corners away.
QImage StandIn(QSize Size, const QColor& Fill, const QString& Glyph, int radius)
{
    QImage image(Size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(150, 160, 175));
    painter.setBrush(Fill);
    painter.drawRoundedRect(QRect(QPoint(0, 0), Size).adjusted(0, 0, -1, -1), radius, radius);
    if (!Glyph.isEmpty()) {
        QFont font = painter.font();
        font.setPixelSize(qMax(8, Size.height() * 3 / 5));
        painter.setFont(font);
        painter.setPen(QColor(230, 235, 240));
        painter.drawText(QRect(QPoint(0, 0), Size), Qt::AlignCenter, Glyph);
    }
    return image;
}

} // namespace

QImage SkinImage(const QString& Name, QSize Size)
{
    const QImage image = controls::LoadArtwork(QStringLiteral(":/artwork/skins/%1.png").arg(Name));
    return image.isNull() ? StandIn(Size, QColor(32, 38, 48), {}, 12) : image;
}

QImage ButtonImage(const QString& Name, QSize Size, const QString& Glyph)
{
    const QImage image =
        controls::LoadArtwork(QStringLiteral(":/artwork/buttons/%1.png").arg(Name));
    return image.isNull()
               ? StandIn(Size, QColor(58, 66, 80), Glyph, qMin(Size.width(), Size.height()) / 5)
               : image;
}

QImage ImgList(int Index)
{
    // Directory open / closed, not muted / muted, stopped / playing.
    static const char16_t* const glyphs[] = {u"\u25b2", u"\u25bc", u"\u266a",
                                             u"\u00d7", u"\u25b6", u"\u25a0"};
    const bool known = Index >= 1 && Index <= 6;
    const QSize size = Index <= 2 ? QSize(24, 24) : QSize(28, 28);
    return ButtonImage(QStringLiteral("ImgList%1").arg(Index), size,
                       known ? QString::fromUtf16(glyphs[Index - 1]) : QString());
}

} // namespace player
