// Arc constructions: about a centre, through points, tangent through a point,
// fillets, the circle tangent to three lines, and through two points tangent
// to a line.
#include <OrvexGDI/TangroGDIOps.h>

#include "geometry_records.h"
#include "message_sink_test.h"
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

const TDArc kUntouched{{-9, -9, -9}, -9, -9, -9};

double plane(const TDPoint& a, const TDPoint& b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

void expect_untouched(const TDArc& arc)
{
    EXPECT_EQ(arc.Center.X, -9);
    EXPECT_EQ(arc.Center.Y, -9);
    EXPECT_EQ(arc.Center.Z, -9);
    EXPECT_EQ(arc.Radius, -9);
    EXPECT_EQ(arc.StartAngle, -9);
    EXPECT_EQ(arc.EndAngle, -9);
}

// ---------------------------------------------------------------- about a centre

TEST(TangroArcsCentre, CentreBasedArcs)
{
    TDArc arc = kUntouched;
    EXPECT_EQ(arc_center_radius({1, 2, 3}, 4, 10, 20, arc), 0);
    EXPECT_EQ(arc.Center.X, 1);
    EXPECT_EQ(arc.Center.Y, 2);
    EXPECT_EQ(arc.Center.Z, -9); // centre Z is not written
    EXPECT_EQ(arc.Radius, 4);
    EXPECT_EQ(arc.StartAngle, 10);
    EXPECT_EQ(arc.EndAngle, 20);

    EXPECT_EQ(arc_center_point({0, 0, 0}, {3, 4, 0}, 0, 360, arc), 0);
    EXPECT_DOUBLE_EQ(arc.Radius, 5);
    EXPECT_EQ(arc.Center.Z, 0);
    EXPECT_EQ(arc.EndAngle, 360);

    // The whole distance between the points, not half of it.
    EXPECT_EQ(arc_between_2_points({0, 0, 0}, {4, 0, 2}, 0, 90, arc), 0);
    EXPECT_EQ(arc.Center.X, 2);
    EXPECT_EQ(arc.Center.Y, 0);
    EXPECT_EQ(arc.Center.Z, 1);
    EXPECT_EQ(arc.Radius, 4);
}

TEST(TangroArcsCentre, TangentToALineUsesTheSpaceDistance)
{
    const TDLine xaxis{{0, 0, 0}, {10, 0, 0}};
    TDArc arc;
    EXPECT_EQ(arc_center_tangent_line({3, 4, 0}, xaxis, 0, 360, arc), 0);
    EXPECT_NEAR(arc.Radius, 4, 1e-9);
    // The foot has Z 0, so a centre above the plane adds its height.
    EXPECT_EQ(arc_center_tangent_line({3, 4, 3}, xaxis, 0, 360, arc), 0);
    EXPECT_NEAR(arc.Radius, 5, 1e-6);
    EXPECT_EQ(arc.Center.Z, 3);
    // A centre on the line gives radius 0.
    EXPECT_EQ(arc_center_tangent_line({3, 0, 0}, xaxis, 0, 360, arc), 0);
    EXPECT_EQ(arc.Radius, 0);
}

TEST(TangroArcsCentre, TangentToACircleBySideOfPick)
{
    struct {
        TDPoint pick, m;
        double radius;
    } cases[] = {
        {{-3, 0, 0}, {5, 0, 0}, 6},       // pick beyond the given centre: outside contact
        {{4, 0, 0}, {5, 0, 0}, 4},        // pick before it: near side
        {{0.6, 0, 0}, {0.5, 0, 0}, -0.5}, // centre inside the given circle: negative
    };
    for (const auto& c : cases) {
        TDArc arc;
        EXPECT_EQ(arc_center_tangent_arc(c.pick, c.m, circle(0, 0, 1), 0, 360, arc), 0);
        EXPECT_DOUBLE_EQ(arc.Radius, c.radius) << c.pick.X;
        EXPECT_EQ(arc.Center.X, c.m.X);
    }
}

// ---------------------------------------------------------------- through points

using ArcThrough2Points = MessageSinkTest;

TEST_F(ArcThrough2Points, TouchingCirclesSplitByTheSmallestDiscriminant)
{
    TDArc a1 = kUntouched, a2 = kUntouched;
    EXPECT_EQ(arc_through_2_points({0, 0, 5}, {2, 0, 0}, 1, 0, 180, a1, a2), 0);
    EXPECT_NEAR(a1.Center.X, 1, 1e-12);
    EXPECT_NEAR(a1.Center.Y, 0.0001, 1e-12);
    EXPECT_NEAR(a2.Center.X, 1, 1e-12);
    EXPECT_NEAR(a2.Center.Y, -0.0001, 1e-12);
    EXPECT_EQ(a1.Center.Z, 5);
    EXPECT_EQ(a1.Radius, 1);
    EXPECT_EQ(a2.EndAngle, 180);
    EXPECT_TRUE(texts.empty());
}

TEST_F(ArcThrough2Points, TwoCirclesThroughBothPoints)
{
    TDArc a1, a2;
    EXPECT_EQ(arc_through_2_points({0, 0, 0}, {2, 0, 0}, 2, 0, 360, a1, a2), 0);
    EXPECT_NEAR(a1.Center.X, 1, 1e-12);
    EXPECT_NEAR(a1.Center.Y, std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(a2.Center.Y, -std::sqrt(3.0), 1e-12);
}

TEST_F(ArcThrough2Points, TooFarApartIsReportedAndLeavesBothArcs)
{
    TDArc a1 = kUntouched, a2 = kUntouched;
    EXPECT_EQ(arc_through_2_points({0, 0, 0}, {2, 0, 0}, 0.9, 0, 360, a1, a2), -1);
    expect_untouched(a1);
    expect_untouched(a2);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Points Too Far Apart to Fit Arc");
}

// Points up to 0.0001 beyond 2r still fit: whichever way the points lie, both
// arcs are centred halfway between them (the circles about the points miss
// each other by a hair, and that miss is reported).
TEST_F(ArcThrough2Points, NearlyTouchingCirclesShareTheMidpoint)
{
    for (const TDPoint p2 : {TDPoint{2.00005, 0, 0}, TDPoint{0, 2.00005, 0}}) {
        TDArc a1 = kUntouched, a2 = kUntouched;
        texts.clear();
        EXPECT_EQ(arc_through_2_points({0, 0, 0}, p2, 1, 0, 360, a1, a2), 0);
        EXPECT_NEAR(a1.Center.X, p2.X / 2, 1e-12);
        EXPECT_NEAR(a1.Center.Y, p2.Y / 2, 1e-12);
        EXPECT_NEAR(a2.Center.X, p2.X / 2, 1e-12);
        EXPECT_NEAR(a2.Center.Y, p2.Y / 2, 1e-12);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0], "ARC DOES NOT INTERSECT");
    }
}

TEST_F(ArcThrough2Points, ASinkThatObjectsTurnsAFailedCrossingIntoMinusOne)
{
    TDArc a1 = kUntouched, a2 = kUntouched;
    answer = 1;
    EXPECT_EQ(arc_through_2_points({1, 1, 0}, {1, 1, 0}, 1, 0, 360, a1, a2), -1);
    expect_untouched(a1);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "CONCENTRIC CIRCLES");
}

struct ThreePointCase {
    const char* name;
    TDPoint p1, p2, p3;
    int code;
    double cx, cy, r;
};

class Arc3Points : public ::testing::TestWithParam<ThreePointCase> {};

TEST_P(Arc3Points, MatchesTable)
{
    const ThreePointCase& c = GetParam();
    TDArc arc = kUntouched;
    EXPECT_EQ(arc_3_points(c.p1, c.p2, c.p3, 30, 60, arc), c.code);
    if (c.code == 0) {
        EXPECT_NEAR(arc.Center.X, c.cx, 1e-9);
        EXPECT_NEAR(arc.Center.Y, c.cy, 1e-9);
        EXPECT_EQ(arc.Center.Z, 0);
        EXPECT_NEAR(arc.Radius, c.r, 1e-9);
        EXPECT_EQ(arc.StartAngle, 30);
        EXPECT_EQ(arc.EndAngle, 60);
    } else {
        expect_untouched(arc);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tangro, Arc3Points,
    ::testing::Values(ThreePointCase{"unit_circle", {1, 0, 4}, {0, 1, 4}, {-1, 0, 4}, 0, 0, 0, 1},
                      ThreePointCase{"collinear", {0, 0, 0}, {1, 1, 0}, {2, 2, 0}, 908, 0, 0, 0},
                      ThreePointCase{"collinear_first_in_middle", {1, 1, 0}, {0, 0, 0}, {2, 2, 0}, 908, 0, 0, 0},
                      ThreePointCase{"vertical_collinear", {0, 0, 0}, {0, 1, 0}, {0, 5, 0}, 908, 0, 0, 0},
                      ThreePointCase{"first_two_equal", {0, 0, 0}, {0, 0, 7}, {2, 0, 0}, 0, 1, 0, 1},
                      ThreePointCase{"first_and_third_equal", {0, 0, 0}, {4, 0, 0}, {0, 0, 0}, 0, 2, 0, 2},
                      ThreePointCase{"last_two_equal", {0, 0, 0}, {0, 6, 0}, {0, 6, 0}, 0, 0, 3, 3},
                      ThreePointCase{"all_equal", {2, 3, 0}, {2, 3, 0}, {2, 3, 0}, 0, 2, 3, 0},
                      ThreePointCase{
                          "near_1e7", {1e7 + 1, 1e7, 0}, {1e7, 1e7 + 1, 0}, {1e7 - 1, 1e7, 0}, 0, 1e7, 1e7, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- given radius through a point

TEST(TangroArcsThroughPoint, TangentToALine)
{
    const TDLine xaxis{{0, 0, 0}, {1, 0, 0}};
    TDArc arc = kUntouched;
    EXPECT_EQ(arc_tangent_line_point(xaxis, {5, 1, 0}, {0, 1, 0}, 1, 0, 90, arc), 0);
    EXPECT_NEAR(arc.Center.X, 1, 1e-4);
    EXPECT_NEAR(arc.Center.Y, 1, 1e-6);
    EXPECT_EQ(arc.Center.Z, 0);
    EXPECT_EQ(arc.Radius, 1);
    EXPECT_EQ(arc.EndAngle, 90);
    EXPECT_EQ(arc_tangent_line_point(xaxis, {-5, 1, 0}, {0, 1, 0}, 1, 0, 90, arc), 0);
    EXPECT_NEAR(arc.Center.X, -1, 1e-4);

    arc = kUntouched;
    EXPECT_EQ(arc_tangent_line_point(xaxis, {5, 1, 0}, {0, 3, 0}, 1, 0, 90, arc), CALC_ARC_NO_INTERSECT);
    expect_untouched(arc);
}

// Property: the arc touches the line and passes through the point.
TEST(TangroArcsThroughPoint, TangentToALineProperty)
{
    std::mt19937 rng(5150);
    std::uniform_real_distribution<double> coord(-50, 50), unit(0, 1);
    int checked = 0;
    for (int i = 0; i < 400; ++i) {
        const TDLine line{{coord(rng), coord(rng), 0}, {coord(rng), coord(rng), 0}};
        if (std::fabs(line.P2.X - line.P1.X) < 5)
            continue;
        const TDPoint through{coord(rng), coord(rng), 0};
        const double h = line_distance(line, through.X, through.Y);
        if (h < 0.5)
            continue;
        const double r = h / 2 * (1.05 + 3 * unit(rng));
        TDArc arc;
        ASSERT_EQ(arc_tangent_line_point(line, {coord(rng), coord(rng), 0}, through, r, 0, 360, arc), 0);
        EXPECT_NEAR(line_distance(line, arc.Center.X, arc.Center.Y), r, 1e-3) << i;
        EXPECT_NEAR(plane(arc.Center, through), r, 1e-3) << i;
        ++checked;
    }
    EXPECT_GT(checked, 200);
}

TEST(TangroArcsThroughPoint, TangentToACircle)
{
    // Through a point outside: outside contact, the pick chooses the side.
    TDArc arc;
    EXPECT_EQ(arc_tangent_arc_point(circle(0, 0, 2, 6), {3, 5, 0}, {4, 0, 0}, 1.5, 0, 360, arc), 0);
    EXPECT_NEAR(arc.Center.X, 3.25, 1e-9);
    EXPECT_NEAR(arc.Center.Y, std::sqrt(12.25 - 3.25 * 3.25), 1e-9);
    EXPECT_EQ(arc.Center.Z, 6);
    EXPECT_EQ(arc_tangent_arc_point(circle(0, 0, 2), {3, -5, 0}, {4, 0, 0}, 1.5, 0, 360, arc), 0);
    EXPECT_LT(arc.Center.Y, 0);

    // Through a point inside: inside contact.
    EXPECT_EQ(arc_tangent_arc_point(circle(0, 0, 5), {0, 5, 0}, {2, 0, 0}, 2, 0, 360, arc), 0);
    EXPECT_NEAR(std::hypot(arc.Center.X, arc.Center.Y), 3, 1e-9);
    EXPECT_NEAR(plane(arc.Center, {2, 0, 0}), 2, 1e-9);

    // Through a point on the circle: the pick decides inside or outside.
    EXPECT_EQ(arc_tangent_arc_point(circle(0, 0, 2), {5, 1, 0}, {2, 0, 0}, 1, 0, 360, arc), 0);
    EXPECT_NEAR(std::hypot(arc.Center.X, arc.Center.Y), 3, 1e-3);
    EXPECT_EQ(arc_tangent_arc_point(circle(0, 0, 2), {0.5, 0.1, 0}, {2, 0, 0}, 1, 0, 360, arc), 0);
    EXPECT_NEAR(std::hypot(arc.Center.X, arc.Center.Y), 1, 1e-3);
}

TEST(TangroArcsThroughPoint, ByElementType)
{
    TElements list;
    const TDLine xaxis{{0, 0, 0}, {1, 0, 0}};
    TDArc arc;
    EXPECT_EQ(arc_tangent_element_point(line_element(list, xaxis), {5, 1, 0}, {0, 1, 0}, 1, 0, 90, arc), 0);
    EXPECT_NEAR(arc.Center.X, 1, 1e-4);
    EXPECT_EQ(arc_tangent_element_point(line_element(list, xaxis), {5, 1, 0}, {0, 3, 0}, 1, 0, 90, arc),
              CALC_ARC_NO_INTERSECT);

    TElement& given = list.Add();
    given.SetEtype(etArc);
    given.SetCoord(4, 2);
    given.SetCoord(5, 45); // the sweep plays no part
    given.SetCoord(6, 50);
    EXPECT_EQ(arc_tangent_element_point(given, {3, 5, 0}, {4, 0, 0}, 1.5, 0, 360, arc), 0);
    EXPECT_NEAR(arc.Center.X, 3.25, 1e-9);

    arc = kUntouched;
    EXPECT_EQ(arc_tangent_element_point(line_element(list, xaxis, etPoint), {5, 1, 0}, {0, 1, 0}, 1, 0, 90, arc), -1);
    expect_untouched(arc);
}

// ---------------------------------------------------------------- fillets

TEST(TangroFillets, TwoLines)
{
    const TDLine xaxis{{0, 0, 0}, {1, 0, 0}}, yaxis{{0, 0, 0}, {0, 1, 0}};
    TDArc arc = kUntouched;
    EXPECT_EQ(arc_tangent_2_lines(xaxis, yaxis, 1, 0, 90, {0.5, 0.5, 0}, {0.5, 0.5, 0}, arc), 0);
    EXPECT_NEAR(arc.Center.X, 1, 1.5e-6);
    EXPECT_NEAR(arc.Center.Y, 1, 1.5e-6);
    EXPECT_EQ(arc.Center.Z, 0);
    EXPECT_EQ(arc.Radius, 1);
    EXPECT_EQ(arc_tangent_2_lines(xaxis, yaxis, 1, 0, 90, {-0.5, 0.5, 0}, {-0.5, 0.5, 0}, arc), 0);
    EXPECT_NEAR(arc.Center.X, -1, 1.5e-6);
    EXPECT_NEAR(arc.Center.Y, 1, 1.5e-6);

    // Parallel lines: 902; radius and angles are already written, the centre is not.
    arc = kUntouched;
    EXPECT_EQ(arc_tangent_2_lines(xaxis, {{0, 3, 0}, {1, 3, 0}}, 2, 10, 20, {0, 1, 0}, {0, 1, 0}, arc),
              CALC_PARALLEL_LINES);
    EXPECT_EQ(arc.Center.X, -9);
    EXPECT_EQ(arc.Center.Z, -9);
    EXPECT_EQ(arc.Radius, 2);
    EXPECT_EQ(arc.StartAngle, 10);
    EXPECT_EQ(arc.EndAngle, 20);
}

// Property: a fillet's centre lies r from both lines, and its touch points
// lie on both the lines and the circle.
TEST(TangroFillets, TwoLinesProperty)
{
    std::mt19937 rng(8086);
    std::uniform_real_distribution<double> coord(-50, 50), radius(0.5, 10), angle(0, 360);
    int checked = 0;
    for (int i = 0; i < 400; ++i) {
        const TDPoint corner{coord(rng), coord(rng), 0};
        const double a1 = angle(rng), a2 = angle(rng);
        const double between = std::fabs(std::remainder(a1 - a2, 180.0));
        if (between < 15)
            continue;
        TDLine l1, l2;
        line_point_angle(corner, a1, 20, l1);
        line_point_angle(corner, a2, 20, l2);
        if (std::fabs(l1.P1.X - l1.P2.X) < 1 || std::fabs(l2.P1.X - l2.P2.X) < 1)
            continue;
        // Pick points inside the angle between the two rays.
        const TDPoint pick{(l1.P2.X + l2.P2.X) / 2, (l1.P2.Y + l2.P2.Y) / 2, 0};
        const double r = radius(rng);
        TDArc arc;
        ASSERT_EQ(arc_tangent_2_lines(l1, l2, r, 0, 360, pick, pick, arc), 0);
        EXPECT_NEAR(line_distance(l1, arc.Center.X, arc.Center.Y), r, 1e-4) << i;
        EXPECT_NEAR(line_distance(l2, arc.Center.X, arc.Center.Y), r, 1e-4) << i;
        for (const TDLine* l : {&l1, &l2}) {
            TDPoint touch;
            get_closest_point_line(*l, arc.Center, touch);
            EXPECT_NEAR(plane(touch, arc.Center), r, 1e-4) << i;
            EXPECT_NEAR(line_distance(*l, touch.X, touch.Y), 0, 1e-4) << i;
        }
        ++checked;
    }
    EXPECT_GT(checked, 200);
}

TEST(TangroFillets, LineAndCircle)
{
    const TDLine xaxis{{0, 0, 0}, {10, 0, 0}};
    TDArc arc = kUntouched;
    // Outside contact: the centre is 1 above the line and 2 from the given centre.
    EXPECT_EQ(arc_tangent_line_arc(xaxis, circle(5, 2.5, 1), 1, 0, 180, {3, 1, 0}, {5, 5, 0}, arc), 0);
    EXPECT_NEAR(arc.Center.X, 5 - std::sqrt(4 - 2.25), 1e-4);
    EXPECT_NEAR(arc.Center.Y, 1, 1e-4);
    EXPECT_EQ(arc.Center.Z, -9); // the centre's Z is not written
    EXPECT_EQ(arc.Radius, 1);
    EXPECT_EQ(arc_tangent_line_arc(xaxis, circle(5, 2.5, 1), 1, 0, 180, {7, 1, 0}, {5, 5, 0}, arc), 0);
    EXPECT_NEAR(arc.Center.X, 5 + std::sqrt(4 - 2.25), 1e-4);

    // Inside contact when pick2 lies within the given circle.
    EXPECT_EQ(arc_tangent_line_arc(xaxis, circle(5, 3, 4), 1, 0, 180, {3, 1, 0}, {5, 3, 0}, arc), 0);
    EXPECT_NEAR(arc.Center.Y, 1, 1e-4);
    EXPECT_NEAR(std::hypot(arc.Center.X - 5, arc.Center.Y - 3), 3, 1e-4);
}

TEST(TangroFillets, TwoCirclesTakeTheFirstCrossingFromOutside)
{
    TDArc arc = kUntouched;
    EXPECT_EQ(arc_tangent_2_arcs(circle(0, 0, 1, 2), circle(4, 0, 1), 2, 0, 360, {0, -5, 0}, {4, -5, 0}, arc), 0);
    EXPECT_NEAR(arc.Center.X, 2, 1e-12);
    EXPECT_NEAR(arc.Center.Y, std::sqrt(5.0), 1e-12); // the picks below play no part
    EXPECT_EQ(arc.Center.Z, 2);
    EXPECT_EQ(arc.Radius, 2);
}

// ---------------------------------------------------------------- three lines

TEST(TangroThreeLines, InscribedCircleOfATriangle)
{
    TDArc arc = kUntouched;
    EXPECT_EQ(
        arc_tan_3_lines({{0, 0, 0}, {0, 1, 0}}, {{0, 0, 0}, {1, 0, 0}}, {{2, 0, 0}, {0, 2, 0}}, {9, 9, 0}, 0, 360, arc),
        0);
    const double expected = 2 - std::sqrt(2.0);
    EXPECT_NEAR(arc.Center.X, expected, 1e-5);
    EXPECT_NEAR(arc.Center.Y, expected, 1e-5);
    EXPECT_NEAR(arc.Radius, expected, 1e-5);
    EXPECT_EQ(arc.Center.Z, 0);
}

struct ParallelCase {
    const char* name;
    TDLine l1, l2, l3;
    int code;
};

class ThreeLinesParallel : public ::testing::TestWithParam<ParallelCase> {};

TEST_P(ThreeLinesParallel, MatchesTable)
{
    const ParallelCase& c = GetParam();
    TDArc arc = kUntouched;
    EXPECT_EQ(arc_tan_3_lines(c.l1, c.l2, c.l3, {1, 1, 0}, 0, 360, arc), c.code);
    if (c.code == 0) {
        EXPECT_NEAR(arc.Center.X, 1, 1e-5);
        EXPECT_NEAR(arc.Center.Y, 1, 1e-5);
        EXPECT_NEAR(arc.Radius, 1, 1e-5);
    } else {
        expect_untouched(arc);
    }
}

const TDLine kBottom{{0, 0, 0}, {5, 0, 0}}, kTop{{0, 2, 0}, {5, 2, 0}}, kLeft{{0, 0, 0}, {0, 5, 0}},
    kRight{{2, 0, 0}, {2, 5, 0}};

INSTANTIATE_TEST_SUITE_P(Tangro, ThreeLinesParallel,
                         ::testing::Values(ParallelCase{"pair_1_2", kBottom, kTop, kLeft, 0},
                                           ParallelCase{"pair_1_3", kBottom, kLeft, kTop, 0},
                                           ParallelCase{"pair_2_3", kLeft, kBottom, kTop, 0},
                                           ParallelCase{"two_pairs", kBottom, kTop, kBottom, -1},
                                           ParallelCase{"all_three", kBottom, kTop, {{0, 4, 0}, {1, 4, 0}}, -1},
                                           ParallelCase{"vertical_pair", kLeft, kRight, kBottom, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// Property: the circle inscribed in a random triangle touches all three lines.
TEST(TangroThreeLines, InscribedCircleTouchesAllThree)
{
    std::mt19937 rng(2718);
    std::uniform_real_distribution<double> coord(-30, 30);
    int checked = 0;
    for (int i = 0; i < 400; ++i) {
        const TDPoint a{coord(rng), coord(rng), 0}, b{coord(rng), coord(rng), 0}, c{coord(rng), coord(rng), 0};
        const double area2 = std::fabs((b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y));
        const double longest = std::fmax(plane(a, b), std::fmax(plane(b, c), plane(c, a)));
        if (area2 < 0.2 * longest * longest) // skip slivers
            continue;
        const TDLine l1{a, b}, l2{b, c}, l3{c, a};
        if (std::fabs(a.X - b.X) < 1 || std::fabs(b.X - c.X) < 1 || std::fabs(c.X - a.X) < 1)
            continue;
        TDArc arc;
        ASSERT_EQ(arc_tan_3_lines(l1, l2, l3, {0, 0, 0}, 0, 360, arc), 0);
        const double perimeter = plane(a, b) + plane(b, c) + plane(c, a);
        EXPECT_NEAR(arc.Radius, area2 / perimeter, 1e-4) << i;
        for (const TDLine* l : {&l1, &l2, &l3})
            EXPECT_NEAR(line_distance(*l, arc.Center.X, arc.Center.Y), arc.Radius, 1e-4) << i;
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

// ---------------------------------------------------------------- two points and a line

TEST(TangroTwoPointsLine, CircleThroughTwoPointsTouchingALine)
{
    TElements list;
    // A chord parallel to the line: the circle touches below its middle.
    TDArc arc = kUntouched;
    EXPECT_EQ(arc_tan_2_points_element({0, 1, 0}, {2, 1, 0}, line_element(list, {{0, 0, 0}, {10, 0, 0}}), 5, 6, 7, arc),
              0);
    EXPECT_NEAR(arc.Center.X, 1, 1e-4);
    EXPECT_NEAR(arc.Center.Y, 1, 1e-4);
    EXPECT_NEAR(arc.Radius, 1, 1e-4);
    EXPECT_EQ(arc.StartAngle, 0);
    EXPECT_EQ(arc.EndAngle, 360);

    // A chord meeting the line at the origin: the touch point nearer to p1.
    EXPECT_EQ(arc_tan_2_points_element({1, 1, 0}, {3, 3, 0}, line_element(list, {{0, 0, 0}, {10, 0, 0}}), 0, 0, 0, arc),
              0);
    const double t = std::sqrt(6.0);
    EXPECT_NEAR(arc.Center.X, t, 1e-4);
    EXPECT_NEAR(arc.Radius, ((1 - t) * (1 - t) + 1) / 2, 1e-4);
    EXPECT_NEAR(arc.Center.Y, arc.Radius, 1e-4);

    // The element is read as a line whatever its type.
    EXPECT_EQ(arc_tan_2_points_element({1, 1, 0}, {3, 3, 0}, line_element(list, {{0, 0, 0}, {10, 0, 0}}, etArc), 0, 0,
                                       0, arc),
              0);
    EXPECT_NEAR(arc.Center.X, t, 1e-4);
}

// Property: the circle passes through both points and touches the line.
TEST(TangroTwoPointsLine, CircleTouchesTheLineProperty)
{
    std::mt19937 rng(4242);
    std::uniform_real_distribution<double> coord(-40, 40), above(1, 30);
    TElements list;
    int checked = 0;
    for (int i = 0; i < 300; ++i) {
        const TDLine line{{coord(rng), coord(rng), 0}, {coord(rng), coord(rng), 0}};
        if (std::fabs(line.P2.X - line.P1.X) < 5)
            continue;
        diline il;
        make_iline(line, il);
        // Two points on the same side of the line, not on a parallel.
        auto off_line = [&](double along, double height) {
            const double dx = line.P2.X - line.P1.X, dy = line.P2.Y - line.P1.Y, len = std::hypot(dx, dy);
            return TDPoint{line.P1.X + along * dx / len + height * il.NormalX,
                           line.P1.Y + along * dy / len + height * il.NormalY, 0};
        };
        const TDPoint p1 = off_line(coord(rng), above(rng)), p2 = off_line(coord(rng), above(rng));
        if (plane(p1, p2) < 2 || std::fabs(line_distance(line, p1.X, p1.Y) - line_distance(line, p2.X, p2.Y)) < 0.5)
            continue;
        TDArc arc;
        ASSERT_EQ(arc_tan_2_points_element(p1, p2, line_element(list, line), 0, 0, 0, arc), 0);
        EXPECT_NEAR(plane(arc.Center, p1), arc.Radius, 1e-4 * arc.Radius) << i;
        EXPECT_NEAR(plane(arc.Center, p2), arc.Radius, 1e-4 * arc.Radius) << i;
        EXPECT_NEAR(line_distance(line, arc.Center.X, arc.Center.Y), arc.Radius, 1e-4 * arc.Radius) << i;
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

TEST(TangroTwoPointsLine, TangentLineTwoPointsConstructsNothing)
{
    TDArc arc = kUntouched;
    EXPECT_EQ(arc_tangent_line_2_points({{0, 0, 0}, {1, 0, 0}}, {0, 1, 0}, {2, 1, 0}, 0, 360, arc), -1);
    expect_untouched(arc);
}

} // namespace
