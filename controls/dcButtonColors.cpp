#include "dcButtonColors.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace controls {

namespace dcbutton {

namespace {

// The desktop colour indexes a colour reference can name, and the palette entry that plays each
// part on this desktop.
QColor DesktopColor(unsigned index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 0:
        return pal.color(QPalette::Mid); // scroll bar
    case 1:
        return pal.color(QPalette::Dark); // desktop
    case 2:
    case 13:
    case 27:
    case 29:
        return pal.color(QPalette::Highlight);
    case 3:
    case 28:
        return pal.color(QPalette::Inactive, QPalette::Highlight);
    case 4:
    case 30:
        return pal.color(QPalette::Window); // menu
    case 5:
        return pal.color(QPalette::Base); // window background
    case 6:
        return pal.color(QPalette::Shadow); // window frame
    case 7:
        return pal.color(QPalette::WindowText); // menu text
    case 8:
        return pal.color(QPalette::Text); // window text
    case 9:
    case 14:
        return pal.color(QPalette::HighlightedText);
    case 10:
    case 11:
        return pal.color(QPalette::Window); // borders
    case 12:
        return pal.color(QPalette::Dark); // application workspace
    case 15:
        return pal.color(QPalette::Button); // button face
    case 16:
        return pal.color(QPalette::Dark); // button shadow
    case 17:
        return pal.color(QPalette::Disabled, QPalette::Text); // grey text
    case 18:
        return pal.color(QPalette::ButtonText);
    case 19:
        return pal.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20:
        return pal.color(QPalette::Light); // button highlight
    case 21:
        return pal.color(QPalette::Shadow); // 3-D dark shadow
    case 22:
        return pal.color(QPalette::Midlight); // 3-D light
    case 23:
        return pal.color(QPalette::ToolTipText);
    case 24:
        return pal.color(QPalette::ToolTipBase);
    case 26:
        return pal.color(QPalette::Link); // hot-tracked item
    default:
        return QColor(Qt::black);
    }
}

int ClampChannel(int value)
{
    return std::clamp(value, 0, 255);
}

} // namespace

OleColor TranslateColor(OleColor color)
{
    if ((color & 0x80000000u) == 0)
        return color & 0xFFFFFF;
    return FromQColor(DesktopColor(color & 0xFFFF));
}

QColor ToQColor(OleColor rgb)
{
    return QColor(Red(rgb), Green(rgb), Blue(rgb));
}

OleColor FromQColor(const QColor& color)
{
    return Rgb(color.red(), color.green(), color.blue());
}

int RoundHalfEven(double value)
{
    return int(std::nearbyint(value));
}

OleColor ShiftColor(OleColor color, double amount)
{
    const auto shift = [amount](int channel) {
        const int v = RoundHalfEven(channel + amount * 255.0);
        return amount <= 0 ? std::max(v, 0) : std::min(v, 255);
    };
    return Rgb(shift(Red(color)), shift(Green(color)), shift(Blue(color)));
}

OleColor BlendColors(OleColor a, OleColor b, double t)
{
    const auto mix = [t](int x, int y) { return ClampChannel(RoundHalfEven(x + t * (y - x))); };
    return Rgb(mix(Red(a), Red(b)), mix(Green(a), Green(b)), mix(Blue(a), Blue(b)));
}

bool SchemeBackColor(int style, OleColor& backColor)
{
    static constexpr OleColor schemes[12] = {0xBA9EA0,      0xFF9B48, 0xA19D9D,      0xBA9EA0,
                                             SysButtonFace, 0xD2CECF, SysButtonFace, 0xE6EBEC,
                                             0xE0F3F6,      0xE4D1D2, SysButtonFace, 0x12BCFF};
    if (style < 0 || style > 11)
        return false;
    backColor = schemes[style];
    return true;
}

ColorTable SetupColors(int style, OleColor back, OleColor fore, OleColor mask,
                       const ColorTable& previous)
{
    ColorTable s = previous;
    const OleColor b = back;
    s[Face] = b;
    s[Text] = fore;
    s[GrayText] = BlendColors(fore, White, 0.6);
    s[Mask] = mask;
    s[Highlight] = White;
    const OleColor whiter = BlendColors(b, White, 0.8);
    switch (style) {
    case 0:
    case 2:
        s[Face] = ShiftColor(b, -0.05);
        s[DarkShade] = ShiftColor(b, -0.15);
        s[AltFace] = ShiftColor(b, -0.05);
        s[Light] = ShiftColor(b, 0.1);
        s[Highlight] = style == 0 ? NoColor : White;
        break;
    case 1:
        s[DarkShade] = ShiftColor(b, -0.1);
        s[AltFace] = b;
        s[Light] = ShiftColor(b, 0.1);
        s[Highlight] = NoColor;
        break;
    case 3:
        s[DarkShade] = 0x4E91FE;
        s[Accent] = 0xCCF4FF;
        s[Light] = 0x8BCFFF;
        break;
    case 4:
        s[DarkShade] = ShiftColor(b, -0.05);
        s[Accent] = ShiftColor(b, -0.15);
        s[AltFace] = b;
        s[Light] = ShiftColor(b, 0.05);
        break;
    case 5:
        s[AltFace] = BlendColors(b, White, 0.3);
        s[Light] = 0xE6FFFF;
        s[Highlight] = ShiftColor(b, 0.1);
        break;
    case 6:
        s[DarkShade] = b;
        s[Accent] = ShiftColor(fore, 0.5);
        break;
    case 7:
    case 8:
    case 9:
        s[DarkShade] = ShiftColor(b, style == 9 ? -0.1 : -0.05);
        s[Accent] = style == 8 ? 0x54C190 : 0xE4AD89;
        s[AltFace] = whiter;
        s[Light] = style == 8 ? 0x4F91E3 : 0x30B3F8;
        break;
    case 10:
        s[DarkShade] = ShiftColor(0xF3F7F8, -0.05);
        s[AltFace] = b;
        s[Light] = 0xF3F7F8;
        break;
    case 11:
        s[DarkShade] = ShiftColor(b, -0.1);
        s[Accent] = b;
        s[AltFace] = whiter;
        s[Light] = ShiftColor(b, 0.2);
        break;
    default:
        break;
    }
    return s;
}

} // namespace dcbutton

} // namespace controls
