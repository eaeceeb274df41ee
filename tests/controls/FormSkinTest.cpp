#include "FormSkin.h"
#include "MakeSk.h"
#include "PropertyBag.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QRgb Key = qRgb(0, 255, 0);
const QRgb Ink = qRgb(40, 40, 40);

// A 60 x 40 skin: a key-coloured frame 5 pixels wide around an inked body.
QImage FramedSkin()
{
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Key);
    for (int y = 5; y < 35; ++y)
        for (int x = 5; x < 55; ++x)
            image.setPixel(x, y, Ink);
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
    }
};

} // namespace

TEST(FormSkin, MakeSkinFalseChangesNothing)
{
    SkinnedWindow w;
    w.window->show();
    w.Skin->setPicture(QImage()); // no picture: the window keeps its size
    w.Skin->MakeSkin(false);
    EXPECT_EQ(w.window->size(), QSize(300, 200));
    EXPECT_EQ(w.Skin->pic()->geometry(), QRect(0, 0, 120, 80));
    EXPECT_FALSE(w.window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(w.window->mask().isEmpty());

    // With a picture the resize rule sizes the window, but MakeSkin(false) still adds no shape.
    w.Skin->setPicture(FramedSkin());
    const QSize sized = w.window->size();
    w.Skin->MakeSkin(false);
    EXPECT_EQ(w.window->size(), sized);
    EXPECT_TRUE(w.window->mask().isEmpty());
}

TEST(FormSkin, PictureSizesControlAndWindowAndMakeSkinShapesTheWindow)
{
    SkinnedWindow w;
    w.window->show();
    w.Skin->setPicture(FramedSkin());
    EXPECT_EQ(w.Skin->size(), QSize(60, 40));
    EXPECT_EQ(w.window->size(), QSize(60, 40));
    EXPECT_TRUE(w.window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(w.window->isVisible()) << "making the window borderless must not hide it";
    EXPECT_EQ(w.window->geometry().topLeft(), QPoint(100, 100));
    // Changing the picture resizes but does not re-shape.
    EXPECT_TRUE(w.window->mask().isEmpty());

    w.Skin->MakeSkin(true);
    EXPECT_TRUE((w.window->mask() ^ QRegion(5, 5, 50, 30)).isEmpty());

    // The resize rule holds the control to its picture's size.
    w.Skin->resize(200, 200);
    EXPECT_EQ(w.Skin->size(), QSize(60, 40));
    EXPECT_EQ(w.window->size(), QSize(60, 40));
}

TEST(FormSkin, AllTransparentSkinAndNoSkinGiveARectangularWindow)
{
    SkinnedWindow w;
    w.window->setMask(QRegion(0, 0, 10, 10)); // an earlier shape must go
    QImage plain(50, 20, QImage::Format_RGB32);
    plain.fill(Key);
    w.Skin->setPicture(plain);
    w.Skin->MakeSkin(true);
    EXPECT_TRUE(w.window->mask().isEmpty());
    EXPECT_EQ(w.window->size(), QSize(50, 20));

    SkinnedWindow bare;
    bare.window->show();
    bare.Skin->MakeSkin(true);
    EXPECT_EQ(bare.window->size(), QSize(300, 200));
    EXPECT_TRUE(bare.window->mask().isEmpty());
    bare.Skin->resize(90, 70);
    EXPECT_EQ(bare.Skin->pic()->geometry(), QRect(0, 0, 90, 70)) << "pic fills the control";
}

TEST(FormSkin, PictureSurvivesTheDesignAndTheDefaultIsNotStored)
{
    PropertyBag empty;
    SkinnedWindow plain;
    plain.Skin->WriteProperties(empty);
    EXPECT_TRUE(empty.IsEmpty());

    SkinnedWindow designed;
    designed.Skin->setPicture(FramedSkin());
    PropertyBag bag;
    designed.Skin->WriteProperties(bag);
    PropertyBag loaded;
    ASSERT_TRUE(loaded.Load(bag.Save()));

    SkinnedWindow restored;
    restored.Skin->ReadProperties(loaded);
    EXPECT_EQ(restored.Skin->Picture(),
              FramedSkin().convertToFormat(restored.Skin->Picture().format()));
    EXPECT_EQ(restored.window->size(), QSize(60, 40)) << "the resize rule runs after reading";
}

TEST(FormSkin, MouseEventsCarryButtonShiftAndSurfaceCoordinates)
{
    SkinnedWindow w;
    w.Skin->setPicture(FramedSkin());
    w.window->show();
    QSignalSpy down(w.Skin, &FormSkin::MouseDown);
    QSignalSpy up(w.Skin, &FormSkin::MouseUp);
    QSignalSpy move(w.Skin, &FormSkin::MouseMove);

    QTest::mousePress(w.Skin->pic(), Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                      QPoint(12, 7));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down[0][0].toInt(), 2);
    EXPECT_EQ(down[0][1].toInt(), 1 | 2);
    EXPECT_FLOAT_EQ(down[0][2].toFloat(), 12);
    EXPECT_FLOAT_EQ(down[0][3].toFloat(), 7);
    EXPECT_FALSE(w.Skin->IsDragging()) << "only the left button drags";
    QTest::mouseMove(w.Skin->pic(), QPoint(20, 9));
    QTest::mouseRelease(w.Skin->pic(), Qt::RightButton, Qt::AltModifier, QPoint(20, 9));
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up[0][0].toInt(), 2);
    EXPECT_EQ(up[0][1].toInt(), 4);
    EXPECT_GE(move.count(), 1);
    EXPECT_EQ(w.window->pos(), QPoint(100, 100));
}
