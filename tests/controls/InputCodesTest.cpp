// The key codes every control reports. The button and the web advert once had tables of their
// own that disagreed on exactly these keys.
#include "InputCodes.h"

#include <gtest/gtest.h>

using namespace controls;

TEST(InputCodes, KeysTheControlsOnceReportedDifferently)
{
    EXPECT_EQ(KeyCode(Qt::Key_Backtab), 9) << "Shift+Tab is Tab with Shift";
    EXPECT_EQ(KeyCode(Qt::Key_CapsLock), 20);
    // A key without a desktop number is 0, never a number of this machine's X keyboard.
    EXPECT_EQ(KeyCode(Qt::Key_WLAN), 0);
}
