#include "PropertyBag.h"

#include <gtest/gtest.h>

using namespace controls;

TEST(PropertyBag, ValuesEqualToTheirDefaultAreNotStored)
{
    PropertyBag bag;
    bag.WriteProperty("Tip", "0", "0");
    bag.WriteProperty("Icon", 0, 0);
    EXPECT_TRUE(bag.IsEmpty());
    EXPECT_EQ(bag.ReadProperty("Tip", "0").toString(), "0");

    bag.WriteProperty("Tip", "Radio", "0");
    EXPECT_EQ(bag.ReadProperty("Tip", "0").toString(), "Radio");
    // Writing the default again forgets the change.
    bag.WriteProperty("Tip", "0", "0");
    EXPECT_FALSE(bag.Contains("Tip"));
}
