// The tray icon in a real notification area (trayer on a private X server), clicked with the
// real pointer.
#include "SystemTray.h"
#include "TrayRecorder.h"
#include "XTools.h"

#include <QApplication>
#include <QEventLoop>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTime>
#include <gtest/gtest.h>

namespace {

QWidget* IconWidget()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QSystemTrayIconSys") || widget->objectName() == "QSystemTrayIconSys")
            return widget;
    return nullptr;
}

// The notification area's host takes a moment to claim its place on a fresh server.
bool TrayReady()
{
    return QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 15000);
}

struct PlacedIcon
{
    SystemTray tray;
    TrayRecorder record{tray};
    QPoint centre;

    bool Place()
    {
        tray.setTip("Corvane net player");
        tray.add();
        // Qt does not learn where the tray host put the icon; ask the X server.
        QRect placed;
        QWidget* widget = IconWidget();
        if (!widget || !QTest::qWaitFor(
                           [&] {
                               placed = xtools::AbsoluteGeometry(widget->winId());
                               return widget->isVisible() && placed.x() > 0 && placed.width() > 0;
                           },
                           15000)) {
            ADD_FAILURE() << "the icon has no place in the notification area";
            return false;
        }
        centre = placed.center();
        // Pointer moves over the icon are notifications too; wait for one so that the clicks
        // below start from a settled pointer.
        record.events.clear();
        const QTime deadline = QTime::currentTime().addSecs(15);
        for (int step = 0; !record.events.contains("Other"); ++step) {
            if (QTime::currentTime() > deadline || !xtools::MoveTo(centre + QPoint(step % 2, 0))) {
                ADD_FAILURE() << "no notification for a pointer move";
                return false;
            }
            if (QTest::qWaitFor([&] { return record.events.contains("Other"); }, 200))
                break;
        }
        record.events.clear();
        return true;
    }
    bool WaitFor(const QString& last)
    {
        return QTest::qWaitFor([&] { return record.events.contains(last); }, 15000);
    }
};

} // namespace

TEST(TrayHost, ClicksAndDoubleClicksOfEachButton)
{
    ASSERT_TRUE(TrayReady());
    PlacedIcon icon;
    ASSERT_TRUE(icon.Place());
    EXPECT_TRUE(icon.tray.ReportsEveryMouseAction());
    EXPECT_EQ(icon.tray.ShownTip(), "Corvane net player");

    ASSERT_TRUE(xtools::Click(1));
    ASSERT_TRUE(icon.WaitFor("Click1+0"));
    EXPECT_EQ(icon.record.events, QStringList({"Other", "Left", "Click1+0"}));

    icon.record.events.clear();
    ASSERT_TRUE(xtools::Click(3));
    ASSERT_TRUE(icon.WaitFor("Click2+0"));
    EXPECT_EQ(icon.record.events, QStringList({"Other", "Right", "Click2+0"}));

    icon.record.events.clear();
    ASSERT_TRUE(xtools::Click(2));
    ASSERT_TRUE(icon.WaitFor("Click4+0"));
    EXPECT_EQ(icon.record.events, QStringList({"Other", "Middle", "Click4+0"}));

    // The order a double click gives: press, release, double click, final release.
    icon.record.events.clear();
    ASSERT_TRUE(xtools::Click(1, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return icon.record.events.count("Click1+0") == 2; }, 15000));
    EXPECT_EQ(icon.record.events, QStringList({"Other", "Left", "Click1+0", "LeftDbl",
                                               "DblClick1+0", "Left", "Click1+0"}));

    icon.record.events.clear();
    ASSERT_TRUE(xtools::Click(3, 2));
    ASSERT_TRUE(icon.WaitFor("DblClick2+0"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return icon.record.events.count("Click2+0") == 2; }, 15000));
    EXPECT_EQ(icon.record.events, QStringList({"Other", "Right", "Click2+0", "RightDbl",
                                               "DblClick2+0", "Right", "Click2+0"}));

    // Moving the pointer over the icon reports again and again.
    icon.record.events.clear();
    for (int step = 1; step <= 3; ++step) {
        ASSERT_TRUE(xtools::MoveTo(icon.centre + QPoint(step % 2, 1)));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return icon.record.events.count("Other") == step; }, 15000));
    }
    EXPECT_EQ(icon.record.events, QStringList({"Other", "Other", "Other"}));
    icon.tray.Remove();
}

TEST(TrayHost, ClicksWhileTheHostHandlesOneAreDropped)
{
    ASSERT_TRUE(TrayReady());
    PlacedIcon icon;
    ASSERT_TRUE(icon.Place());
    // Count what the icon receives, to know when the second click has arrived.
    int releases = 0;
    struct Counter : QObject
    {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::MouseButtonRelease)
                ++*count;
            return false;
        }
    } counter(&releases);
    ASSERT_TRUE(IconWidget());
    IconWidget()->installEventFilter(&counter);

    int handled = 0;
    QObject::connect(&icon.tray, &SystemTray::MouseClick, [&] {
        if (++handled > 1)
            return;
        // Like a popup menu: a loop of its own runs while the user clicks again.
        ASSERT_TRUE(xtools::Click(3));
        EXPECT_TRUE(QTest::qWaitFor([&] { return releases == 2; }, 15000));
    });
    ASSERT_TRUE(xtools::Click(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled == 1 && releases == 2; }, 15000));
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(icon.record.events, QStringList({"Other", "Left", "Click1+0"}));

    // Once the handler is over, clicks come through again.
    ASSERT_TRUE(xtools::Click(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handled == 2; }, 15000));
    icon.tray.Remove();
}
