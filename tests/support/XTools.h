// Drives the real X pointer and reads window properties, for tests that run on their own X server
// (see private-x).
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

namespace xtools {

// Each is true when xdotool succeeded.
bool MoveTo(QPoint global);
bool Button(int button, bool down);
bool Click(int button, int repeat = 1);
// Where the window really is on the screen (for windows embedded in another client's window,
// whose position Qt does not learn); empty on failure.
QRect AbsoluteGeometry(unsigned long window);

} // namespace xtools
