#include "clsResize.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Form
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QPushButton* button = new QPushButton("Play", window.get());
    QFrame* frame = new QFrame(window.get());
    QLabel* inside = new QLabel("title", frame);
    QComboBox* combo = new QComboBox(window.get());
    QTimer* timer = new QTimer(window.get());
    clsResize resizer;

    Form()
    {
        window->resize(400, 300);
        button->setGeometry(40, 30, 100, 50);
        frame->setGeometry(200, 120, 160, 90);
        inside->setGeometry(10, 20, 60, 30);
        combo->setGeometry(20, 200, 120, 24);
        timer->setInterval(1000);
        resizer.FormInitialize(window.get());
    }
    void ResizeTo(int width, int height)
    {
        window->resize(width, height);
        resizer.FormResize();
    }
};

void ExpectNear(const QRect& actual, const QRect& expected, int tolerance)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
    EXPECT_NEAR(actual.width(), expected.width(), tolerance);
    EXPECT_NEAR(actual.height(), expected.height(), tolerance);
}

} // namespace

TEST(clsResize, DoublingTheWidthDoublesLeftsAndWidthsOnly)
{
    Form f;
    EXPECT_EQ(f.resizer.PreviousWidth(), 400 * 15);
    EXPECT_EQ(f.resizer.PreviousHeight(), 300 * 15);
    f.ResizeTo(800, 300);
    EXPECT_EQ(f.button->geometry(), QRect(80, 30, 200, 50));
    EXPECT_EQ(f.frame->geometry(), QRect(400, 120, 320, 90));
    EXPECT_EQ(f.inside->geometry(), QRect(20, 20, 120, 30)) << "controls inside a frame scale too";
    EXPECT_EQ(f.combo->geometry(), QRect(40, 200, 240, 24));
    EXPECT_EQ(f.timer->interval(), 1000);
    EXPECT_EQ(f.resizer.PreviousWidth(), 800 * 15);

    // Then doubling the height compounds from the last size, not the first.
    f.ResizeTo(800, 600);
    EXPECT_EQ(f.button->geometry(), QRect(80, 60, 200, 100));
}

TEST(clsResize, SameSizeChangesNothingAndShrinkThenGrowRestores)
{
    Form f;
    const QRect button = f.button->geometry();
    const QRect inside = f.inside->geometry();
    f.ResizeTo(400, 300);
    EXPECT_EQ(f.button->geometry(), button);
    EXPECT_EQ(f.inside->geometry(), inside);

    f.ResizeTo(260, 170);
    EXPECT_LT(f.button->width(), button.width());
    f.ResizeTo(400, 300);
    // Positions come back up to the rounding of whole pixels at each step.
    ExpectNear(f.button->geometry(), button, 1);
    ExpectNear(f.inside->geometry(), inside, 1);
}

TEST(clsResize, ASizeOfZeroNeverCollapsesTheControls)
{
    Form f;
    const QRect button = f.button->geometry();
    // Collapsed to nothing (minimised to a bar, say) and back: the controls survive.
    f.ResizeTo(0, 0);
    EXPECT_EQ(f.button->geometry(), button);
    f.ResizeTo(400, 300);
    EXPECT_EQ(f.button->geometry(), button);

    // A window recorded while collapsed: its first real size cannot give a ratio.
    QWidget collapsed;
    collapsed.resize(0, 0);
    auto* label = new QLabel("x", &collapsed);
    label->setGeometry(5, 6, 30, 20);
    clsResize resizer;
    resizer.FormInitialize(&collapsed);
    collapsed.resize(300, 200);
    resizer.FormResize();
    EXPECT_EQ(label->geometry(), QRect(5, 6, 30, 20));
    EXPECT_EQ(resizer.PreviousWidth(), 300 * 15);
    collapsed.resize(600, 200);
    resizer.FormResize();
    EXPECT_EQ(label->geometry(), QRect(10, 6, 60, 20));

    clsResize unbound;
    unbound.FormResize(); // no window: nothing to do, nothing breaks
}
