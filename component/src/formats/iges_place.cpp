#include "iges_place.h"

#include <OrvexGDI/Ops.h>

#include <cmath>
#include <utility>

namespace orvex::formats::iges {

namespace {

constexpr long double kDegreesPerRadian = Ops::DegreesPerRadian;

double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double norm(const Vec3& a) { return std::sqrt(dot(a, a)); }
Vec3 scaled(const Vec3& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }

bool near(double a, double b) { return std::fabs(a - b) <= 1e-9; }

bool same_plane(const TArcView& v, const Vec3& x, const Vec3& y, const Vec3& n)
{
    return near(v.M11, x[0]) && near(v.M21, x[1]) && near(v.M31, x[2]) && near(v.M12, y[0]) && near(v.M22, y[1]) &&
           near(v.M32, y[2]) && near(v.M13, n[0]) && near(v.M23, n[1]) && near(v.M33, n[2]);
}

} // namespace

Matrix Matrix::after(const Matrix& inner) const
{
    Matrix r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = j == 3 ? m[i][3] : 0.0;
            for (int k = 0; k < 3; ++k)
                s += m[i][k] * inner.m[k][j];
            r.m[i][j] = s;
        }
    return r;
}

int arc_view_of(const Vec3& vx, const Vec3& vn, ArcViewTable& views)
{
    if (std::fabs(std::fabs(vn[2]) - 1) <= 1e-9)
        return 1;
    const Vec3 vy = cross(vn, vx);
    for (int i = 1; i <= 90; ++i)
        if (views[i].Defined && same_plane(views[i], vx, vy, vn))
            return i;
    for (int i = 2; i <= 90; ++i)
        if (!views[i].Defined) {
            views[i] = TArcView{vx[0], vy[0], vn[0], vx[1], vy[1], vn[1], vx[2], vy[2], vn[2], true};
            return i;
        }
    return 0;
}

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
