// A picture that acts as a button (the windows' "Exit" cross, the player's small images): a left
// click, released over the picture, runs its action, as do Space and Enter while it has the
// keyboard focus (Tab reaches it; a ring shows it). The press is the picture's own, so it never
// starts a drag of the window under it. Screen readers see a push button.
#pragma once

#include <functional>

class QWidget;

namespace controls {

void OnImageClick(QWidget& Image, std::function<void()> Clicked);

// Runs what a click on Control runs: a button's click, or a picture's action.
void Press(QWidget& Control);

} // namespace controls
