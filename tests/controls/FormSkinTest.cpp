#include "FormSkin.h"
#include "MakeSk.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace controls;

namespace {

const QRgb Key = qRgb(0, 255, 0);

// A 60 x 40 skin: a key-coloured frame 5 pixels wide around an inked body (or none at all).
QImage FramedSkin(bool inked = true)
{
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Key);
    for (int y = 5; inked && y < 35; ++y)
        for (int x = 5; x < 55; ++x)
            image.setPixel(x, y, qRgb(40, 40, 40));
    return image;
}

} // namespace

TEST(FormSkin, PictureSizesTheWindowAndOnlyMakeSkinTrueShapesIt)
{
    QWidget window;
    auto* Skin = new FormSkin(&window);
    window.setGeometry(100, 100, 300, 200);
    Skin->setGeometry(0, 0, 120, 80);
    window.show();
    Skin->MakeSkin(false); // no picture: nothing changes
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));

    Skin->setPicture(FramedSkin());
    EXPECT_EQ(window.size(), QSize(60, 40));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.isVisible()) << "making the window borderless must not hide it";
    EXPECT_EQ(window.geometry().topLeft(), QPoint(100, 100));
    Skin->MakeSkin(false);
    EXPECT_TRUE(window.mask().isEmpty());

    Skin->MakeSkin(true);
    EXPECT_TRUE((window.mask() ^ QRegion(5, 5, 50, 30)).isEmpty());
    Skin->resize(200, 200); // the control keeps its picture's size
    EXPECT_EQ(window.size(), QSize(60, 40));

    // An all-transparent skin gives a rectangular window, dropping the earlier shape.
    Skin->setPicture(FramedSkin(false));
    Skin->MakeSkin(true);
    EXPECT_TRUE(window.mask().isEmpty());
}
