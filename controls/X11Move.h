// The one X11 call Qt does not offer: taking back a window move that the window manager accepted
// but cannot carry out.
#pragma once

class QWindow;

namespace controls {

// Tells the window manager to drop a move it started for `window` (_NET_WM_MOVERESIZE cancel).
// Does nothing off X11.
void CancelSystemMove(QWindow* window);

} // namespace controls
