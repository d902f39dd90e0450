#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

using namespace orvex;

TEST(ElementStore, NewElementsAreAllZeroWithUniqueIdsAndIndices)
{
    TElements list;
    TElement& a = list.Add();
    TElement& b = list.Add();
    EXPECT_EQ(a.GetEtype(), 0);
    EXPECT_EQ(a.GetColor(), 0);
    EXPECT_EQ(a.GetLayer(), 0);
    EXPECT_FALSE(a.GetDeleted());
    EXPECT_EQ(a.GetDeleteNumber(), 0);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(a.GetCoord(i), 0.0);
    EXPECT_NE(a.ID(), b.ID());
    EXPECT_EQ(a.Index(), 0);
    EXPECT_EQ(b.Index(), 1);
    EXPECT_EQ(a.Collection(), &list);
    EXPECT_EQ(list.FindItemID(b.ID()), &b);
    EXPECT_EQ(list.FindItemID(12345), nullptr);
}
