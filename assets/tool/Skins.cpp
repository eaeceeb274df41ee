#include "Catalogues.h"

#include "Palette.h"

#include <QPainter>

// Every window is a rounded panel; the controls of each window sit in the places listed by its
// painter, which leaves those places plain (a well or the face) for them.

namespace artwork {

namespace {

constexpr int TitleStrip = 27; // rows 0..26 of the windows with a title strip

// A window's skin: its image size, the rounded panel inside it that becomes the window, and
// what is painted on the panel's face. It is painted once per scale, plain and @2x.
struct Panel
{
    QSize size;
    QRectF body;
    qreal radius;
    void (*inside)(QPainter&);

    QImage operator()(int scale) const
    {
        return ShapedSkin(
            size, RoundedShape(body, radius),
            [this](QPainter& painter) {
                FillBody(painter, body);
                inside(painter);
                DrawRim(painter, body, radius);
            },
            scale);
    }
};

void SoftText(QPainter& painter, const QPointF& at, const QColor& colour, const QFont& font,
              const QString& text)
{
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(at, text);
}

// The player: title strip (Image4 at 6,5; lblTitle x 26..290; ImgFullScreen 296,5; ImgSysTray
// 316,5; ingClose 338,5), the media area (18,27) 321 x 241, and the button bar at y 278 (round
// buttons of 28 at x 18, 50, 82, 114 and 186..314 step 32; the directory toggle 24 x 24 at
// 150,280). The panel ends at row 311: the directory docks 6 pixels above the skin's foot, and
// the two rows between keep the two windows apart.
void PlayerFace(QPainter& painter)
{
    FillStrip(painter, QRectF(0, 0, 360, TitleStrip));
    DrawWell(painter, QRect(18, 27, 321, 241), Qt::black);
    // The button bar: a raised pill with hairlines between the playback group, the
    // directory toggle and the windows' buttons.
    QLinearGradient bar(0, 274, 0, 310);
    bar.setColorAt(0, StripTop);
    bar.setColorAt(1, StripBottom);
    painter.setPen(QPen(Frame, 1));
    painter.setBrush(bar);
    painter.drawRoundedRect(QRectF(11.5, 273.5, 337, 36), 18, 18);
    painter.setPen(QPen(Frame, 1));
    for (const qreal x : {146.5, 180.5})
        painter.drawLine(QPointF(x, 282), QPointF(x, 302));
}

// The directory: Label3 (12,8) 160 x 18 over ListType (12,28) 160 x 172; Label2 (188,8) over
// ListChannel (188,28) 160 x 172; the advert (12,208) 336 x 80.
void DirectoryFace(QPainter& painter)
{
    DrawWell(painter, QRect(12, 28, 160, 172), Well);
    DrawWell(painter, QRect(188, 28, 160, 172), Well);
    DrawWell(painter, QRect(12, 208, 336, 80), Well);
    for (const int x : {12, 188})
        DrawAccentRule(painter, QRectF(x, 26, 40, 1));
}

// The message popup: Exit (306,5) 16 x 16 in the strip; the text (12,32) 306 x 110 on paper;
// the button (12,148) 306 x 24.
void MessageFace(QPainter& painter)
{
    FillStrip(painter, QRectF(0, 0, 330, TitleStrip));
    // A bell at the strip's left.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Accent);
    QPainterPath bell;
    bell.moveTo(8, 19);
    bell.cubicTo(10, 17, 10, 13, 10.5, 11);
    bell.cubicTo(11, 7, 17, 7, 17.5, 11);
    bell.cubicTo(18, 13, 18, 17, 20, 19);
    bell.closeSubpath();
    painter.drawPath(bell);
    painter.drawEllipse(QPointF(14, 20.5), 2, 2);
    DrawWell(painter, QRect(12, 32, 306, 110), Paper);
}

// The information viewer: Image4 (6,6) and lblTitle (26,6) 284 x 16 in the strip; Home, Back,
// Forward, Refresh 22 x 22 at y 3, x 320, 346, 372, 398; ingClose (468,6); the browser (21,29)
// 450 x 301; lblURL along the foot, (21,331) 450 x 12.
void InfoViewerFace(QPainter& painter)
{
    FillStrip(painter, QRectF(0, 0, 492, 28));
    DrawWell(painter, QRect(21, 29, 450, 301), Well);
}

// The About window: the mark and the program's name above the version line (24,150) 312 x 18
// and two buttons of 150 x 28 at (24,196) and (186,196).
void AboutFace(QPainter& painter)
{
    QRadialGradient glow(QPointF(72, 78), 120);
    QColor halo = Accent;
    halo.setAlpha(38);
    glow.setColorAt(0, halo);
    glow.setColorAt(1, Qt::transparent);
    painter.fillRect(QRectF(0, 0, 360, 240), glow);
    DrawMark(painter, QPointF(72, 78), 40);
    SoftText(painter, QPointF(132, 74), Text, Font(30, true), QStringLiteral("Corvane"));
    SoftText(painter, QPointF(133, 100), TextDim, Font(19), QStringLiteral("net player"));
    SoftText(painter, QPointF(133, 124), TextDim, Font(12),
             QStringLiteral("internet radio and television"));
    DrawAccentRule(painter, QRectF(24, 178, 312, 2));
}

// The splash: the mark and the name; lblStatus (24,226) 417 x 20 under the amber rule.
void SplashFace(QPainter& painter)
{
    QRadialGradient glow(QPointF(92, 112), 170);
    QColor halo = Accent;
    halo.setAlpha(40);
    glow.setColorAt(0, halo);
    glow.setColorAt(1, Qt::transparent);
    painter.fillRect(QRectF(0, 0, 465, 281), glow);
    DrawMark(painter, QPointF(92, 112), 50);
    SoftText(painter, QPointF(166, 108), Text, Font(38, true), QStringLiteral("Corvane"));
    SoftText(painter, QPointF(168, 140), TextDim, Font(23), QStringLiteral("net player"));
    SoftText(painter, QPointF(168, 166), TextDim, Font(13),
             QStringLiteral("internet radio and television"));
    DrawAccentRule(painter, QRectF(24, 212, 417, 2));
}

// The server URL dialog: a strip with a gear for the heading; Label1 at (136,40), the address
// box (24,64) 305 x 22 in a well, Edit/Cancel/Save 81 x 25 at y 96 (x 32, 136, 240), OK (112,136)
// 129 x 25, ingClose (320,16) 21 x 17.
void SettingsFace(QPainter& painter)
{
    FillStrip(painter, QRectF(0, 0, 354, 36));
    painter.setPen(QPen(Accent, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    for (int tooth = 0; tooth < 8; ++tooth) {
        painter.save();
        painter.translate(22, 18);
        painter.rotate(tooth * 45);
        painter.drawLine(QPointF(0, 5.5), QPointF(0, 7.5));
        painter.restore();
    }
    painter.drawEllipse(QPointF(22, 18), 4.5, 4.5);
    DrawWell(painter, QRect(24, 64, 305, 22), Well);
}

// The recorder: a title strip with ingClose at (358,5) and a plain face below it for the
// recorder's own layout. The panel starts at column 2: the recorder docks flush against the
// player's right edge, and the two columns keep the windows apart.
void RecorderFace(QPainter& painter)
{
    FillStrip(painter, QRectF(2, 0, 378, TitleStrip));
}

} // namespace

Catalogue Skins()
{
    const std::pair<const char*, Panel> skins[] = {
        {"frmPlayer", {{360, 320}, {0, 0, 360, 312}, 14, PlayerFace}},
        {"frmTray", {{360, 300}, {0, 0, 360, 300}, 14, DirectoryFace}},
        {"frmMessage", {{330, 180}, {0, 0, 330, 180}, 12, MessageFace}},
        {"frmInfoViewer", {{492, 345}, {0, 0, 492, 345}, 12, InfoViewerFace}},
        {"frmAbout", {{360, 240}, {0, 0, 360, 240}, 16, AboutFace}},
        {"frmLoad", {{465, 281}, {0, 0, 465, 281}, 22, SplashFace}},
        {"frmSettings", {{354, 179}, {0, 0, 354, 179}, 14, SettingsFace}},
        {"frmRecord", {{380, 330}, {2, 0, 378, 330}, 14, RecorderFace}},
    };
    Catalogue made;
    for (const auto& [window, panel] : skins) {
        const QString name = QStringLiteral("skins/") + QLatin1String(window);
        made.push_back({name + QStringLiteral(".png"), panel(1)});
        made.push_back({name + QStringLiteral("@2x.png"), panel(2)});
    }
    return made;
}

} // namespace artwork
