// The button's colour arithmetic and geometry rules, without a window.
#include "dcButtonColors.h"
#include "dcButtonLayout.h"

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

using namespace dcbutton;

TEST(dcButtonColors, ShiftAndBlendRoundHalvesToEvenAndClampOneWay)
{
    // 0x40 + 0.1 × 255 = 89.5 -> 90; 0x41 + 25.5 = 90.5 -> 90.
    EXPECT_EQ(ShiftColor(0x404040, 0.1), 0x5A5A5Au);
    EXPECT_EQ(ShiftColor(0x414141, 0.1), 0x5A5A5Au);
    // Only the bound in the direction of the shift applies.
    EXPECT_EQ(ShiftColor(0xFF1000, 0.1), 0xFF2A1Au);
    EXPECT_EQ(ShiftColor(0x00F0FF, -0.1), 0x00D6E6u);
    EXPECT_EQ(ShiftColor(0x123456, 0), 0x123456u);

    EXPECT_EQ(BlendColors(0x000000, 0xFFFFFF, 0.5), 0x808080u); // 127.5 -> 128
    EXPECT_EQ(BlendColors(0x020202, 0x030303, 0.5), 0x020202u); // 2.5 -> 2
    EXPECT_EQ(BlendColors(0x112233, 0xFFEEDD, 0.0), 0x112233u);
    EXPECT_EQ(BlendColors(0x112233, 0xFFEEDD, 1.0), 0xFFEEDDu);
    EXPECT_EQ(BlendColors(0x404040, 0xFFFFFF, 0.3), 0x797979u); // 121.3
}

TEST(dcButtonColors, StyleFiveFromTheProgramsDarkGrey)
{
    const ColorTable s = SetupColors(5, 0x404040, 0xFFFFFF, 0xC0C0C0, {});
    EXPECT_EQ(s[Face], 0x404040u);
    EXPECT_EQ(s[Text], 0xFFFFFFu);
    EXPECT_EQ(s[GrayText], 0xFFFFFFu);
    EXPECT_EQ(s[AltFace], 0x797979u);
    EXPECT_EQ(s[Light], 0xE6FFFFu);
    EXPECT_EQ(s[Mask], 0xC0C0C0u);
    EXPECT_EQ(s[Highlight], 0x5A5A5Au);

    // Entries a style leaves alone keep what they held, so an override survives there.
    ColorTable previous{};
    previous[DarkShade] = 0x123456;
    EXPECT_EQ(SetupColors(5, 0x404040, 0, 0, previous)[DarkShade], 0x123456u);
    EXPECT_EQ(SetupColors(7, 0x404040, 0, 0, previous)[DarkShade], ShiftColor(0x404040, -0.05));
    EXPECT_EQ(SetupColors(0, 0x808080, 0, 0, {})[Highlight], NoColor);
    EXPECT_EQ(SetupColors(1, 0x808080, 0, 0, {})[Highlight], NoColor);
    EXPECT_EQ(SetupColors(2, 0x808080, 0, 0, {})[Highlight], White);
}

TEST(dcButtonColors, SchemesAndDesktopColours)
{
    OleColor c = 0;
    ASSERT_TRUE(SchemeBackColor(5, c));
    EXPECT_EQ(c, 0xD2CECFu);
    ASSERT_TRUE(SchemeBackColor(11, c));
    EXPECT_EQ(c, 0x12BCFFu);
    ASSERT_TRUE(SchemeBackColor(6, c));
    EXPECT_EQ(c, SysButtonFace);
    c = 42;
    EXPECT_FALSE(SchemeBackColor(12, c));
    EXPECT_FALSE(SchemeBackColor(-1, c));
    EXPECT_EQ(c, 42u);

    EXPECT_EQ(TranslateColor(0x00404040), 0x404040u);
    EXPECT_EQ(TranslateColor(0x8000000F),
              FromQColor(QGuiApplication::palette().color(QPalette::Button)));
    EXPECT_EQ(TranslateColor(0x80000012),
              FromQColor(QGuiApplication::palette().color(QPalette::ButtonText)));
    EXPECT_EQ(TranslateColor(0x800000FF), 0u); // no such desktop colour
    EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
}

TEST(dcButtonLayout, AccessKeysSkipDoubledAmpersands)
{
    EXPECT_TRUE(AccessKeyFromCaption("OK").isNull());
    EXPECT_TRUE(AccessKeyFromCaption("&").isNull());
    EXPECT_EQ(AccessKeyFromCaption("&Browse"), QChar('b'));
    EXPECT_EQ(AccessKeyFromCaption("Sa&ve"), QChar('v'));
    EXPECT_EQ(AccessKeyFromCaption("Save && E&xit"), QChar('x'));
    EXPECT_EQ(AccessKeyFromCaption("&Save && Exit"), QChar('s'));
    EXPECT_TRUE(AccessKeyFromCaption("Save && Exit").isNull());
    EXPECT_TRUE(AccessKeyFromCaption("A&&").isNull());
    EXPECT_TRUE(AccessKeyFromCaption("Exit&").isNull());
}

TEST(dcButtonLayout, PictureAndCaptionPlacement)
{
    LayoutInput in;
    in.client = QSize(100, 40);
    in.captionBox = QSize(30, 14);
    in.hasPicture = true;
    in.picture = QSize(16, 16);

    in.alignment = 4; // picture left of the caption, the pair centred
    LayoutResult r = LayoutButton(in);
    EXPECT_EQ(r.picture, QRect(26, 12, 16, 16));
    EXPECT_EQ(r.caption, QRect(44, 13, 30, 14));
    EXPECT_EQ(r.inner, QRect(4, 4, 92, 32));

    in.alignment = 6; // picture right of the caption
    r = LayoutButton(in);
    EXPECT_EQ(r.caption.left(), 26);
    EXPECT_EQ(r.picture.left(), 58);

    in.alignment = 3; // picture at the left margin, caption centred in what is left
    r = LayoutButton(in);
    EXPECT_EQ(r.picture.topLeft(), QPoint(4, 12));
    EXPECT_EQ(r.caption.left(), 22 + (96 - 22 - 30) / 2);

    in.alignment = 5;
    r = LayoutButton(in);
    EXPECT_EQ(r.picture.left(), 80);
    EXPECT_EQ(r.caption.left(), 4 + (78 - 4 - 30) / 2);

    in.alignment = 7; // picture at the top margin, caption below
    in.client = QSize(100, 60);
    r = LayoutButton(in);
    EXPECT_EQ(r.picture.topLeft(), QPoint(42, 4));
    EXPECT_EQ(r.caption.top(), 22 + (56 - 22 - 14) / 2);

    in.alignment = 8; // picture above the caption, the pair centred
    r = LayoutButton(in);
    EXPECT_EQ(r.picture.top(), (60 - 32) / 2);
    EXPECT_EQ(r.caption.top(), r.picture.bottom() + 1 + 2);

    in.alignment = 0; // both centred
    r = LayoutButton(in);
    EXPECT_EQ(r.picture.center(), QRect(0, 0, 100, 60).center());

    in.alignment = 9; // unknown: picture in the corner
    r = LayoutButton(in);
    EXPECT_EQ(r.picture.topLeft(), QPoint(0, 0));

    // Without a caption there is no gap and the picture is centred.
    in.captionBox = QSize();
    in.alignment = 4;
    r = LayoutButton(in);
    EXPECT_EQ(r.picture.topLeft(), QPoint(42, 22));
    EXPECT_TRUE(r.caption.isNull());
}

TEST(dcButtonLayout, ShapesAndOutline)
{
    // Square corners for a corner size of 0.
    EXPECT_EQ(ShapeRegion(80, 26, 0, 0, 0) & QRegion(0, 0, 80, 26), QRegion(0, 0, 80, 26));
    const QRegion round = ShapeRegion(80, 26, 13, 13, 0);
    EXPECT_FALSE(round.contains(QPoint(0, 0)));
    EXPECT_FALSE(round.contains(QPoint(79, 0)));
    EXPECT_TRUE(round.contains(QPoint(6, 6)));
    // Width / 2 rounds halves to even: 81 / 2 = 40.5 -> 40.
    const QRegion left = ShapeRegion(81, 26, 13, 13, 1);
    EXPECT_TRUE(left.contains(QPoint(39, 0)));
    EXPECT_TRUE(left.contains(QPoint(0, 0)));
    EXPECT_FALSE(left.contains(QPoint(80, 0)));

    const QPolygon outline = TraceOutline(round, 80, 26, 13, 13, 0);
    ASSERT_GT(outline.size(), 8);
    EXPECT_EQ(outline.first(), outline.last());
    for (const QPoint& p : outline)
        EXPECT_TRUE(round.contains(p)) << p.x() << "," << p.y();
    const QPolygon squareLeft = TraceOutline(ShapeRegion(80, 26, 13, 13, 1), 80, 26, 13, 13, 1);
    EXPECT_EQ(squareLeft[0], QPoint(0, 0));
    EXPECT_EQ(squareLeft[1], QPoint(0, 25));
}
