// The tray icon, fed notifications directly and placed in a real notification area (trayer on a
// private X server) where the real pointer clicks it.
#include "SystemTray.h"
#include "XTools.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>

using namespace controls;

namespace {

// Writes down every event the tray raises, in order, as short words ("Left", "Click1+0"...).
struct Recorded : SystemTray
{
    QStringList events;
    Recorded()
    {
        for (auto [event, word] : {std::pair{&SystemTray::LeftClick, "Left"},
                                   {&SystemTray::RightClick, "Right"},
                                   {&SystemTray::MiddleClick, "Middle"},
                                   {&SystemTray::LeftDblClick, "LeftDbl"},
                                   {&SystemTray::RightDblClick, "RightDbl"},
                                   {&SystemTray::MiddleDblClick, "MiddleDbl"},
                                   {&SystemTray::Other, "Other"}})
            connect(this, event, [this, word = word] { events << word; });
        connect(this, &SystemTray::MouseClick,
                [this](int b, int s) { events << QStringLiteral("Click%1+%2").arg(b).arg(s); });
        connect(this, &SystemTray::MouseDblClick,
                [this](int b, int s) { events << QStringLiteral("DblClick%1+%2").arg(b).arg(s); });
    }
};

QWidget* IconWidget()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QSystemTrayIconSys"))
            return widget;
    return nullptr;
}

// Adds the icon and puts the pointer over it; Qt does not learn where the host put it, so ask X.
bool Place(Recorded& tray)
{
    if (!QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 15000))
        return false;
    tray.add();
    QRect placed;
    QWidget* widget = IconWidget();
    if (!widget || !QTest::qWaitFor(
                       [&] {
                           placed = xtools::AbsoluteGeometry(widget->winId());
                           return placed.x() > 0 && placed.width() > 0;
                       },
                       15000))
        return false;
    // Pointer moves are notifications too: wait for one, so the clicks start settled.
    for (int step = 0; step < 75 && !tray.events.contains("Other"); ++step)
        if (!xtools::MoveTo(placed.center() + QPoint(step % 2, 0)) ||
            QTest::qWaitFor([&] { return tray.events.contains("Other"); }, 200))
            break;
    const bool moved = tray.events.contains("Other");
    tray.events.clear();
    return moved;
}

} // namespace

TEST(SystemTray, NotificationsCarryShiftAndOthersAreOther)
{
    Recorded tray;
    for (int message : {0x208, 0x209, 0x200, 0x201, 0x2A3})
        tray.Dispatch(message, 1 | 2);
    EXPECT_EQ(tray.events, QStringList({"Middle", "Click4+3", "MiddleDbl", "DblClick4+3", "Other",
                                        "Other", "Other"}));
}

TEST(SystemTray, RealClicksOfEachButtonAndTheReentryGuard)
{
    Recorded tray;
    ASSERT_TRUE(Place(tray));
    const std::vector<std::tuple<int, int, QStringList>> cases = {
        {1, 1, {"Other", "Left", "Click1+0"}},
        {3, 1, {"Other", "Right", "Click2+0"}},
        {2, 1, {"Other", "Middle", "Click4+0"}},
        // Press, release, double click, final release.
        {1, 2, {"Other", "Left", "Click1+0", "LeftDbl", "DblClick1+0", "Left", "Click1+0"}},
        {3, 2, {"Other", "Right", "Click2+0", "RightDbl", "DblClick2+0", "Right", "Click2+0"}}};
    for (const auto& [button, repeat, expected] : cases) {
        tray.events.clear();
        ASSERT_TRUE(xtools::Click(button, repeat));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return tray.events.count(expected.last()) == repeat; }, 15000));
        EXPECT_EQ(tray.events, expected) << button << "x" << repeat;
    }

    // Clicks while a handler runs are dropped. Count what the icon receives, to know when the
    // second click has arrived.
    struct Counter : QObject
    {
        int releases = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            return (releases += e->type() == QEvent::MouseButtonRelease), false;
        }
    } counter;
    IconWidget()->installEventFilter(&counter);

    int handled = 0;
    QObject::connect(&tray, &SystemTray::MouseClick, [&] {
        if (++handled > 1)
            return;
        EXPECT_TRUE(tray.InEvent());
        // Like a popup menu: a loop of its own runs while the user clicks again.
        ASSERT_TRUE(xtools::Click(3));
        EXPECT_TRUE(QTest::qWaitFor([&] { return counter.releases == 2; }, 15000));
    });
    tray.events.clear();
    ASSERT_TRUE(xtools::Click(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled == 1 && counter.releases == 2; }, 15000));
    EXPECT_EQ(tray.events, QStringList({"Other", "Left", "Click1+0"}));

    // Once the handler is over, clicks come through again. A click too soon after the last
    // one would count as its double click (a loaded machine can bring them that close).
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
    ASSERT_TRUE(xtools::Click(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handled == 2; }, 15000));
    tray.Remove();
}
