// How the running program comes to the front and how it ends when asked from outside (a signal,
// the desktop session ending), so that it leaves no process behind: the web views' helper
// processes end with their windows.
#pragma once

class QWidget;

namespace app {

// Brings the program to the front for a second start: what the tray menu's Show brings back (the
// player and its directory) when the player is open, else the splash while it still runs. Splash
// may be null or gone.
void BringProgramToFront(QWidget* Splash);

// SIGTERM, SIGINT and SIGHUP run the program's own ending (core::EndProgram): windows hidden,
// downloads cancelled, every event loop left. The session's end needs nothing more: the session
// manager's quit ends the event loop whatever the windows say (a player gone to the tray too).
// Either way main() then destroys the windows. Needs the QApplication.
void EndOnSignals();

// After the event loop: destroys the program's windows still open while the application exists,
// in their stated order (core::EndingOrder), so the web pages go before their profile and the
// helpers they started end with them. Qt's own helper windows are left to their owners.
void DestroyRemainingWindows();

} // namespace app
