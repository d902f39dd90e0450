// Line constructions: at an angle, tangent, perpendicular, parallel, offset,
// tangent to two circles, and the implicit form of a line.
#include <OrvexGDI/TangroGDIOps.h>

#include <cmath>

namespace orvex::TangroGDIOps {

namespace {
TDArc circle(const TDPoint& centre, double radius) { return TDArc{centre, radius, 0, 0}; }
} // namespace

int line_point_angle(const TDPoint& p, double angle, double length, TDLine& line)
{
    TDPoint q;
    point_arc_angle(circle(p, length), angle, q);
    line.P1.X = p.X;
    line.P1.Y = p.Y;
    line.P2.X = q.X;
    line.P2.Y = q.Y;
    return CALC_OK;
}

int line_tangent_angle(const TDArc& arc, double angle, double length, TDLine& line)
{
    TDPoint t;
    point_arc_angle(arc, angle + 90, t);
    return line_point_angle(t, angle, length, line);
}

int line_tangent_point(const TDPoint& pick, const TDPoint& through, const TDArc& arc, TDLine& line)
{
    const double d = _distance(arc.Center.X, arc.Center.Y, through.X, through.Y);
    const double r = arc.Radius;
    if (d * d - r * r < 0)
        return CALC_COLLINEAR; // the point lies inside the circle
    const double t = std::sqrt(d * d - r * r);
    TDPoint t1, t2;
    point_inter_2_arcs(arc, circle(through, t), t1, t2);
    const TDPoint& touch = distance_2_points(t1, pick) < distance_2_points(t2, pick) ? t1 : t2;
    line.P1 = through;
    line.P2 = {touch.X, touch.Y, arc.Center.Z};
    return CALC_OK;
}

int line_perpendicular_point(const TDPoint& p, const TDLine& line, TDLine& result)
{
    const double a = get_angle_line(line) + 90;
    TDPoint q;
    point_arc_angle(circle(p, 1), a, q);
    TDPoint foot;
    point_inter_2_lines(line, TDLine{p, q}, foot);
    result = {p, foot};
    return CALC_OK;
}

int offset_line(const TDLine& line, double distance, const TDPoint& side, TDLine& result)
{
    TDPoint f;
    get_closest_point_line(line, side, f);
    const double a = get_angle_line(TDLine{f, side});
    TDPoint p1, p2;
    point_arc_angle(circle(line.P1, distance), a, p1);
    point_arc_angle(circle(line.P2, distance), a, p2);
    result = {p1, p2};
    return CALC_OK;
}

int line_parallel_point(const TDPoint& p, const TDLine& line, TDLine& result)
{
    TDPoint f;
    get_closest_point_line(line, p, f);
    return offset_line(line, distance_2_points(p, f), p, result);
}

int line_tangent_2_arcs2(const TDArc& arc1, const TDArc& arc2, const TDPoint& pick1, const TDPoint& pick2, TDLine& line)
{
    const TDPoint& c1 = arc1.Center;
    const TDPoint& c2 = arc2.Center;
    TDPoint t1, t2;
    get_closest_point_arc(arc1, pick1, t1);
    get_closest_point_arc(arc2, pick2, t2);

    line = {c1, c2};
    TDLine perpendicular;
    line_perpendicular_point(t1, line, perpendicular);
    const double g1 = get_angle_line(perpendicular);
    line_perpendicular_point(t2, line, perpendicular);
    const double g2 = get_angle_line(perpendicular);

    if (std::fabs(g1 - g2) < 0.0001) {
        // Both picks on one side: the external tangent on that side, found
        // as the tangent from the small centre to the circle of the radius
        // difference about the large centre.
        const bool first_large = arc1.Radius > arc2.Radius;
        const TDArc& large = first_large ? arc1 : arc2;
        const TDArc& small = first_large ? arc2 : arc1;
        const TDPoint& large_pick = first_large ? pick1 : pick2;
        const TDArc difference = circle(large.Center, large.Radius - small.Radius);
        line_tangent_point(large_pick, small.Center, difference, line);
        const TDPoint t = line.P2;
        const double a = get_angle_degrees(large.Center.X, large.Center.Y, t.X, t.Y);
        TDPoint on_large, on_small;
        point_arc_angle(large, a, on_large);
        point_arc_angle(small, a, on_small);
        on_large.Z = large.Center.Z;
        on_small.Z = small.Center.Z;
        line = {on_large, on_small};
    } else {
        // Picks on opposite sides: the crossing tangent, through the circle
        // of radius r1 + r2 about the first centre and the Thales circle over
        // the centre line.
        TDPoint m;
        _midPoint(c1.X, c1.Y, c1.Z, c2.X, c2.Y, c2.Z, m);
        const TDArc thales = circle(m, _distance(c1.X, c1.Y, c2.X, c2.Y) / 2);
        TDPoint k1, k2;
        point_inter_2_arcs(circle(c1, arc1.Radius + arc2.Radius), thales, k1, k2);
        const TDPoint& k = distance_2_points(pick1, k1) < distance_2_points(pick1, k2) ? k1 : k2;
        const double b = get_angle_degrees(c1.X, c1.Y, k.X, k.Y);
        TDPoint on1, on2;
        point_arc_angle(arc1, b, on1);
        point_arc_angle(arc2, b + 180, on2);
        line = {on1, on2};
    }
    return CALC_OK;
}

int make_iline(const TDLine& line, diline& il)
{
    const double x1 = line.P1.X, y1 = line.P1.Y;
    const double a = line.P2.Y - y1;
    const double b = x1 - line.P2.X;
    const double length = std::sqrt(a * a + b * b);
    if (length == 0)
        return CALC_UNDEFINED_LINE;
    il.NormalX = a / length;
    il.NormalY = b / length;
    il.Offset = -(il.NormalX * x1) - il.NormalY * y1;
    return CALC_OK;
}

} // namespace orvex::TangroGDIOps
