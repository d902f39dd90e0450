// Vectors and affine maps of model space, the DXF arbitrary axis algorithm,
// and the arc view a plane in model space belongs to.
#pragma once

#include "formats/common/drawing_sink.h"

#include <array>
#include <cmath>

namespace orvex::formats {

using Vec3 = std::array<double, 3>;

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline Vec3 operator*(const Vec3& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }
inline double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline double norm(const Vec3& a) { return std::sqrt(dot(a, a)); }
/// The vector scaled to length 1; the zero vector stays as it is.
inline Vec3 unit(const Vec3& a)
{
    const double n = norm(a);
    return n > 0 ? a * (1 / n) : a;
}

/// x' = R x + T; rows R[0..2] with the translation in column 3.
struct Matrix {
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

    Vec3 apply(double x, double y, double z) const
    {
        return {m[0][0] * x + m[0][1] * y + m[0][2] * z + m[0][3], m[1][0] * x + m[1][1] * y + m[1][2] * z + m[1][3],
                m[2][0] * x + m[2][1] * y + m[2][2] * z + m[2][3]};
    }
    Vec3 apply(const Vec3& p) const { return apply(p[0], p[1], p[2]); }
    Vec3 direction(double x, double y, double z) const
    {
        return {m[0][0] * x + m[0][1] * y + m[0][2] * z, m[1][0] * x + m[1][1] * y + m[1][2] * z,
                m[2][0] * x + m[2][1] * y + m[2][2] * z};
    }
    Vec3 direction(const Vec3& d) const { return direction(d[0], d[1], d[2]); }
    /// this after inner: x' = this(inner(x)).
    Matrix after(const Matrix& inner) const;

    /// The map whose columns are the axes x, y, z and whose origin is o.
    static Matrix from_axes(const Vec3& x, const Vec3& y, const Vec3& z, const Vec3& o = {0, 0, 0});
    static Matrix translation(const Vec3& t) { return from_axes({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, t); }
    static Matrix scaling(double sx, double sy, double sz) { return from_axes({sx, 0, 0}, {0, sy, 0}, {0, 0, sz}); }
    /// A turn about Z by `degrees`.
    static Matrix rotation_z(double degrees);
};

/// The object coordinate system of a DXF extrusion direction (the arbitrary
/// axis algorithm): its axes as the columns of a map to world coordinates.
Matrix ocs_to_world(const Vec3& extrusion);

/// The arc view of a plane given by its first axis and normal (model
/// vectors of length 1): 1 for planes parallel to the top view, an entry
/// holding the plane, or the first undefined entry, which is then defined;
/// 0 when every entry is taken.
int arc_view_of(const Vec3& xAxis, const Vec3& normal, ArcViewTable& views);

} // namespace orvex::formats
