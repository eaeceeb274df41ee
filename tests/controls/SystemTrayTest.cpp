#include "SystemTray.h"
#include "PropertyBag.h"
#include "TrayRecorder.h"

#include <QPixmap>
#include <gtest/gtest.h>

TEST(SystemTray, NotificationsRaiseTheEventsOfTheTable)
{
    SystemTray tray;
    TrayRecorder record(tray);
    const int shift = 1 | 2;
    for (int message :
         {0x202, 0x203, 0x205, 0x206, 0x208, 0x209, 0x200, 0x201, 0x204, 0x207, 0x2A3})
        tray.Dispatch(message, shift);
    EXPECT_EQ(record.events,
              QStringList({"Left", "Click1+3", "LeftDbl", "DblClick1+3", "Right", "Click2+3",
                           "RightDbl", "DblClick2+3", "Middle", "Click4+3", "MiddleDbl",
                           "DblClick4+3", "Other", "Other", "Other", "Other", "Other"}));
}

TEST(SystemTray, NotificationsDuringAHandlerAreDropped)
{
    SystemTray tray;
    TrayRecorder record(tray);
    bool guarded = false;
    QObject::connect(&tray, &SystemTray::MouseClick, [&] {
        guarded = tray.InEvent();
        // What a popup menu's own loop would let through.
        tray.Dispatch(0x202, 0);
        tray.Dispatch(0x200, 0);
    });
    tray.Dispatch(0x205, 0);
    EXPECT_TRUE(guarded);
    EXPECT_EQ(record.events, QStringList({"Right", "Click2+0"}));
    EXPECT_FALSE(tray.InEvent());
    tray.Dispatch(0x200, 0); // the guard is down again
    EXPECT_EQ(record.events.last(), "Other");
}

TEST(SystemTray, TipAndIconWaitForAddAndTheTipIsCut)
{
    SystemTray tray;
    EXPECT_EQ(tray.Tip(), "0");
    EXPECT_TRUE(tray.Icon().isNull());

    tray.setTip("Corvane net player");
    EXPECT_EQ(tray.Tip(), "Corvane net player");
    EXPECT_TRUE(tray.ShownTip().isEmpty()) << "an absent icon keeps only the value";

    tray.add();
    EXPECT_EQ(tray.ShownTip(), "Corvane net player");
    const QString longTip = QString(70, QChar('x')) + "END";
    tray.setTip(longTip);
    EXPECT_EQ(tray.Tip(), longTip);
    EXPECT_EQ(tray.ShownTip(), longTip.left(63));

    tray.Remove();
    tray.setTip("Radio");
    EXPECT_EQ(tray.ShownTip(), longTip.left(63));
    tray.add();
    EXPECT_EQ(tray.ShownTip(), "Radio");
    tray.Remove();
}

TEST(SystemTray, TipAndIconPersistWithTheirDefaults)
{
    SystemTray fresh;
    PropertyBag empty;
    fresh.WriteProperties(empty);
    EXPECT_TRUE(empty.IsEmpty()) << "Tip \"0\" and Icon 0 are defaults";

    SystemTray designed;
    designed.setTip("Radio");
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    designed.setIcon(QIcon(pixmap));
    PropertyBag bag;
    designed.WriteProperties(bag);
    PropertyBag loaded;
    ASSERT_TRUE(loaded.Load(bag.Save()));

    SystemTray restored;
    restored.ReadProperties(loaded);
    EXPECT_EQ(restored.Tip(), "Radio");
    ASSERT_FALSE(restored.Icon().isNull());
    EXPECT_EQ(restored.Icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_FALSE(restored.IsPresent()) << "reading the design does not add the icon";

    SystemTray reset;
    reset.ReadProperties(PropertyBag());
    EXPECT_EQ(reset.Tip(), "0");
    EXPECT_TRUE(reset.Icon().isNull());
}
