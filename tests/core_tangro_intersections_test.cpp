// Circle-circle and line-circle intersections and the choice of one point by
// a pick point or a side.
#include <OrvexGDI/TangroGDIOps.h>

#include "geometry_records.h"
#include "record_printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace orvex;
using namespace orvex::TangroGDIOps;

using namespace orvex::testing_geometry;

namespace {

constexpr double kSin60 = 0.8660254037844386;
constexpr double kUnset = -99;

// ---------------------------------------------------------------- line and circle

struct LineCircleCase {
    const char* name;
    diline line;
    TDArc circle;
    int code;
    double xa, xb, ya, yb, tolerance;
};

class LineCircle : public ::testing::TestWithParam<LineCircleCase> {};

TEST_P(LineCircle, MatchesTable)
{
    const LineCircleCase& c = GetParam();
    double xa = kUnset, xb = kUnset, ya = kUnset, yb = kUnset;
    EXPECT_EQ(detail::line_circle(c.line, c.circle, xa, xb, ya, yb), c.code);
    if (c.code == CALC_OK) {
        EXPECT_NEAR(xa, c.xa, c.tolerance);
        EXPECT_NEAR(xb, c.xb, c.tolerance);
        EXPECT_NEAR(ya, c.ya, c.tolerance);
        EXPECT_NEAR(yb, c.yb, c.tolerance);
    } else {
        // A horizontal line writes its y before it finds the miss.
        EXPECT_EQ(xa, kUnset);
        EXPECT_EQ(xb, kUnset);
        if (std::fabs(c.line.NormalX) >= 1e-7) {
            EXPECT_EQ(ya, kUnset);
            EXPECT_EQ(yb, kUnset);
        }
    }
}

const double kR2 = std::sqrt(0.5);

INSTANTIATE_TEST_SUITE_P(
    Tangro, LineCircle,
    ::testing::Values(
        LineCircleCase{"horizontal_chord", {0, 1, -0.5}, circle(0, 0, 1), 0, kSin60, -kSin60, 0.5, 0.5, 1e-12},
        LineCircleCase{"horizontal_miss", {0, 1, -2}, circle(0, 0, 1), 904, 0, 0, 0, 0, 0},
        LineCircleCase{"horizontal_tangent", {0, 1, -1}, circle(0, 0, 1), 0, 0, 0, 1, 1, 1e-12},
        // A normal this close to vertical counts as horizontal.
        LineCircleCase{
            "nearly_horizontal_is_horizontal", {5e-8, 1, -0.5}, circle(0, 0, 1), 0, kSin60, -kSin60, 0.5, 0.5, 1e-12},
        LineCircleCase{"vertical_chord", {1, 0, -0.5}, circle(0, 0, 1), 0, 0.5, 0.5, kSin60, -kSin60, 1e-12},
        // A tangent contact comes out as two points 0.0002 apart.
        LineCircleCase{"vertical_tangent", {1, 0, -1}, circle(0, 0, 1), 0, 1, 1, 1e-4, -1e-4, 1e-15},
        LineCircleCase{"slanted_tangent", {kR2, kR2, -1}, circle(0, 0, 1), 0, kR2, kR2, kR2, kR2, 2e-4},
        LineCircleCase{
            "slanted_through_centre", {kR2, -kR2, 0}, circle(2, 2, 1), 0, 2 + kR2, 2 - kR2, 2 + kR2, 2 - kR2, 1e-12},
        // The line passing outside the circle is reported, as in the horizontal case.
        LineCircleCase{"vertical_miss", {1, 0, -2}, circle(0, 0, 1), 904, 0, 0, 0, 0, 0},
        LineCircleCase{"slanted_miss", {kR2, kR2, -1.01}, circle(0, 0, 1), 904, 0, 0, 0, 0, 0},
        LineCircleCase{"vertical_miss_by_a_micron", {1, 0, -1.000001}, circle(0, 0, 1), 904, 0, 0, 0, 0, 0},
        LineCircleCase{"zero_radius_on_line", {1, 0, -3}, circle(3, 4, 0), 0, 3, 3, 4 + 1e-4, 4 - 1e-4, 1e-12},
        LineCircleCase{"zero_radius_off_line", {1, 0, -3}, circle(3.1, 4, 0), 904, 0, 0, 0, 0, 0},
        // Near 1e7 the terms lose their last digits.
        LineCircleCase{"near_1e7_chord",
                       {0.6, 0.8, -(0.6 * 1e7 + 0.8 * 1e7)},
                       circle(1e7, 1e7, 5),
                       0,
                       1e7 - 4,
                       1e7 + 4,
                       1e7 + 3,
                       1e7 - 3,
                       0.05},
        // ... but a tangent there is still not a miss.
        LineCircleCase{"near_1e7_tangent",
                       {0.6, 0.8, -(0.6 * 1e7 + 0.8 * 1e7) - 5},
                       circle(1e7, 1e7, 5),
                       0,
                       1e7 + 3,
                       1e7 + 3,
                       1e7 + 4,
                       1e7 + 4,
                       1.0},
        LineCircleCase{
            "near_1e7_miss_by_1", {0.6, 0.8, -(0.6 * 1e7 + 0.8 * 1e7) - 6}, circle(1e7, 1e7, 5), 904, 0, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- two circles

struct Calc2Case {
    const char* name;
    TDArc c1, c2;
    int code;
    double xa, xb, ya, yb, tolerance;
};

class Calc2 : public ::testing::TestWithParam<Calc2Case> {};

TEST_P(Calc2, MatchesTable)
{
    const Calc2Case& c = GetParam();
    double xa = kUnset, xb = kUnset, ya = kUnset, yb = kUnset;
    EXPECT_EQ(CALC_2(c.c1, c.c2, xa, xb, ya, yb), c.code);
    if (c.code == CALC_OK) {
        EXPECT_NEAR(xa, c.xa, c.tolerance);
        EXPECT_NEAR(xb, c.xb, c.tolerance);
        EXPECT_NEAR(ya, c.ya, c.tolerance);
        EXPECT_NEAR(yb, c.yb, c.tolerance);
    } else if (c.code != CALC_ARC_NO_INTERSECT) {
        EXPECT_EQ(xa, kUnset);
        EXPECT_EQ(ya, kUnset);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tangro, Calc2,
    ::testing::Values(
        Calc2Case{"two_crossings", circle(0, 0, 1), circle(2, 0, std::sqrt(3.0)), 0, 0.5, 0.5, kSin60, -kSin60, 1e-9},
        Calc2Case{"too_far_apart", circle(0, 0, 1), circle(3, 0, 1), 905, 0, 0, 0, 0, 0},
        Calc2Case{"concentric", circle(1, 1, 1), circle(1, 1, 2), 906, 0, 0, 0, 0, 0},
        Calc2Case{"coincident", circle(1, 1, 1), circle(1, 1, 1), 906, 0, 0, 0, 0, 0},
        Calc2Case{"touching_side_by_side", circle(0, 0, 1), circle(2, 0, 1), 0, 1, 1, 1e-4, -1e-4, 1e-12},
        Calc2Case{"touching_stacked", circle(0, 0, 1), circle(0, 2, 1), 0, 0, 0, 1, 1, 1e-12},
        // Within the 0.0001 allowance but apart: stacked circles miss in the
        // horizontal branch, side-by-side ones in the other.
        Calc2Case{"nearly_touching_stacked", circle(0, 0, 1), circle(0, 2.00005, 1), 904, 0, 0, 0, 0, 0},
        Calc2Case{"nearly_touching_side_by_side", circle(0, 0, 1), circle(2.00005, 0, 1), 904, 0, 0, 0, 0, 0},
        Calc2Case{"inside_side_by_side", circle(0, 0, 5), circle(1, 0, 1), 904, 0, 0, 0, 0, 0},
        Calc2Case{"inside_stacked", circle(0, 0, 5), circle(0, 1, 1), 904, 0, 0, 0, 0, 0},
        Calc2Case{"zero_radius_on_circle", circle(0, 0, 1), circle(0.6, 0.8, 0), 0, 0.6, 0.6, 0.8, 0.8, 1e-3},
        // The radical line is built from squared coordinates: near 1e7 it
        // keeps about two decimals.
        Calc2Case{"near_1e7", circle(1e7, 1e7, 1), circle(1e7 + 2, 1e7, std::sqrt(3.0)), 0, 1e7 + 0.5, 1e7 + 0.5,
                  1e7 + kSin60, 1e7 - kSin60, 0.05}),
    [](const auto& info) { return std::string(info.param.name); });

// Property: the code agrees with the number of solutions, and reported
// points lie on both circles.
TEST(TangroCalc2, ResultCodesAgreeWithSolutionCount)
{
    std::mt19937 rng(20260);
    std::uniform_real_distribution<double> coord(-50, 50), radius(0.1, 30);
    int crossings = 0, apart = 0, inside = 0;
    for (int i = 0; i < 2000; ++i) {
        const TDArc c1 = circle(coord(rng), coord(rng), radius(rng));
        const TDArc c2 = circle(coord(rng), coord(rng), radius(rng));
        const double d = std::hypot(c2.Center.X - c1.Center.X, c2.Center.Y - c1.Center.Y);
        double xa = 0, xb = 0, ya = 0, yb = 0;
        const int code = CALC_2(c1, c2, xa, xb, ya, yb);
        if (d > c1.Radius + c2.Radius + 1e-3) {
            EXPECT_EQ(code, 905) << i;
            ++apart;
        } else if (d < std::fabs(c1.Radius - c2.Radius) - 1e-3) {
            EXPECT_EQ(code, 904) << i;
            ++inside;
        } else if (d > std::fabs(c1.Radius - c2.Radius) + 1e-3 && d < c1.Radius + c2.Radius - 1e-3) {
            ASSERT_EQ(code, 0) << i;
            for (auto [x, y] : {std::pair{xa, ya}, {xb, yb}}) {
                EXPECT_NEAR(std::hypot(x - c1.Center.X, y - c1.Center.Y), c1.Radius, 1e-6) << i;
                EXPECT_NEAR(std::hypot(x - c2.Center.X, y - c2.Center.Y), c2.Radius, 1e-6) << i;
            }
            ++crossings;
        }
    }
    EXPECT_GT(crossings, 100);
    EXPECT_GT(apart, 100);
    EXPECT_GT(inside, 50);
}

// ---------------------------------------------------------------- choosing points

class PointInter2Arcs : public ::testing::Test {
protected:
    void SetUp() override
    {
        set_error_box2_sink([this](const std::string& text) {
            texts.push_back(text);
            return 0;
        });
    }
    void TearDown() override { set_error_box2_sink({}); }
    std::vector<std::string> texts;
};

TEST_F(PointInter2Arcs, BothPointsTakeTheFirstCentresZ)
{
    TDPoint p1, p2;
    EXPECT_EQ(point_inter_2_arcs(circle(0, 0, 1, 7), circle(2, 0, std::sqrt(3.0), 9), p1, p2), 0);
    EXPECT_NEAR(p1.Y, kSin60, 1e-9);
    EXPECT_NEAR(p2.Y, -kSin60, 1e-9);
    EXPECT_EQ(p1.Z, 7);
    EXPECT_EQ(p2.Z, 7);
    EXPECT_TRUE(texts.empty());
}

// A failure still answers 0 and reports through the sink; both points then
// lie on the line of centres halfway between the two circles.
TEST_F(PointInter2Arcs, FailuresAnswerZeroAndReport)
{
    TDPoint p1{5, 5, 5}, p2{5, 5, 5};
    EXPECT_EQ(point_inter_2_arcs(circle(0, 0, 1, 2), circle(3, 0, 1), p1, p2), 0);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "RADIUS DOES NOT INTERSECT");
    EXPECT_DOUBLE_EQ(p1.X, 1.5);
    EXPECT_DOUBLE_EQ(p1.Y, 0);
    EXPECT_EQ(p1.Z, 2);
    EXPECT_DOUBLE_EQ(p2.X, 1.5);

    texts.clear();
    EXPECT_EQ(point_inter_2_arcs(circle(1, 1, 1), circle(1, 1, 3), p1, p2), 0);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "CONCENTRIC CIRCLES");
    EXPECT_DOUBLE_EQ(p1.X, 3);
    EXPECT_DOUBLE_EQ(p1.Y, 1);

    texts.clear();
    EXPECT_EQ(point_inter_2_arcs(circle(0, 0, 1), circle(0, 2.00005, 1), p1, p2), 0);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "ARC DOES NOT INTERSECT");
    EXPECT_NEAR(p1.X, 0, 1e-12);
    EXPECT_NEAR(p1.Y, 1.000025, 1e-12);
}

TEST(TangroPick, ArcArcTakesTheNearerAndTiesTakeTheSecond)
{
    const TDArc c1 = circle(0, 0, 1), c2 = circle(2, 0, std::sqrt(3.0));
    TDPoint q;
    EXPECT_EQ(get_intersection_arc_arc(c1, c2, {0.5, 5, 0}, q), 0);
    EXPECT_NEAR(q.X, 0.5, 1e-9);
    EXPECT_NEAR(q.Y, kSin60, 1e-9);
    EXPECT_EQ(get_intersection_arc_arc(c1, c2, {0.5, -5, 0}, q), 0);
    EXPECT_NEAR(q.Y, -kSin60, 1e-9);
    EXPECT_EQ(get_intersection_arc_arc(c1, c2, {0.5, 0, 0}, q), 0);
    EXPECT_NEAR(q.Y, -kSin60, 1e-9);
}

TEST(TangroPick, LineArcByAngles)
{
    const TDLine xaxis{{0, 0, 0}, {1, 0, 0}};
    TDPoint q;
    EXPECT_EQ(get_intersection_line_arc(xaxis, circle(0, 0, 1, 3), {2, 0.1, 0}, q), 0);
    EXPECT_NEAR(q.X, 1, 1e-9);
    EXPECT_NEAR(q.Y, 0, 1e-6);
    EXPECT_EQ(q.Z, 3);
    EXPECT_EQ(get_intersection_line_arc(xaxis, circle(0, 0, 1), {-3, 0, 0}, q), 0);
    EXPECT_NEAR(q.X, -1, 1e-9);
    EXPECT_NEAR(q.Y, 0, 1e-6);

    // A line passing outside still yields a point of the circle.
    EXPECT_EQ(get_intersection_line_arc({{0, 2, 0}, {1, 2, 0}}, circle(0, 0, 1), {1, 2, 0}, q), 0);
    EXPECT_NEAR(std::hypot(q.X, q.Y), 1, 1e-9);
}

// Property: picked near a true crossing, the chosen point lies on the line
// and on the circle.
TEST(TangroPick, LineArcPointLiesOnBoth)
{
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> coord(-20, 20), radius(1, 10), angle(0, 360);
    for (int i = 0; i < 500; ++i) {
        const TDArc c = circle(coord(rng), coord(rng), radius(rng));
        // A chord through two random points of the circle.
        const double a1 = angle(rng), a2 = angle(rng);
        if (std::fabs(a1 - a2) < 20 || std::fabs(std::fabs(a1 - a2) - 180) < 20 || std::fabs(a1 - a2) > 340)
            continue;
        TDPoint k1, k2;
        point_arc_angle(c, a1, k1);
        point_arc_angle(c, a2, k2);
        const TDLine chord{k1, k2};
        const TDPoint pick{k1.X + 0.01, k1.Y - 0.01, 0};
        TDPoint q;
        get_intersection_line_arc(chord, c, pick, q);
        ASSERT_NEAR(std::hypot(q.X - k1.X, q.Y - k1.Y), 0, 1e-4) << i;
    }
}

TEST(TangroPick, HorizontalIntersection)
{
    TElements list;
    TElement& diagonal = list.Add();
    diagonal.SetEtype(etLine);
    for (int i = 1; i <= 6; ++i)
        diagonal.SetCoord(i, (i == 4 || i == 5) ? 4 : 0);
    TDPoint p{9, 9, 9};
    EXPECT_TRUE(horizontal_inter(2, diagonal, p));
    EXPECT_NEAR(p.X, 2, 1e-12);
    EXPECT_NEAR(p.Y, 2, 1e-12);
    EXPECT_EQ(p.Z, 0);

    TElement& flat = list.Add();
    flat.SetEtype(etLine);
    flat.SetCoord(4, 5);
    p = {9, 9, 9};
    EXPECT_FALSE(horizontal_inter(2, flat, p));
    EXPECT_EQ(p.X, 9);
}

TEST(TangroPick, Calc3BySide)
{
    struct {
        int code;
        double x, y;
    } cases[] = {
        {1, 3, 2},
        {2, 1, 5},
        {3, 1, 5},
        {4, 3, 2},
        // Only the low seven bits count.
        {-127, 3, 2},
        {-126, 1, 5},
        // No side: nothing is written.
        {0, 7, 7},
        {5, 7, 7},
    };
    for (const auto& c : cases) {
        TDPoint p{7, 7, 7};
        calc3(1, 3, 5, 2, static_cast<std::int8_t>(c.code), p);
        EXPECT_EQ(p.X, c.x) << c.code;
        EXPECT_EQ(p.Y, c.y) << c.code;
        EXPECT_EQ(p.Z, 7) << c.code;
    }
    // Ties take the second point for the "greater" sides.
    TDPoint p;
    calc3(2, 2, 1, 9, 1, p);
    EXPECT_EQ(p.Y, 9);
    calc3(1, 2, 3, 3, 3, p);
    EXPECT_EQ(p.X, 2);
}

} // namespace
