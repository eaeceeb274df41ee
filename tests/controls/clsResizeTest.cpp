#include "clsResize.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

using namespace controls;

namespace {

struct Form
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QPushButton* button = new QPushButton("Play", window.get());
    QFrame* frame = new QFrame(window.get());
    QLabel* inside = new QLabel("title", frame);
    clsResize resizer;

    explicit Form(QSize size = {400, 300})
    {
        window->resize(size);
        button->setGeometry(40, 30, 100, 50);
        frame->setGeometry(200, 120, 160, 90);
        inside->setGeometry(10, 20, 60, 30);
        resizer.FormInitialize(window.get());
    }
    QRect ResizeTo(int width, int height)
    {
        window->resize(width, height);
        resizer.FormResize();
        return button->geometry();
    }
};

} // namespace

TEST(clsResize, DoublingSameSizeShrinkThenGrowAndSizeZero)
{
    Form f;
    EXPECT_EQ(f.ResizeTo(400, 300), QRect(40, 30, 100, 50));
    EXPECT_EQ(f.ResizeTo(800, 300), QRect(80, 30, 200, 50));
    EXPECT_EQ(f.inside->geometry(), QRect(20, 20, 120, 30)) << "controls inside a frame scale too";
    // Doubling the height next compounds from the last size, not the first.
    EXPECT_EQ(f.ResizeTo(800, 600), QRect(80, 60, 200, 100));

    EXPECT_LT(f.ResizeTo(520, 340).width(), 200);
    // Back up to the rounding of whole pixels at each step.
    const QRect back = f.ResizeTo(800, 600), want(80, 60, 200, 100);
    EXPECT_TRUE(want.adjusted(-1, -1, 1, 1).contains(back) &&
                back.adjusted(-1, -1, 1, 1).contains(want));

    // A size of zero never collapses the controls.
    f.ResizeTo(0, 0);
    EXPECT_EQ(f.ResizeTo(800, 600), back);

    // Recorded while collapsed: the first real size gives no ratio, the next one does.
    Form collapsed(QSize(0, 0));
    EXPECT_EQ(collapsed.ResizeTo(300, 200), QRect(40, 30, 100, 50));
    EXPECT_EQ(collapsed.ResizeTo(600, 200), QRect(80, 30, 200, 50));
}
