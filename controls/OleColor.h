// Colour values as the controls' designs store them: 0x00BBGGRR, or a system colour reference
// with the top bit set (0x80000000 + index, say 0x8000000F for the button face).
#pragma once

#include "dcButtonColors.h"

#include <QColor>
#include <QtGlobal>

namespace controls {

inline constexpr quint32 SystemColourFlag = 0x80000000u;
inline constexpr quint32 vbWindowBackground = 0x80000005u;
inline constexpr quint32 vbWindowText = 0x80000008u;
inline constexpr quint32 vbButtonFace = 0x8000000Fu;

// The colour to paint with: references go through the desktop's palette, one mapping for every
// control of ours (the button's); an unknown reference gives black.
inline QColor TranslateColor(quint32 colour)
{
    return dcbutton::ToQColor(dcbutton::TranslateColor(colour));
}

} // namespace controls
