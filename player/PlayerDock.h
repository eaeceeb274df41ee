// The windows docked to the player: the directory under it, the recorder beside it. They follow
// the player, and stay on the screen: a dock that would leave it goes to the player's other side.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace player {

class PlayerDock
{
  public:
    // Moves the open directory and the open recorder to their places by a player at Player.
    static void Follow(const QRect& Player);

    // Their places by a player at Player, on a screen whose free part is Area.
    static QPoint DirectoryPlace(const QRect& Player, QSize Directory, const QRect& Area);
    static QPoint RecorderPlace(const QRect& Player, QSize Recorder, const QRect& Area);
};

} // namespace player
