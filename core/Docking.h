// Keeping windows on the screen: the directory docks under the player and the recorder beside it,
// and a player near an edge must not push them, with their controls, off the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace core {

enum class DockSide {
    Below,  // under the player; the other side is above it
    Beside, // right of the player; the other side is left of it
};

// The places by the player's frame the windows dock to, as designed in twips: the directory under
// it, overlapping its bottom by 100 twips; the recorder level with it, beside it.
QPoint DirectoryDockPosition(const QRect& Player);
QPoint RecorderDockPosition(const QRect& Player, int RecorderWidth);

// Where a window of Size goes whose docked place by the player (at Player) is Wanted: there when it
// lies inside Area; else on the other side of the player, touching it, when it lies inside Area
// there; else moved back inside Area. Across the docking direction it is always moved inside.
QPoint PlaceDocked(QPoint Wanted, QSize Size, const QRect& Player, DockSide Side,
                   const QRect& Area);

// At, moved the least so that a window of Size there lies inside Area; a window larger than Area
// keeps its top-left corner inside it. An empty Area changes nothing.
QPoint KeepInside(QPoint At, QSize Size, const QRect& Area);

// The part of the screen windows may use (without panels) around Rect: the screen holding Rect's
// centre, else the primary screen; empty without any.
QRect AvailableAreaAt(const QRect& Rect);

} // namespace core
