// Where circles meet circles and lines meet circles, and the choice of one
// candidate point by a pick point or a compass side.
#include <OrvexGDI/TangroGDIOps.h>

#include <cfloat>
#include <cmath>

namespace orvex::TangroGDIOps {

namespace detail {

int line_circle(const diline& il, const TDArc& circle, double& xa, double& xb, double& ya, double& yb)
{
    double u = il.NormalX;
    const double v = il.NormalY;
    const double w = il.Offset;
    const double h = circle.Center.X;
    const double k = circle.Center.Y;
    const double r = circle.Radius;

    if (std::fabs(u) < 1e-7)
        u = 0;
    if (u == 0) {
        // Horizontal line v*y + w = 0.
        const double y = -w / v;
        ya = y;
        yb = y;
        const double disc = r * r - (k - y) * (k - y);
        if (disc < -1e-8)
            return CALC_ARC_NO_INTERSECT;
        const double s = std::sqrt(std::fabs(disc));
        xa = h + s;
        xb = h - s;
        return CALC_OK;
    }

    // Solve for y: a2*y^2 + 2*b2*y + c2 = 0.
    const double a2 = u * u + v * v;
    const double b2 = v * w - u * u * k + u * v * h;
    const double c2 = u * u * (h * h + k * k - r * r) + w * w + 2 * u * w * h;
    const double raw = b2 * b2 - a2 * c2;

    // raw is u^2 * a2 * (r^2 - d^2) with d the distance of the centre from the
    // line. A line passing outside the circle by more than the tolerance of
    // the horizontal case (plus the rounding of the terms above) misses it.
    const double terms = std::fabs(u * u) * (h * h + k * k + r * r) + w * w + std::fabs(2 * u * w * h);
    const double b_terms = std::fabs(v * w) + u * u * std::fabs(k) + std::fabs(u * v * h);
    const double rounding = 8 * DBL_EPSILON * (2 * std::fabs(b2) * b_terms + a2 * terms);
    if (raw < -(1e-8 * u * u * a2 + rounding))
        return CALC_ARC_NO_INTERSECT;

    double disc = std::fabs(raw);
    if (disc == 0)
        disc = 1e-8; // a tangent contact: two points a hair apart
    const double s = std::sqrt(disc);
    ya = (s - b2) / a2;
    yb = -(s + b2) / a2;
    xa = -(v * ya + w) / u;
    xb = -(v * yb + w) / u;
    return CALC_OK;
}

} // namespace detail

int CALC_2(const TDArc& c1, const TDArc& c2, double& xa, double& xb, double& ya, double& yb)
{
    const double r1 = c1.Radius, r2 = c2.Radius;
    const double cx1 = c1.Center.X, cy1 = c1.Center.Y, cx2 = c2.Center.X, cy2 = c2.Center.Y;
    if (r1 + r2 + 0.0001 < _distance(cx1, cy1, cx2, cy2))
        return CALC_RADIUS_NO_INTERSECT;
    // The radical line of the two circles.
    const double A = 2 * (cx2 - cx1);
    const double B = 2 * (cy2 - cy1);
    const double Kc = (cx1 * cx1 + cy1 * cy1 - r1 * r1) - (cx2 * cx2 + cy2 * cy2 - r2 * r2);
    const double n = std::sqrt(A * A + B * B);
    if (n == 0)
        return CALC_CONCENTRIC;
    return detail::line_circle(diline{A / n, B / n, Kc / n}, c1, xa, xb, ya, yb);
}

int point_inter_2_arcs(const TDArc& c1, const TDArc& c2, TDPoint& p1, TDPoint& p2)
{
    // Where the circles do not meet, both points fall on the line of centres
    // halfway between the two circles: the touch point of nearly touching
    // circles. Concentric circles use the direction 0 and the mean radius.
    double ux = 1, uy = 0;
    const double d = _distance(c1.Center.X, c1.Center.Y, c2.Center.X, c2.Center.Y);
    double along = (c1.Radius + c2.Radius) / 2;
    if (d > 0) {
        ux = (c2.Center.X - c1.Center.X) / d;
        uy = (c2.Center.Y - c1.Center.Y) / d;
        along = (c1.Radius + d - c2.Radius) / 2;
    }
    double xa = c1.Center.X + along * ux, xb = xa;
    double ya = c1.Center.Y + along * uy, yb = ya;

    const int answer = CHECK_ERROR2(CALC_2(c1, c2, xa, xb, ya, yb));
    p1 = {xa, ya, c1.Center.Z};
    p2 = {xb, yb, c1.Center.Z};
    return answer;
}

int get_intersection_arc_arc(const TDArc& c1, const TDArc& c2, const TDPoint& pick, TDPoint& q)
{
    TDPoint p1, p2;
    point_inter_2_arcs(c1, c2, p1, p2);
    q = distance_2_points(p1, pick) < distance_2_points(p2, pick) ? p1 : p2;
    return CALC_OK;
}

int get_intersection_line_arc(const TDLine& line, const TDArc& circle, const TDPoint& pick, TDPoint& q)
{
    constexpr long double K = DegreesPerRadian;
    const double r = circle.Radius;
    TDPoint f;
    get_closest_point_line(line, circle.Center, f);
    const double h = distance_2_points(circle.Center, f);
    double s = 0;
    if (std::fabs(std::fabs(r) - std::fabs(h)) >= 0.00001)
        s = std::sqrt(std::fabs(r * r - h * h));
    double aL = get_angle_line(line);
    if (aL > 180)
        aL -= 180;
    const double b = s == 0 ? 90.0 : static_cast<double>(std::atan(static_cast<long double>(h) / s) * K);

    TDPoint k1, k2, k3, k4;
    point_arc_angle(circle, aL - b, k1);
    point_arc_angle(circle, aL + b, k2);
    point_arc_angle(circle, aL + 180 + b, k3);
    point_arc_angle(circle, aL + 180 - b, k4);
    const double e1 = distance_2_points(k1, pick), e2 = distance_2_points(k2, pick);
    const double e3 = distance_2_points(k3, pick), e4 = distance_2_points(k4, pick);
    const TDPoint& w12 = e1 < e2 ? k1 : k2;
    const double d12 = e1 < e2 ? e1 : e2;
    const TDPoint& w34 = e3 < e4 ? k3 : k4;
    const double d34 = e3 < e4 ? e3 : e4;
    q = d12 < d34 ? w12 : w34;
    q.Z = circle.Center.Z;
    return CALC_OK;
}

bool horizontal_inter(double y, const TElement& element, TDPoint& p)
{
    const TDLine horizontal{{0, y, 0}, {1, y, 0}};
    return point_inter_2_lines(get_line_from_element(element), horizontal, p) == CALC_OK;
}

void calc3(double xa, double xb, double ya, double yb, std::int8_t code, TDPoint& p)
{
    bool first;
    switch (code & 0x7F) {
    case 1:
        first = xa > xb;
        break; // greater X
    case 2:
        first = !(xa > xb);
        break; // smaller X
    case 3:
        first = ya > yb;
        break; // greater Y
    case 4:
        first = !(ya > yb);
        break; // smaller Y
    default:
        return; // no side: p stays as it was
    }
    p.X = first ? xa : xb;
    p.Y = first ? ya : yb;
}

} // namespace orvex::TangroGDIOps
