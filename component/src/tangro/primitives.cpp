// The calculator's plane primitives on the public records: distances,
// midpoints, directions, points on arcs, sweeps, lines and closest points.
#include <OrvexGDI/Ops.h>
#include <OrvexGDI/TangroGDIOps.h>

#include <cmath>

namespace orvex::TangroGDIOps {

namespace {
constexpr long double K = DegreesPerRadian;
constexpr long double TwoPi = 6.283185307179586477L;

// Steps shared by the degree and radian forms of a direction: the angle in
// [0, 360] before normalisation, with zero differences taken as 1e-7.
double raw_angle(double x1, double y1, double x2, double y2)
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
    double r = static_cast<double>(std::atan(static_cast<long double>(t) / u) * K);
    if (x1 > x2 && y1 < y2)
        r = 180 - r;
    else if (x1 > x2 && y1 > y2)
        r = r + 180;
    else if (x1 < x2 && y1 > y2)
        r = 360 - r;
    return r;
}
} // namespace

// ---------------------------------------------------------------- distances and midpoints

double _distance(double x1, double y1, double x2, double y2)
{
    const double dx = std::fabs(x1 - x2);
    const double dy = std::fabs(y1 - y2);
    const double s = dx * dx + dy * dy;
    return s > 0 ? std::sqrt(s) : 0.0;
}

double distance_2_points(const TDPoint& p1, const TDPoint& p2)
{
    return _distance(p1.X, p1.Y, p2.X, p2.Y);
}

double distance_3d(const TDPoint& p1, const TDPoint& p2)
{
    const double dx = p1.X - p2.X, dy = p1.Y - p2.Y, dz = p1.Z - p2.Z;
    const double s = dx * dx + dy * dy + dz * dz;
    return s > 0 ? std::sqrt(s) : 0.0;
}

double get_length_of_line(const TDLine& line)
{
    return distance_3d(line.P1, line.P2);
}

void _midPoint(double x1, double y1, double z1, double x2, double y2, double z2, TDPoint& p)
{
    p.X = x1 + (x2 - x1) / 2;
    p.Y = y1 + (y2 - y1) / 2;
    p.Z = z1 + (z2 - z1) / 2;
}

TDPoint midPoint_2_points(const TDPoint& p1, const TDPoint& p2)
{
    TDPoint p;
    _midPoint(p1.X, p1.Y, p1.Z, p2.X, p2.Y, p2.Z, p);
    return p;
}

TDPoint make_Point(double x, double y, double z)
{
    return {x, y, z};
}

// ---------------------------------------------------------------- elements as records

TDLine get_line_from_element(const TElement& element)
{
    return {{element.GetCoord(1), element.GetCoord(2), element.GetCoord(3)},
            {element.GetCoord(4), element.GetCoord(5), element.GetCoord(6)}};
}

TDArc get_arc_from_element(const TElement& element)
{
    return {{element.GetCoord(1), element.GetCoord(2), element.GetCoord(3)},
            element.GetCoord(4),
            element.GetCoord(5),
            element.GetCoord(6)};
}

// ---------------------------------------------------------------- arcs

int point_arc_angle(const TDArc& arc, double angle, TDPoint& p)
{
    if (arc.Radius == 0) {
        p = {0, 0, 0};
        return 1;
    }
    const long double radians = angle / K;
    p.X = static_cast<double>(arc.Center.X + arc.Radius * std::cos(radians));
    p.Y = static_cast<double>(arc.Center.Y + arc.Radius * std::sin(radians));
    p.Z = arc.Center.Z;
    return 0;
}

int point_center_arc(const TDArc& arc, TDPoint& p)
{
    p.X = arc.Center.X;
    p.Y = arc.Center.Y;
    return 0;
}

void mid_arc(const TElement& element, double& x, double& y, double& z)
{
    const TDArc arc = get_arc_from_element(element);
    const double sweep = get_arc_angle(arc.StartAngle, arc.EndAngle, 3);
    TDPoint p;
    point_arc_angle(arc, arc.StartAngle + sweep / 2, p);
    x = p.X;
    y = p.Y;
    z = arc.Center.Z;
}

double get_arc_angle(double start, double end, int mode)
{
    if (start == end)
        return 360;
    if (mode == 3)
        return start < end ? end - start : 360 - (start - end);
    if (mode == 2)
        return start < end ? 360 - (end - start) : start - end;
    return 0;
}

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
    TDPoint p;
    point_arc_angle(arc, arc.StartAngle, p);
    xs = p.X;
    ys = p.Y;
    point_arc_angle(arc, arc.EndAngle, p);
    xe = p.X;
    ye = p.Y;
    return 1;
}

int get_arc_end_points(const TElement& element, double& xs, double& ys, double& xe, double& ye)
{
    return get_arc_end_points_arc(get_arc_from_element(element), xs, ys, xe, ye);
}

// ---------------------------------------------------------------- directions

double fix_angle(double angle)
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

double get_angle_degrees(double x1, double y1, double x2, double y2)
{
    return fix_angle(raw_angle(x1, y1, x2, y2));
}

double get_angle_radians(double x1, double y1, double x2, double y2)
{
    return static_cast<double>(raw_angle(x1, y1, x2, y2) / K);
}

double get_angle_2_points(const TDPoint& p1, const TDPoint& p2)
{
    return get_angle_degrees(p1.X, p1.Y, p2.X, p2.Y);
}

double get_angle_line(const TDLine& line)
{
    return get_angle_degrees(line.P1.X, line.P1.Y, line.P2.X, line.P2.Y);
}

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

int line_2_points(const TDPoint& p1, const TDPoint& p2, TDLine& line)
{
    line.P1 = p1;
    line.P2 = p2;
    return (p1.X == p2.X && p1.Y == p2.Y) ? CALC_UNDEFINED_LINE : CALC_OK;
}

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
    const double a = get_angle_line(line);
    TDPoint q;
    point_arc_angle(TDArc{p, 1, 0, 0}, a + 90, q);
    TDLine perpendicular;
    if (CHECK_ERROR2(line_2_points(p, q, perpendicular)) > 0)
        return;
    CHECK_ERROR2(point_inter_2_lines(line, perpendicular, out));
    out.Z = 0;
}

void get_closest_point_arc(const TDArc& arc, const TDPoint& p, TDPoint& out)
{
    const double a = get_angle_degrees(arc.Center.X, arc.Center.Y, p.X, p.Y);
    point_arc_angle(arc, a, out);
    out.Z = arc.Center.Z;
}

int get_closest_point(const TElement& element, const TDPoint& p, TDPoint& out)
{
    switch (element.GetEtype()) {
    case etPoint:
        out = {element.GetCoord(1), element.GetCoord(2), element.GetCoord(3)};
        break;
    case etLine:
        get_closest_point_line(get_line_from_element(element), p, out);
        break;
    case etArc:
        get_closest_point_arc(get_arc_from_element(element), p, out);
        break;
    default:
        break;
    }
    return 1;
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

bool within(double tolerance, double a, double b)
{
    return std::fabs(a - b) <= tolerance;
}

// ---------------------------------------------------------------- number texts

std::string str_real2(double x)
{
    return Ops::str_real(x);
}

std::string str_int2(int i)
{
    return Ops::str_int(i);
}

} // namespace orvex::TangroGDIOps
