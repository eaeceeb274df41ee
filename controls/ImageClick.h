// A picture that acts as a button (the windows' "Exit" cross, the player's small images): a left
// click, released over the picture, runs its action. The press is the picture's own, so it never
// starts a drag of the window under it.
#pragma once

#include <functional>

class QWidget;

namespace controls {

void OnImageClick(QWidget& Image, std::function<void()> Clicked);

} // namespace controls
