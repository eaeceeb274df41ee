// A window with two buttons and a text box, shown and active, and a log of the events a button
// raises, for driving dcButton with real input.
#pragma once

#include "dcButton.h"

#include <QApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

struct EventLog
{
    QStringList events;

    void Watch(dcButton* b)
    {
        QObject::connect(b, &dcButton::Click, [this] { events << "Click"; });
        QObject::connect(b, &dcButton::DblClick, [this] { events << "DblClick"; });
        QObject::connect(b, &dcButton::MouseEnter, [this] { events << "MouseEnter"; });
        QObject::connect(b, &dcButton::MouseLeave, [this] { events << "MouseLeave"; });
        QObject::connect(b, &dcButton::MouseDown, [this](short& button, short&, float&, float&) {
            events << QString("MouseDown%1").arg(button);
        });
        QObject::connect(b, &dcButton::MouseUp, [this](short& button, short&, float&, float&) {
            events << QString("MouseUp%1").arg(button);
        });
        QObject::connect(b, &dcButton::MouseMove,
                         [this](short&, short&, float&, float&) { events << "MouseMove"; });
        QObject::connect(b, &dcButton::KeyDown,
                         [this](short& code, short&) { events << QString("KeyDown%1").arg(code); });
        QObject::connect(b, &dcButton::KeyUp,
                         [this](short& code, short&) { events << QString("KeyUp%1").arg(code); });
    }
    // The events since the last call, without the MouseMove chatter.
    QStringList Take()
    {
        QStringList out;
        for (const QString& e : std::as_const(events))
            if (e != "MouseMove")
                out << e;
        events.clear();
        return out;
    }
};

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
        log.Watch(button);
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

    QPoint Inside() const { return QPoint(40, 13); }
    QPoint Outside() const { return button->mapFromParent(QPoint(120, 100)); }

    // Input goes through the window system's path, as a user's would: enter and leave, double
    // clicks, popups and focus are all worked out by the toolkit.
    QWindow* Win() const { return window->windowHandle(); }
    QPoint OnWindow(const QPoint& onButton) const { return button->mapTo(window.get(), onButton); }
    void MoveTo(const QPoint& p) { QTest::mouseMove(Win(), OnWindow(p)); }
    void Press(const QPoint& p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(Win(), b, {}, OnWindow(p));
    }
    void Release(const QPoint& p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(Win(), b, {}, OnWindow(p));
    }
    void ClickAt(const QPoint& p) { QTest::mouseClick(Win(), Qt::LeftButton, {}, OnWindow(p)); }
    void DoubleClickAt(const QPoint& p)
    {
        QTest::mouseDClick(Win(), Qt::LeftButton, {}, OnWindow(p));
    }
    // Keys go to whatever has the focus at that moment.
    static void KeyDown(Qt::Key key, Qt::KeyboardModifiers m = {})
    {
        QTest::keyPress(static_cast<QWidget*>(nullptr), key, m);
    }
    static void KeyUp(Qt::Key key, Qt::KeyboardModifiers m = {})
    {
        QTest::keyRelease(static_cast<QWidget*>(nullptr), key, m);
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers m = {})
    {
        KeyDown(key, m);
        KeyUp(key, m);
    }

    std::unique_ptr<QWidget> window;
    QLineEdit* before = nullptr;
    dcButton* button = nullptr;
    dcButton* other = nullptr;
    EventLog log;
};
