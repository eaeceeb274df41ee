// Whether the desktop session has a bus. Only a bus the session already has may be used: asked
// without one, the bus library would start a bus daemon of its own (autolaunch), which no desktop
// listens to and which outlives the program.
#pragma once

namespace platform {

// The per-user bus socket ($XDG_RUNTIME_DIR/bus) exists.
bool UserBusSocketExists();

// The session names its bus (DBUS_SESSION_BUS_ADDRESS) or has the per-user socket.
bool SessionBusExists();

} // namespace platform
