// Plane geometry of the drawing control: distances, directions, arcs, lines
// and closest points on the lower-case records.
//
// The calculator (tangro/primitives.cpp) has functions of the same names on
// the TD records. The steps both take alike live in ops/plane_primitives.h;
// these differences are on purpose, and each pair stays apart:
//
// - Degrees per radian: 57.2957795131 here, the calculator's shorter
//   57.29577951 there. Every direction and every point found at an angle
//   differs in the last digits (the direction of (1, 1) is 45 here,
//   44.9999999976 there); each family's results are made with its own
//   constant and must stay so.
// - A radius of exactly 0 in point_arc_angle: here the centre and result 0,
//   so a dot's points at any angle are the dot itself; the calculator gives
//   (0, 0, 0) and result 1. mid_arc and get_closest_point_arc follow from it:
//   here the centre, there X = Y = 0 with the centre's Z.
// - get_arc_end_points: here no result, and a zero radius gives the centre as
//   both ends; the calculator's answers 1, or 0 with the outputs untouched for
//   a zero radius.
// - Result codes in get_closest_point_line: here a perpendicular that cannot
//   be formed (903, coordinates so large that the unit step is lost) ends the
//   search silently with `out` untouched; the calculator hands every code to
//   its message sink (CHECK_ERROR2) and stops only when the sink answers above
//   0, so with its silent default it goes on and writes a point.
//
// Alike on both sides, not differences: the 1e-7 axis nudge of directions,
// and line intersection (the calculator's point_inter_2_lines runs this one
// on copied records, 1e-6 steep-slope substitute included).
#include <OrvexGDI/Ops.h>

#include "ops/plane_primitives.h"

#include <cmath>

namespace orvex::Ops {

namespace {
constexpr long double K = DegreesPerRadian;

// The control's rules for the shared steps: its own constant and functions,
// and result codes taken as they are.
struct Control {
    using Point = dpoint;
    using Line = dline;
    using Arc = darc;
    static double direction(double x1, double y1, double x2, double y2) { return get_angle_degrees(x1, y1, x2, y2); }
    static int point_on_arc(const darc& arc, double angle, dpoint& p) { return point_arc_angle(arc, angle, p); }
    static int intersect(const dline& l1, const dline& l2, dpoint& p) { return point_inter_2_lines(l1, l2, p); }
    static int report(int code) { return code; }
};
} // namespace

// ---------------------------------------------------------------- distances and midpoints

double distance(double x1, double y1, double x2, double y2) { return plane::distance(x1, y1, x2, y2); }

double distance_2_points(const dpoint& p1, const dpoint& p2) { return distance(p1.X, p1.Y, p2.X, p2.Y); }

void midpoint(double x1, double y1, double z1, double x2, double y2, double z2, dpoint& p)
{
    plane::midpoint(x1, y1, z1, x2, y2, z2, p);
}

dpoint midpoint_2_points(const dpoint& p1, const dpoint& p2)
{
    dpoint p;
    midpoint(p1.X, p1.Y, p1.Z, p2.X, p2.Y, p2.Z, p);
    return p;
}

// ---------------------------------------------------------------- elements as records

dline get_line_from_element(const TElement& element) { return plane::line_from_element<dline>(element); }

darc get_arc_from_element(const TElement& element) { return plane::arc_from_element<darc>(element); }

// ---------------------------------------------------------------- angles and arcs

double fix_angle(double angle) { return plane::fix_angle(angle); }

double get_angle_degrees(double x1, double y1, double x2, double y2)
{
    return fix_angle(plane::direction_degrees(x1, y1, x2, y2, K));
}

double get_arc_angle(double start, double end, int mode) { return plane::sweep(start, end, mode); }

int point_arc_angle(const darc& arc, double angle, dpoint& p)
{
    plane::point_at_angle(arc, angle, K, p);
    return 0;
}

void mid_arc(const TElement& element, double& x, double& y, double& z) { plane::mid_arc<Control>(element, x, y, z); }

void get_arc_end_points(const TElement& element, double& xs, double& ys, double& xe, double& ye)
{
    plane::arc_end_points<Control>(get_arc_from_element(element), xs, ys, xe, ye);
}

// ---------------------------------------------------------------- lines

int line_2_points(const dpoint& p1, const dpoint& p2, dline& line) { return plane::line_2_points(p1, p2, line); }

namespace {
// Slope and intercept of the line through two points; an x-difference
// smaller than 1e-6 counts as +1e-6, so a vertical line gets a steep slope.
void slope_intercept(const dline& line, double& m, double& b)
{
    double d = line.P1.X - line.P2.X;
    if (std::fabs(d) < 1e-6)
        d = 1e-6;
    m = (line.P1.Y - line.P2.Y) / d;
    b = line.P1.Y - m * line.P1.X;
}
} // namespace

int point_inter_2_lines(const dline& l1, const dline& l2, dpoint& p)
{
    double m1, b1, m2, b2;
    slope_intercept(l1, m1, b1);
    slope_intercept(l2, m2, b2);
    double dm = m1 - m2;
    if (dm == 0)
        return CALC_PARALLEL_LINES;
    if (std::fabs(dm) < 1e-6)
        dm = 1e-6;
    p.X = (b2 - b1) / dm;
    p.Y = m1 * p.X + b1;
    p.Z = 0;
    return CALC_OK;
}

// ---------------------------------------------------------------- closest points

void get_closest_point_line(const dline& line, const dpoint& p, dpoint& out)
{
    plane::closest_point_line<Control>(line, p, out);
}

void get_closest_point_arc(const darc& arc, const dpoint& p, dpoint& out)
{
    plane::closest_point_arc<Control>(arc, p, out);
}

int get_closest_point(const TElement& element, const dpoint& p, dpoint& out)
{
    return plane::closest_point<Control>(element, p, out);
}

} // namespace orvex::Ops
