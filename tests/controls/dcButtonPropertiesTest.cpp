// Property rules of the button: clamping, picture sizes, the smallest size, persistence.
#include "PropertyBag.h"
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

TEST(dcButtonProperties, PropertiesSurviveTheBagAndDefaultsAreNotStored)
{
    dcButton plain(nullptr, "cmdOK");
    plain.ColorScheme(0); // reading defaults: style 0 in the container's colours
    plain.SetButtonStyle(0);
    plain.SetBackColor(0x8000000F);
    PropertyBag empty;
    plain.WriteProperties(empty);
    EXPECT_TRUE(empty.IsEmpty()) << empty.Keys().join(",").toStdString();

    dcButton b(nullptr, "cmdSave");
    b.SetButtonStyle(5);
    b.SetBackColor(0x404040);
    b.SetForeColor(0xFFFFFF);
    b.SetButtonShape(2);
    b.SetCaption("&Save");
    b.SetCheckBoxMode(true);
    b.SetValue(true);
    b.SetHandPointer(true);
    b.SetMaskColor(0xFF00FF);
    b.SetPictureNormal(Picture(20, 10));
    b.SetPictureHot(Picture(20, 10, qRgb(200, 0, 0)));
    b.SetPictureDown(Picture(20, 10, qRgb(0, 200, 0)));
    b.SetPictureOpacity(40);
    b.SetPictureAlignment(7);
    b.SetPictureSizeW(24);
    b.SetSpecialEffect(2);
    b.SetUseMaskColor(false);
    b.SetFontBold(true);
    b.SetEnabled(false);
    PropertyBag bag;
    b.WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("PicOpacity").toDouble(), 0.4);

    dcButton c(nullptr, "cmdSave");
    c.ReadProperties(bag);
    EXPECT_EQ(c.AccessKey(), QChar('s'));
    EXPECT_EQ(c.CurrentState(), 3);
    EXPECT_EQ(c.DerivedColors(), b.DerivedColors());
    // What was read is written back the same, value for value.
    PropertyBag again;
    c.WriteProperties(again);
    EXPECT_EQ(again.Keys(), bag.Keys());
    for (const QString& key : bag.Keys())
        EXPECT_EQ(again.ReadProperty(key), bag.ReadProperty(key)) << key.toStdString();
}
