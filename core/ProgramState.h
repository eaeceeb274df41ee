// Program-wide state shared by the windows (the old "Variable" module).
#pragma once

#include <QString>

namespace core {

// Server base address from "Settings.ini" [Server] URL, used exactly as stored.
extern QString ServerURL;
// True while the user has stopped playback with the player's stop/play button.
extern bool PlayStopped;
// "RSettings.ini" [Info] Title: the player's title label and the tray icon's tip.
extern QString PlayerTitle;

} // namespace core
