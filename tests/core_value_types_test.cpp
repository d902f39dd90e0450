#include <OrvexGDI/VUvuDAVTypes.h>

#include <gtest/gtest.h>

using namespace orvex;

TEST(ValueTypes, ViewsConvertToViewNumbersAndBack)
{
    const TDView views[] = {vTOP, vFRONT, vSIDE, vISO};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(view_number(views[i]), i + 1);
        EXPECT_EQ(view_from_number(i + 1), views[i]);
    }
    EXPECT_EQ(sizeof(TDView), 1u);
    EXPECT_EQ(sizeof(TDFilter), 1u);
    EXPECT_EQ(static_cast<int>(fLineArc), 6);
}

TEST(ValueTypes, CheckedArrayRaisesRangeErrorOutsideItsBounds)
{
    CheckedArray<int, 1, 90> table;
    table[1] = 5;
    table[90] = 6;
    EXPECT_EQ(table[1], 5);
    EXPECT_EQ(table[90], 6);
    EXPECT_THROW(table[0], ERangeError);
    EXPECT_THROW(table[91], ERangeError);
    CheckedArray<bool, 0, 254> layers;
    EXPECT_NO_THROW(layers[0]);
    EXPECT_THROW(layers[255], ERangeError);
    EXPECT_THROW(layers[-1], ERangeError);
}

TEST(ValueTypes, ConstructionMessagesInCodeOrder)
{
    EXPECT_EQ(calcerrstr[902], "PARALLEL LINES");
    EXPECT_EQ(calcerrstr[903], "UNDEFINED LINE");
    EXPECT_EQ(calcerrstr[904], "ARC DOES NOT INTERSECT");
    EXPECT_EQ(calcerrstr[905], "RADIUS DOES NOT INTERSECT");
    EXPECT_EQ(calcerrstr[906], "CONCENTRIC CIRCLES");
    EXPECT_EQ(calcerrstr[907], "CAN'T ALLOCATE MEMORY");
    EXPECT_EQ(calcerrstr[908], "3 POINTS ON SAME LINE");
    EXPECT_THROW(calcerrstr[901], ERangeError);
}

TEST(ValueTypes, RecordFamiliesCopyFieldByField)
{
    const TDArc arc{{1, 2, 3}, 4, 30, 10};
    const darc internal = to_darc(arc);
    EXPECT_EQ(internal.Center.Z, 3);
    EXPECT_EQ(internal.StartAngle, 30);
    const TDArc back = to_TDArc(internal);
    EXPECT_EQ(back.EndAngle, 10);
    EXPECT_EQ(back.Radius, 4);
}
