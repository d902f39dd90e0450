// The number texts written into the drawing files.
#include <OrvexGDI/Ops.h>

#include <gtest/gtest.h>

#include <climits>

using namespace orvex::Ops;

TEST(OpsNumberText, RealsDropRedundantZeros)
{
    struct {
        double value;
        const char* text;
    } cases[] = {
        {12.5, "12.5"},
        {3, "3.0"},
        {100, "100.0"},
        {0.25, ".25"},
        {-0.25, "-.25"},
        {0, ".0"},
        {0.5, ".5"},
        {-0.5, "-.5"},
        {2, "2.0"},
        {1.23456, "1.2346"},
        {-12.5, "-12.5"},
        {0.00004, ".0"},
        {-0.00004, ".0"},
        {-0.0, ".0"},
        {0.00005001, ".0001"},
        {1e7 + 0.125, "10000000.125"},
        {-1e7, "-10000000.0"},
        // Only the first 15 characters are kept; without a point nothing more is trimmed.
        {123456789012.3456, "123456789012.34"},
        {1234567890123456.0, "123456789012345"},
        {-123456789012.5, "-123456789012.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(str_real(c.value), c.text) << c.value;
}

TEST(OpsNumberText, IntegersArePlainDecimal)
{
    EXPECT_EQ(str_int(0), "0");
    EXPECT_EQ(str_int(-42), "-42");
    EXPECT_EQ(str_int(INT_MAX), "2147483647");
    EXPECT_EQ(str_int(INT_MIN), "-2147483648");
}
