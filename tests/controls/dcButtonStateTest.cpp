// The button's drawing states and events under real mouse and keyboard input, in a shown and
// active window with two buttons and a text box.
#include "dcButton.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

using namespace controls;

using Events = QStringList;
using Button = Qt::MouseButton;
using Mods = Qt::KeyboardModifiers;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class ButtonWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 120);
        before = new QLineEdit(window.get());
        before->setGeometry(10, 80, 60, 20);
        button = new dcButton(window.get(), "cmdOK");
        button->setGeometry(20, 20, 80, 26);
        other = new dcButton(window.get(), "cmdCancel");
        other->setGeometry(150, 20, 80, 26);
        Watch();
        QObject::connect(other, &dcButton::Click, [this] { ++otherClicks; });
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
    void Watch()
    {
        const auto note = [this](const QString& e) { return [this, e] { events << e; }; };
        const auto coded = [this](const QString& e) {
            return [this, e](short& code, auto&...) { events << e + QString::number(code); };
        };
        QObject::connect(button, &dcButton::Click, note("Click"));
        QObject::connect(button, &dcButton::DblClick, note("DblClick"));
        QObject::connect(button, &dcButton::MouseEnter, note("MouseEnter"));
        QObject::connect(button, &dcButton::MouseLeave, note("MouseLeave"));
        QObject::connect(button, &dcButton::MouseDown, coded("MouseDown"));
        QObject::connect(button, &dcButton::MouseUp, coded("MouseUp"));
        QObject::connect(button, &dcButton::KeyDown, coded("KeyDown"));
        QObject::connect(button, &dcButton::KeyUp, coded("KeyUp"));
    }
    Events Take() { return std::exchange(events, {}); }

    QPoint Inside() const { return QPoint(40, 13); }
    QPoint Outside() const { return button->mapFromParent(QPoint(120, 100)); }

    // Input goes through the window system's path, as a user's would: enter and leave, double
    // clicks, popups and focus are all worked out by the toolkit.
    QWindow* Win() const { return window->windowHandle(); }
    QPoint At(const QPoint& onButton) const { return button->mapTo(window.get(), onButton); }
    void MoveTo(const QPoint& p) { QTest::mouseMove(Win(), At(p)); }
    void Press(QPoint p, Button b = Qt::LeftButton) { QTest::mousePress(Win(), b, {}, At(p)); }
    void Release(QPoint p, Button b = Qt::LeftButton) { QTest::mouseRelease(Win(), b, {}, At(p)); }
    // Keys go to whatever has the focus at that moment.
    static inline QWidget* const Focus = nullptr;
    static void KeyDown(Qt::Key k, Mods m = {}) { QTest::keyPress(Focus, k, m); }
    static void KeyUp(Qt::Key k, Mods m = {}) { QTest::keyRelease(Focus, k, m); }
    static void Key(Qt::Key k, Mods m = {}) { QTest::keyClick(Focus, k, m); }
    void ActivateAndFocus()
    {
        // Without a window manager a closed popup does not hand the activation back.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 15000));
        button->setFocus();
    }

    std::unique_ptr<QWidget> window;
    QLineEdit* before = nullptr;
    dcButton* button = nullptr;
    dcButton* other = nullptr;
    Events events;
    int otherClicks = 0;
};

TEST_F(ButtonWindow, MouseInputFollowsTheStateTable)
{
    MoveTo(Inside());
    EXPECT_EQ(button->CurrentState(), 1);
    // Other mouse buttons press without clicking or taking the focus.
    Press(Inside(), Qt::RightButton);
    Release(Inside(), Qt::RightButton);
    EXPECT_EQ(Take(), Events({"MouseEnter", "MouseDown2"}));
    EXPECT_EQ(button->CurrentState(), 1);
    EXPECT_FALSE(button->hasFocus());

    Press(Inside());
    EXPECT_EQ(button->CurrentState(), 2);
    EXPECT_TRUE(button->hasFocus());
    Release(Inside());
    EXPECT_EQ(button->CurrentState(), 1);
    EXPECT_EQ(Take(), Events({"MouseDown1", "MouseUp1", "Click"}));

    button->SetEnabled(false);
    EXPECT_EQ(button->CurrentState(), 3);
    button->SetEnabled(true);
    EXPECT_EQ(button->CurrentState(), 1);
    QTest::mouseMove(Win(), QPoint(250, 100));
    EXPECT_EQ(button->CurrentState(), 0);
    EXPECT_EQ(Take(), Events({"MouseLeave"}));

    // Dragging off a pressed button cancels the click.
    MoveTo(Inside());
    Press(Inside());
    Take();
    // The first move off only ends the hover; later moves show the button raised.
    MoveTo(Outside());
    EXPECT_EQ(button->CurrentState(), 2);
    EXPECT_EQ(Take(), Events({"MouseLeave"}));
    MoveTo(Outside() + QPoint(2, 2));
    EXPECT_EQ(button->CurrentState(), 1);
    MoveTo(Inside());
    EXPECT_EQ(button->CurrentState(), 2);
    MoveTo(Outside());
    Release(Outside());
    const Events e = Take();
    EXPECT_TRUE(e.contains("MouseUp1"));
    EXPECT_FALSE(e.contains("Click"));
    EXPECT_EQ(e.count("MouseLeave"), 1) << e.join(",").toStdString();

    // A double click raises one Click and one DblClick.
    QTest::mouseDClick(Win(), Qt::LeftButton, {}, At(Inside()));
    const Events d = Take();
    EXPECT_EQ(d.count("Click"), 1) << d.join(",").toStdString();
    EXPECT_EQ(d.count("DblClick"), 1);
    EXPECT_EQ(d.last(), "MouseUp1");
    EXPECT_EQ(button->CurrentState(), 1);
}

TEST_F(ButtonWindow, SpaceBarPressesAndClicksOnRelease)
{
    button->setFocus();
    MoveTo(Inside());
    Take();
    KeyDown(Qt::Key_Space);
    EXPECT_EQ(button->CurrentState(), 2);
    // The mouse wandering off and back does not end a keyboard press.
    MoveTo(Outside());
    EXPECT_EQ(button->CurrentState(), 2);
    MoveTo(Inside());
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(button->CurrentState(), 1);
    // The keyboard press holds the mouse, so the hover never ended: no second MouseEnter.
    EXPECT_EQ(Take(), Events({"KeyDown32", "MouseLeave", "Click", "KeyUp32"}));

    // Released with the mouse away, the keyboard press still clicks.
    KeyDown(Qt::Key_Space);
    MoveTo(Outside());
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(button->CurrentState(), 0);
    EXPECT_TRUE(Take().contains("Click"));

    // Auto-repeat sends more presses and releases while the key stays down: still one click.
    KeyDown(Qt::Key_Space);
    Take();
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Space, {}, " ", true);
    QApplication::sendEvent(button, &repeatRelease);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Space, {}, " ", true);
    QApplication::sendEvent(button, &repeatPress);
    EXPECT_EQ(button->CurrentState(), 2);
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(Take(), Events({"KeyDown32", "Click", "KeyUp32"}));
}

TEST_F(ButtonWindow, OtherKeysCancelASpacePressAndArrowsFinishIt)
{
    button->setFocus();
    KeyDown(Qt::Key_Space);
    Key(Qt::Key_X);
    EXPECT_EQ(button->CurrentState(), 0);
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(Take(), Events({"KeyDown32", "KeyDown88", "KeyUp88", "KeyUp32"}));

    Key(Qt::Key_Right);
    EXPECT_TRUE(other->hasFocus());
    Key(Qt::Key_Left);
    EXPECT_TRUE(button->hasFocus());
    // Arrows raise no KeyDown; the release of Left reaches the button it moved the focus to.
    EXPECT_EQ(Take(), Events({"KeyUp37"}));
    KeyDown(Qt::Key_Space);
    Key(Qt::Key_Up);
    EXPECT_TRUE(before->hasFocus());
    EXPECT_EQ(Take(), Events({"KeyDown32", "Click"}));
    EXPECT_EQ(button->CurrentState(), 0);
}

TEST_F(ButtonWindow, EnterEscAndValueClickButCheckBoxesOnlyToggleOnClicks)
{
    button->SetDefault(true);
    other->SetCancel(true);
    before->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(Take(), Events({"Click"}));
    Key(Qt::Key_Escape);
    EXPECT_EQ(otherClicks, 1);
    // Value = True clicks an ordinary button, which never stays set; so does a null menu.
    button->SetPopupMenu(nullptr, 3);
    button->SetValue(true);
    EXPECT_FALSE(button->Value());
    EXPECT_EQ(Take(), Events({"Click"}));

    button->SetCheckBoxMode(true);
    button->SetCancel(true);
    MoveTo(Inside());
    QTest::mouseClick(Win(), Qt::LeftButton, {}, At(Inside()));
    EXPECT_TRUE(button->Value());
    Key(Qt::Key_Return);
    Key(Qt::Key_Escape);
    EXPECT_TRUE(button->Value());
    QTest::mouseClick(Win(), Qt::LeftButton, {}, At(Inside()));
    EXPECT_FALSE(button->Value());
    EXPECT_EQ(Take().count("Click"), 2);
    button->SetValue(true);
    button->SetCheckBoxMode(false);
    EXPECT_FALSE(button->Value());
}

TEST_F(ButtonWindow, AccessKeysClickAndTextBoxesKeepTheirLetters)
{
    button->SetCaption("&Save");
    other->SetCaption("Save && E&xit");
    Key(Qt::Key_S, Qt::AltModifier);
    // The access key moved the focus here, so the keys' releases come here too.
    EXPECT_EQ(Take(), Events({"Click", "KeyUp83", "KeyUp18"}));
    // The key alone works while a button has the focus...
    Key(Qt::Key_X);
    EXPECT_EQ(otherClicks, 1);
    // ...but a text box keeps its typed letters.
    before->setFocus();
    Key(Qt::Key_S);
    EXPECT_EQ(before->text(), "s");
    // A disabled button ignores its access key.
    button->SetEnabled(false);
    Key(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(Take(), Events());
}

TEST_F(ButtonWindow, FocusAndWindowActivationRepaintTheFocusLook)
{
    button->SetButtonStyle(5);
    button->setFocus();
    const QRgb focused = button->grab().toImage().pixel(0, 10);
    other->setFocus();
    const QRgb unfocused = button->grab().toImage().pixel(0, 10);
    // The focused face carries a frame in the text colour.
    EXPECT_EQ(QColor(focused), dcbutton::ToQColor(button->DerivedColors()[dcbutton::Text]));
    EXPECT_NE(focused, unfocused);

    button->setFocus();
    QWidget second;
    second.show();
    second.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second, 15000));
    // An inactive window shows no focus, but the focus comes back with the window.
    EXPECT_EQ(button->grab().toImage().pixel(0, 10), unfocused);
    ActivateAndFocus();
    EXPECT_EQ(button->grab().toImage().pixel(0, 10), focused);
}

TEST_F(ButtonWindow, PressingTheButtonClosesItsMenuWithoutReopeningIt)
{
    QMenu menu;
    menu.addAction("One");
    int shown = 0;
    bool pressed = false;
    // Once the menu shows, press on the button, as a user clicking outside the open menu.
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&] {
        ++shown;
        QTimer::singleShot(0, &menu, [&] {
            if (!std::exchange(pressed, true))
                QTest::mousePress(menu.windowHandle(), Qt::LeftButton, {},
                                  menu.mapFromGlobal(button->mapToGlobal(Inside())));
        });
    });
    button->SetPopupMenu(&menu, 0);
    MoveTo(Inside());
    Press(Inside());
    EXPECT_TRUE(pressed);
    Release(Inside());
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(menu.isVisible());
    // Menu mode raises no mouse or click events.
    EXPECT_EQ(Take(), Events({"MouseEnter"}));

    pressed = false;
    MoveTo(Inside() + QPoint(1, 0));
    Press(Inside());
    Release(Inside());
    EXPECT_EQ(shown, 2);
    button->UnsetPopupMenu();
    QTest::mouseClick(Win(), Qt::LeftButton, {}, At(Inside()));
    EXPECT_TRUE(Take().contains("Click"));
}

TEST_F(ButtonWindow, MenuAlignmentPlacesTheMenuAroundTheButton)
{
    window->move(300, 250); // room for the menu on every side
    QMenu menu;
    menu.addAction("A rather long entry");
    QPoint seen;
    int shown = 0;
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&] {
        ++shown;
        QTimer::singleShot(0, &menu, [&] {
            seen = menu.pos();
            menu.close();
        });
    });
    const QRect b(button->mapToGlobal(QPoint(0, 0)), button->size());
    const int w = menu.sizeHint().width(), h = menu.sizeHint().height();
    // The menu's corner that sits at the anchor, for alignments 0-7 and then 0 with the
    // caller's flag 0x4, which centres the menu on the anchor; 9 shows no menu.
    const std::tuple<int, int, QPoint, QPoint> cases[] = {
        {0, 0, {0, 0}, b.bottomLeft() + QPoint(0, 1)},
        {1, 0, {w, 0}, b.topLeft()},
        {2, 0, {w, 0}, b.bottomLeft() + QPoint(0, 1)},
        {3, 0, {0, 0}, b.topRight() + QPoint(1, 0)},
        {4, 0, {0, 0}, b.bottomRight() + QPoint(1, 1)},
        {5, 0, {0, h}, b.topLeft()},
        {6, 0, {w, h}, b.topLeft()},
        {7, 0, {0, h}, b.topRight() + QPoint(1, 0)},
        {0, 4, {w / 2, 0}, b.bottomLeft() + QPoint(0, 1)},
        {9, 0, {}, {}},
    };
    for (const auto& [align, flags, corner, anchor] : cases) {
        ActivateAndFocus();
        button->SetPopupMenu(&menu, align, flags);
        seen = QPoint();
        Key(Qt::Key_Space);
        if (align > 7)
            break;
        EXPECT_EQ(seen + corner, anchor) << "align " << align << " flags " << flags;
        // The menu closed away from the button leaves it raised.
        EXPECT_EQ(button->CurrentState(), 0);
    }
    EXPECT_EQ(shown, 9);
    EXPECT_FALSE(Take().contains("Click")); // menu mode raises no Click
}
