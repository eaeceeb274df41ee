// The one translation of the toolkit's input into the numbers every control's mouse and key
// events carry, as the desktop's own controls numbered them: buttons 1 left, 2 right, 4 middle;
// shift state 1 Shift, 2 Ctrl, 4 Alt; key codes the desktop's virtual-key numbers. Hosts written
// against those numbers need no Qt types, and every control reports a key the same way.
#pragma once

#include <Qt>

namespace controls {

inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;

inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// One button (a press or release) or the buttons held (a move); others count as none.
constexpr int ButtonCode(Qt::MouseButtons buttons)
{
    return (buttons.testFlag(Qt::LeftButton) ? vbLeftButton : 0) |
           (buttons.testFlag(Qt::RightButton) ? vbRightButton : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? vbMiddleButton : 0);
}

constexpr int ShiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? vbShiftMask : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? vbCtrlMask : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? vbAltMask : 0);
}

// The virtual-key number of a Qt key (QKeyEvent::key()): letters and digits are their upper-case
// characters, Shift+Tab is Tab (the shift state tells them apart), and a key the desktop has no
// number for is 0 rather than some number of this machine's keyboard layer.
int KeyCode(int QtKey);

} // namespace controls
