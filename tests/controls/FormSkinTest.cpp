#include "FormSkin.h"
#include "MakeSk.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

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

struct SkinnedWindow
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    FormSkin* Skin = new FormSkin(window.get());
    SkinnedWindow()
    {
        window->setGeometry(100, 100, 300, 200);
        Skin->setGeometry(0, 0, 120, 80);
        window->show();
    }
};

} // namespace

TEST(FormSkin, PictureSizesTheWindowOnlyMakeSkinTrueShapesItAndMouseCodes)
{
    SkinnedWindow w;
    w.Skin->MakeSkin(false); // no picture: nothing changes
    EXPECT_EQ(w.window->size(), QSize(300, 200));
    EXPECT_FALSE(w.window->windowFlags().testFlag(Qt::FramelessWindowHint));

    w.Skin->setPicture(FramedSkin());
    EXPECT_EQ(w.window->size(), QSize(60, 40));
    EXPECT_TRUE(w.window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(w.window->isVisible()) << "making the window borderless must not hide it";
    EXPECT_EQ(w.window->geometry().topLeft(), QPoint(100, 100));
    w.Skin->MakeSkin(false);
    EXPECT_TRUE(w.window->mask().isEmpty());

    w.Skin->MakeSkin(true);
    EXPECT_TRUE((w.window->mask() ^ QRegion(5, 5, 50, 30)).isEmpty());
    w.Skin->resize(200, 200); // the control keeps its picture's size
    EXPECT_EQ(w.window->size(), QSize(60, 40));

    // An all-transparent skin gives a rectangular window, dropping the earlier shape.
    w.Skin->setPicture(FramedSkin(false));
    w.Skin->MakeSkin(true);
    EXPECT_TRUE(w.window->mask().isEmpty());

    // Mouse events carry the button and shift codes; only the left button drags.
    QSignalSpy down(w.Skin, &FormSkin::MouseDown);
    QTest::mousePress(w.Skin->pic(), Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                      QPoint(12, 7));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down[0][0].toInt(), 2);
    EXPECT_EQ(down[0][1].toInt(), 1 | 2);
    EXPECT_FLOAT_EQ(down[0][2].toFloat(), 12);
    EXPECT_FALSE(w.Skin->IsDragging());
}
