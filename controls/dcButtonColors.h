// Colour arithmetic of the custom button. Colours travel as 32-bit values, red in the low byte
// (0x00BBGGRR), or as references to the desktop's colours (0x80000000 + index) that are turned
// into RGB before anything is drawn.
#pragma once

#include <QColor>
#include <array>
#include <cstdint>

namespace controls {

namespace dcbutton {

using OleColor = std::uint32_t;

inline constexpr OleColor White = 0xFFFFFF;
// Marks a derived colour a style leaves out (the highlight of styles 0 and 1).
inline constexpr OleColor NoColor = 0xFFFFFFFF;
inline constexpr OleColor SysButtonFace = 0x8000000F;
inline constexpr OleColor SysButtonText = 0x80000012;

// The nine colours a style derives from BackColor, ForeColor and MaskColor.
enum ColorRole {
    Face = 0,      // S0
    DarkShade = 1, // S1, also the accent border
    Accent = 2,    // S2
    Text = 3,      // S3
    AltFace = 4,   // S4, pressed or disabled face
    GrayText = 5,  // S5
    Light = 6,     // S6, light shade or hot colour
    Mask = 7,      // S7
    Highlight = 8, // S8
};
using ColorTable = std::array<OleColor, 9>;

constexpr int Red(OleColor c)
{
    return int(c & 0xFF);
}
constexpr int Green(OleColor c)
{
    return int((c >> 8) & 0xFF);
}
constexpr int Blue(OleColor c)
{
    return int((c >> 16) & 0xFF);
}
constexpr OleColor Rgb(int r, int g, int b)
{
    return OleColor(r) | OleColor(g) << 8 | OleColor(b) << 16;
}

// Desktop colour references become the palette's colours; RGB values pass unchanged. An index the
// desktop does not know gives black rather than a random colour.
OleColor TranslateColor(OleColor color);
QColor ToQColor(OleColor rgb);
OleColor FromQColor(const QColor& color);

// Halves go to the even neighbour, as everywhere in the button's arithmetic.
int RoundHalfEven(double value);

// Every channel moves by amount × 255; only the bound in the direction of the shift is applied.
OleColor ShiftColor(OleColor color, double amount);
// a + t × (b − a) per channel: t = 0 gives a, t = 1 gives b.
OleColor BlendColors(OleColor a, OleColor b, double t);

// BackColor that ColorScheme gives a style; false for a style that does not exist.
bool SchemeBackColor(int style, OleColor& backColor);

// The derived colours of `style`, starting from `previous` so that entries a style leaves alone
// keep what they held (an OverrideColor survives there). Colours are already translated to RGB.
ColorTable SetupColors(int style, OleColor back, OleColor fore, OleColor mask,
                       const ColorTable& previous);

} // namespace dcbutton

} // namespace controls
