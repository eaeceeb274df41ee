// The tray icon, fed notifications directly and placed in a real notification area (trayer on a
// private X server) where the real pointer clicks it.
#include "SystemTray.h"
#include "XTools.h"

#include <QApplication>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>
#include <algorithm>
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

// Adds the icon and puts the pointer over it. Qt does not learn where the host put it: xdotool
// places the pointer relative to the icon's own window. Pointer moves are notifications too: wait
// for one, so the clicks start settled.
bool Place(Recorded& tray)
{
    if (!QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 15000))
        return false;
    tray.add();
    tray.events.clear();
    const auto windows = QApplication::topLevelWidgets();
    const auto icon = std::find_if(windows.begin(), windows.end(),
                                   [](QWidget* w) { return w->inherits("QSystemTrayIconSys"); });
    QWidget* widget = icon == windows.end() ? nullptr : *icon;
    for (int step = 0; widget && step < 75 && !tray.events.contains("Other"); ++step) {
        QProcess::execute("xdotool", {"mousemove", "--window", QString::number(widget->winId()),
                                      QString::number(8 + step % 2), "8"});
        QTest::qWaitFor([&] { return tray.events.contains("Other"); }, 200);
    }
    const bool moved = tray.events.contains("Other");
    tray.events.clear();
    return moved;
}

} // namespace

// Notifications carry the shift state, and any other is Other; real clicks of each button; clicks
// while a handler runs are dropped.
TEST(SystemTray, NotificationsRealClicksOfEachButtonAndTheReentryGuard)
{
    Recorded tray;
    for (int message : {0x208, 0x209, 0x200, 0x201, 0x2A3})
        tray.Dispatch(message, 1 | 2);
    EXPECT_EQ(tray.events, QStringList({"Middle", "Click4+3", "MiddleDbl", "DblClick4+3", "Other",
                                        "Other", "Other"}));
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

    // Clicks while a handler runs are dropped: a popup menu runs a loop of its own meanwhile, in
    // which the user may click again.
    int handled = 0;
    QObject::connect(&tray, &SystemTray::MouseClick, [&] {
        if (++handled == 1) {
            EXPECT_TRUE(tray.InEvent());
            tray.Dispatch(SystemTray::RightUp, 0);
        }
    });
    tray.events.clear();
    tray.Dispatch(SystemTray::LeftUp, 0);
    EXPECT_EQ(tray.events, QStringList({"Left", "Click1+0"}));
    tray.Dispatch(SystemTray::LeftUp, 0);
    EXPECT_EQ(handled, 2) << "once the handler is over, clicks come through again";
    tray.Remove();
}
