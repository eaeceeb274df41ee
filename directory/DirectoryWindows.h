// The windows of the channel directory, made known to the window registry.
#pragma once

namespace directory {

// Registers frmTray under core::WindowName::Directory; the program calls it once at start.
void RegisterWindows();

} // namespace directory
