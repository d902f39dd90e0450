// Plane geometry of the drawing control: distances, directions, arcs, lines
// and closest points on the lower-case records.
#include <OrvexGDI/Ops.h>

#include <cmath>

namespace orvex::Ops {

namespace {
constexpr long double K = DegreesPerRadian;
} // namespace

// ---------------------------------------------------------------- distances and midpoints

double distance(double x1, double y1, double x2, double y2)
{
    const double dx = std::fabs(x1 - x2);
    const double dy = std::fabs(y1 - y2);
    const double s = dx * dx + dy * dy;
    return s > 0 ? std::sqrt(s) : 0.0;
}

double distance_2_points(const dpoint& p1, const dpoint& p2)
{
    return distance(p1.X, p1.Y, p2.X, p2.Y);
}

void midpoint(double x1, double y1, double z1, double x2, double y2, double z2, dpoint& p)
{
    p.X = x1 + (x2 - x1) / 2;
    p.Y = y1 + (y2 - y1) / 2;
    p.Z = z1 + (z2 - z1) / 2;
}

dpoint midpoint_2_points(const dpoint& p1, const dpoint& p2)
{
    dpoint p;
    midpoint(p1.X, p1.Y, p1.Z, p2.X, p2.Y, p2.Z, p);
    return p;
}

// ---------------------------------------------------------------- elements as records

dline get_line_from_element(const TElement& element)
{
    return {{element.GetCoord(1), element.GetCoord(2), element.GetCoord(3)},
            {element.GetCoord(4), element.GetCoord(5), element.GetCoord(6)}};
}

darc get_arc_from_element(const TElement& element)
{
    return {{element.GetCoord(1), element.GetCoord(2), element.GetCoord(3)},
            element.GetCoord(4),
            element.GetCoord(5),
            element.GetCoord(6)};
}

// ---------------------------------------------------------------- angles and arcs

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
    if (x1 == x2 && y1 == y2)
        return 0;
    // A zero difference becomes 1e-7 and the start point moves by it, so an
    // axis direction lands just off the axis on a definite side.
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
    return fix_angle(r);
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

int point_arc_angle(const darc& arc, double angle, dpoint& p)
{
    const long double radians = angle / K;
    p.X = static_cast<double>(arc.Center.X + arc.Radius * std::cos(radians));
    p.Y = static_cast<double>(arc.Center.Y + arc.Radius * std::sin(radians));
    p.Z = arc.Center.Z;
    return 0;
}

void mid_arc(const TElement& element, double& x, double& y, double& z)
{
    const darc arc = get_arc_from_element(element);
    const double sweep = get_arc_angle(arc.StartAngle, arc.EndAngle, 3);
    dpoint p;
    point_arc_angle(arc, arc.StartAngle + sweep / 2, p);
    x = p.X;
    y = p.Y;
    z = arc.Center.Z;
}

void get_arc_end_points(const TElement& element, double& xs, double& ys, double& xe, double& ye)
{
    const darc arc = get_arc_from_element(element);
    dpoint p;
    point_arc_angle(arc, arc.StartAngle, p);
    xs = p.X;
    ys = p.Y;
    point_arc_angle(arc, arc.EndAngle, p);
    xe = p.X;
    ye = p.Y;
}

// ---------------------------------------------------------------- lines

int line_2_points(const dpoint& p1, const dpoint& p2, dline& line)
{
    line.P1 = p1;
    line.P2 = p2;
    return (p1.X == p2.X && p1.Y == p2.Y) ? CALC_UNDEFINED_LINE : CALC_OK;
}

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
    const double a = get_angle_degrees(line.P1.X, line.P1.Y, line.P2.X, line.P2.Y);
    dpoint q;
    point_arc_angle(darc{p, 1, 0, 0}, a + 90, q);
    dline perpendicular;
    if (line_2_points(p, q, perpendicular) > 0)
        return;
    point_inter_2_lines(line, perpendicular, out);
    out.Z = 0;
}

void get_closest_point_arc(const darc& arc, const dpoint& p, dpoint& out)
{
    const double a = get_angle_degrees(arc.Center.X, arc.Center.Y, p.X, p.Y);
    point_arc_angle(arc, a, out);
    out.Z = arc.Center.Z;
}

int get_closest_point(const TElement& element, const dpoint& p, dpoint& out)
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

} // namespace orvex::Ops
