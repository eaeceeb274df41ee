// Button shaping shared by the player and the information viewer (the old "btnFunction" module;
// OpenIniFile, its other routine, lives in IniFiles.h).
#pragma once

class QLabel;
class QWidget;

namespace core {

// Sizes Picture to its image and gives Button the image's outline (everything of the image's
// top-left colour is cut away) and Picture's size.
void ShapeButton(QLabel& Picture, QWidget& Button);

} // namespace core
