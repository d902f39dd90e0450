// Line constructions: at an angle, tangent, perpendicular, parallel, offset,
// tangent to two circles, and the implicit form.
#include <OrvexGDI/TangroGDIOps.h>

#include "geometry_records.h"
#include "record_printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace orvex;
using namespace orvex::TangroGDIOps;

using namespace orvex::testing_geometry;

namespace {

double radius_of(const TDArc& c, const TDPoint& p) { return std::hypot(p.X - c.Center.X, p.Y - c.Center.Y); }

TEST(TangroLines, PointAngleWritesOnlyXAndY)
{
    TDLine line{{0, 0, 7}, {0, 0, 8}};
    EXPECT_EQ(line_point_angle({1, 1, 3}, 90, 2, line), 0);
    EXPECT_EQ(line.P1.X, 1);
    EXPECT_EQ(line.P1.Y, 1);
    EXPECT_NEAR(line.P2.X, 1, 1e-8);
    EXPECT_NEAR(line.P2.Y, 3, 1e-12);
    EXPECT_EQ(line.P1.Z, 7);
    EXPECT_EQ(line.P2.Z, 8);

    // A zero length follows the zero-radius rule: P2 goes to the origin.
    EXPECT_EQ(line_point_angle({1, 1, 3}, 45, 0, line), 0);
    EXPECT_EQ(line.P2.X, 0);
    EXPECT_EQ(line.P2.Y, 0);
}

TEST(TangroLines, TangentAtAnAngleTouchesCounterClockwiseOfTheDirection)
{
    TDLine line;
    EXPECT_EQ(line_tangent_angle(circle(0, 0, 1), 0, 5, line), 0);
    EXPECT_NEAR(line.P1.X, 0, 1e-8);
    EXPECT_NEAR(line.P1.Y, 1, 1e-12);
    EXPECT_NEAR(line.P2.X, 5, 1e-8);
    EXPECT_NEAR(line.P2.Y, 1, 1e-8);
    EXPECT_EQ(line_tangent_angle(circle(0, 0, 1), 180, 5, line), 0);
    EXPECT_NEAR(line.P1.Y, -1, 1e-8);
    EXPECT_NEAR(line.P2.X, -5, 1e-7);
}

TEST(TangroLines, TangentFromAPoint)
{
    const TDArc unit = circle(0, 0, 1, 4);
    TDLine line{{9, 9, 9}, {9, 9, 9}};
    EXPECT_EQ(line_tangent_point({0.5, 3, 0}, {2, 0, 6}, unit, line), 0);
    EXPECT_EQ(line.P1.X, 2);
    EXPECT_EQ(line.P1.Z, 6);
    EXPECT_NEAR(line.P2.X, 0.5, 1e-9);
    EXPECT_NEAR(line.P2.Y, std::sqrt(0.75), 1e-9);
    EXPECT_EQ(line.P2.Z, 4);
    EXPECT_EQ(line_tangent_point({0.5, -3, 0}, {2, 0, 6}, unit, line), 0);
    EXPECT_NEAR(line.P2.Y, -std::sqrt(0.75), 1e-9);
    // A pick point at equal distance takes the second tangent point.
    EXPECT_EQ(line_tangent_point({5, 0, 0}, {2, 0, 6}, unit, line), 0);
    EXPECT_NEAR(line.P2.Y, -std::sqrt(0.75), 1e-9);

    // From inside the circle: 908, the line untouched.
    line = {{9, 9, 9}, {9, 9, 9}};
    EXPECT_EQ(line_tangent_point({0, 1, 0}, {0.5, 0, 0}, unit, line), CALC_COLLINEAR);
    EXPECT_EQ(line.P1.X, 9);
    EXPECT_EQ(line.P2.Y, 9);

    // From a point on the circle the tangent degenerates to that point.
    EXPECT_EQ(line_tangent_point({0, 1, 0}, {1, 0, 0}, unit, line), 0);
    EXPECT_NEAR(line.P2.X, 1, 1e-6);
    EXPECT_NEAR(line.P2.Y, 0, 1e-3);
}

// Property: the tangent touches its circle at P2 and the radius there is
// perpendicular to it.
TEST(TangroLines, TangentFromAPointTouchesTheCircle)
{
    std::mt19937 rng(1234);
    std::uniform_real_distribution<double> coord(-100, 100), radius(0.5, 20);
    int checked = 0;
    for (int i = 0; i < 1000; ++i) {
        const TDArc c = circle(coord(rng), coord(rng), radius(rng));
        const TDPoint through{coord(rng), coord(rng), 0};
        if (radius_of(c, through) < c.Radius * 1.01)
            continue;
        TDLine line;
        ASSERT_EQ(line_tangent_point({coord(rng), coord(rng), 0}, through, c, line), 0);
        // When the two centres lie almost above each other, the crossing of
        // the circles loses digits in X (divided by a tiny normal component).
        EXPECT_NEAR(radius_of(c, line.P2), c.Radius, 1e-3) << i;
        EXPECT_NEAR(line_distance(line, c.Center.X, c.Center.Y), c.Radius, 1e-3) << i;
        ++checked;
    }
    EXPECT_GT(checked, 500);
}

TEST(TangroLines, PerpendicularParallelAndOffset)
{
    const TDLine xaxis{{0, 0, 0}, {10, 0, 0}};
    TDLine result;
    EXPECT_EQ(line_perpendicular_point({3, 4, 2}, xaxis, result), 0);
    EXPECT_EQ(result.P1.X, 3);
    EXPECT_EQ(result.P1.Z, 2);
    EXPECT_NEAR(result.P2.X, 3, 1e-5);
    EXPECT_NEAR(result.P2.Y, 0, 1e-12);
    EXPECT_EQ(result.P2.Z, 0);

    // The foot carries the 1e-6 substitute, so the move leans by a few 1e-6.
    EXPECT_EQ(offset_line(xaxis, 2, {5, -7, 0}, result), 0);
    EXPECT_NEAR(result.P1.X, 0, 1e-5);
    EXPECT_NEAR(result.P1.Y, -2, 1e-9);
    EXPECT_NEAR(result.P2.X, 10, 1e-5);
    EXPECT_NEAR(result.P2.Y, -2, 1e-9);

    EXPECT_EQ(line_parallel_point({5, 3, 0}, xaxis, result), 0);
    EXPECT_NEAR(result.P1.X, 0, 1e-5);
    EXPECT_NEAR(result.P1.Y, 3, 1e-9);
    EXPECT_NEAR(result.P2.X, 10, 1e-5);
    EXPECT_NEAR(result.P2.Y, 3, 1e-9);

    // Offsets keep each end's Z.
    EXPECT_EQ(offset_line({{0, 0, 1}, {10, 0, 2}}, 1, {0, 5, 0}, result), 0);
    EXPECT_EQ(result.P1.Z, 1);
    EXPECT_EQ(result.P2.Z, 2);

    // A side point on the line moves the line towards +X.
    EXPECT_EQ(offset_line({{0, 0, 0}, {0, 10, 0}}, 1, {0, 5, 0}, result), 0);
    EXPECT_NEAR(result.P1.X, 1, 1e-9);
    EXPECT_NEAR(result.P2.X, 1, 1e-9);

    // A distance of 0 puts both ends at the origin.
    EXPECT_EQ(offset_line({{3, 3, 3}, {5, 5, 5}}, 0, {0, 5, 0}, result), 0);
    EXPECT_EQ(result.P1.X, 0);
    EXPECT_EQ(result.P2.Y, 0);
    EXPECT_EQ(result.P2.Z, 0);
}

// Property: an offset line is parallel to the original at the given distance,
// on the side point's side.
TEST(TangroLines, OffsetLineKeepsDistanceAndSide)
{
    std::mt19937 rng(777);
    std::uniform_real_distribution<double> coord(-100, 100), dist(0.1, 30);
    for (int i = 0; i < 500; ++i) {
        const TDLine line{{coord(rng), coord(rng), 0}, {coord(rng), coord(rng), 0}};
        if (std::fabs(line.P1.X - line.P2.X) < 1 || std::hypot(line.P2.X - line.P1.X, line.P2.Y - line.P1.Y) < 5)
            continue;
        const TDPoint side{coord(rng), coord(rng), 0};
        if (line_distance(line, side.X, side.Y) < 0.5)
            continue;
        const double d = dist(rng);
        TDLine moved;
        offset_line(line, d, side, moved);
        EXPECT_NEAR(line_distance(line, moved.P1.X, moved.P1.Y), d, 1e-5) << i;
        EXPECT_NEAR(line_distance(line, moved.P2.X, moved.P2.Y), d, 1e-5) << i;
        diline il, im;
        ASSERT_EQ(make_iline(line, il), 0);
        ASSERT_EQ(make_iline(moved, im), 0);
        const double side_sign = il.NormalX * side.X + il.NormalY * side.Y + il.Offset;
        const double moved_sign = il.NormalX * moved.P1.X + il.NormalY * moved.P1.Y + il.Offset;
        EXPECT_GT(side_sign * moved_sign, 0) << i;
        EXPECT_NEAR(il.NormalX * im.NormalY - il.NormalY * im.NormalX, 0, 1e-6) << i;
    }
}

struct Tangent2Case {
    const char* name;
    TDArc c1, c2;
    TDPoint pick1, pick2;
    TDPoint p1, p2;
    double tolerance;
};

class Tangent2Arcs : public ::testing::TestWithParam<Tangent2Case> {};

TEST_P(Tangent2Arcs, MatchesTable)
{
    const Tangent2Case& c = GetParam();
    TDLine line;
    EXPECT_EQ(line_tangent_2_arcs2(c.c1, c.c2, c.pick1, c.pick2, line), 0);
    EXPECT_NEAR(line.P1.X, c.p1.X, c.tolerance);
    EXPECT_NEAR(line.P1.Y, c.p1.Y, c.tolerance);
    EXPECT_EQ(line.P1.Z, c.p1.Z);
    EXPECT_NEAR(line.P2.X, c.p2.X, c.tolerance);
    EXPECT_NEAR(line.P2.Y, c.p2.Y, c.tolerance);
    EXPECT_EQ(line.P2.Z, c.p2.Z);
}

INSTANTIATE_TEST_SUITE_P(
    Tangro, Tangent2Arcs,
    ::testing::Values(
        Tangent2Case{"external_above",
                     circle(0, 0, 2),
                     circle(10, 0, 1),
                     {0, 5, 0},
                     {10, 5, 0},
                     {0.2, 1.98997, 0},
                     {10.1, 0.99499, 0},
                     1e-5},
        Tangent2Case{"external_below",
                     circle(0, 0, 2),
                     circle(10, 0, 1),
                     {0, -5, 0},
                     {10, -5, 0},
                     {0.2, -1.98997, 0},
                     {10.1, -0.99499, 0},
                     1e-5},
        Tangent2Case{"internal_crossing",
                     circle(0, 0, 1),
                     circle(10, 0, 1),
                     {0, 5, 0},
                     {10, -5, 0},
                     {0.2, 0.97980, 0},
                     {9.8, -0.97980, 0},
                     1e-5},
        Tangent2Case{"internal_other_way",
                     circle(0, 0, 1),
                     circle(10, 0, 1),
                     {0, -5, 0},
                     {10, 5, 0},
                     {0.2, -0.97980, 0},
                     {9.8, 0.97980, 0},
                     1e-5},
        // With the smaller circle first the line starts on the larger one;
        // each end takes its own centre's Z.
        Tangent2Case{"smaller_first_starts_on_larger",
                     circle(10, 0, 1, 3),
                     circle(0, 0, 2, 4),
                     {10, 5, 0},
                     {0, 5, 0},
                     {0.2, 1.98997, 4},
                     {10.1, 0.99499, 3},
                     1e-5},
        // Equal radii count the second circle as the larger: the line runs
        // from it, parallel to the centre line.
        Tangent2Case{
            "equal_radii", circle(0, 0, 1), circle(10, 0, 1), {0, 5, 0}, {10, 5, 0}, {10, 1, 0}, {0, 1, 0}, 1e-3}),
    [](const auto& info) { return std::string(info.param.name); });

// Property: both kinds of common tangent touch both circles at their ends.
TEST(TangroLines, TangentToTwoCirclesTouchesBoth)
{
    std::mt19937 rng(31337);
    std::uniform_real_distribution<double> coord(-50, 50), radius(0.5, 8), side(2, 20);
    int checked = 0;
    for (int i = 0; i < 600; ++i) {
        const TDArc c1 = circle(coord(rng), coord(rng), radius(rng));
        const TDArc c2 = circle(coord(rng), coord(rng), radius(rng));
        const double d = std::hypot(c2.Center.X - c1.Center.X, c2.Center.Y - c1.Center.Y);
        if (d < (c1.Radius + c2.Radius) * 1.1)
            continue;
        // Picks left (+) or right (-) of the centre line.
        const double nx = -(c2.Center.Y - c1.Center.Y) / d, ny = (c2.Center.X - c1.Center.X) / d;
        const double s1 = (i % 2) ? 1 : -1, s2 = (i % 3) ? s1 : -s1;
        const TDPoint pick1{c1.Center.X + s1 * side(rng) * nx, c1.Center.Y + s1 * side(rng) * ny, 0};
        const TDPoint pick2{c2.Center.X + s2 * side(rng) * nx, c2.Center.Y + s2 * side(rng) * ny, 0};
        TDLine line;
        ASSERT_EQ(line_tangent_2_arcs2(c1, c2, pick1, pick2, line), 0);
        const TDArc& first = (s1 == s2 && c1.Radius <= c2.Radius) ? c2 : c1;
        const TDArc& second = (&first == &c1) ? c2 : c1;
        EXPECT_NEAR(radius_of(first, line.P1), first.Radius, 1e-6) << i;
        EXPECT_NEAR(radius_of(second, line.P2), second.Radius, 1e-6) << i;
        EXPECT_NEAR(line_distance(line, c1.Center.X, c1.Center.Y), c1.Radius, 1e-4) << i;
        EXPECT_NEAR(line_distance(line, c2.Center.X, c2.Center.Y), c2.Radius, 1e-4) << i;
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

TEST(TangroLines, ImplicitForm)
{
    diline il{7, 7, 7};
    EXPECT_EQ(make_iline({{0, 0, 0}, {1, 0, 0}}, il), 0);
    EXPECT_EQ(il.NormalX, 0);
    EXPECT_EQ(il.NormalY, -1);
    EXPECT_EQ(il.Offset, 0);
    // Points above a line running in +X have negative values.
    EXPECT_LT(il.NormalX * 0.5 + il.NormalY * 2 + il.Offset, 0);

    EXPECT_EQ(make_iline({{3, 4, 0}, {6, 8, 0}}, il), 0);
    EXPECT_DOUBLE_EQ(il.NormalX, 0.8);
    EXPECT_DOUBLE_EQ(il.NormalY, -0.6);
    EXPECT_NEAR(il.NormalX * 3 + il.NormalY * 4 + il.Offset, 0, 1e-12);
    // (7, 1) lies five units to the right of the direction (3, 4) -> (6, 8).
    EXPECT_NEAR(il.NormalX * 7 + il.NormalY * 1 + il.Offset, 5.0, 1e-12);

    il = {7, 7, 7};
    EXPECT_EQ(make_iline({{2, 2, 0}, {2, 2, 9}}, il), CALC_UNDEFINED_LINE);
    EXPECT_EQ(il.NormalX, 7);
    EXPECT_EQ(il.Offset, 7);
}

} // namespace
