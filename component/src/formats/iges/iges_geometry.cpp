#include "formats/iges/iges_geometry.h"

#include "formats/common/curve_math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace orvex::formats::iges {

namespace {

constexpr double kTurn = 6.283185307179586;
constexpr int kMaxDepth = 16;
// Counts and degrees beyond these are broken data, not geometry.
constexpr double kMaxCount = 1e6;
constexpr int kMaxDegree = 32;

bool finite_all(const std::vector<double>& v)
{
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

// A count field: its integer value when it lies in [low, kMaxCount), else -1.
long long count_of(double x, long long low)
{
    if (!(x >= static_cast<double>(low) && x < kMaxCount) || x != std::trunc(x))
        return -1;
    return static_cast<long long>(x);
}

// A directory pointer held in a value; 0 (no entity) beyond the integers.
int pointer_of(double x) { return x > -2147483649.0 && x < 2147483648.0 ? static_cast<int>(x) : 0; }

Vec3 at3(const std::vector<double>& v, std::size_t i) { return {v[i], v[i + 1], v[i + 2]}; }

std::vector<Vec3> placed(const std::vector<Vec3>& points, const Matrix& m)
{
    std::vector<Vec3> out;
    out.reserve(points.size());
    for (const Vec3& p : points)
        out.push_back(m.apply(p));
    return out;
}

using H4 = std::array<double, 4>;

// The last knot index k in [p, n - 1] with U[k] <= t (found by halving).
int span_of(const std::vector<double>& U, int p, int n, double t)
{
    int k = p, above = std::max(p + 1, n);
    while (above - k > 1) {
        const int mid = k + (above - k) / 2;
        if (t >= U[static_cast<std::size_t>(mid)])
            k = mid;
        else
            above = mid;
    }
    return k;
}

// De Boor's algorithm on the p + 1 homogeneous points of span k.
H4 de_boor(const std::vector<double>& U, int p, int k, H4* local, double t)
{
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            const int i = k - p + j;
            const double lo = U[static_cast<std::size_t>(i)], hi = U[static_cast<std::size_t>(i + p - r + 1)];
            const double a = hi > lo ? (t - lo) / (hi - lo) : 0.0;
            for (std::size_t c = 0; c < 4; ++c)
                local[j][c] = (1 - a) * local[j - 1][c] + a * local[j][c];
        }
    return local[p];
}

// The p + 1 B-spline basis functions of span k at t (the triangular
// recurrence of Cox and de Boor), into N[0..p].
void basis(const std::vector<double>& U, int p, int k, double t, double* N)
{
    double left[kMaxDegree + 1], right[kMaxDegree + 1];
    N[0] = 1;
    for (int j = 1; j <= p; ++j) {
        left[j] = t - U[static_cast<std::size_t>(k + 1 - j)];
        right[j] = U[static_cast<std::size_t>(k + j)] - t;
        double saved = 0;
        for (int r = 0; r < j; ++r) {
            const double denominator = right[r + 1] + left[j - r];
            const double share = denominator != 0 ? N[r] / denominator : 0;
            N[r] = saved + right[r + 1] * share;
            saved = left[j - r] * share;
        }
        N[j] = saved;
    }
}

int knot_spans(const std::vector<double>& U, int p, int n)
{
    int spans = 0;
    for (int i = p; i < n; ++i)
        spans += U[static_cast<std::size_t>(i + 1)] > U[static_cast<std::size_t>(i)];
    return std::max(1, spans);
}

// The range a B-spline is drawn over: its stated range within its knots, or
// the knots' whole range for a stated range of no length.
bool clamp_range(double& a, double& b, double lo, double hi)
{
    if (a == b) {
        a = lo;
        b = hi;
    }
    a = std::max(a, lo);
    b = std::min(b, hi);
    return b > a;
}

// ---- curves ----

bool arc_piece(const std::vector<double>& v, const Matrix& m, std::vector<CurvePiece>& out)
{
    if (v.size() < 7)
        return false;
    const double z = v[0], cx = v[1], cy = v[2];
    const double r = std::hypot(v[3] - cx, v[4] - cy);
    if (!(r > 0))
        return false;
    const double a0 = std::atan2(v[4] - cy, v[3] - cx);
    double a1 = std::atan2(v[6] - cy, v[5] - cx);
    if (a1 <= a0)
        a1 += kTurn;
    CurvePiece c;
    c.At = [=](double t) { return m.apply(cx + r * std::cos(t), cy + r * std::sin(t), z); };
    c.T0 = a0;
    c.T1 = a1;
    c.Pieces = std::max(1, static_cast<int>(std::ceil((a1 - a0) / (kTurn / 8))));
    for (const double sx : {-r, r})
        for (const double sy : {-r, r})
            c.Hull.push_back(m.apply(cx + sx, cy + sy, z));
    out.push_back(std::move(c));
    return true;
}

bool line_piece(const std::vector<double>& v, const Matrix& m, std::vector<CurvePiece>& out)
{
    if (v.size() < 6)
        return false;
    const Vec3 a = m.apply(at3(v, 0)), b = m.apply(at3(v, 3));
    CurvePiece c;
    c.At = [=](double t) { return a + (b - a) * t; };
    c.Hull = {a, b};
    out.push_back(std::move(c));
    return true;
}

// An ellipse of a conic arc (104 form 1): A x^2 + C y^2 + F = 0 at height ZT.
bool ellipse_piece(int form, const std::vector<double>& v, const Matrix& m, std::vector<CurvePiece>& out)
{
    if (v.size() < 11)
        return false;
    const double A = v[0], C = v[2], F = v[5], z = v[6];
    if (!(form == 1 || (form == 0 && A * C > 0)) || !(-F / A > 0) || !(-F / C > 0))
        return false;
    const double a = std::sqrt(-F / A), b = std::sqrt(-F / C);
    const double t0 = std::atan2(v[8] / b, v[7] / a);
    double t1 = std::atan2(v[10] / b, v[9] / a);
    if (t1 <= t0)
        t1 += kTurn;
    CurvePiece c;
    c.At = [=](double t) { return m.apply(a * std::cos(t), b * std::sin(t), z); };
    c.T0 = t0;
    c.T1 = t1;
    c.Pieces = 8;
    for (const double sx : {-a, a})
        for (const double sy : {-b, b})
            c.Hull.push_back(m.apply(sx, sy, z));
    out.push_back(std::move(c));
    return true;
}

// Copious data as a path (forms 11, 12, 63 and the plain form 0), pairs at a
// common height or triples.
bool path_piece(int form, const std::vector<double>& v, const Matrix& m, std::vector<CurvePiece>& out)
{
    if (v.size() < 2 || (form != 0 && form != 11 && form != 12 && form != 63))
        return false;
    const long long ip = count_of(v[0], 1), n = count_of(v[1], 2);
    if (ip < 1 || ip > 3 || n < 2)
        return false;
    auto points = std::make_shared<std::vector<Vec3>>();
    const std::size_t count = static_cast<std::size_t>(n);
    if (ip == 1) {
        if (v.size() < 3 + 2 * count)
            return false;
        for (std::size_t i = 0; i < count; ++i)
            points->push_back(m.apply(v[3 + 2 * i], v[4 + 2 * i], v[2]));
    } else {
        const std::size_t step = ip == 2 ? 3 : 6;
        if (v.size() < 2 + step * count)
            return false;
        for (std::size_t i = 0; i < count; ++i)
            points->push_back(m.apply(at3(v, 2 + step * i)));
    }
    if (form == 63)
        points->push_back(points->front());
    CurvePiece c;
    const double last = static_cast<double>(points->size() - 1);
    c.At = [points, last](double t) {
        const double s = std::clamp(t, 0.0, last);
        const std::size_t i = std::min(static_cast<std::size_t>(s), points->size() - 2);
        const double f = s - static_cast<double>(i);
        return (*points)[i] + ((*points)[i + 1] - (*points)[i]) * f;
    };
    c.T1 = last;
    c.Pieces = static_cast<int>(points->size() - 1);
    c.Hull = *points;
    out.push_back(std::move(c));
    return true;
}

// Parametric spline curve: cubic pieces between break points.
bool spline_piece(const std::vector<double>& v, const Matrix& m, std::vector<CurvePiece>& out)
{
    if (v.size() < 4)
        return false;
    const long long n = count_of(v[3], 1);
    if (n < 1)
        return false;
    const std::size_t segments = static_cast<std::size_t>(n), coefficientsAt = 4 + segments + 1;
    if (v.size() < coefficientsAt + 12 * segments)
        return false;
    auto breaks =
        std::make_shared<std::vector<double>>(v.begin() + 4, v.begin() + static_cast<std::ptrdiff_t>(coefficientsAt));
    auto coefficients =
        std::make_shared<std::vector<double>>(v.begin() + static_cast<std::ptrdiff_t>(coefficientsAt),
                                              v.begin() + static_cast<std::ptrdiff_t>(coefficientsAt + 12 * segments));
    if (!std::is_sorted(breaks->begin(), breaks->end()) || !(breaks->back() > breaks->front()))
        return false;
    CurvePiece c;
    c.At = [=](double t) {
        const std::size_t i = static_cast<std::size_t>(
            std::clamp<std::ptrdiff_t>(std::upper_bound(breaks->begin(), breaks->end(), t) - breaks->begin() - 1, 0,
                                       static_cast<std::ptrdiff_t>(segments) - 1));
        const double s = t - (*breaks)[i];
        const double* k = coefficients->data() + 12 * i;
        Vec3 p;
        for (std::size_t d = 0; d < 3; ++d)
            p[d] = k[4 * d] + s * (k[4 * d + 1] + s * (k[4 * d + 2] + s * k[4 * d + 3]));
        return m.apply(p);
    };
    c.T0 = breaks->front();
    c.T1 = breaks->back();
    c.Pieces = static_cast<int>(4 * segments);
    for (std::size_t i = 0; i <= 8 * segments; ++i)
        c.Hull.push_back(c.At(c.T0 + (c.T1 - c.T0) * static_cast<double>(i) / static_cast<double>(8 * segments)));
    out.push_back(std::move(c));
    return true;
}

bool bspline_piece(const std::vector<double>& v, const Matrix& m, std::vector<CurvePiece>& out)
{
    if (v.size() < 6)
        return false;
    const long long K = count_of(v[0], 0), M = count_of(v[1], 1);
    if (K < 0 || M < 1 || M > kMaxDegree || K < M)
        return false;
    const std::size_t k = static_cast<std::size_t>(K), knots = k + static_cast<std::size_t>(M) + 2;
    const std::size_t wAt = 6 + knots, pAt = wAt + k + 1, rangeAt = pAt + 3 * (k + 1);
    if (v.size() < rangeAt + 2)
        return false;
    std::vector<double> U(v.begin() + 6, v.begin() + static_cast<std::ptrdiff_t>(wAt));
    std::vector<double> w(v.begin() + static_cast<std::ptrdiff_t>(wAt), v.begin() + static_cast<std::ptrdiff_t>(pAt));
    std::vector<Vec3> P;
    for (std::size_t i = 0; i <= k; ++i)
        P.push_back(at3(v, pAt + 3 * i));
    double t0 = v[rangeAt], t1 = v[rangeAt + 1];
    const int p = static_cast<int>(M);
    if (!clamp_range(t0, t1, U[static_cast<std::size_t>(p)], U[k + 1]))
        return false;
    CurvePiece c;
    c.Hull = placed(P, m);
    c.Pieces = 4 * knot_spans(U, p, static_cast<int>(k + 1));
    c.At = [m, p, U = std::move(U), P = std::move(P), w = std::move(w)](double t) {
        return m.apply(nurbs_point(p, U, P, w, t));
    };
    c.T0 = t0;
    c.T1 = t1;
    out.push_back(std::move(c));
    return true;
}

// At most this many entities are visited for one curve: composite curves
// that name themselves, or each other many times over, end here.
constexpr int kMaxVisits = 10'000;

void pieces_into(const GeometryEntity& e, const Matrix& outer, const EntityLookup& lookup, int depth,
                 std::vector<CurvePiece>& out, int& visits)
{
    if (depth > kMaxDepth || ++visits > kMaxVisits || !finite_all(e.Values))
        return;
    const Matrix m = outer.after(e.Placement);
    const std::vector<double>& v = e.Values;
    switch (e.Type) {
    case 100:
        arc_piece(v, m, out);
        return;
    case 104:
        ellipse_piece(e.Form, v, m, out);
        return;
    case 106:
        path_piece(e.Form, v, m, out);
        return;
    case 110:
        line_piece(v, m, out);
        return;
    case 112:
        spline_piece(v, m, out);
        return;
    case 126:
        bspline_piece(v, m, out);
        return;
    case 102: {
        const long long n = v.empty() ? -1 : count_of(v[0], 0);
        for (long long i = 1; i <= n && static_cast<std::size_t>(i) < v.size(); ++i)
            if (const GeometryEntity* member = lookup(pointer_of(v[static_cast<std::size_t>(i)])))
                pieces_into(*member, m, lookup, depth + 1, out, visits);
        return;
    }
    default:
        return;
    }
}

// ---- surfaces ----

// A rational B-spline surface (128) prepared for evaluation.
struct RationalSurface {
    int p = 0, q = 0, nu = 0, nv = 0; // degrees, control points per direction
    std::vector<double> U, V;
    std::vector<H4> points; // weighted, u running fastest

    Vec3 at(double u, double v) const
    {
        const int ku = span_of(U, p, nu, u), kv = span_of(V, q, nv, v);
        H4 rows[kMaxDegree + 1], local[kMaxDegree + 1];
        for (int j = 0; j <= q; ++j) {
            const int row = kv - q + j;
            for (int i = 0; i <= p; ++i)
                local[i] = points[static_cast<std::size_t>(row * nu + ku - p + i)];
            rows[j] = de_boor(U, p, ku, local, u);
        }
        const H4 h = de_boor(V, q, kv, rows, v);
        const double w = h[3] != 0 ? h[3] : 1.0;
        return {h[0] / w, h[1] / w, h[2] / w};
    }

    // The iso curve at a fixed parameter of one direction: the weighted
    // points of every row (or column) combined once by the basis functions
    // of the fixed parameter, leaving a rational curve in the other
    // direction, whose points are then the same sums of its own basis.
    std::function<Vec3(double)> iso(bool alongU, double fixed, const Matrix& m) const
    {
        const int p1 = alongU ? q : p, n1 = alongU ? nv : nu; // the direction fixed
        const int p2 = alongU ? p : q, n2 = alongU ? nu : nv; // the one left
        const std::vector<double>& fixedKnots = alongU ? V : U;
        const int k = span_of(fixedKnots, p1, n1, fixed);
        double N[kMaxDegree + 1];
        basis(fixedKnots, p1, k, fixed, N);
        auto curve = std::make_shared<std::vector<H4>>(static_cast<std::size_t>(n2), H4{0, 0, 0, 0});
        for (int i = 0; i < n2; ++i) {
            H4& c = (*curve)[static_cast<std::size_t>(i)];
            for (int j = 0; j <= p1; ++j) {
                const int other = k - p1 + j;
                const H4& h = points[static_cast<std::size_t>(alongU ? other * nu + i : i * nu + other)];
                for (std::size_t d = 0; d < 4; ++d)
                    c[d] += N[j] * h[d];
            }
        }
        return [curve, knots = alongU ? U : V, p2, n2, m](double t) {
            const int span = span_of(knots, p2, n2, t);
            double B[kMaxDegree + 1];
            basis(knots, p2, span, t, B);
            H4 h{0, 0, 0, 0};
            for (int j = 0; j <= p2; ++j) {
                const H4& c = (*curve)[static_cast<std::size_t>(span - p2 + j)];
                for (std::size_t d = 0; d < 4; ++d)
                    h[d] += B[j] * c[d];
            }
            const double w = h[3] != 0 ? h[3] : 1.0;
            return m.apply(h[0] / w, h[1] / w, h[2] / w);
        };
    }
};

std::optional<SurfacePatch> rational_patch(const std::vector<double>& v, const Matrix& m)
{
    if (v.size() < 9)
        return std::nullopt;
    const long long K1 = count_of(v[0], 0), K2 = count_of(v[1], 0), M1 = count_of(v[2], 1), M2 = count_of(v[3], 1);
    if (K1 < 0 || K2 < 0 || M1 < 1 || M2 < 1 || M1 > kMaxDegree || M2 > kMaxDegree || K1 < M1 || K2 < M2)
        return std::nullopt;
    const std::size_t nu = static_cast<std::size_t>(K1 + 1), nv = static_cast<std::size_t>(K2 + 1);
    const std::size_t sAt = 9, tAt = sAt + nu + static_cast<std::size_t>(M1) + 1;
    const std::size_t wAt = tAt + nv + static_cast<std::size_t>(M2) + 1, pAt = wAt + nu * nv;
    const std::size_t rangeAt = pAt + 3 * nu * nv;
    if (nu * nv > kMaxCount || v.size() < rangeAt + 4)
        return std::nullopt;
    auto s = std::make_shared<RationalSurface>();
    s->p = static_cast<int>(M1);
    s->q = static_cast<int>(M2);
    s->nu = static_cast<int>(nu);
    s->nv = static_cast<int>(nv);
    s->U.assign(v.begin() + static_cast<std::ptrdiff_t>(sAt), v.begin() + static_cast<std::ptrdiff_t>(tAt));
    s->V.assign(v.begin() + static_cast<std::ptrdiff_t>(tAt), v.begin() + static_cast<std::ptrdiff_t>(wAt));
    SurfacePatch patch;
    for (std::size_t i = 0; i < nu * nv; ++i) {
        const double w = v[wAt + i];
        if (!(w > 0))
            return std::nullopt;
        const Vec3 c = at3(v, pAt + 3 * i);
        s->points.push_back({c[0] * w, c[1] * w, c[2] * w, w});
        patch.Hull.push_back(m.apply(c));
    }
    patch.U0 = v[rangeAt];
    patch.U1 = v[rangeAt + 1];
    patch.V0 = v[rangeAt + 2];
    patch.V1 = v[rangeAt + 3];
    if (!clamp_range(patch.U0, patch.U1, s->U[static_cast<std::size_t>(s->p)], s->U[nu]) ||
        !clamp_range(patch.V0, patch.V1, s->V[static_cast<std::size_t>(s->q)], s->V[nv]))
        return std::nullopt;
    patch.PiecesU = 2 * knot_spans(s->U, s->p, s->nu);
    patch.PiecesV = 2 * knot_spans(s->V, s->q, s->nv);
    patch.At = [s, m](double u, double w) { return m.apply(s->at(u, w)); };
    patch.Iso = [s, m](bool alongU, double fixed) { return s->iso(alongU, fixed, m); };
    return patch;
}

// Parametric spline surface (114): bicubic patches on a grid of break
// points, each with 16 coefficients per coordinate (u powers running
// fastest) in the local parameters from the patch's corner.
std::optional<SurfacePatch> spline_patch(const std::vector<double>& v, const Matrix& m)
{
    if (v.size() < 4)
        return std::nullopt;
    const long long M = count_of(v[2], 1), N = count_of(v[3], 1);
    if (M < 1 || N < 1 || M * N > kMaxCount)
        return std::nullopt;
    const std::size_t mu = static_cast<std::size_t>(M), nv = static_cast<std::size_t>(N);
    const std::size_t tuAt = 4, tvAt = tuAt + mu + 1, coefficientsAt = tvAt + nv + 1;
    // Writers keep (M + 1) x (N + 1) blocks of 48, the last row and column
    // unused; some write only the M x N used ones.
    std::size_t stride = nv + 1;
    if (v.size() < coefficientsAt + 48 * (mu + 1) * (nv + 1)) {
        stride = nv;
        if (v.size() < coefficientsAt + 48 * mu * nv)
            return std::nullopt;
    }
    auto tu = std::make_shared<std::vector<double>>(v.begin() + tuAt, v.begin() + static_cast<std::ptrdiff_t>(tvAt));
    auto tv = std::make_shared<std::vector<double>>(v.begin() + static_cast<std::ptrdiff_t>(tvAt),
                                                    v.begin() + static_cast<std::ptrdiff_t>(coefficientsAt));
    if (!std::is_sorted(tu->begin(), tu->end()) || !std::is_sorted(tv->begin(), tv->end()) ||
        !(tu->back() > tu->front()) || !(tv->back() > tv->front()))
        return std::nullopt;
    auto coefficients =
        std::make_shared<std::vector<double>>(v.begin() + static_cast<std::ptrdiff_t>(coefficientsAt), v.end());
    auto segment = [](const std::vector<double>& breaks, double t) {
        return static_cast<std::size_t>(
            std::clamp<std::ptrdiff_t>(std::upper_bound(breaks.begin(), breaks.end(), t) - breaks.begin() - 1, 0,
                                       static_cast<std::ptrdiff_t>(breaks.size()) - 2));
    };
    SurfacePatch patch;
    patch.At = [=](double u, double w) {
        const std::size_t i = segment(*tu, u), j = segment(*tv, w);
        const double s = u - (*tu)[i], t = w - (*tv)[j];
        const double* k = coefficients->data() + 48 * (i * stride + j);
        const double su[4] = {1, s, s * s, s * s * s}, tw[4] = {1, t, t * t, t * t * t};
        Vec3 p{0, 0, 0};
        for (std::size_t d = 0; d < 3; ++d)
            for (std::size_t b = 0; b < 4; ++b)
                for (std::size_t a = 0; a < 4; ++a)
                    p[d] += k[16 * d + 4 * b + a] * su[a] * tw[b];
        return m.apply(p);
    };
    patch.U0 = tu->front();
    patch.U1 = tu->back();
    patch.V0 = tv->front();
    patch.V1 = tv->back();
    patch.PiecesU = static_cast<int>(2 * mu);
    patch.PiecesV = static_cast<int>(2 * nv);
    for (std::size_t i = 0; i <= 4 * mu; ++i)
        for (std::size_t j = 0; j <= 4 * nv; ++j)
            patch.Hull.push_back(patch.At(patch.U0 + (patch.U1 - patch.U0) * static_cast<double>(i) / (4.0 * mu),
                                          patch.V0 + (patch.V1 - patch.V0) * static_cast<double>(j) / (4.0 * nv)));
    return patch;
}

// A curve's parameter for a fraction of its arc length, from a table of
// lengths at equal parameter steps.
std::function<double(double)> by_arc_length(const CurvePiece& c)
{
    constexpr int kSteps = 256;
    auto lengths = std::make_shared<std::vector<double>>(1, 0.0);
    Vec3 previous = c.At(c.T0);
    for (int i = 1; i <= kSteps; ++i) {
        const Vec3 p = c.At(c.T0 + (c.T1 - c.T0) * i / kSteps);
        lengths->push_back(lengths->back() + norm(p - previous));
        previous = p;
    }
    const double t0 = c.T0, t1 = c.T1;
    return [=](double f) {
        const double total = lengths->back();
        if (!(total > 0))
            return t0 + (t1 - t0) * f;
        const double target = std::clamp(f, 0.0, 1.0) * total;
        const std::size_t i = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(
            std::lower_bound(lengths->begin(), lengths->end(), target) - lengths->begin(), 1, kSteps));
        const double a = (*lengths)[i - 1], b = (*lengths)[i];
        const double local = b > a ? (target - a) / (b - a) : 0;
        return t0 + (t1 - t0) * (static_cast<double>(i - 1) + local) / kSteps;
    };
}

// Ruled surface (118): straight lines between two rails, u along both rails
// (by equal arc length for form 0, equal parameter for form 1), v across.
std::optional<SurfacePatch> ruled_patch(const GeometryEntity& e, const Matrix& m, const EntityLookup& lookup, int depth)
{
    const std::vector<double>& v = e.Values;
    if (v.size() < 3)
        return std::nullopt;
    const GeometryEntity* c1 = lookup(pointer_of(v[0]));
    const GeometryEntity* c2 = lookup(pointer_of(v[1]));
    if (c1 == nullptr || c2 == nullptr)
        return std::nullopt;
    auto r1 = joined_curve(*c1, lookup, depth + 1), r2 = joined_curve(*c2, lookup, depth + 1);
    if (!r1 || !r2)
        return std::nullopt;
    const bool reversed = v[2] == 1;
    std::function<double(double)> p1, p2;
    if (e.Form == 1) {
        p1 = [a = r1->T0, b = r1->T1](double f) { return a + (b - a) * f; };
        p2 = [a = r2->T0, b = r2->T1](double f) { return a + (b - a) * f; };
    } else {
        p1 = by_arc_length(*r1);
        p2 = by_arc_length(*r2);
    }
    SurfacePatch patch;
    patch.PiecesU = std::max(r1->Pieces, r2->Pieces);
    patch.Hull = placed(r1->Hull, m);
    for (const Vec3& h : placed(r2->Hull, m))
        patch.Hull.push_back(h);
    patch.At = [m, a1 = r1->At, a2 = r2->At, p1, p2, reversed](double u, double w) {
        const Vec3 a = a1(p1(u)), b = a2(p2(reversed ? 1 - u : u));
        return m.apply(a + (b - a) * w);
    };
    return patch;
}

// Surface of revolution (120): the generatrix turned about the axis line
// from the start to the end angle. u runs along the generatrix, v is the
// angle in radians.
std::optional<SurfacePatch> revolution_patch(const std::vector<double>& v, const Matrix& m, const EntityLookup& lookup,
                                             int depth)
{
    if (v.size() < 4)
        return std::nullopt;
    const GeometryEntity* axis = lookup(pointer_of(v[0]));
    const GeometryEntity* generatrix = lookup(pointer_of(v[1]));
    if (axis == nullptr || axis->Type != 110 || axis->Values.size() < 6 || generatrix == nullptr)
        return std::nullopt;
    const Vec3 a0 = axis->Placement.apply(at3(axis->Values, 0)), a1 = axis->Placement.apply(at3(axis->Values, 3));
    const Vec3 d = unit(a1 - a0);
    if (!(norm(d) > 0))
        return std::nullopt;
    auto g = joined_curve(*generatrix, lookup, depth + 1);
    if (!g)
        return std::nullopt;
    SurfacePatch patch;
    patch.U0 = g->T0;
    patch.U1 = g->T1;
    patch.V0 = v[2];
    patch.V1 = v[3];
    if (!(patch.V1 > patch.V0))
        return std::nullopt;
    patch.PiecesU = g->Pieces;
    patch.PiecesV = std::max(1, static_cast<int>(std::ceil((patch.V1 - patch.V0) / (kTurn / 8))));
    // Rodrigues' rotation of a point about the axis.
    auto turn = [a0, d](const Vec3& p, double angle) {
        const Vec3 r = p - a0;
        const double c = std::cos(angle), s = std::sin(angle);
        return a0 + r * c + cross(d, r) * s + d * (dot(d, r) * (1 - c));
    };
    patch.At = [m, at = g->At, turn](double u, double w) { return m.apply(turn(at(u), w)); };
    // The box of the generatrix's hull turned in steps of an eighth turn,
    // widened by the sagitta of a step.
    for (const Vec3& h : g->Hull)
        for (int k = 0; k <= 8; ++k) {
            const Vec3 r = h - a0, radial = r - d * dot(d, r);
            const Vec3 q = turn(h, kTurn * k / 8) + Vec3{1, 1, 1} * (norm(radial) * 0.09);
            patch.Hull.push_back(m.apply(q));
            patch.Hull.push_back(m.apply(q - Vec3{1, 1, 1} * (norm(radial) * 0.18)));
        }
    return patch;
}

// Tabulated cylinder (122): the directrix swept along the vector from its
// start to the generatrix's end point; u in [0, 1] along the directrix, v in
// [0, 1] along the sweep.
std::optional<SurfacePatch> tabulated_patch(const std::vector<double>& v, const Matrix& m, const EntityLookup& lookup,
                                            int depth)
{
    if (v.size() < 4)
        return std::nullopt;
    const GeometryEntity* directrix = lookup(pointer_of(v[0]));
    if (directrix == nullptr)
        return std::nullopt;
    auto c = joined_curve(*directrix, lookup, depth + 1);
    if (!c)
        return std::nullopt;
    const Vec3 sweep = at3(v, 1) - c->At(c->T0);
    SurfacePatch patch;
    patch.PiecesU = c->Pieces;
    for (const Vec3& h : c->Hull) {
        patch.Hull.push_back(m.apply(h));
        patch.Hull.push_back(m.apply(h + sweep));
    }
    patch.At = [m, at = c->At, t0 = c->T0, t1 = c->T1, sweep](double u, double w) {
        return m.apply(at(t0 + (t1 - t0) * u) + sweep * w);
    };
    return patch;
}

// Offset surface (140): the base surface moved by a distance along its
// normal (the cross product of its parameter derivatives).
std::optional<SurfacePatch> offset_patch(const std::vector<double>& v, const Matrix& m, const EntityLookup& lookup,
                                         int depth)
{
    if (v.size() < 5)
        return std::nullopt;
    const GeometryEntity* base = lookup(pointer_of(v[4]));
    if (base == nullptr)
        return std::nullopt;
    auto b = surface_patch(*base, lookup, depth + 1);
    if (!b)
        return std::nullopt;
    const double distance = v[3];
    SurfacePatch patch = *b;
    const double hu = (b->U1 - b->U0) * 1e-6, hv = (b->V1 - b->V0) * 1e-6;
    patch.At = [m, at = b->At, distance, hu, hv, u0 = b->U0, u1 = b->U1, v0 = b->V0, v1 = b->V1](double u, double w) {
        const double ua = std::max(u0, u - hu), ub = std::min(u1, u + hu);
        const double va = std::max(v0, w - hv), vb = std::min(v1, w + hv);
        const Vec3 n = unit(cross(at(ub, w) - at(ua, w), at(u, vb) - at(u, va)));
        return m.apply(at(u, w) + n * distance);
    };
    const double d = std::fabs(distance);
    patch.Hull.clear();
    for (const Vec3& h : b->Hull) {
        patch.Hull.push_back(m.apply(h + Vec3{d, d, d}));
        patch.Hull.push_back(m.apply(h - Vec3{d, d, d}));
    }
    return patch;
}

} // namespace

std::vector<CurvePiece> curve_pieces(const GeometryEntity& curve, const EntityLookup& lookup, int depth)
{
    std::vector<CurvePiece> out;
    int visits = 0;
    pieces_into(curve, Matrix{}, lookup, depth, out, visits);
    return out;
}

std::optional<CurvePiece> joined_curve(const GeometryEntity& curve, const EntityLookup& lookup, int depth)
{
    std::vector<CurvePiece> pieces = curve_pieces(curve, lookup, depth);
    if (pieces.empty())
        return std::nullopt;
    if (pieces.size() == 1)
        return std::move(pieces.front());
    auto all = std::make_shared<std::vector<CurvePiece>>(std::move(pieces));
    CurvePiece joined;
    joined.T1 = static_cast<double>(all->size());
    for (const CurvePiece& p : *all) {
        joined.Pieces += p.Pieces;
        joined.Hull.insert(joined.Hull.end(), p.Hull.begin(), p.Hull.end());
    }
    joined.At = [all](double t) {
        const double last = static_cast<double>(all->size());
        const double s = std::clamp(t, 0.0, last);
        const std::size_t i = std::min(static_cast<std::size_t>(s), all->size() - 1);
        const CurvePiece& p = (*all)[i];
        return p.At(p.T0 + (p.T1 - p.T0) * (s - static_cast<double>(i)));
    };
    return joined;
}

std::optional<SurfacePatch> surface_patch(const GeometryEntity& surface, const EntityLookup& lookup, int depth)
{
    if (depth > kMaxDepth || !finite_all(surface.Values))
        return std::nullopt;
    const Matrix& m = surface.Placement;
    switch (surface.Type) {
    case 114:
        return spline_patch(surface.Values, m);
    case 118:
        return ruled_patch(surface, m, lookup, depth);
    case 120:
        return revolution_patch(surface.Values, m, lookup, depth);
    case 122:
        return tabulated_patch(surface.Values, m, lookup, depth);
    case 128:
        return rational_patch(surface.Values, m);
    case 140:
        return offset_patch(surface.Values, m, lookup, depth);
    default:
        return std::nullopt;
    }
}

} // namespace orvex::formats::iges
