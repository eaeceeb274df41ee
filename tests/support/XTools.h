// Drives the real X pointer, for tests that run on their own X server
// (see private-x).
#pragma once

#include <QPoint>
#include <QString>

namespace xtools {

// Each is true when xdotool succeeded.
bool MoveTo(QPoint global);
bool Button(int button, bool down);
bool Click(int button, int repeat = 1);

} // namespace xtools
