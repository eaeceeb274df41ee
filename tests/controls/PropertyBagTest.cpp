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

TEST(PropertyBag, SurvivesARoundTripAndRefusesForeignBytes)
{
    PropertyBag bag;
    bag.WriteProperty("BackColor", 0x404040u, 0x8000000Fu);
    bag.WriteProperty("Caption", QString("&OK"), QString());
    PropertyBag copy;
    ASSERT_TRUE(copy.Load(bag.Save()));
    EXPECT_EQ(copy.ReadProperty("BackColor", 0x8000000Fu).toUInt(), 0x404040u);
    EXPECT_EQ(copy.ReadProperty("Caption").toString(), "&OK");

    EXPECT_FALSE(copy.Load(QByteArray("not a bag")));
    EXPECT_TRUE(copy.IsEmpty());
}
