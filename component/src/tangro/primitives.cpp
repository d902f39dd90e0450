// The calculator's plane primitives on the public records: distances,
// midpoints, directions, points on arcs, sweeps, lines and closest points.
//
// The control (ops/primitives.cpp) has functions of the same names on its
// lower-case records. The steps both take alike live in ops/plane_primitives.h;
// these differences are on purpose, and each pair stays apart:
//
// - Degrees per radian: the calculator's shorter 57.29577951 here,
//   57.2957795131 there. Every direction and every point found at an angle
//   differs in the last digits (the direction of (1, 1) is 44.9999999976
//   here, 45 there); each family's results are made with its own constant and
//   must stay so.
// - A radius of exactly 0 in point_arc_angle: here (0, 0, 0) and result 1, so
//   a caller learns that a dot has no point at an angle; the control gives the
//   centre and result 0. mid_arc and get_closest_point_arc follow from it:
//   here X = Y = 0 with the centre's Z, there the centre.
// - get_arc_end_points (and get_arc_end_points_arc): here 1, or 0 with the
//   outputs untouched for a zero radius; the control's has no result and gives
//   the centre as both ends.
// - Result codes in get_closest_point_line: here every code goes to the message
//   sink (CHECK_ERROR2), and a perpendicular that cannot be formed (903,
//   coordinates so large that the unit step is lost) ends the search only when
//   the sink answers above 0; with the silent default the search goes on and
//   writes a point. The control ends it silently with `out` untouched.
//
// Alike on both sides, not differences: the 1e-7 axis nudge of directions,
// and line intersection (point_inter_2_lines below runs the control's on
// copied records, 1e-6 steep-slope substitute included).
#include <OrvexGDI/Ops.h>
#include <OrvexGDI/TangroGDIOps.h>

#include "ops/plane_primitives.h"

#include <cmath>

namespace orvex::TangroGDIOps {

namespace {
constexpr long double K = DegreesPerRadian;
constexpr long double TwoPi = 6.283185307179586477L;

// The calculator's rules for the shared steps: its own constant and
// functions, and every result code handed to the message sink.
struct Calculator {
    using Point = TDPoint;
    using Line = TDLine;
    using Arc = TDArc;
    static double direction(double x1, double y1, double x2, double y2) { return get_angle_degrees(x1, y1, x2, y2); }
    static int point_on_arc(const TDArc& arc, double angle, TDPoint& p) { return point_arc_angle(arc, angle, p); }
    static int intersect(const TDLine& l1, const TDLine& l2, TDPoint& p) { return point_inter_2_lines(l1, l2, p); }
    static int report(int code) { return CHECK_ERROR2(code); }
};
} // namespace

// ---------------------------------------------------------------- distances and midpoints

double _distance(double x1, double y1, double x2, double y2) { return plane::distance(x1, y1, x2, y2); }

double distance_2_points(const TDPoint& p1, const TDPoint& p2) { return _distance(p1.X, p1.Y, p2.X, p2.Y); }

double distance_3d(const TDPoint& p1, const TDPoint& p2)
{
    const double dx = p1.X - p2.X, dy = p1.Y - p2.Y, dz = p1.Z - p2.Z;
    const double s = dx * dx + dy * dy + dz * dz;
    return s > 0 ? std::sqrt(s) : 0.0;
}

double get_length_of_line(const TDLine& line) { return distance_3d(line.P1, line.P2); }

void _midPoint(double x1, double y1, double z1, double x2, double y2, double z2, TDPoint& p)
{
    plane::midpoint(x1, y1, z1, x2, y2, z2, p);
}

TDPoint midPoint_2_points(const TDPoint& p1, const TDPoint& p2)
{
    TDPoint p;
    _midPoint(p1.X, p1.Y, p1.Z, p2.X, p2.Y, p2.Z, p);
    return p;
}

TDPoint make_Point(double x, double y, double z) { return {x, y, z}; }

// ---------------------------------------------------------------- elements as records

TDLine get_line_from_element(const TElement& element) { return plane::line_from_element<TDLine>(element); }

TDArc get_arc_from_element(const TElement& element) { return plane::arc_from_element<TDArc>(element); }

// ---------------------------------------------------------------- arcs

int point_arc_angle(const TDArc& arc, double angle, TDPoint& p)
{
    if (arc.Radius == 0) {
        p = {0, 0, 0};
        return 1;
    }
    plane::point_at_angle(arc, angle, K, p);
    return 0;
}

int point_center_arc(const TDArc& arc, TDPoint& p)
{
    p.X = arc.Center.X;
    p.Y = arc.Center.Y;
    return 0;
}

void mid_arc(const TElement& element, double& x, double& y, double& z) { plane::mid_arc<Calculator>(element, x, y, z); }

double get_arc_angle(double start, double end, int mode) { return plane::sweep(start, end, mode); }

double get_arc_length(double radius, double start, double end, int mode)
{
    const double sweep = get_arc_angle(start, end, mode);
    if (sweep == 0)
        return 0;
    return static_cast<double>(std::fabs(TwoPi * radius) / (360.0L / std::fabs(sweep)));
}

int get_arc_end_points_arc(const TDArc& arc, double& xs, double& ys, double& xe, double& ye)
{
    if (arc.Radius == 0)
        return 0;
    plane::arc_end_points<Calculator>(arc, xs, ys, xe, ye);
    return 1;
}

int get_arc_end_points(const TElement& element, double& xs, double& ys, double& xe, double& ye)
{
    return get_arc_end_points_arc(get_arc_from_element(element), xs, ys, xe, ye);
}

// ---------------------------------------------------------------- directions

double fix_angle(double angle) { return plane::fix_angle(angle); }

double get_angle_degrees(double x1, double y1, double x2, double y2)
{
    return fix_angle(plane::direction_degrees(x1, y1, x2, y2, K));
}

double get_angle_radians(double x1, double y1, double x2, double y2)
{
    return static_cast<double>(plane::direction_degrees(x1, y1, x2, y2, K) / K);
}

double get_angle_2_points(const TDPoint& p1, const TDPoint& p2) { return get_angle_degrees(p1.X, p1.Y, p2.X, p2.Y); }

double get_angle_line(const TDLine& line) { return get_angle_degrees(line.P1.X, line.P1.Y, line.P2.X, line.P2.Y); }

double angle_of_line(const TElement& element)
{
    return detail::angle_of_direction(element.GetCoord(4) - element.GetCoord(1),
                                      element.GetCoord(5) - element.GetCoord(2));
}

double detail::angle_of_direction(double dx, double dy)
{
    if (dx == 0 && dy == 0)
        return 0;
    if (dx == 0)
        return dy > 0 ? 90 : 270;
    if (dy == 0)
        return dx > 0 ? 0 : 180;
    const double a = static_cast<double>(std::atan(static_cast<long double>(dy) / dx) * K);
    if (dx < 0)
        return 180 + a;
    if (dy < 0)
        return 360 + a;
    return a;
}

// ---------------------------------------------------------------- lines

int line_2_points(const TDPoint& p1, const TDPoint& p2, TDLine& line) { return plane::line_2_points(p1, p2, line); }

int point_inter_2_lines(const TDLine& l1, const TDLine& l2, TDPoint& p)
{
    dpoint q = to_dpoint(p);
    const int code = Ops::point_inter_2_lines(to_dline(l1), to_dline(l2), q);
    if (code == CALC_OK)
        p = to_TDPoint(q);
    return code;
}

// ---------------------------------------------------------------- closest points

void get_closest_point_line(const TDLine& line, const TDPoint& p, TDPoint& out)
{
    plane::closest_point_line<Calculator>(line, p, out);
}

void get_closest_point_arc(const TDArc& arc, const TDPoint& p, TDPoint& out)
{
    plane::closest_point_arc<Calculator>(arc, p, out);
}

int get_closest_point(const TElement& element, const TDPoint& p, TDPoint& out)
{
    return plane::closest_point<Calculator>(element, p, out);
}

// ---------------------------------------------------------------- sides

dside get_side_from_pick(const TDLine& line, const TDPoint& p)
{
    TDPoint f;
    get_closest_point_line(line, p, f);
    const double a = get_angle_degrees(f.X, f.Y, p.X, p.Y);
    if (a > 45 && a <= 135)
        return 3;
    if (a > 135 && a <= 225)
        return 2;
    if (a > 225 && a <= 315)
        return 4;
    return 1;
}

void get_intermediate_angle(double angle, int side, double& result)
{
    if (angle < 0 || angle > 360 || side < 1 || side > 4)
        return;
    // Offsets for sides 1..4, by the quarter the line's direction lies in.
    static const double offsets[4][4] = {
        {270, 90, 90, 270},    // 0 <= a <= 90
        {-90, 90, -90, 90},    // 90 < a <= 180
        {90, -90, -90, 90},    // 180 < a <= 270
        {-270, -90, -270, -90} // 270 < a <= 360
    };
    const int quarter = angle <= 90 ? 0 : angle <= 180 ? 1 : angle <= 270 ? 2 : 3;
    result = angle + offsets[quarter][side - 1];
}

bool within(double tolerance, double a, double b) { return std::fabs(a - b) <= tolerance; }

// ---------------------------------------------------------------- number texts

std::string str_real2(double x) { return Ops::str_real(x); }

std::string str_int2(int i) { return Ops::str_int(i); }

} // namespace orvex::TangroGDIOps
