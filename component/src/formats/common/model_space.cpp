#include "formats/common/model_space.h"

#include <OrvexGDI/Ops.h>

namespace orvex::formats {

namespace {

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

Matrix Matrix::from_axes(const Vec3& x, const Vec3& y, const Vec3& z, const Vec3& o)
{
    Matrix r;
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        r.m[i][0] = x[k];
        r.m[i][1] = y[k];
        r.m[i][2] = z[k];
        r.m[i][3] = o[k];
    }
    return r;
}

Matrix Matrix::rotation_z(double degrees)
{
    const double a = static_cast<double>(degrees / Ops::DegreesPerRadian);
    const double c = std::cos(a), s = std::sin(a);
    return from_axes({c, s, 0}, {-s, c, 0}, {0, 0, 1});
}

Matrix ocs_to_world(const Vec3& extrusion)
{
    if (extrusion[0] == 0 && extrusion[1] == 0 && extrusion[2] > 0)
        return Matrix{};
    const Vec3 n = unit(extrusion);
    if (!(norm(n) > 0))
        return Matrix{};
    const double limit = 1.0 / 64;
    const Vec3 ax =
        unit(std::fabs(n[0]) < limit && std::fabs(n[1]) < limit ? cross(Vec3{0, 1, 0}, n) : cross(Vec3{0, 0, 1}, n));
    const Vec3 ay = unit(cross(n, ax));
    return Matrix::from_axes(ax, ay, n);
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

} // namespace orvex::formats
