// The splash hands over to the player window through this one call.
#pragma once

class QWidget;

namespace app {

// Registers every window the program opens by name (the player's, the server URL dialog). Safe
// to call again.
void RegisterWindows();

// Shows the player window non-modally, creating it first when it is not open. Returns it
// (nullptr only if no player window is registered).
QWidget* ShowPlayerWindow();

} // namespace app
