#include "MakeSk.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace controls;

TEST(SetWindowOpacity, StatusCodes)
{
    QWidget window;
    QWidget child(&window);
    for (int alpha : {128, 0, 255}) {
        EXPECT_EQ(SetWindowOpacity(&window, alpha), OpacityDone);
        EXPECT_NEAR(window.windowOpacity(), alpha / 255.0, 0.01);
    }
    // Out of range or not a top-level window: the status says so and nothing changes.
    EXPECT_EQ(SetWindowOpacity(&window, -1), OpacityOutOfRange);
    EXPECT_EQ(SetWindowOpacity(&window, 256), OpacityOutOfRange);
    EXPECT_EQ(window.windowOpacity(), 1.0);
    EXPECT_EQ(SetWindowOpacity(&child, 100), OpacityFailed);
    EXPECT_EQ(SetWindowOpacity(nullptr, 100), OpacityFailed);
    EXPECT_EQ(SetWindowOpacity(nullptr, 300), OpacityOutOfRange);
}
