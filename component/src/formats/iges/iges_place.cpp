#include "formats/iges/iges_place.h"

#include <OrvexGDI/Ops.h>

#include <cmath>
#include <utility>

namespace orvex::formats::iges {

namespace {

constexpr long double kDegreesPerRadian = Ops::DegreesPerRadian;

Vec3 scaled(const Vec3& a, double s) { return a * s; }

} // namespace

bool place(Shape& e, const Matrix& m, ArcViewTable& views)
{
    auto move_point = [&](int slot) {
        const Vec3 p = m.apply(e.c[slot], e.c[slot + 1], e.c[slot + 2]);
        for (int k = 0; k < 3; ++k)
            e.c[slot + k] = p[static_cast<std::size_t>(k)];
    };
    switch (e.Etype) {
    case etPoint:
        move_point(0);
        return true;
    case etLine:
        move_point(0);
        move_point(3);
        return true;
    case etArc:
        break;
    default:
        return true;
    }

    const double cx = e.c[0], cy = e.c[1], zt = e.c[2], r = e.c[3];
    const double a1 = e.c[4], a2 = e.c[5];
    const bool full = a1 == 0 && a2 == 360;
    const Vec3 ax = m.direction(1, 0, 0), ay = m.direction(0, 1, 0);
    Vec3 n = cross(ax, ay);
    const double scale = norm(ax);
    const double nn = norm(n);
    if (!(scale > 0) || !(nn > 0))
        return true; // a degenerate matrix: leave the arc as it was
    n = scaled(n, 1 / nn);

    // The plane's axes in model space: the top view when the arc lies
    // parallel to it, otherwise the arc's own first axis and normal.
    Vec3 vx{1, 0, 0}, vy{0, 1, 0}, vn{0, 0, 1};
    const int view = arc_view_of(scaled(ax, 1 / scale), n, views);
    if (view == 0)
        return false; // every arc view is taken
    if (view != 1) {
        vn = n;
        vx = scaled(ax, 1 / scale);
        vy = cross(vn, vx);
    }
    auto local = [&](const Vec3& p) { return Vec3{dot(vx, p), dot(vy, p), dot(vn, p)}; };
    const Vec3 centre = local(m.apply(cx, cy, zt));
    auto angle_of = [&](double a) {
        const double t = static_cast<double>(a / kDegreesPerRadian);
        const Vec3 p = local(m.apply(cx + r * std::cos(t), cy + r * std::sin(t), zt));
        return Ops::get_angle_degrees(centre[0], centre[1], p[0], p[1]);
    };
    e.c[0] = centre[0];
    e.c[1] = centre[1];
    e.c[2] = centre[2];
    e.c[3] = r * scale;
    e.View = view;
    if (full)
        return true;
    double start = angle_of(a1), end = angle_of(a2);
    // A mirroring matrix turns the arc's sense round.
    if (dot(cross(local(ax), local(ay)), Vec3{0, 0, 1}) < 0)
        std::swap(start, end);
    if (start == end) {
        start = 0;
        end = 360;
    }
    e.c[4] = start;
    e.c[5] = end;
    return true;
}

} // namespace orvex::formats::iges
