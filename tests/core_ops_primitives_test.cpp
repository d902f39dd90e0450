// The control's plane geometry: directions, sweeps, distances, points on arcs,
// line intersections and closest points.
#include <OrvexGDI/Ops.h>

#include "geometry_records.h"
#include "record_printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace orvex;
using namespace orvex::Ops;

using namespace orvex::testing_geometry;

namespace {

// The offset of an axis direction for a unit length: arctan(1e-7) degrees.
const double kAxisEps = std::atan(1e-7) * 57.2957795131;

struct AngleCase {
    const char* name;
    double x1, y1, x2, y2;
    double expected;
};

class AngleDegrees : public ::testing::TestWithParam<AngleCase> {};

TEST_P(AngleDegrees, MatchesTable)
{
    const AngleCase& c = GetParam();
    EXPECT_NEAR(get_angle_degrees(c.x1, c.y1, c.x2, c.y2), c.expected, 1e-9) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Ops, AngleDegrees,
    ::testing::Values(AngleCase{"first_quadrant", 0, 0, 1, 1, 45}, AngleCase{"second_quadrant", 0, 0, -1, 1, 135},
                      AngleCase{"third_quadrant", 0, 0, -1, -1, 225}, AngleCase{"fourth_quadrant", 0, 0, 1, -1, 315},
                      AngleCase{"same_point", 2, 3, 2, 3, 0},
                      // Axis directions land just off the axis, on a fixed side.
                      AngleCase{"plus_x_just_below_360", 0, 0, 1, 0, 360 - kAxisEps},
                      AngleCase{"minus_x_just_above_180", 0, 0, -1, 0, 180 + kAxisEps},
                      AngleCase{"plus_y_just_above_90", 0, 0, 0, 1, 90 + kAxisEps},
                      AngleCase{"minus_y_just_below_270", 0, 0, 0, -1, 270 - kAxisEps},
                      AngleCase{"plus_x_long_line_smaller_offset", 0, 0, 10, 0, 360 - std::atan(1e-8) * 57.2957795131}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpsAngles, AxisOffsetIsNotZero)
{
    // Callers rely on +X reading as just under 360, never as 0.
    EXPECT_LT(get_angle_degrees(0, 0, 1, 0), 360.0);
    EXPECT_GT(get_angle_degrees(0, 0, 1, 0), 359.99);
    EXPECT_NEAR(360 - get_angle_degrees(0, 0, 1, 0), 5.7295779513e-6, 1e-12);
}

TEST(OpsAngles, FixAngleMakesAtMostTwoCorrections)
{
    struct {
        double in, out;
    } cases[] = {{725, 5}, {-30, 330}, {360, 360}, {0, 0}, {1085, 365}, {-720, 0}, {-725, -5}, {1080, 360}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(fix_angle(c.in), c.out) << c.in;
}

TEST(OpsAngles, ArcSweepByMode)
{
    struct {
        double start, end;
        int mode;
        double sweep;
    } cases[] = {
        {10, 10, 3, 360}, {10, 10, 2, 360},  {10, 10, 7, 360}, {350, 10, 3, 20}, {10, 350, 3, 340},
        {10, 350, 2, 20}, {350, 10, 2, 340}, {10, 20, 1, 0},   {20, 10, 0, 0},   {0, 90, 3, 90},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(get_arc_angle(c.start, c.end, c.mode), c.sweep)
            << c.start << " -> " << c.end << " mode " << c.mode;
}

TEST(OpsDistances, PlaneDistanceIgnoresZ)
{
    EXPECT_DOUBLE_EQ(distance(0, 0, 3, 4), 5);
    EXPECT_DOUBLE_EQ(distance(1, 1, 1, 1), 0);
    EXPECT_DOUBLE_EQ(distance_2_points({0, 0, 100}, {3, 4, -100}), 5);
}

// Far points are not folded to 0: a distance over 100000 units is reported as
// it is, so far elements never coincide with the pick point.
TEST(OpsDistances, FarPointsGiveTheTrueDistance)
{
    EXPECT_DOUBLE_EQ(distance(0, 0, 100001, 0), 100001);
    EXPECT_DOUBLE_EQ(distance(0, 0, 0, -250000), 250000);
    EXPECT_DOUBLE_EQ(distance(1e7, 1e7, 1e7 + 3e5, 1e7 + 4e5), 5e5);
    EXPECT_DOUBLE_EQ(distance_2_points({-1e9, 0, 0}, {1e9, 0, 0}), 2e9);
}

TEST(OpsDistances, MidpointCarriesZ)
{
    const dpoint m = midpoint_2_points({0, 2, 4}, {2, 6, -4});
    EXPECT_EQ(m.X, 1);
    EXPECT_EQ(m.Y, 4);
    EXPECT_EQ(m.Z, 0);
}

TEST(OpsArcs, PointOnArcAndZeroRadiusGivesCentre)
{
    dpoint p{9, 9, 9};
    EXPECT_EQ(point_arc_angle(darc{{1, 2, 3}, 2, 0, 0}, 90, p), 0);
    EXPECT_NEAR(p.X, 1, 1e-12);
    EXPECT_NEAR(p.Y, 4, 1e-12);
    EXPECT_EQ(p.Z, 3);

    EXPECT_EQ(point_arc_angle(darc{{1, 2, 3}, 0, 0, 0}, 45, p), 0);
    EXPECT_EQ(p.X, 1);
    EXPECT_EQ(p.Y, 2);
    EXPECT_EQ(p.Z, 3);
}

TEST(OpsArcs, ElementFormsReadTheSlots)
{
    TElements list;
    const TElement& arc = add_element(list, etArc, {0, 0, 5, 2, 0, 90});
    double x = 0, y = 0, z = 0;
    mid_arc(arc, x, y, z);
    EXPECT_NEAR(x, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(y, std::sqrt(2.0), 1e-12);
    EXPECT_EQ(z, 5);

    // The sweep runs counter-clockwise through 0.
    const TElement& wrap = add_element(list, etArc, {0, 0, 0, 1, 270, 90});
    mid_arc(wrap, x, y, z);
    EXPECT_NEAR(x, 1, 1e-9);
    EXPECT_NEAR(y, 0, 1e-9);

    double xs = 7, ys = 7, xe = 7, ye = 7;
    get_arc_end_points(arc, xs, ys, xe, ye);
    EXPECT_NEAR(xs, 2, 1e-12);
    EXPECT_NEAR(ys, 0, 1e-12);
    EXPECT_NEAR(xe, 0, 1e-12);
    EXPECT_NEAR(ye, 2, 1e-12);

    // A zero radius still computes: every point is the centre.
    const TElement& dot = add_element(list, etArc, {4, 5, 0, 0, 0, 180});
    get_arc_end_points(dot, xs, ys, xe, ye);
    EXPECT_EQ(xs, 4);
    EXPECT_EQ(ys, 5);
    EXPECT_EQ(xe, 4);
    EXPECT_EQ(ye, 5);
    mid_arc(dot, x, y, z);
    EXPECT_EQ(x, 4);
    EXPECT_EQ(y, 5);

    // The records copy slots 1 to 6 whatever the type.
    const TElement& line = add_element(list, etLine, {1, 2, 3, 4, 5, 6});
    const dline l = get_line_from_element(line);
    EXPECT_EQ(l.P1.Z, 3);
    EXPECT_EQ(l.P2.X, 4);
    const darc a = get_arc_from_element(line);
    EXPECT_EQ(a.Radius, 4);
    EXPECT_EQ(a.EndAngle, 6);
}

TEST(OpsLines, LineThroughTwoPointsIsFilledEvenWhenUndefined)
{
    dline line;
    EXPECT_EQ(line_2_points({1, 2, 0}, {1, 2, 5}, line), CALC_UNDEFINED_LINE);
    EXPECT_EQ(line.P1.Z, 0);
    EXPECT_EQ(line.P2.Z, 5);
    EXPECT_EQ(line_2_points({1, 2, 0}, {1, 2.5, 0}, line), CALC_OK);
    EXPECT_EQ(line.P2.Y, 2.5);
}

struct InterCase {
    const char* name;
    dline l1, l2;
    int code;
    double x, y, tolerance;
};

class OpsInterLines : public ::testing::TestWithParam<InterCase> {};

TEST_P(OpsInterLines, MatchesTable)
{
    const InterCase& c = GetParam();
    dpoint p{-7, -7, -7};
    EXPECT_EQ(point_inter_2_lines(c.l1, c.l2, p), c.code) << c.name;
    if (c.code == CALC_OK) {
        EXPECT_NEAR(p.X, c.x, c.tolerance) << c.name;
        EXPECT_NEAR(p.Y, c.y, c.tolerance) << c.name;
        EXPECT_EQ(p.Z, 0) << c.name;
    } else {
        EXPECT_EQ(p.X, -7) << c.name;
        EXPECT_EQ(p.Y, -7) << c.name;
        EXPECT_EQ(p.Z, -7) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ops, OpsInterLines,
    ::testing::Values(
        InterCase{"crossing_diagonals", {{0, 0, 1}, {1, 1, 1}}, {{0, 1, 1}, {1, 0, 1}}, 0, 0.5, 0.5, 1e-12},
        InterCase{"parallel", {{0, 0, 0}, {1, 1, 0}}, {{0, 1, 0}, {1, 2, 0}}, 902, 0, 0, 0},
        InterCase{"coincident", {{0, 0, 0}, {2, 2, 0}}, {{0, 0, 0}, {1, 1, 0}}, 902, 0, 0, 0},
        // A vertical line is a steep line of slope dy / 1e-6.
        InterCase{"vertical_and_horizontal", {{2, 0, 0}, {2, 1, 0}}, {{0, 3, 0}, {1, 3, 0}}, 0, 2 - 3e-6, 3, 1e-9},
        // Two vertical lines of equal length have equal slopes: parallel.
        InterCase{"two_verticals_equal_rise", {{0, 0, 0}, {0, 1, 0}}, {{5, 0, 0}, {5, 1, 0}}, 902, 0, 0, 0},
        InterCase{"coordinates_near_1e7",
                  {{1e7, 1e7, 0}, {1e7 + 1, 1e7 + 1, 0}},
                  {{1e7, 1e7 + 2, 0}, {1e7 + 1, 1e7 + 1, 0}},
                  0,
                  1e7 + 1,
                  1e7 + 1,
                  1e-6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpsLines, NearlyEqualSlopesAreBentNotRejected)
{
    // A slope difference of -1e-9 is taken as +1e-6, whatever its sign.
    dpoint p;
    EXPECT_EQ(point_inter_2_lines({{0, 0, 0}, {1, 1, 0}}, {{0, 1, 0}, {1, 2 + 1e-9, 0}}, p), 0);
    EXPECT_NEAR(p.X, 1e6, 1e-3);
    EXPECT_NEAR(p.Y, 1e6, 1e-3);
}

TEST(OpsClosest, FootOnHorizontalLineUsesTheSteepSubstitute)
{
    dpoint out{9, 9, 9};
    get_closest_point_line({{0, 0, 0}, {10, 0, 0}}, {3, 5, 7}, out);
    EXPECT_NEAR(out.X, 3.000005, 1e-9);
    EXPECT_NEAR(out.Y, 0, 1e-12);
    EXPECT_EQ(out.Z, 0);
}

TEST(OpsClosest, CircleAndElements)
{
    dpoint out;
    // The direction to (4, 0) is just under 360, so Y is a hair below 0.
    get_closest_point_arc({{0, 0, 4}, 2, 0, 0}, {4, 0, 0}, out);
    EXPECT_NEAR(out.X, 2, 1e-9);
    EXPECT_LT(out.Y, 0);
    EXPECT_NEAR(out.Y, 0, 1e-7);
    EXPECT_EQ(out.Z, 4);

    // At the centre the direction is 0.
    get_closest_point_arc({{1, 1, 0}, 2, 0, 0}, {1, 1, 0}, out);
    EXPECT_NEAR(out.X, 3, 1e-12);
    EXPECT_NEAR(out.Y, 1, 1e-12);

    TElements list;
    dpoint q{1, 1, 1};
    EXPECT_EQ(get_closest_point(add_element(list, etPoint, {5, 6, 7}), q, out), 1);
    EXPECT_EQ(out.X, 5);
    EXPECT_EQ(out.Z, 7);
    EXPECT_EQ(get_closest_point(add_element(list, etLine, {0, 0, 0, 0, 10, 0}), {3, 4, 0}, out), 1);
    EXPECT_NEAR(out.X, 0, 1e-6);
    EXPECT_NEAR(out.Y, 4, 1e-6);
    EXPECT_EQ(get_closest_point(add_element(list, etArc, {0, 0, 0, 1, 0, 90}), {0, -5, 0}, out), 1);
    EXPECT_NEAR(out.X, 0, 1e-6);
    EXPECT_NEAR(out.Y, -1, 1e-12);
    // Other types leave the output alone and still answer 1.
    out = {8, 8, 8};
    EXPECT_EQ(get_closest_point(add_element(list, etCircle, {0, 0, 0, 1, 0, 0}), q, out), 1);
    EXPECT_EQ(out.X, 8);
    EXPECT_EQ(out.Y, 8);
    EXPECT_EQ(out.Z, 8);
}

// Property: the foot of the perpendicular lies on the line and the segment to
// it is perpendicular to the line.
TEST(OpsClosest, FootIsOnTheLineAndPerpendicular)
{
    std::mt19937 rng(4711);
    std::uniform_real_distribution<double> coord(-100, 100);
    for (int i = 0; i < 500; ++i) {
        const dline line{{coord(rng), coord(rng), 0}, {coord(rng), coord(rng), 0}};
        if (std::fabs(line.P1.X - line.P2.X) < 1) // keep away from the steep substitute
            continue;
        const dpoint p{coord(rng), coord(rng), 0};
        dpoint f;
        get_closest_point_line(line, p, f);
        const double dx = line.P2.X - line.P1.X, dy = line.P2.Y - line.P1.Y;
        const double len = std::hypot(dx, dy);
        const double off = ((f.X - line.P1.X) * dy - (f.Y - line.P1.Y) * dx) / len;
        const double along = ((p.X - f.X) * dx + (p.Y - f.Y) * dy) / len;
        ASSERT_NEAR(off, 0, 1e-5) << i;
        ASSERT_NEAR(along, 0, 1e-4) << i;
    }
}

} // namespace
