// The program's pictures on dense screens. Every picture of the artwork has a twin drawn at twice
// the size ("name@2x.png"); a picture loaded here remembers where it came from, so that whoever
// draws it can ask for the twin that suits the screen's device pixel ratio.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

class QWidget;

namespace controls {

// The picture at Path (null when it is missing), at its designed size.
QImage LoadArtwork(const QString& Path);

// Picture as it is best drawn at Ratio device pixels per pixel, with that device pixel ratio set
// (so it covers Picture's size): at 2 its twin itself; elsewhere the nearer of the two (the twin
// from 1.5 on) scaled smoothly. Picture itself when it did not come from LoadArtwork, has no
// twin, or Ratio is 1.
QImage ImageForRatio(const QImage& Picture, qreal Ratio);
// The same as a pixmap for Shown (a label showing the picture), at Shown's device pixel ratio.
QPixmap PixmapFor(const QImage& Picture, const QWidget& Shown);

} // namespace controls
