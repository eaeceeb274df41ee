#include "MakeSk.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

namespace {

const QRgb Key = qRgb(255, 0, 255);
const QRgb Ink = qRgb(10, 20, 30);

QImage Filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

// Regions may split the same area into different rectangles; compare the covered pixels.
bool SameArea(const QRegion& a, const QRegion& b)
{
    return (a ^ b).isEmpty();
}

} // namespace

TEST(RegionFromPicture, CutsOutEveryPixelOfTheTopLeftColour)
{
    // The top-left pixel defines the transparent colour even when it looks like ink elsewhere:
    // here the "ink" is the key and the key colour of other skins is opaque.
    QImage image = Filled(6, 4, Ink);
    image.setPixel(0, 0, Key);
    image.setPixel(3, 0, Key); // a hole mid-row
    image.setPixel(5, 2, Key); // a hole at the right edge
    image.setPixel(2, 3, Key);
    image.setPixel(3, 3, Key);

    const QRegion region = RegionFromPicture(image);
    QRegion expected(0, 0, 6, 4);
    expected -= QRegion(0, 0, 1, 1);
    expected -= QRegion(3, 0, 1, 1);
    expected -= QRegion(5, 2, 1, 1);
    expected -= QRegion(2, 3, 2, 1);
    EXPECT_TRUE(SameArea(region, expected));

    // One rectangle per run, each one pixel high; rows are never merged.
    EXPECT_EQ(region.rectCount(), 2 + 1 + 1 + 2);
    for (const QRect& run : region)
        EXPECT_EQ(run.height(), 1);
}

TEST(RegionFromPicture, RunsToTheRightEdgeCloseThereAndDoNotSpillIntoTheNextRow)
{
    QImage image = Filled(5, 3, Key);
    for (int x = 2; x < 5; ++x)
        image.setPixel(x, 0, Ink); // opaque up to the edge
    image.setPixel(0, 1, Ink);     // next row starts opaque at column 0, then a hole
    // Row 2 is entirely transparent and contributes nothing.

    const QRegion region = RegionFromPicture(image);
    EXPECT_TRUE(SameArea(region, QRegion(2, 0, 3, 1) + QRegion(0, 1, 1, 1)));
    EXPECT_EQ(region.rectCount(), 2);
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 5, 2));
}

TEST(RegionFromPicture, SingleOpaquePixelAndNothingOpaque)
{
    QImage one = Filled(7, 7, Key);
    one.setPixel(4, 6, Ink);
    const QRegion single = RegionFromPicture(one);
    EXPECT_EQ(single.rectCount(), 1);
    EXPECT_EQ(single.boundingRect(), QRect(4, 6, 1, 1));

    EXPECT_TRUE(RegionFromPicture(Filled(9, 3, Key)).isEmpty());
    EXPECT_TRUE(RegionFromPicture(QImage()).isEmpty());
    // A one-pixel image is its own transparent colour.
    EXPECT_TRUE(RegionFromPicture(Filled(1, 1, Ink)).isEmpty());
}

TEST(RegionFromPicture, ReadsIndexedAndTranslucentImagesAlike)
{
    // GIF skins arrive as indexed images; their transparent index decodes to alpha 0.
    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(0, 0, 0, 0), Ink});
    indexed.fill(0);
    indexed.setPixel(1, 0, 1);
    indexed.setPixel(2, 1, 1);
    EXPECT_TRUE(SameArea(RegionFromPicture(indexed), QRegion(1, 0, 1, 1) + QRegion(2, 1, 1, 1)));

    // Fully transparent pixels are one colour whatever their colour channels say.
    QImage argb = Filled(3, 1, qRgba(0, 0, 0, 0), QImage::Format_ARGB32);
    argb.setPixel(1, 0, qRgba(200, 100, 50, 0));
    argb.setPixel(2, 0, qRgba(200, 100, 50, 128));
    EXPECT_TRUE(SameArea(RegionFromPicture(argb), QRegion(2, 0, 1, 1)));
}
