#include "MakeSk.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace controls;

namespace {

// Draws `rows` ('#' opaque, anything else the top-left colour) and returns what should stay.
QRegion Draw(const std::vector<const char*>& rows, QRgb key, QRgb ink, QImage& image)
{
    image = QImage(int(strlen(rows[0])), int(rows.size()), QImage::Format_RGB32);
    QRegion opaque;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inked = rows[y][x] == '#';
            image.setPixel(x, y, inked ? ink : key);
            if (inked)
                opaque += QRect(x, y, 1, 1);
        }
    return opaque;
}

} // namespace

// Every pixel of the top-left colour is cut out, whichever colour that is; fully transparent
// pixels are one colour whatever their colour channels say.
TEST(RegionFromPicture, CutsOutEveryPixelOfTheTopLeftColour)
{
    const std::vector<std::vector<const char*>> pictures = {
        {".##.##", "######", "#####.", "##..##"}, // holes anywhere, one at the right edge
        {"..###", "#....", "....."},              // a run closing at the edge, an empty row
        {".......", ".......", "....#.."},        // a single opaque pixel
        {".........", "........."},               // nothing opaque
        {"."}};                                   // a one-pixel image is its own key
    for (const auto& [key, ink] : {std::pair{qRgb(255, 0, 255), qRgb(10, 20, 30)},
                                   std::pair{qRgb(10, 20, 30), qRgb(255, 0, 255)}})
        for (const auto& rows : pictures) {
            QImage image;
            const QRegion expected = Draw(rows, key, ink, image);
            EXPECT_TRUE((RegionFromPicture(image) ^ expected).isEmpty()) << rows[0];
        }
    EXPECT_TRUE(RegionFromPicture(QImage()).isEmpty());

    QImage argb(4, 2, QImage::Format_ARGB32);
    argb.fill(qRgba(0, 0, 0, 0));
    argb.setPixel(1, 0, qRgb(10, 20, 30));
    argb.setPixel(3, 0, qRgba(200, 100, 50, 0));
    argb.setPixel(0, 1, qRgba(200, 100, 50, 128));
    EXPECT_TRUE((RegionFromPicture(argb) ^ (QRegion(1, 0, 1, 1) + QRegion(0, 1, 1, 1))).isEmpty());
}
