#include "Catalogues.h"

#include "Palette.h"

#include <QPainter>

// Button faces are discs (the outline pictures give the player's and the viewer's buttons the
// same disc); symbols are light strokes on the navy face. Title-strip images have no face of
// their own: they sit on the strip.

namespace artwork {

namespace {

constexpr qreal Stroke = 1.7;

QPen SymbolPen(const QColor& colour = Text, qreal width = Stroke)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Face(QPainter& painter, qreal size, const QColor& ring, const QColor& top = ButtonTop,
          const QColor& bottom = ButtonBottom)
{
    QLinearGradient fill(0, 0, 0, size);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setBrush(fill);
    painter.setPen(QPen(ring, 1));
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
}

void Speaker(QPainter& painter, qreal shift, const QColor& colour = Text)
{
    QPainterPath body;
    body.moveTo(6 + shift, 11.5);
    body.lineTo(9 + shift, 11.5);
    body.lineTo(13 + shift, 8);
    body.lineTo(13 + shift, 20);
    body.lineTo(9 + shift, 16.5);
    body.lineTo(6 + shift, 16.5);
    body.closeSubpath();
    painter.setPen(SymbolPen(colour, 1));
    painter.setBrush(colour);
    painter.drawPath(body);
}

void SoundWaves(QPainter& painter)
{
    painter.setPen(SymbolPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(10.5, 10, 8, 8), -50 * 16, 100 * 16);
    painter.drawArc(QRectF(8, 6.5, 14, 15), -50 * 16, 100 * 16);
}

void Cross(QPainter& painter, QPointF centre, qreal half, qreal width = Stroke)
{
    painter.setPen(SymbolPen(Text, width));
    painter.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    painter.drawLine(centre + QPointF(half, -half), centre + QPointF(-half, half));
}

void PlayGlyph(QPainter& painter)
{
    QPainterPath triangle;
    triangle.moveTo(11.5, 8.5);
    triangle.lineTo(20.5, 14);
    triangle.lineTo(11.5, 19.5);
    triangle.closeSubpath();
    painter.setPen(SymbolPen(Text, 1.4));
    painter.setBrush(Text);
    painter.drawPath(triangle);
}

// --- 28 x 28 round buttons --------------------------------------------------------------

void PlayButton(QPainter& painter)
{
    Face(painter, 28, Accent);
    PlayGlyph(painter);
}

void StopButton(QPainter& painter)
{
    Face(painter, 28, Accent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Text);
    painter.drawRoundedRect(QRectF(9.5, 9.5, 9, 9), 1.5, 1.5);
}

void SoundOnButton(QPainter& painter)
{
    Face(painter, 28, ButtonRing);
    Speaker(painter, -1);
    SoundWaves(painter);
}

void MutedButton(QPainter& painter)
{
    Face(painter, 28, ButtonRing);
    Speaker(painter, -1);
    Cross(painter, QPointF(18.5, 14), 3);
}

void VolumeButton(QPainter& painter, bool up)
{
    Face(painter, 28, ButtonRing);
    Speaker(painter, -1.5);
    painter.setPen(SymbolPen());
    painter.drawLine(QPointF(15.5, 14), QPointF(22, 14));
    if (up)
        painter.drawLine(QPointF(18.75, 10.75), QPointF(18.75, 17.25));
}

void InfoButton(QPainter& painter)
{
    Face(painter, 28, ButtonRing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Text);
    painter.drawEllipse(QPointF(14, 8.8), 1.8, 1.8);
    painter.drawRoundedRect(QRectF(12.6, 12, 2.8, 9), 1.2, 1.2);
}

void AboutButton(QPainter& painter)
{
    Face(painter, 28, ButtonRing);
    DrawMark(painter, QPointF(14, 14), 7.5);
}

void SettingsButton(QPainter& painter)
{
    Face(painter, 28, ButtonRing);
    QPainterPath gear;
    gear.addEllipse(QPointF(14, 14), 5.8, 5.8);
    for (int tooth = 0; tooth < 8; ++tooth) {
        QTransform turn;
        turn.translate(14, 14);
        turn.rotate(tooth * 45);
        QPainterPath block;
        block.addRoundedRect(QRectF(-1.6, -8.3, 3.2, 4), 0.8, 0.8);
        gear = gear.united(turn.map(block));
    }
    QPainterPath hole;
    hole.addEllipse(QPointF(14, 14), 2.4, 2.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Text);
    painter.drawPath(gear.subtracted(hole));
}

void RecordButton(QPainter& painter)
{
    Face(painter, 28, ButtonRing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Record);
    painter.drawEllipse(QPointF(14, 14), 5.5, 5.5);
}

void MessageButton(QPainter& painter)
{
    Face(painter, 28, ButtonRing);
    painter.setPen(SymbolPen(Text, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(7.5, 9.5, 13, 9.5), 1.5, 1.5);
    painter.drawPolyline(QPolygonF({QPointF(8, 10.5), QPointF(14, 15), QPointF(20, 10.5)}));
}

// --- the directory toggle, 24 x 24 ------------------------------------------------------

// Open: an amber face, the toggle's "on"; closed: the ordinary navy face.
void DirectoryToggle(QPainter& painter, bool open)
{
    const QColor symbol = open ? BodyBottom : Text;
    if (open)
        Face(painter, 24, Accent, Accent, Accent.darker(115));
    else
        Face(painter, 24, ButtonRing);
    painter.setPen(SymbolPen(symbol, 1.6));
    for (const qreal y : {8.0, 12.0, 16.0}) {
        painter.drawPoint(QPointF(6.5, y));
        painter.drawLine(QPointF(9, y), QPointF(13.5, y));
    }
    const qreal tip = open ? 10 : 14;
    const qreal foot = open ? 14 : 10;
    painter.drawPolyline(QPolygonF({QPointF(15.5, foot), QPointF(18, tip), QPointF(20.5, foot)}));
}

// --- title-strip images, 16 x 16 --------------------------------------------------------

void FullScreenImage(QPainter& painter)
{
    painter.setPen(SymbolPen(Text, 1.6));
    painter.setBrush(Qt::NoBrush);
    const qreal lo = 3, hi = 13, arm = 3.5;
    painter.drawPolyline(
        QPolygonF({QPointF(lo, lo + arm), QPointF(lo, lo), QPointF(lo + arm, lo)}));
    painter.drawPolyline(
        QPolygonF({QPointF(hi - arm, lo), QPointF(hi, lo), QPointF(hi, lo + arm)}));
    painter.drawPolyline(
        QPolygonF({QPointF(hi, hi - arm), QPointF(hi, hi), QPointF(hi - arm, hi)}));
    painter.drawPolyline(
        QPolygonF({QPointF(lo + arm, hi), QPointF(lo, hi), QPointF(lo, hi - arm)}));
}

// Down into the notification area: a chevron settling onto a bar.
void SysTrayImage(QPainter& painter)
{
    painter.setPen(SymbolPen(Text, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(3.5, 13), QPointF(12.5, 13));
    painter.drawPolyline(QPolygonF({QPointF(4.5, 5), QPointF(8, 8.5), QPointF(11.5, 5)}));
}

void CloseImage(QPainter& painter)
{
    Cross(painter, QPointF(8, 8), 4.2, 1.8);
}

void MoveImage(QPainter& painter)
{
    DrawMark(painter, QPointF(8, 8), 6.5);
}

// --- the viewer's 22 x 22 buttons -------------------------------------------------------

void HomeButton(QPainter& painter)
{
    Face(painter, 22, ButtonRing);
    painter.setPen(SymbolPen(Text, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(5.5, 11), QPointF(11, 6), QPointF(16.5, 11)}));
    painter.drawPolyline(
        QPolygonF({QPointF(7.5, 10), QPointF(7.5, 16), QPointF(14.5, 16), QPointF(14.5, 10)}));
}

void ArrowButton(QPainter& painter, bool forward)
{
    Face(painter, 22, ButtonRing);
    painter.setPen(SymbolPen(Text, 1.6));
    if (forward) {
        painter.translate(22, 0);
        painter.scale(-1, 1);
    }
    painter.drawLine(QPointF(6.5, 11), QPointF(15.5, 11));
    painter.drawPolyline(QPolygonF({QPointF(10, 7.5), QPointF(6.5, 11), QPointF(10, 14.5)}));
}

void RefreshButton(QPainter& painter)
{
    Face(painter, 22, ButtonRing);
    painter.setPen(SymbolPen(Text, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(6, 6, 10, 10), 80 * 16, 280 * 16);
    // The arrow head at the arc's open end, pointing on round the circle.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Text);
    painter.drawPolygon(QPolygonF({QPointF(11.8, 3.6), QPointF(15.2, 6.2), QPointF(11.6, 8.4)}));
}

struct Picture
{
    const char* name;
    int size;
    Painting paint;
};

std::vector<Picture> Pictures()
{
    return {
        // The player's image list, in its order.
        {"ImgList1", 24, [](QPainter& p) { DirectoryToggle(p, true); }},
        {"ImgList2", 24, [](QPainter& p) { DirectoryToggle(p, false); }},
        {"ImgList3", 28, SoundOnButton},
        {"ImgList4", 28, MutedButton},
        {"ImgList5", 28, PlayButton},
        {"ImgList6", 28, StopButton},
        // Outline pictures; they are complete faces so a button may show them as they are.
        {"PicBtnVolDown", 28, [](QPainter& p) { VolumeButton(p, false); }},
        {"PicBtnVolUp", 28, [](QPainter& p) { VolumeButton(p, true); }},
        {"PicMute", 28, SoundOnButton},
        {"picPlay", 28, PlayButton},
        {"picBtn", 22, [](QPainter& p) { Face(p, 22, ButtonRing); }},
        // Title strips.
        {"ImgFullScreen", 16, FullScreenImage},
        {"ImgSysTray", 16, SysTrayImage},
        {"ingClose", 16, CloseImage},
        {"Exit", 16, CloseImage},
        {"Image4", 16, MoveImage},
        // The player's window buttons.
        {"btnInfo", 28, InfoButton},
        {"BtnAbout", 28, AboutButton},
        {"btnSettings", 28, SettingsButton},
        {"btnRecord", 28, RecordButton},
        {"btnMsg", 28, MessageButton},
        // The information viewer.
        {"Home", 22, HomeButton},
        {"Back", 22, [](QPainter& p) { ArrowButton(p, false); }},
        {"Forward", 22, [](QPainter& p) { ArrowButton(p, true); }},
        {"Refresh", 22, RefreshButton},
    };
}

} // namespace

Catalogue Buttons()
{
    Catalogue made;
    for (const Picture& picture : Pictures()) {
        const QString name = QStringLiteral("buttons/") + QLatin1String(picture.name);
        const QSize size(picture.size, picture.size);
        made.push_back({name + QStringLiteral(".png"), Drawn(size, 1, picture.paint)});
        made.push_back({name + QStringLiteral("@2x.png"), Drawn(size, 2, picture.paint)});
    }
    return made;
}

} // namespace artwork
