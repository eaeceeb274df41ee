// The splash hands over to the player window through this one call.
#pragma once

class QWidget;

namespace app {

// Shows the player window non-modally, creating it first when it is not open. Returns it.
QWidget* ShowPlayerWindow();

} // namespace app
