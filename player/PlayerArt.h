// The player's pictures, by the names the artwork is published under (":/artwork/..."). A picture
// that is not there is drawn as a plain stand-in, so the window works before the artwork does.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace player {

// ":/artwork/skins/" + Name + ".png", or a plain panel of Size.
QImage SkinImage(const QString& Name, QSize Size);
// ":/artwork/buttons/" + Name + ".png", or a plain button of Size marked with Glyph.
QImage ButtonImage(const QString& Name, QSize Size, const QString& Glyph);
// Image Index (1-based) of the image list ImgList.
QImage ImgList(int Index);

} // namespace player
