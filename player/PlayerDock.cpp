#include "PlayerDock.h"

#include "Docking.h"
#include "PlayerLogic.h"
#include "WindowRegistry.h"

#include <QWidget>

namespace player {

using core::DockSide;

QPoint PlayerDock::DirectoryPlace(const QRect& Player, QSize Directory, const QRect& Area)
{
    return core::PlaceDocked(core::DirectoryDockPosition(Player), Directory, Player, DockSide::Below,
                             Area);
}

QPoint PlayerDock::RecorderPlace(const QRect& Player, QSize Recorder, const QRect& Area)
{
    return core::PlaceDocked(core::RecorderDockPosition(Player, Recorder.width()), Recorder, Player,
                             DockSide::Beside, Area);
}

void PlayerDock::Follow(const QRect& Player)
{
    const QRect area = core::AvailableAreaAt(Player);
    if (QWidget* directory = core::FindWindow(QString::fromLatin1(core::WindowName::Directory)))
        directory->move(DirectoryPlace(Player, directory->frameGeometry().size(), area));
    if (QWidget* recorder = core::FindWindow(QString::fromLatin1(core::WindowName::Recorder)))
        recorder->move(RecorderPlace(Player, recorder->frameGeometry().size(), area));
}

} // namespace player
