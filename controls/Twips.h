// Window and control geometry is designed in twips (1/1440 inch). At 96 dpi 15 twips make one
// pixel; every conversion goes through here so the designed numbers stay readable in the code.
#pragma once

namespace controls {

inline constexpr int TwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}
constexpr int PixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

} // namespace controls
