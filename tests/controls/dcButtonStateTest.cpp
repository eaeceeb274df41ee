// The button's drawing states and events under real mouse and keyboard input.
#include "dcButtonTestSupport.h"

#include <QMenu>
#include <QTimer>

using Events = QStringList;

TEST_F(ButtonWindow, HoverPressAndReleaseFollowTheStateTable)
{
    EXPECT_EQ(button->CurrentState(), 0);
    MoveTo(Inside());
    EXPECT_EQ(button->CurrentState(), 1);
    EXPECT_EQ(log.Take(), Events({"MouseEnter"}));

    Press(Inside());
    EXPECT_EQ(button->CurrentState(), 2);
    EXPECT_TRUE(button->hasFocus());
    Release(Inside());
    EXPECT_EQ(button->CurrentState(), 1);
    EXPECT_EQ(log.Take(), Events({"MouseDown1", "MouseUp1", "Click"}));

    // Leaving the button ends the hover.
    QTest::mouseMove(Win(), QPoint(250, 100));
    EXPECT_EQ(button->CurrentState(), 0);
    EXPECT_EQ(log.Take(), Events({"MouseLeave"}));
}

TEST_F(ButtonWindow, DraggingOffAPressedButtonCancelsTheClick)
{
    MoveTo(Inside());
    Press(Inside());
    log.Take();
    // The first move off only ends the hover; later moves show the button raised.
    MoveTo(Outside());
    EXPECT_EQ(button->CurrentState(), 2);
    EXPECT_EQ(log.Take(), Events({"MouseLeave"}));
    MoveTo(Outside() + QPoint(2, 2));
    EXPECT_EQ(button->CurrentState(), 1);
    // Back over the button it is pressed again.
    MoveTo(Inside());
    EXPECT_EQ(button->CurrentState(), 2);
    MoveTo(Outside());
    Release(Outside());
    const Events events = log.Take();
    EXPECT_TRUE(events.contains("MouseUp1"));
    EXPECT_FALSE(events.contains("Click"));
    EXPECT_EQ(events.count("MouseLeave"), 1) << events.join(",").toStdString();
}

TEST_F(ButtonWindow, OtherMouseButtonsPressWithoutClickingOrTakingTheFocus)
{
    MoveTo(Inside());
    log.Take();
    Press(Inside(), Qt::RightButton);
    Release(Inside(), Qt::RightButton);
    EXPECT_EQ(log.Take(), Events({"MouseDown2"}));
    EXPECT_EQ(button->CurrentState(), 1);
    EXPECT_FALSE(button->hasFocus());
}

TEST_F(ButtonWindow, DoubleClickRaisesOneClickAndOneDblClick)
{
    MoveTo(Inside());
    log.Take();
    DoubleClickAt(Inside());
    const Events events = log.Take();
    EXPECT_EQ(events.count("Click"), 1) << events.join(",").toStdString();
    EXPECT_EQ(events.count("DblClick"), 1);
    EXPECT_EQ(events.last(), "MouseUp1");
    EXPECT_EQ(button->CurrentState(), 1);
}

TEST_F(ButtonWindow, SpaceBarPressesAndClicksOnRelease)
{
    button->setFocus();
    MoveTo(Inside());
    log.Take();
    KeyDown(Qt::Key_Space);
    EXPECT_EQ(button->CurrentState(), 2);
    // The mouse wandering off and back does not end a keyboard press.
    MoveTo(Outside());
    EXPECT_EQ(button->CurrentState(), 2);
    MoveTo(Inside());
    EXPECT_EQ(button->CurrentState(), 2);
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(button->CurrentState(), 1);
    // The keyboard press holds the mouse, so the hover never ended: no second MouseEnter.
    EXPECT_EQ(log.Take(), Events({"KeyDown32", "MouseLeave", "Click", "KeyUp32"}));

    // Released with the mouse away, the keyboard press still clicks.
    KeyDown(Qt::Key_Space);
    MoveTo(Outside());
    EXPECT_EQ(button->CurrentState(), 2);
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(button->CurrentState(), 0);
    EXPECT_TRUE(log.Take().contains("Click"));

    // Auto-repeat sends more presses and releases while the key stays down: still one click.
    KeyDown(Qt::Key_Space);
    log.Take();
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Space, {}, " ", true);
    QApplication::sendEvent(button, &repeatRelease);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Space, {}, " ", true);
    QApplication::sendEvent(button, &repeatPress);
    EXPECT_EQ(button->CurrentState(), 2);
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(log.Take(), Events({"KeyDown32", "Click", "KeyUp32"}));
}

TEST_F(ButtonWindow, AnotherKeyCancelsASpacePress)
{
    button->setFocus();
    KeyDown(Qt::Key_Space);
    Key(Qt::Key_X);
    EXPECT_EQ(button->CurrentState(), 0);
    KeyUp(Qt::Key_Space);
    const Events events = log.Take();
    EXPECT_FALSE(events.contains("Click")) << events.join(",").toStdString();
    EXPECT_TRUE(events.contains("KeyDown88"));
}

TEST_F(ButtonWindow, ArrowKeysMoveTheFocusAndFinishASpacePress)
{
    button->setFocus();
    Key(Qt::Key_Right);
    EXPECT_TRUE(other->hasFocus());
    Key(Qt::Key_Left);
    EXPECT_TRUE(button->hasFocus());
    // Arrows raise no KeyDown; the release of Left reaches the button it moved the focus to.
    EXPECT_EQ(log.Take(), Events({"KeyUp37"}));

    KeyDown(Qt::Key_Space);
    Key(Qt::Key_Up);
    EXPECT_TRUE(before->hasFocus());
    EXPECT_EQ(log.Take(), Events({"KeyDown32", "Click"}));
    EXPECT_EQ(button->CurrentState(), 0);
}

TEST_F(ButtonWindow, CheckBoxModeTogglesOnClicksButNotOnEnterOrEsc)
{
    button->SetCheckBoxMode(true);
    button->SetDefault(true);
    button->SetCancel(true);
    MoveTo(Inside());
    ClickAt(Inside());
    EXPECT_TRUE(button->Value());
    Key(Qt::Key_Return);
    Key(Qt::Key_Escape);
    EXPECT_TRUE(button->Value());
    // Moving away leaves the checked face pressed-looking; a second click unchecks.
    ClickAt(Inside());
    EXPECT_FALSE(button->Value());
    EXPECT_EQ(log.Take().count("Click"), 2);

    // Turning the mode off clears the value.
    button->SetValue(true);
    EXPECT_TRUE(button->Value());
    button->SetCheckBoxMode(false);
    EXPECT_FALSE(button->Value());
}

TEST_F(ButtonWindow, EnterAndEscClickTheDefaultAndCancelButtons)
{
    button->SetDefault(true);
    other->SetCancel(true);
    int otherClicks = 0;
    QObject::connect(other, &dcButton::Click, [&] { ++otherClicks; });
    before->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(log.Take(), Events({"Click"}));
    Key(Qt::Key_Escape);
    EXPECT_EQ(otherClicks, 1);
}

TEST_F(ButtonWindow, ValueTrueClicksAnOrdinaryButton)
{
    button->SetValue(true);
    EXPECT_FALSE(button->Value());
    EXPECT_EQ(log.Take(), Events({"Click"}));
}

TEST_F(ButtonWindow, AccessKeysClickAndTextBoxesKeepTheirLetters)
{
    button->SetCaption("&Save");
    other->SetCaption("Save && E&xit");
    EXPECT_EQ(button->AccessKey(), QChar('s'));
    EXPECT_EQ(other->AccessKey(), QChar('x'));
    int otherClicks = 0;
    QObject::connect(other, &dcButton::Click, [&] { ++otherClicks; });

    Key(Qt::Key_S, Qt::AltModifier);
    // The access key moved the focus here, so the keys' releases come here too.
    EXPECT_EQ(log.Take(), Events({"Click", "KeyUp83", "KeyUp18"}));
    EXPECT_TRUE(button->hasFocus());
    // The key alone works while a button has the focus...
    Key(Qt::Key_X);
    EXPECT_EQ(otherClicks, 1);
    // ...but a text box keeps its typed letters.
    before->setFocus();
    Key(Qt::Key_S);
    EXPECT_EQ(before->text(), "s");
    EXPECT_EQ(log.Take(), Events());

    // A disabled button ignores its access key.
    button->SetEnabled(false);
    Key(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(log.Take(), Events());
}

TEST_F(ButtonWindow, EnabledPaintsDisabledAndBack)
{
    MoveTo(Inside());
    button->SetEnabled(false);
    EXPECT_EQ(button->CurrentState(), 3);
    button->SetEnabled(true);
    EXPECT_EQ(button->CurrentState(), 1);
}

TEST_F(ButtonWindow, FocusAndWindowActivationRepaintTheFocusLook)
{
    button->SetButtonStyle(5);
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    const QImage focused = button->grab().toImage();
    other->setFocus();
    const QImage unfocused = button->grab().toImage();
    // The focused face carries a frame in the text colour.
    EXPECT_EQ(QColor(focused.pixel(0, 10)),
              dcbutton::ToQColor(button->DerivedColors()[dcbutton::Text]));
    EXPECT_NE(focused.pixel(0, 10), unfocused.pixel(0, 10));

    button->setFocus();
    auto second = std::make_unique<QWidget>();
    second->resize(50, 50);
    second->show();
    second->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(second.get(), 15000));
    // An inactive window shows no focus, but the focus comes back with the window.
    EXPECT_EQ(button->grab().toImage().pixel(0, 10), unfocused.pixel(0, 10));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 15000));
    EXPECT_EQ(button->grab().toImage().pixel(0, 10), focused.pixel(0, 10));
}

namespace {

// Presses at `global` on whatever popup is open once it shows, as a user clicking outside it.
void PressWhenMenuOpens(QMenu* menu, QPoint global, bool* pressed)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, global, pressed] {
        QTimer::singleShot(0, menu, [menu, global, pressed] {
            if (*pressed)
                return;
            *pressed = true;
            QTest::mousePress(menu->windowHandle(), Qt::LeftButton, {},
                              menu->mapFromGlobal(global));
        });
    });
}

} // namespace

TEST_F(ButtonWindow, PressingTheButtonClosesItsMenuWithoutReopeningIt)
{
    QMenu menu;
    menu.addAction("One");
    menu.addAction("Two");
    int shown = 0;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] { ++shown; });
    bool pressed = false;
    PressWhenMenuOpens(&menu, button->mapToGlobal(Inside()), &pressed);
    button->SetPopupMenu(&menu, 0);

    MoveTo(Inside());
    Press(Inside());
    // The menu ran and was closed by the press over the button.
    EXPECT_TRUE(pressed);
    EXPECT_FALSE(menu.isVisible());
    Release(Inside());
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(menu.isVisible());
    // Menu mode raises no mouse or click events.
    const Events events = log.Take();
    EXPECT_FALSE(events.contains("Click"));
    EXPECT_FALSE(events.contains("MouseDown1"));

    // The next press opens it again.
    pressed = false;
    MoveTo(Inside() + QPoint(1, 0));
    Press(Inside());
    Release(Inside());
    EXPECT_EQ(shown, 2);

    button->UnsetPopupMenu();
    ClickAt(Inside());
    EXPECT_TRUE(log.Take().contains("Click"));
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
    const QSize m = menu.sizeHint();
    struct Case
    {
        int align;
        QPoint corner; // the menu's corner that sits at the anchor
        QPoint anchor;
    };
    const Case cases[] = {
        {0, {0, 0}, b.bottomLeft() + QPoint(0, 1)},
        {1, {m.width(), 0}, b.topLeft()},
        {2, {m.width(), 0}, b.bottomLeft() + QPoint(0, 1)},
        {3, {0, 0}, b.topRight() + QPoint(1, 0)},
        {4, {0, 0}, b.bottomRight() + QPoint(1, 1)},
        {5, {0, m.height()}, b.topLeft()},
        {6, {m.width(), m.height()}, b.topLeft()},
        {7, {0, m.height()}, b.topRight() + QPoint(1, 0)},
    };
    const auto focusButton = [&] {
        // Without a window manager the closed popup does not hand the activation back.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 15000));
        button->setFocus();
    };
    for (const Case& c : cases) {
        focusButton();
        button->SetPopupMenu(&menu, c.align);
        Key(Qt::Key_Space);
        EXPECT_EQ(seen + c.corner, c.anchor) << "align " << c.align;
    }
    // The caller's flags add to the alignment's: 0x4 centres the menu on the anchor.
    focusButton();
    button->SetPopupMenu(&menu, 0, 0x4);
    Key(Qt::Key_Space);
    EXPECT_EQ(seen + QPoint(m.width() / 2, 0), b.bottomLeft() + QPoint(0, 1));
    EXPECT_EQ(shown, 9);
    // The menu closed away from the button leaves it raised; menu mode raises no Click.
    EXPECT_EQ(button->CurrentState(), 0);
    EXPECT_FALSE(log.Take().contains("Click"));
    // Alignments outside 0-7 show no menu.
    focusButton();
    button->SetPopupMenu(&menu, 9);
    Key(Qt::Key_Space);
    EXPECT_EQ(shown, 9);
}
