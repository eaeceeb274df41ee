// The button and shift-state numbers our controls' mouse and key events carry: 1 left, 2 right,
// 4 middle; 1 Shift, 2 Ctrl, 4 Alt. Hosts written against those numbers need no Qt types.
#pragma once

#include <Qt>

namespace controls {

inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;

inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

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

} // namespace controls
