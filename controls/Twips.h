// Window and control geometry is designed in twips (1/1440 inch). At 96 dpi 15 twips make one
// pixel; every conversion goes through here so the designed numbers stay readable in the code.
// A designed value that is not a whole number of pixels goes to the nearest one (halves away
// from zero), as the designer saw it drawn.
#pragma once

namespace controls {

inline constexpr int TwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    const int half = TwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / TwipsPerPixel : -((-twips + half) / TwipsPerPixel);
}
constexpr int PixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

} // namespace controls
