// Hit tests of the pick: points, lines and arcs under the cursor.
#include "common/codes.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsPick.h>
#include <OrvexGDI/OpsView.h>

#include <cmath>
#include <utility>

namespace orvex::Ops {

namespace {

// The two coordinates a standard view shows of a model point.
bool view_plane(int view, double x, double y, double z, double& a, double& b)
{
    switch (view) {
    case 1:
        a = x, b = y;
        return true;
    case 2:
        a = x, b = z;
        return true;
    case 3:
        a = y, b = z;
        return true;
    default:
        return false;
    }
}
} // namespace

bool on_point(int view, double X, double Y, double Z, double scale, double aperture, const TElement& element, double& u,
              double& v, double& w)
{
    double a = 0, b = 0, ea = 0, eb = 0;
    if (!view_plane(view, X, Y, Z, a, b))
        return false; // a point has no extent to find in the rotated view
    view_plane(view, element.slot(0), element.slot(1), element.slot(2), ea, eb);
    if (!(distance(a, b, ea, eb) * scale < aperture))
        return false;
    u = element.slot(0);
    v = element.slot(1);
    w = element.slot(2);
    return true;
}

void isometric_view_plane(double X, double Y, double& u, double& w)
{
    // The constants are taken from the fixed mapping itself, so the inverse
    // matches it to the last bit of the constants: (1, 0, 0) maps to (K1, -K2).
    static const auto constants = [] {
        double o1 = 0, o2 = 0, o3 = 0;
        get_3d_point(1, 0, 0, o1, o2, o3);
        return std::pair<double, double>(o1, -o2);
    }();
    const double sum = Y / constants.first;   // u + w
    const double diff = X / constants.second; // u - w
    u = (sum + diff) / 2;
    w = (sum - diff) / 2;
}

bool on_line(int view, double X, double Y, double Z, double scale, double aperture, const TElement& element, double& u,
             double& v, double& w, const ViewRows* rotated)
{
    dpoint p1, p2, pick;
    if (view == 4) {
        if (rotated == nullptr)
            return false;
        const ViewRows& r = *rotated;
        const double x1 = element.slot(0), y1 = element.slot(1), z1 = element.slot(2);
        const double x2 = element.slot(3), y2 = element.slot(4), z2 = element.slot(5);
        p1 = {r.R11 * x1 + r.R12 * y1 + r.R13 * z1, r.R21 * x1 + r.R22 * y1 + r.R23 * z1, 0};
        p2 = {r.R11 * x2 + r.R12 * y2 + r.R13 * z2, r.R21 * x2 + r.R22 * y2 + r.R23 * z2, 0};
        isometric_view_plane(X, Y, pick.X, pick.Y);
    } else {
        if (!view_plane(view, X, Y, Z, pick.X, pick.Y))
            return false;
        view_plane(view, element.slot(0), element.slot(1), element.slot(2), p1.X, p1.Y);
        view_plane(view, element.slot(3), element.slot(4), element.slot(5), p2.X, p2.Y);
    }

    // Not beyond the ends: inside the circle over the segment as diameter.
    const dpoint mid = midpoint_2_points(p1, p2);
    if (distance_2_points(pick, mid) > distance_2_points(p1, mid))
        return false;

    dpoint foot = p1;
    get_closest_point_line(dline{p1, p2}, pick, foot);
    if (!(distance_2_points(pick, foot) * scale < aperture))
        return false;
    u = foot.X;
    v = foot.Y;
    w = 0;
    return true;
}

bool arc_hit(int view, double X, double Y, double Z, double scale, double aperture, const TElement& element,
             dpoint& near, double& farX, double& farY)
{
    double px = 0, py = 0;
    switch (view) {
    case 1:
    case 4:
        px = X, py = Y;
        break;
    case 2:
        px = X, py = Z;
        break;
    case 3:
        px = Y, py = Z;
        break;
    default:
        return false;
    }
    // An arc drawn in another standard view is not where this view shows it.
    if (view != 4 && element.GetView() != view)
        return false;

    const double cx = element.slot(0), cy = element.slot(1), cz = element.slot(2);
    const double r = element.slot(3);
    const double dc = std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy));
    if (std::fabs(dc - r) * scale >= aperture)
        return false;

    double a = get_angle_degrees(cx, cy, px, py);
    double s = element.slot(4), e = element.slot(5);
    if (s < 0 || e < 0) {
        s = fix_angle(s);
        e = fix_angle(e);
    }
    if (std::fabs(std::fabs(s) - std::fabs(e)) < 1e-5) {
        s = 0; // equal angles: the full circle
        e = 360;
    }
    if (s > e)
        e += 360;
    if (e > 360 && a < s)
        a += 360;
    if (!(s <= a && a <= e))
        return false;

    const double sx = cx + r * std::cos(s / codes::kDegreesPerRadian),
                 sy = cy + r * std::sin(s / codes::kDegreesPerRadian);
    const double ex = cx + r * std::cos(e / codes::kDegreesPerRadian),
                 ey = cy + r * std::sin(e / codes::kDegreesPerRadian);
    if (distance(ex, ey, px, py) < distance(sx, sy, px, py)) {
        near = {ex, ey, cz};
        farX = sx, farY = sy;
    } else {
        near = {sx, sy, cz};
        farX = ex, farY = ey;
    }
    return true;
}

bool pick_filter_accepts(int code, int etype)
{
    using namespace codes;
    switch (code) {
    case kPickPoints:
        return etype == etPoint;
    case kPickLines:
        return etype == etLine;
    case kPickArcs:
        return etype == etArc;
    case kPickPointLine:
        return etype == etPoint || etype == etLine;
    case kPickPointArc:
        return etype == etPoint || etype == etArc;
    case kPickLineArc:
        return etype == etLine || etype == etArc;
    default:
        return true;
    }
}

} // namespace orvex::Ops
