// Program-wide state shared by the windows (the old "Variable" module).
#pragma once

#include <QString>
#include <cstdint>

namespace core {

// Server base address from "Settings.ini" [Server] URL, used exactly as stored.
extern QString ServerURL;
// Opacity of the splash while it fades (0 transparent .. 255 opaque) and where the fade stops.
extern int16_t FadeAlpha;
extern int16_t FadeTarget;
// True while the user has stopped playback with the player's stop/play button.
extern bool PlayStopped;
// "RSettings.ini" [Info] Title: the player's title label and the tray icon's tip.
extern QString PlayerTitle;
// Set by EndProgram: whatever is still unwinding (a fetch's nested event loop) must write nothing.
extern bool ProgramEnding;

} // namespace core
