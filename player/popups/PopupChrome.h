// What the three popup windows share: their artwork with a plain stand-in when an image is
// missing, and dragging a window by one of its pictures.
#pragma once

#include "dcButtonLook.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

class QWidget;

namespace player {

// The face of a window whose skin image is missing.
inline const QColor FallbackFace{0x17, 0x31, 0x4c};
// The popups' buttons look as every other window's.
inline constexpr unsigned ButtonBackColor = controls::DialogButtonBackColor;
inline constexpr unsigned ButtonForeColor = controls::DialogButtonForeColor;
inline constexpr int ButtonStyle = controls::DialogButtonStyle;

// The image at Path; when it is missing, a plain one of Size filled with Fill.
QImage Artwork(const QString& Path, QSize Size, const QColor& Fill);
// The "Exit" image of a window: the artwork's, or a drawn cross of Size.
QImage CloseArtwork(const QString& Path, QSize Size);

// A press with any mouse button on Handle moves its window, as dragging a caption does: the
// window manager moves it, or, where there is none or it refuses, the window follows the mouse
// until the button is released.
void MakeDragHandle(QWidget& Handle);

} // namespace player
