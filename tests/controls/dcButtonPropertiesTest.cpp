// Property rules of the button: clamping, picture sizes, the smallest size, persistence.
#include "dcButton.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace controls;

namespace {

QImage Picture(int w, int h, QRgb colour = qRgb(10, 20, 30))
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

} // namespace

TEST(dcButtonProperties, OpacityPictureSizesAndSizeAreClamped)
{
    dcButton b;
    b.SetPictureNormal(Picture(20, 10));
    b.SetPictureOpacity(5);
    EXPECT_EQ(b.PictureOpacity(), 10);
    b.SetPictureOpacity(150);
    EXPECT_EQ(b.PictureOpacity(), 100);

    EXPECT_EQ(QSize(b.PictureSizeW(), b.PictureSizeH()), QSize(20, 10));
    b.SetPictureSize(3);
    EXPECT_EQ(QSize(b.PictureSizeW(), b.PictureSizeH()), QSize(32, 32));
    b.SetPictureSizeW(20);
    EXPECT_EQ(b.PictureSize(), 5);
    EXPECT_EQ(QSize(b.PictureSizeW(), b.PictureSizeH()), QSize(20, 32));
    b.SetPictureSize(0);
    EXPECT_EQ(QSize(b.PictureSizeW(), b.PictureSizeH()), QSize(20, 10));
    // A hot picture of another size switches to a custom size.
    b.SetPictureHot(Picture(16, 16));
    EXPECT_EQ(b.PictureSize(), 5);

    // No normal picture: no pictures, no size, no opacity.
    b.SetPictureNormal(QImage());
    EXPECT_TRUE(b.PictureHot().isNull());
    EXPECT_EQ(b.PictureOpacity(), 0);
    b.SetPictureSize(3);
    EXPECT_EQ(b.PictureSizeW(), 0);
    // A hot picture without a normal one becomes the normal picture.
    b.SetPictureHot(Picture(8, 8));
    EXPECT_FALSE(b.PictureNormal().isNull());
    EXPECT_TRUE(b.PictureHot().isNull());

    b.resize(40, 10);
    EXPECT_EQ(b.size(), QSize(40, 15));
    b.resize(5, 30);
    EXPECT_EQ(b.size(), QSize(15, 30));
}

TEST(dcButtonProperties, ButtonStyleBringsItsColoursInDesignModeOnly)
{
    dcButton b;
    // Colours are desktop references until drawn: the default face is the desktop's button colour.
    EXPECT_EQ(dcbutton::ToQColor(b.DerivedColors()[dcbutton::Face]),
              QApplication::palette().color(QPalette::Button));
    b.SetBackColor(0x404040);
    b.SetButtonStyle(5);
    EXPECT_EQ(b.BackColor(), 0x404040u);
    b.SetDesignMode(true);
    b.SetButtonStyle(11);
    const quint32 scheme = b.BackColor();
    EXPECT_NE(scheme, 0x404040u);
    b.ColorScheme(12); // no such style: unchanged
    EXPECT_EQ(b.BackColor(), scheme);
    // In design mode Value never clicks.
    int clicks = 0;
    QObject::connect(&b, &dcButton::Click, [&] { ++clicks; });
    b.SetValue(true);
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(clicks, 0);
}
