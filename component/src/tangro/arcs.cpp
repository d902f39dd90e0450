// Arc constructions: about a centre, through points, tangent to a line or an
// arc through a point, fillets between lines and arcs, the circle tangent to
// three lines, and the circle through two points tangent to a line. The
// caller's start and end angles are copied into the result unchanged.
#include <OrvexGDI/TangroGDIOps.h>

#include <cmath>

namespace orvex::TangroGDIOps {

namespace {
TDArc circle(const TDPoint& centre, double radius) { return TDArc{centre, radius, 0, 0}; }

void set_sweep(TDArc& arc, double r, double s, double e)
{
    arc.Radius = r;
    arc.StartAngle = s;
    arc.EndAngle = e;
}

bool same_xy(const TDPoint& a, const TDPoint& b) { return a.X == b.X && a.Y == b.Y; }
} // namespace

// ---------------------------------------------------------------- about a centre

int arc_center_radius(const TDPoint& m, double r, double s, double e, TDArc& arc)
{
    arc.Center.X = m.X;
    arc.Center.Y = m.Y;
    set_sweep(arc, r, s, e);
    return CALC_OK;
}

int arc_center_point(const TDPoint& m, const TDPoint& p, double s, double e, TDArc& arc)
{
    arc.Center = m;
    set_sweep(arc, distance_2_points(m, p), s, e);
    return CALC_OK;
}

int arc_center_tangent_line(const TDPoint& m, const TDLine& line, double s, double e, TDArc& arc)
{
    TDLine perpendicular;
    line_perpendicular_point(m, line, perpendicular);
    double d = get_length_of_line(perpendicular);
    if (d <= 0.00001)
        d = 0;
    arc.Center = m;
    set_sweep(arc, d, s, e);
    return CALC_OK;
}

int arc_center_tangent_arc(const TDPoint& pick, const TDPoint& m, const TDArc& given, double s, double e, TDArc& arc)
{
    const double dp = _distance(m.X, m.Y, pick.X, pick.Y);
    const double dc = _distance(m.X, m.Y, given.Center.X, given.Center.Y);
    const double r = dc < dp ? dc + given.Radius : dc - given.Radius;
    arc.Center = m;
    set_sweep(arc, r, s, e);
    return CALC_OK;
}

int arc_between_2_points(const TDPoint& p1, const TDPoint& p2, double s, double e, TDArc& arc)
{
    _midPoint(p1.X, p1.Y, p1.Z, p2.X, p2.Y, p2.Z, arc.Center);
    set_sweep(arc, distance_2_points(p1, p2), s, e);
    return CALC_OK;
}

// ---------------------------------------------------------------- through points

int arc_through_2_points(const TDPoint& p1, const TDPoint& p2, double r, double s, double e, TDArc& arc1, TDArc& arc2)
{
    if (distance_2_points(p1, p2) > 2 * r + 0.0001) {
        error_box2("Points Too Far Apart to Fit Arc");
        return -1;
    }
    TDPoint i1, i2;
    if (point_inter_2_arcs(circle(p1, r), circle(p2, r), i1, i2) != 0)
        return -1;
    arc1 = {i1, r, s, e};
    arc2 = {i2, r, s, e};
    return CALC_OK;
}

int arc_3_points(const TDPoint& p1, const TDPoint& p2, const TDPoint& p3, double s, double e, TDArc& arc)
{
    if (same_xy(p1, p2) || same_xy(p1, p3) || same_xy(p2, p3)) {
        const TDPoint& other = same_xy(p1, p2) ? p3 : p2;
        TDPoint centre;
        _midPoint(p1.X, p1.Y, 0, other.X, other.Y, 0, centre);
        arc.Center = centre;
        set_sweep(arc, _distance(p1.X, p1.Y, centre.X, centre.Y), s, e);
        return CALC_OK;
    }
    const double a1 = get_angle_radians(p1.X, p1.Y, p3.X, p3.Y);
    const double a2 = get_angle_radians(p1.X, p1.Y, p2.X, p2.Y);
    if (std::fabs(a1 - a2) < 0.001)
        return CALC_COLLINEAR;

    const double x1 = p1.X, y1 = p1.Y, x2 = p2.X, y2 = p2.Y, x3 = p3.X, y3 = p3.Y;
    const double A1 = 2 * (x1 - x2), B1 = 2 * (y1 - y2), C1 = x1 * x1 + y1 * y1 - x2 * x2 - y2 * y2;
    const double A2 = 2 * (x2 - x3), B2 = 2 * (y2 - y3), C2 = x2 * x2 + y2 * y2 - x3 * x3 - y3 * y3;
    const double det = A1 * B2 - A2 * B1;
    if (det == 0)
        return CALC_COLLINEAR;
    const double cx = (B2 * C1 - B1 * C2) / det;
    const double cy = (A1 * C2 - A2 * C1) / det;
    arc.Center = {cx, cy, 0};
    set_sweep(arc, std::sqrt((cx - x2) * (cx - x2) + (cy - y2) * (cy - y2)), s, e);
    return CALC_OK;
}

// ---------------------------------------------------------------- given radius, through a point

int arc_tangent_line_point(const TDLine& line, const TDPoint& pick, const TDPoint& through, double r, double s,
                           double e, TDArc& arc)
{
    TDPoint f;
    get_closest_point_line(line, through, f);
    const double h = distance_2_points(f, through);
    if (2 * r < h)
        return CALC_ARC_NO_INTERSECT;

    const TDLine perp{through, f};
    TDLine centres; // the locus of centres: the line moved r towards `through`
    offset_line(line, r, through, centres);

    // First estimate: r along the line from the foot, towards the pick point.
    TDLine across;
    offset_line(perp, r, pick, across);
    point_inter_2_lines(centres, across, arc.Center);
    set_sweep(arc, r, s, e);

    // The estimated circle crosses the parallel through `through` at q; the
    // shortfall of q gives the true distance u along the line.
    TDLine parallel;
    line_parallel_point(through, line, parallel);
    TDPoint q;
    get_intersection_line_arc(parallel, arc, through, q);
    const double u = r - distance_2_points(through, q);

    offset_line(perp, u, pick, across);
    point_inter_2_lines(centres, across, arc.Center);
    return CALC_OK;
}

int arc_tangent_arc_point(const TDArc& given, const TDPoint& pick, const TDPoint& through, double r, double s, double e,
                          TDArc& arc)
{
    const double dt = distance_2_points(given.Center, through);
    const double R = given.Radius;
    double reach;
    if (within(0.00001, dt, R))
        reach = distance_2_points(given.Center, pick) > R ? R + r : R - r;
    else
        reach = dt < R ? R - r : R + r;
    get_intersection_arc_arc(circle(given.Center, reach), circle(through, r), pick, arc.Center);
    set_sweep(arc, r, s, e);
    return CALC_OK;
}

int arc_tangent_element_point(const TElement& element, const TDPoint& pick, const TDPoint& through, double r, double s,
                              double e, TDArc& arc)
{
    switch (element.GetEtype()) {
    case etLine:
        return arc_tangent_line_point(get_line_from_element(element), pick, through, r, s, e, arc);
    case etArc:
        return arc_tangent_arc_point(get_arc_from_element(element), pick, through, r, s, e, arc);
    default:
        return -1;
    }
}

// ---------------------------------------------------------------- fillets

int arc_tangent_2_lines(const TDLine& line1, const TDLine& line2, double r, double s, double e, const TDPoint& pick1,
                        const TDPoint& pick2, TDArc& arc)
{
    set_sweep(arc, r, s, e);
    TDLine o1, o2;
    offset_line(line1, r, pick1, o1);
    offset_line(line2, r, pick2, o2);
    return point_inter_2_lines(o1, o2, arc.Center);
}

int arc_tangent_line_arc(const TDLine& line, const TDArc& given, double r, double s, double e, const TDPoint& pick1,
                         const TDPoint& pick2, TDArc& arc)
{
    const double reach = distance_2_points(given.Center, pick2) > given.Radius ? given.Radius + r : given.Radius - r;
    TDLine moved;
    offset_line(line, r, pick1, moved);
    TDPoint q;
    get_intersection_line_arc(moved, circle(given.Center, reach), pick1, q);
    arc.Center.X = q.X;
    arc.Center.Y = q.Y;
    set_sweep(arc, r, s, e);
    return CALC_OK;
}

int arc_tangent_2_arcs(const TDArc& arc1, const TDArc& arc2, double r, double s, double e, const TDPoint& /*pick1*/,
                       const TDPoint& /*pick2*/, TDArc& arc)
{
    TDPoint first, second;
    const int code =
        point_inter_2_arcs(circle(arc1.Center, arc1.Radius + r), circle(arc2.Center, arc2.Radius + r), first, second);
    arc.Center = first;
    set_sweep(arc, r, s, e);
    return code;
}

// ---------------------------------------------------------------- three lines

int arc_tan_3_lines(const TDLine& line1, const TDLine& line2, const TDLine& line3, const TDPoint& pick, double s,
                    double e, TDArc& arc)
{
    const TDLine lines[3] = {line1, line2, line3};
    double a[3];
    for (int i = 0; i < 3; ++i)
        a[i] = fix_angle(get_angle_line(lines[i]));

    // Half the distance between two parallel lines.
    auto half_gap = [](const TDLine& first, const TDLine& second) {
        TDPoint foot;
        get_closest_point_line(second, first.P1, foot);
        return distance_2_points(first.P1, foot) / 2;
    };

    const bool par12 = within(0.00001, a[0], a[1]);
    const bool par13 = within(0.00001, a[0], a[2]);
    const bool par23 = within(0.00001, a[1], a[2]);
    if (par12 || par13 || par23) {
        // The centre lies halfway between the parallels and h from the
        // crossing line; both are found as offsets towards the pick point.
        TDLine m1 = line1, m2 = line2;
        double h = 0;
        if (par12) {
            h = half_gap(line1, line2);
            offset_line(line1, h, pick, m1);
            offset_line(line3, h, pick, m2);
        }
        if (par13) {
            h = half_gap(line1, line3);
            offset_line(line1, h, pick, m1);
            offset_line(line2, h, pick, m2);
        }
        if (par23) {
            h = half_gap(line2, line3);
            offset_line(line1, h, pick, m1);
            offset_line(line3, h, pick, m2);
        }
        if (int(par12) + int(par13) + int(par23) >= 2)
            return -1;
        point_inter_2_lines(m1, m2, arc.Center);
        set_sweep(arc, h, s, e);
        return CALC_OK;
    }

    // The inscribed circle: the crossing of two angle bisectors.
    TDPoint v12, v13, v23;
    point_inter_2_lines(line1, line2, v12);
    point_inter_2_lines(line1, line3, v13);
    point_inter_2_lines(line2, line3, v23);
    auto bisector = [](const TDPoint& vertex, const TDPoint& to1, const TDPoint& to2) {
        const double b1 = get_angle_2_points(vertex, to1);
        const double b2 = get_angle_2_points(vertex, to2);
        const double direction = std::fmin(b1, b2) + std::fabs(b1 - b2) / 2;
        TDPoint along;
        point_arc_angle(circle(vertex, 1), direction, along);
        return TDLine{vertex, along};
    };
    TDPoint centre;
    point_inter_2_lines(bisector(v12, v13, v23), bisector(v13, v12, v23), centre);
    centre.Z = 0;
    TDPoint foot;
    get_closest_point_line(line1, centre, foot);
    arc.Center = centre;
    set_sweep(arc, distance_2_points(centre, foot), s, e);
    return CALC_OK;
}

// ---------------------------------------------------------------- two points and a line

int arc_tan_2_points_element(const TDPoint& p1, const TDPoint& p2, const TElement& element, double /*r*/, double /*s*/,
                             double /*e*/, TDArc& arc)
{
    const TDLine line = get_line_from_element(element);
    const double aL = get_angle_line(line);
    const double aC = get_angle_2_points(p1, p2);
    if (std::fabs(aL - aC) < 0.0001) {
        // The chord runs along the line: the circle touches below its middle.
        TDPoint foot;
        get_closest_point_line(line, midPoint_2_points(p1, p2), foot);
        arc_3_points(p1, p2, foot, 0, 360, arc);
        return CALC_OK;
    }
    // The tangent length from the crossing x of line and chord is the
    // geometric mean of the distances from x to the two points.
    TDPoint x;
    point_inter_2_lines(line, TDLine{p1, p2}, x);
    const double t = std::sqrt(distance_2_points(x, p1) * distance_2_points(x, p2));
    diline il;
    make_iline(line, il);
    double xa = 0, xb = 0, ya = 0, yb = 0;
    detail::line_circle(il, circle(x, t), xa, xb, ya, yb);
    const TDPoint touch =
        _distance(xa, ya, p1.X, p1.Y) < _distance(xb, yb, p1.X, p1.Y) ? TDPoint{xa, ya, 0} : TDPoint{xb, yb, 0};
    arc_3_points(p1, p2, touch, 0, 360, arc);
    return CALC_OK;
}

int arc_tangent_line_2_points(const TDLine& /*line*/, const TDPoint& /*p1*/, const TDPoint& /*p2*/, double /*s*/,
                              double /*e*/, TDArc& /*arc*/)
{
    return -1;
}

} // namespace orvex::TangroGDIOps
