// What the painters put on the face, checked pixel by pixel on the rendered button.
#include "dcButton.h"
#include "dcButtonColors.h"

#include <gtest/gtest.h>

using namespace controls;

using namespace dcbutton;

namespace {

QRgb Pixel(dcButton& b, QPoint p)
{
    return b.grab().toImage().pixel(p);
}
QRgb Rgb32(OleColor c)
{
    return qRgb(Red(c), Green(c), Blue(c));
}
// The flat hot face of the dark button makes the picture checks simple.
const QRgb HotFace = qRgb(0xFF, 0xFF, 0xE6);

// The program's own dark-grey buttons.
void MakeDarkButton(dcButton& b, const QString& caption = QString())
{
    b.SetButtonStyle(5);
    b.SetBackColor(0x404040);
    b.SetForeColor(0xFFFFFF);
    b.SetCaption(caption);
    b.resize(80, 30);
}

// A 12 × 12 bitmap: silver (the default mask colour) on the left half, pure red on the right.
QImage HalfSilverPicture()
{
    QImage img(12, 12, QImage::Format_RGB32);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            img.setPixel(x, y, x < 6 ? qRgb(0xC0, 0xC0, 0xC0) : qRgb(0xFF, 0, 0));
    return img;
}

} // namespace

TEST(dcButtonPaint, Style5FacesAreTheSeventyPercentGradient)
{
    dcButton b;
    MakeDarkButton(b);
    b.RedrawButton(0, true);
    const QImage face = b.grab().toImage();
    const ColorTable& s = b.DerivedColors();
    // Rows 0-29: the split row is 0 + round(70 × 28 / 100) = 20 (19.6).
    const OleColor middle = BlendColors(s[Highlight], s[Face], 0.5);
    const int split = 20;
    for (int y = 1; y < 29; ++y) {
        const OleColor expected =
            y <= split ? BlendColors(s[Highlight], middle, double(y) / split)
                       : BlendColors(middle, s[Face], double(y - split) / (29 - split));
        EXPECT_EQ(face.pixel(40, y), Rgb32(expected)) << "row " << y;
        EXPECT_EQ(face.pixel(5, y), face.pixel(70, y)) << "row " << y;
    }
    // The one-pixel frame: lighter on top, darker at the bottom, from the mid colour.
    EXPECT_EQ(face.pixel(40, 0), Rgb32(ShiftColor(middle, 0.1)));
    EXPECT_EQ(face.pixel(40, 29), Rgb32(ShiftColor(middle, -0.1)));
    EXPECT_EQ(face.pixel(0, 15), Rgb32(ShiftColor(middle, -0.05)));

    // Disabled, the gradient runs to the lighter alternative face.
    b.SetEnabled(false);
    const OleColor disabledMiddle = BlendColors(s[Highlight], s[AltFace], 0.5);
    EXPECT_EQ(Pixel(b, {40, 28}), Rgb32(BlendColors(disabledMiddle, s[AltFace], 8.0 / 9)));

    // OverrideColor of the hot colour changes the hot fill until the colours are recomputed.
    b.SetEnabled(true);
    ASSERT_TRUE(b.OverrideColor(4, 0x00FF00));
    b.RedrawButton(1, true);
    EXPECT_EQ(Pixel(b, {40, 15}), Rgb32(0x00FF00));
    b.SetForeColor(0xFFFFFF);
    b.RedrawButton(1, true);
    EXPECT_EQ(Pixel(b, {40, 15}), HotFace);
    EXPECT_FALSE(b.OverrideColor(6, 0x00FF00));

    // A checked button keeps its hot face until unchecked.
    b.SetCheckBoxMode(true);
    b.SetValue(true);
    b.RedrawButton(0, true);
    EXPECT_EQ(Pixel(b, {40, 15}), HotFace);
    b.SetValue(false);
    EXPECT_NE(Pixel(b, {40, 15}), HotFace);
}

TEST(dcButtonPaint, MaskColourOpacityAndTheDisabledPicture)
{
    dcButton b;
    MakeDarkButton(b);
    b.SetPictureNormal(HalfSilverPicture());
    b.RedrawButton(1, true);
    const QRect pic = b.PictureRect();
    ASSERT_EQ(pic.size(), QSize(12, 12));
    EXPECT_EQ(pic.center(), QRect(0, 0, 80, 30).center()); // no caption: centred
    const QPoint silver = pic.topLeft() + QPoint(2, 5);
    const QPoint red = pic.topLeft() + QPoint(9, 5);
    EXPECT_EQ(Pixel(b, silver), HotFace);
    EXPECT_EQ(Pixel(b, red), qRgb(0xFF, 0, 0));

    // Disabled, the picture fades to a fifth over the face (read beside it on the same row)
    // without changing PictureOpacity, and comes back at full when enabled.
    b.SetEnabled(false);
    const QRgb under = Pixel(b, {10, red.y()});
    EXPECT_EQ(Pixel(b, red),
              Rgb32(BlendColors(Rgb(qRed(under), qGreen(under), qBlue(under)), 0x0000FF, 0.2)));
    EXPECT_EQ(b.PictureOpacity(), 100);
    b.SetEnabled(true);
    b.RedrawButton(1, true);
    EXPECT_EQ(Pixel(b, red), qRgb(0xFF, 0, 0));

    b.SetPictureOpacity(50);
    b.RedrawButton(1, true);
    EXPECT_EQ(Pixel(b, red), Rgb32(BlendColors(0xE6FFFF, 0x0000FF, 0.5)));

    // Without the mask colour the silver is drawn as it is.
    b.SetPictureOpacity(100);
    b.SetUseMaskColor(false);
    b.RedrawButton(1, true);
    EXPECT_EQ(Pixel(b, silver), qRgb(0xC0, 0xC0, 0xC0));
}

TEST(dcButtonPaint, PicturesStretchCastFlatShadowsAndSitBesideTheCaption)
{
    dcButton b;
    MakeDarkButton(b);
    b.SetPictureNormal(HalfSilverPicture());
    b.SetPictureSize(2); // 24 × 24: each source pixel becomes two
    b.RedrawButton(1, true);
    QRect pic = b.PictureRect();
    ASSERT_EQ(pic.size(), QSize(24, 24));
    EXPECT_EQ(Pixel(b, pic.topLeft() + QPoint(13, 5)), qRgb(0xFF, 0, 0));
    EXPECT_EQ(Pixel(b, pic.topLeft() + QPoint(10, 5)), HotFace);

    // Shadow effect: a flat silhouette in the darker face colour, one pixel down and right.
    b.SetPictureSize(0);
    b.SetSpecialEffect(3);
    b.RedrawButton(1, true);
    pic = b.PictureRect();
    const QRgb shadow = Rgb32(ShiftColor(0xE6FFFF, -0.1));
    EXPECT_EQ(Pixel(b, {pic.right() + 1, pic.top() + 5}), shadow);
    EXPECT_EQ(Pixel(b, {pic.right(), pic.top() + 5}), qRgb(0xFF, 0, 0));
    // The silver half casts no shadow: it is transparent.
    EXPECT_EQ(Pixel(b, {pic.left() + 2, pic.bottom() + 1}), HotFace);

    // With a caption the picture sits left of it, two pixels apart, the pair centred, and the
    // caption is drawn in the text colour.
    b.SetSpecialEffect(0);
    b.SetCaption("Browse");
    b.SetForeColor(0x0000FF);
    b.RedrawButton(0, true);
    const QRect caption = b.CaptionRect();
    EXPECT_EQ(caption.left() - b.PictureRect().right() - 1, 2);
    EXPECT_LE(std::abs((b.PictureRect().left() + caption.right()) / 2 - 40), 1);
    const QImage face = b.grab().toImage();
    int red = 0;
    for (int y = caption.top(); y <= caption.bottom(); ++y)
        for (int x = caption.left(); x <= caption.right(); ++x)
            red += QColor(face.pixel(x, y)).red() > 200 && QColor(face.pixel(x, y)).green() < 60;
    EXPECT_GT(red, 10);
}

TEST(dcButtonPaint, ShapesFollowStyleAndButtonShape)
{
    dcButton b;
    b.resize(80, 26);
    b.SetButtonStyle(5);
    EXPECT_EQ(b.mask(), QRegion(0, 0, 80, 26)); // square styles
    b.SetButtonStyle(0);                        // capsule: the ends are half circles
    EXPECT_FALSE(b.mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(b.mask().contains(QPoint(40, 0)));
    b.SetButtonShape(1); // square left corners only
    EXPECT_TRUE(b.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(b.mask().contains(QPoint(79, 0)));
    b.SetButtonShape(3);
    EXPECT_EQ(b.mask(), QRegion(0, 0, 80, 26));
}

TEST(dcButtonPaint, StateChangesRepaintWithoutReshaping)
{
    dcButton b;
    MakeDarkButton(b, "Save");
    b.RedrawButton(0, true);
    const int shapes = b.ShapeBuildCount();
    const QImage normal = b.grab().toImage();
    for (int state : {1, 2, 0, 3, 0})
        b.RedrawButton(state);
    EXPECT_EQ(b.ShapeBuildCount(), shapes);
    EXPECT_EQ(b.grab().toImage(), normal);
    b.resize(90, 30);
    b.grab();
    EXPECT_EQ(b.ShapeBuildCount(), shapes + 1);
    b.SetCaption("Edit");
    EXPECT_EQ(b.ShapeBuildCount(), shapes + 2);
}
