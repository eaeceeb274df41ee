#include "MakeSk.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(SetWindowOpacity, StatusCodes)
{
    QWidget window;
    EXPECT_EQ(SetWindowOpacity(&window, 128), OpacityDone);
    EXPECT_NEAR(window.windowOpacity(), 128 / 255.0, 0.01);
    EXPECT_EQ(SetWindowOpacity(&window, 0), OpacityDone);
    EXPECT_EQ(window.windowOpacity(), 0.0);
    EXPECT_EQ(SetWindowOpacity(&window, 255), OpacityDone);
    EXPECT_EQ(window.windowOpacity(), 1.0);

    SetWindowOpacity(&window, 77);
    const qreal before = window.windowOpacity();
    EXPECT_EQ(SetWindowOpacity(&window, -1), OpacityOutOfRange);
    EXPECT_EQ(SetWindowOpacity(&window, 256), OpacityOutOfRange);
    EXPECT_EQ(window.windowOpacity(), before) << "out of range leaves the window untouched";

    QWidget child(&window);
    EXPECT_EQ(SetWindowOpacity(&child, 100), OpacityFailed);
    EXPECT_EQ(SetWindowOpacity(nullptr, 100), OpacityFailed);
    EXPECT_EQ(SetWindowOpacity(nullptr, 300), OpacityOutOfRange);
}
