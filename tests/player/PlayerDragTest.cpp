// Dragging the player with the real pointer on a private X server, without a window manager (the
// player moves itself) and with one (PLAYER_DRAG_SUITE names which): by its move handle, its skin
// and its video area, with the directory docked under it all the way; and a tap on each, which
// leaves the player where it was.
#include "Docking.h"
#include "MediaPlayer.h"
#include "PlayerDock.h"
#include "PlayerTestSupport.h"
#include "XTools.h"

#include <QLabel>
#include <QProcess>

using namespace core;
using namespace player;

namespace {

// Counts the releases a widget receives.
struct ReleaseCounter : QObject
{
    int releases = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        releases += event->type() == QEvent::MouseButtonRelease;
        return false;
    }
};

} // namespace

using PLAYER_DRAG_SUITE = PlayerTest;

TEST_F(PLAYER_DRAG_SUITE, EachGripDragsThePlayerWithTheDirectoryAndATapLeavesItWhereItWas)
{
    frmPlayer* p = Open();
    ASSERT_TRUE(p);
    QWidget* directory = FindWindow(WindowName::Directory);
    ASSERT_TRUE(directory && QTest::qWaitForWindowExposed(directory, 15000));
    ReleaseCounter counter;
    directory->installEventFilter(&counter);
    // Docked as the screen allows: the drags take the player near the bottom edge.
    auto docked = [&] {
        return directory->pos() == PlayerDock::DirectoryPlace(p->geometry(), directory->size(),
                                                              AvailableAreaAt(p->geometry()));
    };
    auto glide = [](QPoint from, QPoint to) {
        for (int step = 1; step <= 10; ++step) {
            if (!xtools::MoveTo(from + (to - from) * step / 10))
                return false;
            QTest::qWait(20);
        }
        return true;
    };

    // By Image4, by the skin left of the media area, and by the video area: each has its own way
    // of moving the window.
    const std::pair<QWidget*, QPoint> grips[] = {
        {p->Image4, {8, 8}}, {p, {8, 150}}, {p->Player, {160, 120}}};
    for (const auto& [part, at] : grips) {
        SCOPED_TRACE(part->objectName().toStdString());
        const QPoint start = p->pos();
        QPoint grip = part->mapToGlobal(at);
        const QPoint delta(120, 70);
        ASSERT_TRUE(xtools::MoveTo(grip));
        ASSERT_TRUE(xtools::Button(1, true));
        ASSERT_TRUE(glide(grip, grip + delta));
        EXPECT_TRUE(WaitUntil([&] { return p->pos() == start + delta; }));
        EXPECT_TRUE(docked()) << "docked while the button is still down";
        ASSERT_TRUE(xtools::Button(1, false));
        // The release must have arrived before the pointer goes elsewhere.
        ASSERT_TRUE(WaitUntil([] { return QGuiApplication::mouseButtons() == Qt::NoButton; }));
        EXPECT_TRUE(WaitUntil([&] { return p->pos() == start + delta && docked(); }));

        // A tap, press and release 1 ms apart as a touchpad gives: the pointer moves on alone,
        // and the next click reaches the directory, as no move holds the pointer.
        grip = part->mapToGlobal(at);
        ASSERT_TRUE(xtools::MoveTo(grip));
        QProcess tap;
        tap.start("xdotool", {"mousedown", "1", "sleep", "0.001", "mouseup", "1"});
        ASSERT_TRUE(tap.waitForFinished(15000));
        ASSERT_EQ(tap.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(tap.exitCode(), 0);
        ASSERT_TRUE(glide(grip, directory->mapToGlobal(directory->rect().center())));
        const int before = counter.releases;
        ASSERT_TRUE(xtools::Click(1));
        EXPECT_TRUE(WaitUntil([&] { return counter.releases > before; }));
        EXPECT_EQ(p->pos(), start + delta);
    }
}
