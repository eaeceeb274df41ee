// Everything the artwork tool makes, by kind.
#pragma once

#include "Draw.h"

#include <QByteArray>

namespace artwork {

// The window skins, "skins/<window>.png" and "skins/<window>@2x.png".
Catalogue Skins();
// The button images and outline pictures, "buttons/<name>.png" and "buttons/<name>@2x.png".
Catalogue Buttons();
// The program's icon, "icons/corvane-<N>.png" for each size in IconSizes.
Catalogue Icons();
inline constexpr int IconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The message popup's chime as a complete WAV file: 16-bit PCM, mono, 44.1 kHz.
QByteArray ChimeWav();

} // namespace artwork
