#include "formats/iges/iges_curves.h"

#include "formats/common/curve_math.h"

#include <cmath>

namespace orvex::formats::iges {

namespace {

constexpr double kTurn = 6.283185307179586;

bool finite_all(const std::vector<double>& v)
{
    for (double x : v)
        if (!std::isfinite(x))
            return false;
    return true;
}

// Conic arc in standard position: A x^2 + B xy + C y^2 + D x + E y + F = 0
// at height ZT, from (X1, Y1) to (X2, Y2).
bool conic(int form, const std::vector<double>& v, const Matrix& m, WorldShapes& shapes, const ShapeStyle& s)
{
    if (v.size() < 11)
        return false;
    const double A = v[0], C = v[2], D = v[3], E = v[4], F = v[5], z = v[6];
    const double x1 = v[7], y1 = v[8], x2 = v[9], y2 = v[10];
    std::vector<Vec3> box{m.apply(x1, y1, z), m.apply(x2, y2, z)};
    if (form == 1 || (form == 0 && A * C > 0)) { // ellipse
        if (!(-F / A > 0) || !(-F / C > 0))
            return false;
        const double a = std::sqrt(-F / A), b = std::sqrt(-F / C);
        double t0 = std::atan2(y1 / b, x1 / a), t1 = std::atan2(y2 / b, x2 / a);
        while (t1 <= t0)
            t1 += kTurn;
        for (const double sx : {-a, a})
            for (const double sy : {-b, b})
                box.push_back(m.apply(sx, sy, z));
        shapes.curve([=](double t) { return m.apply(a * std::cos(t), b * std::sin(t), z); }, t0, t1, 16, box, s);
        return true;
    }
    if (form == 2 || (form == 0 && A * C < 0)) { // hyperbola, opening along X or Y
        if (-F / A > 0) {
            const double a = std::sqrt(-F / A), b = std::sqrt(F / C), side = x1 < 0 ? -1.0 : 1.0;
            shapes.curve([=](double t) { return m.apply(side * a * std::cosh(t), b * std::sinh(t), z); },
                         std::asinh(y1 / b), std::asinh(y2 / b), 16, box, s);
        } else {
            const double b = std::sqrt(-F / C), a = std::sqrt(F / A), side = y1 < 0 ? -1.0 : 1.0;
            shapes.curve([=](double t) { return m.apply(a * std::sinh(t), side * b * std::cosh(t), z); },
                         std::asinh(x1 / a), std::asinh(x2 / a), 16, box, s);
        }
        return true;
    }
    // Parabola: A x^2 + E y = 0 or C y^2 + D x = 0.
    if (A != 0 && E != 0) {
        shapes.curve([=](double x) { return m.apply(x, -A * x * x / E, z); }, x1, x2, 16, box, s);
        return true;
    }
    if (C != 0 && D != 0) {
        shapes.curve([=](double y) { return m.apply(-C * y * y / D, y, z); }, y1, y2, 16, box, s);
        return true;
    }
    return false;
}

// Copious data: points (forms 1, 2), a path (11, 12) or a closed planar
// curve (63); pairs at a common height or triples.
bool copious(int form, const std::vector<double>& v, const Matrix& m, WorldShapes& shapes, const ShapeStyle& s)
{
    if (v.size() < 2)
        return false;
    const int ip = std::fabs(v[0]) < 4 ? static_cast<int>(v[0]) : 0; // 1, 2 or 3; any other is no form
    const std::size_t n = v[1] > 0 && v[1] < 1e7 ? static_cast<std::size_t>(v[1]) : 0;
    std::vector<Vec3> points;
    if (ip == 1) {
        if (v.size() < 3 + 2 * n)
            return false;
        for (std::size_t i = 0; i < n; ++i)
            points.push_back(m.apply(v[3 + 2 * i], v[4 + 2 * i], v[2]));
    } else if (ip == 2 || ip == 3) {
        const std::size_t step = ip == 2 ? 3 : 6;
        if (v.size() < 2 + step * n)
            return false;
        for (std::size_t i = 0; i < n; ++i)
            points.push_back(m.apply(v[2 + step * i], v[3 + step * i], v[4 + step * i]));
    } else {
        return false;
    }
    if (form == 1 || form == 2 || form == 3) {
        for (const Vec3& p : points)
            shapes.point(p, s);
        return true;
    }
    if (form == 63 && !points.empty())
        points.push_back(points.front());
    shapes.chain(points, s);
    return true;
}

// Rational B-spline curve: K, M, four properties, knots, weights, control
// points, parameter range.
bool bspline(const std::vector<double>& v, const Matrix& m, WorldShapes& shapes, const ShapeStyle& s)
{
    if (v.size() < 6 || !(v[0] >= 0 && v[0] < 1e6) || !(v[1] >= 1 && v[1] <= 32))
        return false;
    const std::size_t K = static_cast<std::size_t>(v[0]);
    const int M = static_cast<int>(v[1]);
    const std::size_t N = 1 + K - static_cast<std::size_t>(M), knots = N + 2 * static_cast<std::size_t>(M) + 1;
    const std::size_t base = 6, wAt = base + knots, pAt = wAt + K + 1, rangeAt = pAt + 3 * (K + 1);
    if (K + 1 < static_cast<std::size_t>(M) + 1 || v.size() < rangeAt + 2)
        return false;
    std::vector<double> U(v.begin() + base, v.begin() + static_cast<std::ptrdiff_t>(wAt));
    std::vector<double> w(v.begin() + static_cast<std::ptrdiff_t>(wAt), v.begin() + static_cast<std::ptrdiff_t>(pAt));
    std::vector<Vec3> P, box;
    for (std::size_t i = 0; i <= K; ++i) {
        P.push_back({v[pAt + 3 * i], v[pAt + 3 * i + 1], v[pAt + 3 * i + 2]});
        box.push_back(m.apply(P.back()));
    }
    double u0 = v[rangeAt], u1 = v[rangeAt + 1];
    if (u0 == u1) {
        // A range of no length (some systems write 0, 0): the curve is drawn
        // over its knots, as Open CASCADE draws it.
        u0 = U[static_cast<std::size_t>(M)];
        u1 = U[K + 1];
    }
    u0 = std::max(u0, U[static_cast<std::size_t>(M)]);
    u1 = std::min(u1, U[K + 1]);
    if (!(u1 > u0))
        return false;
    int spans = 0;
    for (std::size_t i = static_cast<std::size_t>(M); i <= K; ++i)
        spans += U[i + 1] > U[i];
    shapes.curve([=](double u) { return m.apply(nurbs_point(M, U, P, w, u)); }, u0, u1, 4 * std::max(1, spans), box, s);
    return true;
}

} // namespace

bool add_curve(int type, int form, const std::vector<double>& v, const Matrix& m, WorldShapes& shapes,
               const ShapeStyle& style)
{
    if (!finite_all(v))
        return false;
    switch (type) {
    case 104:
        return conic(form, v, m, shapes, style);
    case 106:
        return copious(form, v, m, shapes, style);
    case 126:
        return bspline(v, m, shapes, style);
    default:
        return false;
    }
}

} // namespace orvex::formats::iges
