// The calculator's primitives, where they differ from the control's, and the
// reporting of result codes through the message sink.
#include <OrvexGDI/Ops.h>
#include <OrvexGDI/TangroGDIOps.h>

#include "geometry_records.h"
#include "message_sink_test.h"
#include "record_printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

using namespace orvex;
using namespace orvex::TangroGDIOps;

using namespace orvex::testing_geometry;

namespace {

using SinkTest = MessageSinkTest;

// ---------------------------------------------------------------- reporting

TEST_F(SinkTest, SuccessAndCode103AreNotReported)
{
    answer = 9;
    EXPECT_EQ(CHECK_ERROR2(0), 0);
    EXPECT_EQ(CHECK_ERROR2(103), 0);
    EXPECT_TRUE(texts.empty());
}

TEST_F(SinkTest, CodesReachTheSinkWithTheirTexts)
{
    struct {
        int code;
        const char* text;
    } cases[] = {
        {905, "RADIUS DOES NOT INTERSECT"},
        {902, "PARALLEL LINES"},
        {908, "3 POINTS ON SAME LINE"},
        {907, "CAN'T ALLOCATE MEMORY"},
        {2, "FILE NOT FOUND"},
        {6, "Library Requires Seperate Data Segments"},
        {32, "Sharing Violation"},
        {106, "INVALID NUMERIC FORMAT"},
        {162, "HARDWARE FAILURE"},
        {7, "I/O Error 7"},
        {901, "I/O Error 901"},
        {-1, "I/O Error -1"},
    };
    for (const auto& c : cases) {
        texts.clear();
        EXPECT_EQ(CHECK_ERROR2(c.code), 0) << c.code;
        ASSERT_EQ(texts.size(), 1u) << c.code;
        EXPECT_EQ(texts[0], c.text);
    }
}

TEST_F(SinkTest, TheSinksAnswerIsReturned)
{
    answer = 5;
    EXPECT_EQ(error_box2("x"), 5);
    EXPECT_EQ(CHECK_ERROR2(904), 5);
    EXPECT_EQ(CHECK_ERROR2(7), 5);
}

TEST(TangroReporting, DefaultSinkIsSilentAndAnswersZero)
{
    set_error_box2_sink({});
    EXPECT_EQ(error_box2("anything"), 0);
    EXPECT_EQ(CHECK_ERROR2(905), 0);
    EXPECT_EQ(calcerrstr[908], "3 POINTS ON SAME LINE");
}

// A sink answering more than 0 stops the closest-point search when the
// perpendicular cannot be formed (here: coordinates so large that a unit step
// is lost in rounding).
TEST_F(SinkTest, ClosestPointOnLineStopsWhenTheSinkObjects)
{
    const TDLine line{{0, 0, 0}, {1, 1, 0}};
    const TDPoint far{1e17, 3e17, 0};
    TDPoint out{4, 4, 4};
    answer = 1;
    get_closest_point_line(line, far, out);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "UNDEFINED LINE");
    EXPECT_EQ(out.X, 4);
    EXPECT_EQ(out.Y, 4);
    EXPECT_EQ(out.Z, 4);

    // With the silent answer the search goes on.
    answer = 0;
    texts.clear();
    get_closest_point_line(line, far, out);
    EXPECT_EQ(texts.size(), 1u);
    EXPECT_EQ(out.Z, 0);
}

// Each row is one difference the two families keep on purpose: the
// control's (Ops) and the calculator's answer on an input where they part.
using TwinFamilies = MessageSinkTest;

TEST_F(TwinFamilies, DifferOnPurpose)
{
    using Results = std::vector<double>;
    TElements list;
    const TElement& dotArc = add_element(list, etArc, {3, 4, 5, 0, 0, 90});
    // So far out that the unit step to the perpendicular is lost in rounding.
    const TDPoint far{1e17, 3e17, 0};
    struct {
        const char* difference;
        std::function<Results()> control, calculator;
        Results controlGives, calculatorGives;
        double tolerance;
    } rows[] = {
        {"degrees per radian: direction of (1, 1)",
         [] { return Results{Ops::get_angle_degrees(0, 0, 1, 1)}; },
         [] { return Results{get_angle_degrees(0, 0, 1, 1)}; },
         {45},
         {45 * 57.29577951 / (180 / std::numbers::pi)},
         1e-10},
        {"degrees per radian: point at 90 degrees on a radius of 1e6",
         [] {
             dpoint p;
             Ops::point_arc_angle({{0, 0, 0}, 1e6, 0, 0}, 90, p);
             return Results{p.X};
         },
         [] {
             TDPoint p;
             point_arc_angle({{0, 0, 0}, 1e6, 0, 0}, 90, p);
             return Results{p.X};
         },
         {1e6 * std::cos(90 / 57.2957795131)},
         {1e6 * std::cos(90 / 57.29577951)},
         1e-9},
        {"zero radius: point_arc_angle gives the centre or the origin and 1",
         [] {
             dpoint p{9, 9, 9};
             const int code = Ops::point_arc_angle({{3, 4, 5}, 0, 0, 90}, 30, p);
             return Results{double(code), p.X, p.Y, p.Z};
         },
         [] {
             TDPoint p{9, 9, 9};
             const int code = point_arc_angle({{3, 4, 5}, 0, 0, 90}, 30, p);
             return Results{double(code), p.X, p.Y, p.Z};
         },
         {0, 3, 4, 5},
         {1, 0, 0, 0},
         0},
        {"zero radius: arc end points are the centre or left untouched",
         [&] {
             double xs = 7, ys = 7, xe = 7, ye = 7;
             Ops::get_arc_end_points(dotArc, xs, ys, xe, ye);
             return Results{xs, ys, xe, ye};
         },
         [&] {
             double xs = 7, ys = 7, xe = 7, ye = 7;
             get_arc_end_points(dotArc, xs, ys, xe, ye);
             return Results{xs, ys, xe, ye};
         },
         {3, 4, 3, 4},
         {7, 7, 7, 7},
         0},
        {"zero radius: middle of the arc",
         [&] {
             double x = 1, y = 1, z = 1;
             Ops::mid_arc(dotArc, x, y, z);
             return Results{x, y, z};
         },
         [&] {
             double x = 1, y = 1, z = 1;
             mid_arc(dotArc, x, y, z);
             return Results{x, y, z};
         },
         {3, 4, 5},
         {0, 0, 5},
         0},
        {"zero radius: closest point of the circle",
         [] {
             dpoint out;
             Ops::get_closest_point_arc({{3, 4, 5}, 0, 0, 0}, {9, 9, 0}, out);
             return Results{out.X, out.Y, out.Z};
         },
         [] {
             TDPoint out;
             get_closest_point_arc({{3, 4, 5}, 0, 0, 0}, {9, 9, 0}, out);
             return Results{out.X, out.Y, out.Z};
         },
         {3, 4, 5},
         {0, 0, 5},
         0},
        {"closest point on a line: a lost perpendicular stops silently or is reported and passed",
         [&] {
             dpoint out{4, 4, 4};
             Ops::get_closest_point_line({{0, 0, 0}, {1, 1, 0}}, to_dpoint(far), out);
             return Results{out.X, out.Y, out.Z, double(texts.size())};
         },
         [&] {
             TDPoint out{4, 4, 4};
             get_closest_point_line({{0, 0, 0}, {1, 1, 0}}, far, out);
             return Results{out.X, out.Y, out.Z, double(texts.size())};
         },
         {4, 4, 4, 0},
         {3e17, 3e17, 0, 1},
         0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.difference);
        texts.clear();
        const Results control = row.control();
        texts.clear();
        const Results calculator = row.calculator();
        EXPECT_NE(control, calculator);
        ASSERT_EQ(control.size(), row.controlGives.size());
        ASSERT_EQ(calculator.size(), row.calculatorGives.size());
        for (std::size_t i = 0; i < control.size(); ++i) {
            EXPECT_NEAR(control[i], row.controlGives[i], row.tolerance) << "control, value " << i;
            EXPECT_NEAR(calculator[i], row.calculatorGives[i], row.tolerance) << "calculator, value " << i;
        }
    }
}

// ---------------------------------------------------------------- primitives

const double kTangroAxisEps = std::atan(1e-7) * 57.29577951;

TEST(TangroAngles, DirectionsInDegreesAndRadians)
{
    struct {
        double x1, y1, x2, y2, degrees;
    } cases[] = {
        {0, 0, 1, 1, 45},
        {0, 0, -1, 1, 135},
        {0, 0, -1, -1, 225},
        {0, 0, 1, -1, 315},
        {2, 3, 2, 3, 0},
        {0, 0, 1, 0, 360 - kTangroAxisEps},
        {0, 0, 0, 1, 90 + kTangroAxisEps},
        {0, 0, -1, 0, 180 + kTangroAxisEps},
        {0, 0, 0, -1, 270 - kTangroAxisEps},
    };
    for (const auto& c : cases) {
        // The short constant puts 45 degrees at 44.9999999976.
        EXPECT_NEAR(get_angle_degrees(c.x1, c.y1, c.x2, c.y2), c.degrees, 1e-8);
        EXPECT_NEAR(get_angle_radians(c.x1, c.y1, c.x2, c.y2), c.degrees / 57.29577951, 1e-9);
        EXPECT_NEAR(get_angle_2_points({c.x1, c.y1, 0}, {c.x2, c.y2, 0}), c.degrees, 1e-8);
        EXPECT_NEAR(get_angle_line({{c.x1, c.y1, 0}, {c.x2, c.y2, 0}}), c.degrees, 1e-8);
    }
    // The two families differ in their constant.
    EXPECT_LT(get_angle_degrees(0, 0, 1, 1), Ops::get_angle_degrees(0, 0, 1, 1) - 1e-9);
}

TEST(TangroAngles, AngleOfLineIsExactOnTheAxes)
{
    struct {
        double x1, y1, x2, y2, angle;
    } cases[] = {
        {0, 0, 1, 1, 45},   {1, 1, 0, 0, 225}, {0, 0, 1, 0, 0},    {0, 0, -1, 0, 180}, {0, 0, 0, 1, 90},
        {0, 0, 0, -1, 270}, {2, 2, 2, 2, 0},   {0, 0, -1, 1, 135}, {0, 0, 1, -1, 315},
    };
    TElements list;
    for (const auto& c : cases) {
        const TElement& line = add_element(list, etLine, {c.x1, c.y1, 0, c.x2, c.y2, 0});
        EXPECT_NEAR(angle_of_line(line), c.angle, 1e-8) << c.x2 << "," << c.y2;
    }
}

TEST(TangroArcs, SweepLengthAndFixAngle)
{
    EXPECT_NEAR(get_arc_length(2, 0, 90, 3), std::numbers::pi, 1e-12);
    EXPECT_NEAR(get_arc_length(-2, 0, 90, 3), std::numbers::pi, 1e-12);
    EXPECT_NEAR(get_arc_length(1, 5, 5, 3), 2 * std::numbers::pi, 1e-12);
    EXPECT_EQ(get_arc_length(1, 0, 90, 1), 0);
    EXPECT_EQ(get_arc_angle(350, 10, 3), 20);
    EXPECT_EQ(get_arc_angle(10, 350, 2), 20);
    EXPECT_EQ(fix_angle(1085), 365);
    EXPECT_EQ(fix_angle(-30), 330);
}

// The zero-radius rules that set this family apart from the control's.
TEST(TangroArcs, ZeroRadiusRules)
{
    const TDArc dot{{3, 4, 5}, 0, 0, 90};
    TDPoint p{9, 9, 9};
    EXPECT_NE(point_arc_angle(dot, 30, p), 0);
    EXPECT_EQ(p.X, 0);
    EXPECT_EQ(p.Y, 0);
    EXPECT_EQ(p.Z, 0);

    double xs = 7, ys = 7, xe = 7, ye = 7;
    EXPECT_EQ(get_arc_end_points_arc(dot, xs, ys, xe, ye), 0);
    EXPECT_EQ(xs, 7);
    EXPECT_EQ(ye, 7);

    TElements list;
    const TElement& element = add_element(list, etArc, {3, 4, 5, 0, 0, 90});
    EXPECT_EQ(get_arc_end_points(element, xs, ys, xe, ye), 0);
    EXPECT_EQ(xe, 7);
    double x = 1, y = 1, z = 1;
    mid_arc(element, x, y, z);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 5);
}

TEST(TangroArcs, PointsOnArcs)
{
    TElements list;
    const TElement& element = add_element(list, etArc, {1, 1, 2, 2, 90, 180});
    double xs = 0, ys = 0, xe = 0, ye = 0;
    EXPECT_EQ(get_arc_end_points(element, xs, ys, xe, ye), 1);
    EXPECT_NEAR(xs, 1, 1e-9);
    EXPECT_NEAR(ys, 3, 1e-12);
    EXPECT_NEAR(xe, -1, 1e-12);
    EXPECT_NEAR(ye, 1, 1e-9);

    double x = 0, y = 0, z = 0;
    mid_arc(element, x, y, z);
    EXPECT_NEAR(x, 1 - std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(y, 1 + std::sqrt(2.0), 1e-9);
    EXPECT_EQ(z, 2);

    TDPoint c{0, 0, 8};
    EXPECT_EQ(point_center_arc({{6, 7, 9}, 1, 0, 0}, c), 0);
    EXPECT_EQ(c.X, 6);
    EXPECT_EQ(c.Y, 7);
    EXPECT_EQ(c.Z, 8); // Z is not written
}

TEST(TangroDistances, PlaneSpaceAndMidpoints)
{
    EXPECT_DOUBLE_EQ(_distance(0, 0, 3, 4), 5);
    EXPECT_DOUBLE_EQ(distance_2_points({0, 0, 9}, {3, 4, 0}), 5);
    EXPECT_DOUBLE_EQ(distance_3d({0, 0, 0}, {2, 3, 6}), 7);
    EXPECT_DOUBLE_EQ(get_length_of_line({{1, 1, 1}, {3, 4, 7}}), 7);
    EXPECT_EQ(distance_3d({1, 1, 1}, {1, 1, 1}), 0);
    const TDPoint m = midPoint_2_points({0, 0, 0}, {2, 4, 6});
    EXPECT_EQ(m.X, 1);
    EXPECT_EQ(m.Y, 2);
    EXPECT_EQ(m.Z, 3);
    const TDPoint p = make_Point(1, 2, 3);
    EXPECT_EQ(p.Z, 3);
}

// Far points keep their true distance instead of folding to 0.
TEST(TangroDistances, FarPointsGiveTheTrueDistance)
{
    EXPECT_DOUBLE_EQ(_distance(0, 0, 100001, 0), 100001);
    EXPECT_DOUBLE_EQ(distance_2_points({0, 0, 0}, {0, 3e5, 0}), 3e5);
    // An arc about a far point gets the real radius.
    TDArc arc;
    arc_center_point({0, 0, 0}, {3e5, 4e5, 0}, 0, 360, arc);
    EXPECT_DOUBLE_EQ(arc.Radius, 5e5);
}

TEST(TangroLines, TwoPointsAndIntersection)
{
    TDLine line;
    EXPECT_EQ(line_2_points({1, 2, 0}, {1, 2, 5}, line), CALC_UNDEFINED_LINE);
    EXPECT_EQ(line.P2.Z, 5);
    TDPoint p{-1, -1, -1};
    EXPECT_EQ(point_inter_2_lines({{0, 0, 3}, {1, 1, 3}}, {{0, 1, 3}, {1, 0, 3}}, p), 0);
    EXPECT_NEAR(p.X, 0.5, 1e-12);
    EXPECT_NEAR(p.Y, 0.5, 1e-12);
    EXPECT_EQ(p.Z, 0);
    p = {-1, -1, -1};
    EXPECT_EQ(point_inter_2_lines({{0, 0, 0}, {1, 1, 0}}, {{0, 1, 0}, {2, 3, 0}}, p), CALC_PARALLEL_LINES);
    EXPECT_EQ(p.X, -1);
    EXPECT_EQ(p.Z, -1);
}

TEST(TangroClosest, LineCircleAndElement)
{
    TDPoint out;
    get_closest_point_line({{0, 0, 0}, {10, 0, 0}}, {3, 5, 2}, out);
    EXPECT_NEAR(out.X, 3.000005, 1e-9);
    EXPECT_NEAR(out.Y, 0, 1e-12);
    EXPECT_EQ(out.Z, 0);

    get_closest_point_arc({{0, 0, 1}, 2, 0, 0}, {4, 0, 0}, out);
    EXPECT_NEAR(out.X, 2, 1e-9);
    EXPECT_NEAR(out.Y, 0, 1e-7);
    EXPECT_EQ(out.Z, 1);

    TElements list;
    out = {5, 5, 5};
    EXPECT_EQ(get_closest_point(add_element(list, etEllipse, {0, 0, 0, 1, 1, 0}), {0, 0, 0}, out), 1);
    EXPECT_EQ(out.X, 5);
    EXPECT_EQ(get_closest_point(add_element(list, etPoint, {1, 2, 3}), {0, 0, 0}, out), 1);
    EXPECT_EQ(out.Z, 3);
}

TEST(TangroSides, SideFromPick)
{
    struct {
        TDLine line;
        TDPoint p;
        int side;
    } cases[] = {
        {{{0, 0, 0}, {10, 0, 0}}, {5, 1, 0}, 3},   {{{0, 0, 0}, {10, 0, 0}}, {5, -1, 0}, 4},
        {{{0, 0, 0}, {0, 10, 0}}, {1, 5, 0}, 1},   {{{0, 0, 0}, {0, 10, 0}}, {-1, 5, 0}, 2},
        {{{0, 0, 0}, {2, 10, 0}}, {-10, 0, 0}, 2}, {{{0, 0, 0}, {10, 0, 0}}, {5, 0, 0}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(get_side_from_pick(c.line, c.p), c.side) << c.p.X << "," << c.p.Y;
}

TEST(TangroSides, IntermediateAngleTable)
{
    struct {
        double angle;
        int side;
        double expected;
    } cases[] = {
        {0, 1, 270},  {45, 2, 135},  {90, 3, 180},  {90, 4, 360},  {135, 1, 45},  {180, 2, 270},
        {135, 3, 45}, {180, 4, 270}, {200, 1, 290}, {270, 2, 180}, {225, 3, 135}, {225, 4, 315},
        {300, 1, 30}, {360, 2, 270}, {315, 3, 45},  {315, 4, 225},
    };
    for (const auto& c : cases) {
        double result = -1;
        get_intermediate_angle(c.angle, c.side, result);
        EXPECT_EQ(result, c.expected) << c.angle << " side " << c.side;
    }
    for (auto [angle, side] : {std::pair{-1.0, 1}, {361.0, 2}, {10.0, 0}, {10.0, 5}}) {
        double result = -1;
        get_intermediate_angle(angle, side, result);
        EXPECT_EQ(result, -1) << angle << " side " << side;
    }
}

TEST(TangroMisc, WithinAndNumberTexts)
{
    EXPECT_TRUE(within(0.1, 1.0, 1.1 - 1e-12));
    EXPECT_TRUE(within(0, 2, 2));
    EXPECT_FALSE(within(0.1, 1.0, 1.2));
    EXPECT_EQ(str_real2(-0.25), "-.25");
    EXPECT_EQ(str_real2(100), "100.0");
    EXPECT_EQ(str_int2(-7), "-7");
}

} // namespace
