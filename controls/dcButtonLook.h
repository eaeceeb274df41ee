// The one look of the program's text buttons: a face a shade lighter than the dark skins and a
// light caption, 7:1 against the face, so that every window's buttons read alike.
#pragma once

#include "dcButtonColors.h"

namespace controls {

inline constexpr int DialogButtonStyle = 5;
// 0x00BBGGRR: the face #2b4f75 of the artwork's round buttons, the caption #e8eef5 of its text.
inline constexpr dcbutton::OleColor DialogButtonBackColor = 0x754f2b;
inline constexpr dcbutton::OleColor DialogButtonForeColor = 0xf5eee8;

} // namespace controls
