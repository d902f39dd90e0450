// Hit tests of the pick (points, lines, arcs in every view), the pick filter
// table and the origin shift of one element.
#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsEdit.h>
#include <OrvexGDI/OpsPick.h>
#include <OrvexGDI/OpsView.h>

#include "geometry_records.h"
#include "record_printers.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

using namespace orvex;
using namespace orvex::Ops;

using namespace orvex::testing_geometry;

namespace {

bool point_hit(int view, double x, double y, double z, double scale, double aperture, const TElement& e)
{
    double u = 0, v = 0, w = 0;
    return on_point(view, x, y, z, scale, aperture, e, u, v, w);
}

bool line_hit(int view, double x, double y, double z, const TElement& e, const ViewRows* rows = nullptr)
{
    double u = 0, v = 0, w = 0;
    return on_line(view, x, y, z, 10, 6, e, u, v, w, rows);
}

bool arc_at(const TElement& e, double degrees, double radius, int view = 1)
{
    dpoint near;
    double fx = 0, fy = 0;
    const double a = degrees / 57.2957795131;
    const double px = e.slot(0) + radius * std::cos(a), py = e.slot(1) + radius * std::sin(a);
    switch (view) {
    case 2:
        return arc_hit(2, px, 0, py, 10, 6, e, near, fx, fy);
    case 3:
        return arc_hit(3, 0, px, py, 10, 6, e, near, fx, fy);
    default:
        return arc_hit(view, px, py, 0, 10, 6, e, near, fx, fy);
    }
}

// The model point that the fixed isometric pixel mapping gives for the
// rotated view's plane point (u, w).
void isometric_model_point(double u, double w, double& x, double& y)
{
    double o1 = 0, o2 = 0, o3 = 0;
    get_3d_point(u, w, 0, o1, o2, o3);
    x = -o2;
    y = o1;
}

} // namespace

// ---------------------------------------------------------------- points

TEST(PickPointTest, ComparesTheViewsPlaneCoordinatesWithinTheAperture)
{
    TElements list;
    const TElement& p = add_element(list, etPoint, {0, 50, 0});
    // Top view: X and Y; 1.1 units at 10 px per unit is 11 px.
    EXPECT_TRUE(point_hit(1, 1.1, 50, 0, 10, 12, p));
    EXPECT_FALSE(point_hit(1, 1.3, 50, 0, 10, 12, p));
    // Front view: X and Z; the point's Y does not show.
    EXPECT_TRUE(point_hit(2, 0.5, 0, 0, 10, 12, p));
    EXPECT_FALSE(point_hit(2, 0, 0, 1.3, 10, 12, p));
    // Side view: Y and Z.
    EXPECT_TRUE(point_hit(3, 99, 50, 1.0, 10, 12, p));
    EXPECT_FALSE(point_hit(3, 0, 48, 0, 10, 12, p));
    // The rotated view never finds a point, even exactly on it.
    EXPECT_FALSE(point_hit(4, 0, 50, 0, 10, 12, p));
    // The aperture is a strict bound: exactly 2 px is no hit.
    EXPECT_FALSE(point_hit(1, 0.5, 50, 0, 4, 2, p));
    EXPECT_TRUE(point_hit(1, 0.4999, 50, 0, 4, 2, p));
}

// ---------------------------------------------------------------- lines

TEST(PickLineTest, HitWithinTheApertureOfTheLine)
{
    TElements list;
    const TElement& line = add_element(list, etLine, {-10, 0, 0, 10, 0, 0});
    EXPECT_TRUE(line_hit(1, 0, 0.5, 0, line));  // 5 px
    EXPECT_FALSE(line_hit(1, 0, 0.7, 0, line)); // 7 px
    EXPECT_TRUE(line_hit(1, 3, -0.55, 0, line));

    double u = 0, v = 0, w = 0;
    ASSERT_TRUE(on_line(1, 3, 0.4, 0, 10, 6, line, u, v, w));
    // The foot comes from the line's direction angle, good to about 1e-7.
    EXPECT_NEAR(u, 3, 1e-5);
    EXPECT_NEAR(v, 0, 1e-5);
}

TEST(PickLineTest, NotBeyondItsEnds)
{
    TElements list;
    const TElement& line = add_element(list, etLine, {-10, 0, 0, 10, 0, 0});
    // Close to the infinite line but outside the circle over the segment.
    EXPECT_FALSE(line_hit(1, 10.3, 0.1, 0, line));
    EXPECT_FALSE(line_hit(1, -10.2, 0, 0, line));
    EXPECT_TRUE(line_hit(1, 9.9, 0.1, 0, line));
    // A slanted line: its end circle is round, not a box.
    const TElement& slant = add_element(list, etLine, {0, 0, 0, 10, 10, 0});
    EXPECT_TRUE(line_hit(1, 5.3, 5, 0, slant));
    EXPECT_FALSE(line_hit(1, 10.3, 10.3, 0, slant));
}

TEST(PickLineTest, FrontAndSideViewsProjectOntoTheirPlanes)
{
    TElements list;
    // Runs along X at Z = 2, with Y changing: the front view shows it flat.
    const TElement& line = add_element(list, etLine, {0, -40, 2, 10, 40, 2});
    EXPECT_TRUE(line_hit(2, 5, 0, 2.3, line));
    EXPECT_FALSE(line_hit(2, 5, 0, 2.8, line));
    // Side view: Y and Z; the line runs from y -40 to 40 at z 2.
    EXPECT_TRUE(line_hit(3, 0, 30, 1.6, line));
    EXPECT_FALSE(line_hit(3, 0, 30, 1.2, line));
}

TEST(PickLineTest, RotatedViewTestsWhereTheRotationDrawsTheLine)
{
    TElements list;
    const TElement& line = add_element(list, etLine, {0, 0, 0, 10, 0, 0});
    // Without the rotation there is nothing to compare with.
    double x = 0, y = 0;
    isometric_model_point(5, 0.3, x, y);
    EXPECT_FALSE(line_hit(4, x, y, 0, line));

    // A plain rotation showing (x, y) as (u, w).
    const ViewRows flat{1, 0, 0, 0, 1, 0};
    EXPECT_TRUE(line_hit(4, x, y, 0, line, &flat));
    isometric_model_point(5, 0.7, x, y);
    EXPECT_FALSE(line_hit(4, x, y, 0, line, &flat));

    // A rotation that shows the line vertically (u = -y, w = x).
    const ViewRows turned{0, -1, 0, 1, 0, 0};
    isometric_model_point(0.3, 5, x, y);
    EXPECT_TRUE(line_hit(4, x, y, 0, line, &turned));
    isometric_model_point(5, 0.3, x, y);
    EXPECT_FALSE(line_hit(4, x, y, 0, line, &turned));
}

TEST(PickLineTest, IsometricViewPlaneInvertsTheFixedMapping)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coord(-1e4, 1e4);
    for (int i = 0; i < 200; ++i) {
        const double u = coord(random), w = coord(random);
        double x = 0, y = 0, u2 = 0, w2 = 0;
        isometric_model_point(u, w, x, y);
        isometric_view_plane(x, y, u2, w2);
        ASSERT_NEAR(u2, u, 1e-9 * std::max(1.0, std::abs(u)));
        ASSERT_NEAR(w2, w, 1e-9 * std::max(1.0, std::abs(w)));
    }
}

// ---------------------------------------------------------------- arcs

TEST(PickArcTest, SweepAndRadiusRules)
{
    struct Case {
        double start, end, degrees, radius;
        bool hit;
    };
    const Case cases[] = {
        {350, 10, 0, 5, true},    {350, 10, 5, 5, true},    {350, 10, 355, 5, true}, // through zero
        {350, 10, 180, 5, false}, {350, 10, 20, 5, false},                           //
        {40, 40, 180, 5, true},   {40, 40, 300, 5, true},                            // equal angles: full circle
        {-90, 0, 300, 5, true},   {-90, 0, 90, 5, false},                            // 270 .. 360
        {0, 180, 90, 5.5, true},  {0, 180, 90, 4.45, true},                          // 5 and 5.5 px off
        {0, 180, 90, 5.7, false}, {0, 180, 90, 0, false},                            // 7 px; the centre
    };
    TElements list;
    for (const Case& c : cases) {
        const TElement& arc = add_element(list, etArc, {0, 0, 0, 5, c.start, c.end});
        EXPECT_EQ(arc_at(arc, c.degrees, c.radius), c.hit)
            << c.start << ".." << c.end << " at " << c.degrees << " deg, r " << c.radius;
    }
}

TEST(PickArcTest, StandardViewsOnlyFindTheirOwnArcs)
{
    TElements list;
    const TElement& top = add_element(list, etArc, {0, 0, 0, 5, 0, 180}, 1);
    const TElement& front = add_element(list, etArc, {0, 0, 0, 5, 0, 180}, 2);
    EXPECT_TRUE(arc_at(top, 90, 5, 1));
    EXPECT_FALSE(arc_at(top, 90, 5, 2));
    EXPECT_TRUE(arc_at(front, 90, 5, 2));
    EXPECT_FALSE(arc_at(front, 90, 5, 3));
    EXPECT_FALSE(arc_at(front, 90, 5, 1));
    // The rotated view tests every arc in X and Y.
    EXPECT_TRUE(arc_at(front, 90, 5, 4));
    EXPECT_TRUE(arc_at(top, 90, 5, 4));
}

TEST(PickArcTest, NearEndIsTheNearerEnd)
{
    TElements list;
    const TElement& arc = add_element(list, etArc, {0, 0, 7, 10, 0, 90});
    dpoint near;
    double fx = 0, fy = 0;
    const double a80 = 80 / 57.2957795131, a10 = 10 / 57.2957795131;
    ASSERT_TRUE(arc_hit(1, 10 * std::cos(a80), 10 * std::sin(a80), 0, 10, 6, arc, near, fx, fy));
    EXPECT_NEAR(near.X, 0, 1e-9);
    EXPECT_NEAR(near.Y, 10, 1e-9);
    EXPECT_EQ(near.Z, 7); // the centre's Z
    EXPECT_NEAR(fx, 10, 1e-9);
    EXPECT_NEAR(fy, 0, 1e-9);

    ASSERT_TRUE(arc_hit(1, 10 * std::cos(a10), 10 * std::sin(a10), 0, 10, 6, arc, near, fx, fy));
    EXPECT_NEAR(near.X, 10, 1e-9);
    EXPECT_NEAR(near.Y, 0, 1e-9);
}

// ---------------------------------------------------------------- filter table

TEST(PickFilterTable, CodesAcceptTheirTypes)
{
    struct Row {
        int code;
        std::array<bool, 4> accepts; // point, line, arc, arrow
    };
    const Row rows[] = {
        {0, {true, true, true, true}},    {1, {true, false, false, false}}, {2, {false, true, false, false}},
        {3, {false, false, true, false}}, {10, {true, true, false, false}}, {11, {true, false, true, false}},
        {8, {false, true, true, false}},  {5, {true, true, true, true}}, // outside the table: every type
    };
    const int types[] = {etPoint, etLine, etArc, etArrow};
    for (const Row& row : rows)
        for (int t = 0; t < 4; ++t)
            EXPECT_EQ(pick_filter_accepts(row.code, types[t]), row.accepts[static_cast<std::size_t>(t)])
                << "code " << row.code << " type " << types[t];
}

// ---------------------------------------------------------------- origin shift

TEST(ShiftElementTest, SubtractsTheOffsetBySlotsOfEachType)
{
    struct Case {
        int type;
        std::array<double, 6> expected;
    };
    const Case cases[] = {
        {etPoint, {0, -1, 1, 4, 5, 6}},  {etArc, {0, -1, 1, 4, 5, 6}},     {etArrow, {0, -1, 1, 4, 5, 6}},
        {etLine, {0, -1, 1, 3, 2, 4}},   {etWitness, {0, -1, 1, 3, 2, 4}}, {5, {0, -1, 3, 4, 5, 6}},
        {etLeader, {0, -1, 2, 1, 5, 6}}, {etCircle, {1, 2, 3, 4, 5, 6}},   {etRectangle, {1, 2, 3, 4, 5, 6}},
        {etImage, {1, 2, 3, 4, 5, 6}},
    };
    TElements list;
    for (const Case& c : cases) {
        TElement& e = add_element(list, c.type, {1, 2, 3, 4, 5, 6});
        shift_element(e, 0, 1, 3, 2);
        for (int slot = 1; slot <= 6; ++slot)
            EXPECT_EQ(e.GetCoord(slot), c.expected[static_cast<std::size_t>(slot - 1)])
                << "type " << c.type << " slot " << slot;
    }
}

TEST(ShiftElementTest, OnlyModesZeroAndTwoAndOnlyLiveElements)
{
    TElements list;
    TElement& p = add_element(list, etPoint, {5, 0, 0});
    shift_element(p, 2, 1, 0, 0);
    EXPECT_EQ(p.GetCoord(1), 4);
    shift_element(p, 1, 1, 0, 0);
    shift_element(p, 3, 1, 0, 0);
    EXPECT_EQ(p.GetCoord(1), 4);
    p.SetDeleted(true);
    shift_element(p, 0, 1, 0, 0);
    EXPECT_EQ(p.GetCoord(1), 4);
}
