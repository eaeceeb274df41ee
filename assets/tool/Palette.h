// The one colour scheme of every window: a deep navy face, light text and one amber accent.
// Changing a colour here changes it in every skin, button and icon at the next build.
#pragma once

#include <QColor>

namespace artwork {

// Window faces: a vertical gradient from top to bottom.
inline const QColor BodyTop{0x17, 0x31, 0x4c};
inline const QColor BodyBottom{0x0b, 0x16, 0x23};
// Title strips and the button bar, a shade lighter than the face so they read as raised.
inline const QColor StripTop{0x21, 0x40, 0x61};
inline const QColor StripBottom{0x15, 0x2c, 0x45};
// Recessed areas that controls sit in (lists, media, browser, advert).
inline const QColor Well{0x06, 0x0c, 0x14};
// Outlines: the window's rim and the frames around wells.
inline const QColor Rim{0x35, 0x5b, 0x82};
inline const QColor Frame{0x27, 0x46, 0x66};
inline const QColor Highlight{0x4a, 0x74, 0x9e};

// Text and symbols. Both keep at least 4.5:1 against every face colour above.
inline const QColor Text{0xe8, 0xee, 0xf5};
inline const QColor TextDim{0xa9, 0xbc, 0xd0};
inline const QColor Accent{0xf2, 0xb1, 0x34};
// Only the record button uses it: red is what every recorder's record button is.
inline const QColor Record{0xff, 0x6b, 0x63};

// Round button faces.
inline const QColor ButtonTop{0x2b, 0x4f, 0x75};
inline const QColor ButtonBottom{0x17, 0x2d, 0x46};
inline const QColor ButtonRing{0x4a, 0x74, 0x9e};

// The message popup's text sits on paper: the operator picks its colour from the classic
// palette and black is the default, so a dark face would hide it.
inline const QColor Paper{0xf3, 0xf5, 0xf8};

} // namespace artwork
