// The button as the dialogs use it: its face's states, and Click from the mouse and the
// keyboard, in a shown and active window.
#include "dcButton.h"
#include "dcButtonColors.h"
#include "dcButtonLook.h"

#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

using namespace controls;
using namespace dcbutton;

TEST(dcButtonColors, ShiftAndBlendRoundHalvesToEvenAndClampOneWay)
{
    // 0x40 + 0.1 × 255 = 89.5 -> 90; 0x41 + 25.5 = 90.5 -> 90.
    EXPECT_EQ(ShiftColor(0x404040, 0.1), 0x5A5A5Au);
    EXPECT_EQ(ShiftColor(0x414141, 0.1), 0x5A5A5Au);
    // Only the bound in the direction of the shift applies.
    EXPECT_EQ(ShiftColor(0xFF1000, 0.1), 0xFF2A1Au);
    EXPECT_EQ(ShiftColor(0x00F0FF, -0.1), 0x00D6E6u);
    EXPECT_EQ(BlendColors(0x000000, 0xFFFFFF, 0.5), 0x808080u); // 127.5 -> 128
    EXPECT_EQ(BlendColors(0x020202, 0x030303, 0.5), 0x020202u); // 2.5 -> 2
}

class DialogButton : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 120);
        button = new dcButton(window.get(), "btnSave");
        other = new dcButton(window.get(), "btnCancel");
        for (dcButton* b : {button, other}) {
            b->SetButtonStyle(DialogButtonStyle);
            b->SetBackColor(DialogButtonBackColor);
            b->SetForeColor(DialogButtonForeColor);
        }
        button->SetCaption("Save");
        button->setGeometry(20, 20, 80, 26);
        other->setGeometry(150, 20, 80, 26);
        QObject::connect(button, &dcButton::Click, [this] { ++clicks; });
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 15000));
        // The toolkit drops moves to where the cursor already is: start from a spot of our own.
        QTest::mouseMove(Win(), QPoint(299, 119));
    }
    void TearDown() override
    {
        if (QWidget::mouseGrabber())
            QWidget::mouseGrabber()->releaseMouse();
        window.reset();
    }
    QWindow* Win() const { return window->windowHandle(); }
    QPoint At(const QPoint& onButton) const { return button->mapTo(window.get(), onButton); }
    void MoveTo(const QPoint& p) { QTest::mouseMove(Win(), At(p)); }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(Win(), b, {}, At(p));
    }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(Win(), b, {}, At(p));
    }
    QImage Face() const { return button->grab().toImage(); }

    const QPoint inside{40, 13};
    const QPoint outside{100, 80};
    std::unique_ptr<QWidget> window;
    dcButton* button = nullptr;
    dcButton* other = nullptr;
    int clicks = 0;
};

TEST_F(DialogButton, TheSquareFaceShowsHoverAndDisabled)
{
    other->setFocus();
    const QImage normal = Face();
    EXPECT_EQ(button->mask(), QRegion(0, 0, 80, 26)) << "the dialogs' buttons are square";
    MoveTo(inside);
    EXPECT_NE(Face(), normal) << "hovering shows nothing";
    button->SetEnabled(false);
    EXPECT_NE(Face(), normal) << "a disabled button looks enabled";
    button->SetEnabled(true);
    QTest::mouseMove(Win(), QPoint(299, 119));
    other->setFocus();
    EXPECT_EQ(Face(), normal);
}

TEST_F(DialogButton, ClicksOnReleaseOverItOnlyWithTheLeftButtonOrSpace)
{
    MoveTo(inside);
    Press(inside, Qt::RightButton);
    Release(inside, Qt::RightButton);
    EXPECT_EQ(clicks, 0);
    Press(inside);
    EXPECT_EQ(clicks, 0) << "a press alone clicks";
    Release(inside);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(button->hasFocus());
    // Dragging off a pressed button cancels the click.
    Press(inside);
    MoveTo(outside);
    MoveTo(outside + QPoint(2, 2));
    Release(outside);
    EXPECT_EQ(clicks, 1);
    // A double click is one click, not two or none.
    QTest::mouseDClick(Win(), Qt::LeftButton, {}, At(inside));
    EXPECT_EQ(clicks, 2);

    // Space clicks on its release, also with the mouse gone; another key in between cancels.
    button->setFocus();
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(clicks, 2);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks, 3);
    QTest::keyPress(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_X);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks, 3);
}
