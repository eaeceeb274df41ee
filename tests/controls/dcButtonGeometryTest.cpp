// The button's colour arithmetic and layout rules, without a window.
#include "dcButtonColors.h"
#include "dcButtonLayout.h"

#include <gtest/gtest.h>

using namespace controls;

using namespace dcbutton;

TEST(dcButtonColors, ShiftAndBlendRoundHalvesToEvenAndClampOneWay)
{
    // 0x40 + 0.1 × 255 = 89.5 -> 90; 0x41 + 25.5 = 90.5 -> 90.
    EXPECT_EQ(ShiftColor(0x404040, 0.1), 0x5A5A5Au);
    EXPECT_EQ(ShiftColor(0x414141, 0.1), 0x5A5A5Au);
    // Only the bound in the direction of the shift applies.
    EXPECT_EQ(ShiftColor(0xFF1000, 0.1), 0xFF2A1Au);
    EXPECT_EQ(ShiftColor(0x00F0FF, -0.1), 0x00D6E6u);
    EXPECT_EQ(BlendColors(0x000000, 0xFFFFFF, 0.5), 0x808080u); // 127.5 -> 128
    EXPECT_EQ(BlendColors(0x020202, 0x030303, 0.5), 0x020202u); // 2.5 -> 2
}

TEST(dcButtonLayout, AccessKeysSkipDoubledAmpersands)
{
    const std::pair<const char*, QChar> cases[] = {
        {"OK", QChar()},        {"&", QChar()},         {"Sa&ve", 'v'},
        {"Save && E&xit", 'x'}, {"&Save && Exit", 's'}, {"Save && Exit", QChar()},
        {"A&&", QChar()},       {"Exit&", QChar()},
    };
    for (const auto& [caption, key] : cases)
        EXPECT_EQ(AccessKeyFromCaption(caption), key) << caption;
}

TEST(dcButtonLayout, PictureAndCaptionPlacement)
{
    // A 16 × 16 picture and a 30 × 14 caption, 4-pixel margins, a 2-pixel gap between them:
    // alignment, client height, picture's and caption's top left.
    const std::tuple<int, int, QPoint, QPoint> cases[] = {
        {4, 40, {26, 12}, {44, 13}}, // picture left of the caption, the pair centred
        {6, 40, {58, 12}, {26, 13}}, // picture right of the caption
        {3, 40, {4, 12}, {22 + (96 - 22 - 30) / 2, 13}}, // picture at the left margin
        {5, 40, {80, 12}, {4 + (78 - 4 - 30) / 2, 13}},
        {7, 60, {42, 4}, {35, 22 + (56 - 22 - 14) / 2}}, // picture at the top margin
        {8, 60, {42, 14}, {35, 32}},                     // picture above, the pair centred
        {0, 60, {42, 22}, {35, 23}},                     // both centred
        {9, 60, {0, 0}, {35, 23}},                       // unknown: picture in the corner
    };
    LayoutInput in;
    in.captionBox = QSize(30, 14);
    in.hasPicture = true;
    in.picture = QSize(16, 16);
    for (const auto& [alignment, height, picture, caption] : cases) {
        in.client = QSize(100, height);
        in.alignment = alignment;
        const LayoutResult r = LayoutButton(in);
        EXPECT_EQ(r.picture.topLeft(), picture) << "alignment " << alignment;
        EXPECT_EQ(r.caption.topLeft(), caption) << "alignment " << alignment;
    }
}
