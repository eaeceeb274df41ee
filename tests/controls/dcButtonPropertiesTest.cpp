// Property rules of the button: clamping, picture sizes, the smallest size, persistence.
#include "PropertyBag.h"
#include "dcButton.h"

#include <QApplication>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

QImage Picture(int w, int h, QRgb colour = qRgb(10, 20, 30))
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

} // namespace

TEST(dcButtonProperties, ANewButtonIsAClassicButtonNamedAfterItself)
{
    dcButton b(nullptr, "cmdBrowse");
    EXPECT_EQ(b.Caption(), "cmdBrowse");
    EXPECT_EQ(b.ButtonStyle(), 6);
    EXPECT_EQ(b.BackColor(), 0x8000000Fu);
    EXPECT_EQ(b.PictureAlignment(), 4);
    EXPECT_EQ(b.MaskColor(), 0xC0C0C0u);
    EXPECT_TRUE(b.UseMaskColor());
    // The face is the desktop's button colour, translated.
    EXPECT_EQ(dcbutton::ToQColor(b.DerivedColors()[dcbutton::Face]),
              QApplication::palette().color(QPalette::Button));
}

TEST(dcButtonProperties, OpacityAndPictureSizesAreClamped)
{
    dcButton b;
    b.SetPictureNormal(Picture(20, 10));
    EXPECT_EQ(b.PictureOpacity(), 100);
    b.SetPictureOpacity(5);
    EXPECT_EQ(b.PictureOpacity(), 10);
    b.SetPictureOpacity(150);
    EXPECT_EQ(b.PictureOpacity(), 100);

    EXPECT_EQ(b.PictureSize(), 0);
    EXPECT_EQ(QSize(b.PictureSizeW(), b.PictureSizeH()), QSize(20, 10));
    b.SetPictureSize(3);
    EXPECT_EQ(QSize(b.PictureSizeW(), b.PictureSizeH()), QSize(32, 32));
    b.SetPictureSizeW(20);
    EXPECT_EQ(b.PictureSize(), 5);
    EXPECT_EQ(QSize(b.PictureSizeW(), b.PictureSizeH()), QSize(20, 32));
    b.SetPictureSize(5); // custom keeps the pixel size
    EXPECT_EQ(QSize(b.PictureSizeW(), b.PictureSizeH()), QSize(20, 32));
    b.SetPictureSize(0);
    EXPECT_EQ(QSize(b.PictureSizeW(), b.PictureSizeH()), QSize(20, 10));

    // A hot picture of another size switches to a custom size.
    b.SetPictureHot(Picture(16, 16));
    EXPECT_EQ(b.PictureSize(), 5);

    // No normal picture: no pictures, no size, no opacity.
    b.SetPictureNormal(QImage());
    EXPECT_TRUE(b.PictureHot().isNull());
    EXPECT_EQ(b.PictureSize(), 0);
    EXPECT_EQ(b.PictureSizeW(), 0);
    EXPECT_EQ(b.PictureOpacity(), 0);
    b.SetPictureSize(3);
    EXPECT_EQ(b.PictureSizeW(), 0);
    // A hot picture without a normal one becomes the normal picture.
    b.SetPictureHot(Picture(8, 8));
    EXPECT_FALSE(b.PictureNormal().isNull());
    EXPECT_TRUE(b.PictureHot().isNull());
    EXPECT_EQ(b.PictureOpacity(), 100);
}

TEST(dcButtonProperties, ResizingBelowFifteenPixelsKeepsFifteen)
{
    dcButton b;
    b.resize(40, 10);
    EXPECT_EQ(b.size(), QSize(40, 15));
    b.resize(5, 30);
    EXPECT_EQ(b.size(), QSize(15, 30));
}

TEST(dcButtonProperties, MousePointerAndHandPointer)
{
    dcButton b;
    b.SetHandPointer(true);
    EXPECT_EQ(b.cursor().shape(), Qt::PointingHandCursor);
    b.SetMousePointer(2);
    EXPECT_FALSE(b.HandPointer());
    EXPECT_EQ(b.cursor().shape(), Qt::CrossCursor);
    b.SetMouseIcon(Picture(16, 16));
    EXPECT_EQ(b.MousePointer(), 99);
    b.SetMouseIcon(QImage());
    EXPECT_EQ(b.MousePointer(), 0);
}

TEST(dcButtonProperties, ButtonStyleBringsItsColoursInDesignModeOnly)
{
    dcButton b;
    b.SetBackColor(0x404040);
    b.SetButtonStyle(5);
    EXPECT_EQ(b.BackColor(), 0x404040u);
    b.SetDesignMode(true);
    b.SetButtonStyle(11);
    EXPECT_EQ(b.BackColor(), 0x12BCFFu);
    b.ColorScheme(5);
    EXPECT_EQ(b.BackColor(), 0xD2CECFu);
    b.ColorScheme(12); // no such style: unchanged
    EXPECT_EQ(b.BackColor(), 0xD2CECFu);
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
    EXPECT_EQ(bag.ReadProperty("CheckBox").toBool(), true);
    EXPECT_EQ(bag.ReadProperty("State").toInt(), 3);

    PropertyBag loaded;
    ASSERT_TRUE(loaded.Load(bag.Save()));
    dcButton c(nullptr, "cmdSave");
    c.ReadProperties(loaded);
    EXPECT_EQ(c.ButtonStyle(), 5);
    EXPECT_EQ(c.BackColor(), 0x404040u);
    EXPECT_EQ(c.ForeColor(), 0xFFFFFFu);
    EXPECT_EQ(c.ButtonShape(), 2);
    EXPECT_EQ(c.Caption(), "&Save");
    EXPECT_EQ(c.AccessKey(), QChar('s'));
    EXPECT_TRUE(c.CheckBoxMode());
    EXPECT_TRUE(c.Value());
    EXPECT_TRUE(c.HandPointer());
    EXPECT_EQ(c.MaskColor(), 0xFF00FFu);
    EXPECT_EQ(c.PictureNormal(), b.PictureNormal());
    EXPECT_EQ(c.PictureHot(), b.PictureHot());
    EXPECT_EQ(c.PictureDown(), b.PictureDown());
    EXPECT_EQ(c.PictureOpacity(), 40);
    EXPECT_EQ(c.PictureAlignment(), 7);
    EXPECT_EQ(c.PictureSize(), 5);
    EXPECT_EQ(c.PictureSizeW(), 24);
    EXPECT_EQ(c.PictureSizeH(), 10);
    EXPECT_EQ(c.SpecialEffect(), 2);
    EXPECT_FALSE(c.UseMaskColor());
    EXPECT_TRUE(c.FontBold());
    EXPECT_FALSE(c.Enabled());
    EXPECT_EQ(c.CurrentState(), 3);
    EXPECT_EQ(c.DerivedColors(), b.DerivedColors());

    // What was read is written back the same.
    PropertyBag again;
    c.WriteProperties(again);
    EXPECT_EQ(again.Keys(), bag.Keys());
}

TEST(dcButtonProperties, HelpTextsAndCategories)
{
    EXPECT_EQ(dcButton::HelpText("ButtonStyle"),
              "Returns/sets a value to determine the style used to draw the button.");
    EXPECT_EQ(dcButton::HelpText("MouseEnter"),
              "Occrus when the cursor moves around the button for the first time.");
    EXPECT_EQ(dcButton::HelpText("Refresh"), "Forces a complete repaint of the button.");
    EXPECT_EQ(dcButton::PropertyCategory("Caption"), ";Appearance");
    EXPECT_EQ(dcButton::PropertyCategory("FontSize"), ";Font");
    EXPECT_EQ(dcButton::PropertyCategory("hwnd"), ";Misc");
    EXPECT_TRUE(dcButton::HelpText("NoSuchThing").isEmpty());
}

TEST(dcButtonProperties, SetPopupMenuNeedsAMenu)
{
    dcButton b;
    int clicks = 0;
    QObject::connect(&b, &dcButton::Click, [&] { ++clicks; });
    b.SetPopupMenu(nullptr, 3);
    b.SetValue(true); // still an ordinary button
    EXPECT_EQ(clicks, 1);
}
