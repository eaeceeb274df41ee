// How the program creates the windows of this library, registered under their names.
#pragma once

namespace player {

// Registers frmPlayer (core::WindowName::Player) and FrmSysTray (core::WindowName::TrayMenu).
void RegisterWindows();

} // namespace player
