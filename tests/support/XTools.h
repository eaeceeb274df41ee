// Drives the real X pointer and reads window properties, for tests that run on their own X server
// (see private-x).
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

namespace xtools {

// Runs xdotool with `args`; true when it succeeded.
bool Xdo(const QStringList& args);
bool MoveTo(QPoint global);
bool Press(int button);
bool Release(int button);
bool Click(int button, int repeat = 1);
// Where the window `window` really is on the screen (for windows embedded in another client's
// window, whose position Qt does not learn); empty on failure.
QRect AbsoluteGeometry(unsigned long window);
// What `xwininfo -shape` says of the window's shape, empty on failure.
QString ShapeReport(unsigned long window);
// The output of `xprop -id window property`, empty on failure.
QString Property(unsigned long window, const QString& property);

} // namespace xtools
