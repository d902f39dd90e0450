// Plane primitives whose steps are the same for the control's records
// (Ops: dpoint, dline, darc) and the calculator's (TangroGDIOps: TDPoint,
// TDLine, TDArc). Each family keeps its own public functions, and its own rules
// where the two differ on purpose (listed at the head of ops/primitives.cpp and
// tangro/primitives.cpp); the steps here take those rules from the family:
//
//   struct Family {
//       using Point = ...; using Line = ...; using Arc = ...;
//       // the family's get_angle_degrees, point_arc_angle, point_inter_2_lines
//       static double direction(double x1, double y1, double x2, double y2);
//       static int point_on_arc(const Arc& arc, double angle, Point& p);
//       static int intersect(const Line& l1, const Line& l2, Point& p);
//       // what a construction step's result code comes to (0 carries on)
//       static int report(int code);
//   };
//
// This header includes no Qt header.
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <cmath>

namespace orvex::plane {

// ---------------------------------------------------------------- distances and midpoints

/// Plane distance between (x1, y1) and (x2, y2); 0 when the squares sum to 0.
inline double distance(double x1, double y1, double x2, double y2)
{
    const double dx = std::fabs(x1 - x2);
    const double dy = std::fabs(y1 - y2);
    const double s = dx * dx + dy * dy;
    return s > 0 ? std::sqrt(s) : 0.0;
}

/// The point halfway between (x1, y1, z1) and (x2, y2, z2).
template <class Point>
void midpoint(double x1, double y1, double z1, double x2, double y2, double z2, Point& p)
{
    p.X = x1 + (x2 - x1) / 2;
    p.Y = y1 + (y2 - y1) / 2;
    p.Z = z1 + (z2 - z1) / 2;
}

// ---------------------------------------------------------------- elements as records

/// The line of an element's slots 1 to 6.
template <class Line>
Line line_from_element(const TElement& element)
{
    return {{element.GetCoord(1), element.GetCoord(2), element.GetCoord(3)},
            {element.GetCoord(4), element.GetCoord(5), element.GetCoord(6)}};
}

/// The arc of an element's slots: centre 1 to 3, radius 4, angles 5 and 6.
template <class Arc>
Arc arc_from_element(const TElement& element)
{
    return {{element.GetCoord(1), element.GetCoord(2), element.GetCoord(3)},
            element.GetCoord(4),
            element.GetCoord(5),
            element.GetCoord(6)};
}

// ---------------------------------------------------------------- angles and arcs

/// Brings an angle into [0, 360] with at most two corrections each way.
inline double fix_angle(double angle)
{
    if (angle > 360)
        angle -= 360;
    if (angle > 360)
        angle -= 360;
    if (angle < 0)
        angle += 360;
    if (angle < 0)
        angle += 360;
    return angle;
}

/// Direction from (x1, y1) to (x2, y2) in degrees, before fix_angle, with the
/// family's degrees per radian; equal points give 0. A zero difference becomes
/// 1e-7 and the start point moves by it, so an axis direction lands just off
/// the axis on a definite side.
inline double direction_degrees(double x1, double y1, double x2, double y2, long double degreesPerRadian)
{
    if (x1 == x2 && y1 == y2)
        return 0;
    double t = std::fabs(y2 - y1);
    if (t == 0) {
        t = 1e-7;
        y1 += 1e-7;
    }
    double u = std::fabs(x2 - x1);
    if (u == 0) {
        u = 1e-7;
        x1 += 1e-7;
    }
    double r = static_cast<double>(std::atan(static_cast<long double>(t) / u) * degreesPerRadian);
    if (x1 > x2 && y1 < y2)
        r = 180 - r;
    else if (x1 > x2 && y1 > y2)
        r = r + 180;
    else if (x1 < x2 && y1 > y2)
        r = 360 - r;
    return r;
}

/// Sweep from start to end: mode 3 counter-clockwise, mode 2 clockwise, other
/// modes 0; equal angles are a full 360.
inline double sweep(double start, double end, int mode)
{
    if (start == end)
        return 360;
    if (mode == 3)
        return start < end ? end - start : 360 - (start - end);
    if (mode == 2)
        return start < end ? 360 - (end - start) : start - end;
    return 0;
}

/// The point of the arc's circle at `angle` degrees (Z of the centre), with
/// the family's degrees per radian.
template <class Arc, class Point>
void point_at_angle(const Arc& arc, double angle, long double degreesPerRadian, Point& p)
{
    const long double radians = angle / degreesPerRadian;
    p.X = static_cast<double>(arc.Center.X + arc.Radius * std::cos(radians));
    p.Y = static_cast<double>(arc.Center.Y + arc.Radius * std::sin(radians));
    p.Z = arc.Center.Z;
}

/// The point in the middle of an arc element's counter-clockwise sweep.
template <class Family>
void mid_arc(const TElement& element, double& x, double& y, double& z)
{
    const auto arc = arc_from_element<typename Family::Arc>(element);
    const double half = sweep(arc.StartAngle, arc.EndAngle, 3) / 2;
    typename Family::Point p;
    Family::point_on_arc(arc, arc.StartAngle + half, p);
    x = p.X;
    y = p.Y;
    z = arc.Center.Z;
}

/// Start and end point of the arc.
template <class Family>
void arc_end_points(const typename Family::Arc& arc, double& xs, double& ys, double& xe, double& ye)
{
    typename Family::Point p;
    Family::point_on_arc(arc, arc.StartAngle, p);
    xs = p.X;
    ys = p.Y;
    Family::point_on_arc(arc, arc.EndAngle, p);
    xe = p.X;
    ye = p.Y;
}

// ---------------------------------------------------------------- lines

/// Fills `line` with (p1, p2) in any case; 903 when the points share X and Y.
template <class Point, class Line>
int line_2_points(const Point& p1, const Point& p2, Line& line)
{
    line.P1 = p1;
    line.P2 = p2;
    return (p1.X == p2.X && p1.Y == p2.Y) ? CALC_UNDEFINED_LINE : CALC_OK;
}

// ---------------------------------------------------------------- closest points

/// Foot of the perpendicular from `p` on the infinite line (Z = 0): the
/// intersection with the unit step from `p` at the line's direction + 90. A
/// perpendicular that cannot be formed ends the search when the family's
/// report of it is above 0; `out` is then left as it was.
template <class Family>
void closest_point_line(const typename Family::Line& line, const typename Family::Point& p, typename Family::Point& out)
{
    const double a = Family::direction(line.P1.X, line.P1.Y, line.P2.X, line.P2.Y);
    typename Family::Point q;
    Family::point_on_arc(typename Family::Arc{p, 1, 0, 0}, a + 90, q);
    typename Family::Line perpendicular;
    if (Family::report(line_2_points(p, q, perpendicular)) > 0)
        return;
    Family::report(Family::intersect(line, perpendicular, out));
    out.Z = 0;
}

/// The point of the arc's whole circle in the direction of `p` from the
/// centre (Z of the centre).
template <class Family>
void closest_point_arc(const typename Family::Arc& arc, const typename Family::Point& p, typename Family::Point& out)
{
    const double a = Family::direction(arc.Center.X, arc.Center.Y, p.X, p.Y);
    Family::point_on_arc(arc, a, out);
    out.Z = arc.Center.Z;
}

/// Closest point on a point, line or arc element; other types leave `out`
/// unchanged. Returns 1.
template <class Family>
int closest_point(const TElement& element, const typename Family::Point& p, typename Family::Point& out)
{
    switch (element.GetEtype()) {
    case etPoint:
        out = {element.GetCoord(1), element.GetCoord(2), element.GetCoord(3)};
        break;
    case etLine:
        closest_point_line<Family>(line_from_element<typename Family::Line>(element), p, out);
        break;
    case etArc:
        closest_point_arc<Family>(arc_from_element<typename Family::Arc>(element), p, out);
        break;
    default:
        break;
    }
    return 1;
}

} // namespace orvex::plane
