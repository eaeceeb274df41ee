// How windows find each other, and how designed sizes become pixels.
#include "Twips.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QPointer>
#include <gtest/gtest.h>

using namespace core;

TEST(WindowRegistry, ShowsOneWindowPerNameAndLoadsAFreshOneAfterAClose)
{
    int created = 0;
    RegisterWindow("frmTest", [&] {
        ++created;
        auto* window = new QWidget;
        window->setAttribute(Qt::WA_DeleteOnClose);
        return window;
    });
    EXPECT_EQ(FindWindow("frmTest"), nullptr);
    EXPECT_EQ(ShowWindow("frmNobody"), nullptr) << "nothing registered: nothing shown";

    QPointer<QWidget> first = ShowWindow("frmTest");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->objectName(), "frmTest");
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(ShowWindow("frmTest"), first.data()) << "shown again, not created twice";
    first->hide(); // hidden is still open
    EXPECT_EQ(LoadWindow("frmTest"), first.data());
    EXPECT_EQ(created, 1);

    // Closed, the old window no longer counts even before its deferred deletion has run.
    first->show();
    first->close();
    EXPECT_EQ(FindWindow("frmTest"), nullptr);
    QPointer<QWidget> second = ShowWindow("frmTest");
    EXPECT_NE(second.data(), first.data());
    EXPECT_EQ(created, 2);
    second->close();
    QCoreApplication::processEvents();
}

// Designed values to the nearest pixel: exact, rounded up and down, and below zero (the advert's
// cut).
TEST(Twips, TheWindowsDesignedValuesGoToTheNearestPixel)
{
    const std::pair<int, int> designed[] = {{270, 18}, {4815, 321}, {100, 7},
                                            {320, 21}, {-50, -3},   {-100, -7}};
    for (const auto& [twips, pixels] : designed)
        EXPECT_EQ(controls::TwipsToPixels(twips), pixels) << twips;
}
