#include "formats/dxf/dxf_full_hatch_loops.h"

#include "formats/common/curve_math.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvex::formats::dxf::full {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadiansPerDegree = kPi / 180;
/// Pieces of a curve when only its extent is wanted.
constexpr int kRoughPieces = 8;

bool finite(const HatchPoint& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }
double distance(const HatchPoint& a, const HatchPoint& b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

// Pieces for a circular sweep (radians) of radius r whose chords stay
// within tol of the arc; tol <= 0 asks for the rough count.
int arc_pieces(double r, double sweep, double tol)
{
    if (!(tol > 0))
        return kRoughPieces;
    // The sweep of a chord whose middle lies tol inside the arc (for tiny
    // ratios its series, which 1 - x no longer resolves); at least one piece
    // an eighth of a turn, so that small circles keep their shape.
    const double x = tol / std::abs(r);
    const double chord = x < 1e-6 ? 2 * std::sqrt(2 * x) : x < 1 ? 2 * std::acos(1 - x) : kPi;
    const double step = std::min(chord, kPi / 4);
    const double n = std::ceil(std::abs(sweep) / step);
    return std::isfinite(n) ? static_cast<int>(std::clamp(n, 1.0, double(kMaxEdgePoints))) : 1;
}

// The points of a circle's sweep from `a0` by `sweep` radians (negative
// clockwise), both ends included.
void arc_points(const HatchPoint& c, double r, double a0, double sweep, double tol, std::vector<HatchPoint>& out)
{
    const int n = arc_pieces(r, sweep, tol);
    for (int i = 0; i <= n; ++i) {
        const double a = a0 + sweep * i / n;
        out.push_back({c.X + r * std::cos(a), c.Y + r * std::sin(a)});
    }
}

// The parameter of an ellipse's point seen at `angle` from its centre, in
// the frame of its axes.
double ellipse_parameter(double ratio, double angle) { return std::atan2(std::sin(angle) / ratio, std::cos(angle)); }

// Arcs and elliptic arcs write clockwise sweeps as 360 less their angles:
// the sweep runs from -start to -end, clockwise.
void arc_edge(const HatchEdge& e, double tol, std::vector<HatchPoint>& out)
{
    const double from = e.start, to = sweep_end(e.start, e.end, 360);
    const double sweep = (to - from) * kRadiansPerDegree;
    if (e.ccw)
        arc_points(e.a, e.radius, from * kRadiansPerDegree, sweep, tol, out);
    else
        arc_points(e.a, e.radius, -from * kRadiansPerDegree, -sweep, tol, out);
}

void ellipse_edge(const HatchEdge& e, double tol, std::vector<HatchPoint>& out)
{
    const double major = std::hypot(e.b.X, e.b.Y), ratio = e.radius;
    if (!(major > 0) || !(ratio > 0))
        return;
    const HatchPoint minor{-e.b.Y * ratio, e.b.X * ratio};
    // As counter-clockwise angles: a clockwise sweep from -start to -end is
    // the counter-clockwise one from -end to -start, walked backwards.
    const double a0 = (e.ccw ? e.start : -e.end) * kRadiansPerDegree;
    const double a1 = (e.ccw ? e.end : -e.start) * kRadiansPerDegree;
    const double t0 = ellipse_parameter(ratio, a0);
    const double t1 =
        std::abs(e.end - e.start) >= 360 ? t0 + 2 * kPi : sweep_end(t0, ellipse_parameter(ratio, a1), 2 * kPi);
    const int n = arc_pieces(major * std::max(1.0, ratio), t1 - t0, tol);
    for (int i = 0; i <= n; ++i) {
        const double t = e.ccw ? t0 + (t1 - t0) * i / n : t1 - (t1 - t0) * i / n;
        out.push_back(
            {e.a.X + e.b.X * std::cos(t) + minor.X * std::sin(t), e.a.Y + e.b.Y * std::cos(t) + minor.Y * std::sin(t)});
    }
}

bool usable_knots(const std::vector<double>& U, std::size_t n, int p)
{
    if (U.size() != n + static_cast<std::size_t>(p) + 1)
        return false;
    for (std::size_t i = 0; i < U.size(); ++i)
        if (!std::isfinite(U[i]) || (i > 0 && U[i] < U[i - 1]))
            return false;
    return U[n] > U[static_cast<std::size_t>(p)];
}

// Knots that pin the curve to its first and last control points, evenly
// spaced between: for splines whose own knots do not fit their points.
std::vector<double> clamped_knots(std::size_t n, int p)
{
    std::vector<double> U;
    const std::size_t inner = n - static_cast<std::size_t>(p);
    for (int i = 0; i < p; ++i)
        U.push_back(0);
    for (std::size_t i = 0; i <= inner; ++i)
        U.push_back(static_cast<double>(i));
    for (int i = 0; i < p; ++i)
        U.push_back(static_cast<double>(inner));
    return U;
}

double chord_distance(const Vec3& q, const Vec3& a, const Vec3& b)
{
    const double dx = b[0] - a[0], dy = b[1] - a[1], l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((q[0] - a[0]) * dx + (q[1] - a[1]) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(q[0] - a[0] - t * dx, q[1] - a[1] - t * dy);
}

void spline_edge(const HatchEdge& e, double tol, std::vector<HatchPoint>& out)
{
    const std::size_t n = e.control.size();
    if (n < 2 || !(tol > 0)) {
        // The control points hold the curve's extent; with none, the fit
        // points stand for the curve.
        const std::vector<HatchPoint>& points = n < 2 ? e.fit : e.control;
        out.insert(out.end(), points.begin(), points.end());
        return;
    }
    const int p = std::clamp(e.degree, 1, static_cast<int>(std::min<std::size_t>(n - 1, 32)));
    const std::vector<double> U = usable_knots(e.knots, n, p) ? e.knots : clamped_knots(n, p);
    const bool weighted = e.weights.size() == n && std::all_of(e.weights.begin(), e.weights.end(),
                                                               [](double w) { return std::isfinite(w) && w > 0; });
    const std::vector<double> w = weighted ? e.weights : std::vector<double>();
    std::vector<Vec3> P;
    P.reserve(n);
    for (const HatchPoint& q : e.control)
        P.push_back({q.X, q.Y, 0});
    auto at = [&](double u) { return nurbs_point(p, U, P, w, u); };
    auto keep = [&](const Vec3& q) { out.push_back({q[0], q[1]}); };

    // Each knot span in four pieces, each halved until its middle lies
    // within the tolerance of its chord, while the edge has points to spare.
    struct Span {
        double u0, u1;
        Vec3 a, b;
        int depth;
    };
    std::vector<Span> stack;
    const std::size_t budget = out.size() + kMaxEdgePoints;
    Vec3 previous = at(U[static_cast<std::size_t>(p)]);
    keep(previous);
    for (std::size_t k = static_cast<std::size_t>(p); k < n; ++k) {
        const double lo = U[k], hi = U[k + 1];
        if (!(hi > lo))
            continue;
        for (int piece = 0; piece < 4; ++piece) {
            const double u1 = piece == 3 ? hi : lo + (hi - lo) * (piece + 1) / 4;
            stack.push_back({lo + (hi - lo) * piece / 4, u1, previous, at(u1), 0});
            previous = stack.back().b;
            while (!stack.empty()) {
                const Span s = stack.back();
                stack.pop_back();
                const double um = (s.u0 + s.u1) / 2;
                const Vec3 m = at(um);
                if (s.depth < 10 && out.size() < budget && chord_distance(m, s.a, s.b) > tol) {
                    stack.push_back({um, s.u1, m, s.b, s.depth + 1});
                    stack.push_back({s.u0, um, s.a, m, s.depth + 1});
                    continue;
                }
                keep(s.b);
            }
        }
    }
}

// The bulge of a polyline segment: the tangent of a quarter of the
// included angle, positive counter-clockwise.
void bulge_points(const HatchPoint& a, const HatchPoint& b, double bulge, double tol, std::vector<HatchPoint>& out)
{
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double k = (1 - bulge * bulge) / (4 * bulge);
    const HatchPoint c{(a.X + b.X) / 2 - dy * k, (a.Y + b.Y) / 2 + dx * k};
    const double r = distance(a, c);
    std::vector<HatchPoint> arc;
    arc_points(c, r, std::atan2(a.Y - c.Y, a.X - c.X), 4 * std::atan(bulge), tol, arc);
    // The ends are the vertices themselves.
    if (arc.size() > 2)
        out.insert(out.end(), arc.begin() + 1, arc.end() - 1);
}

void polyline_loop(const HatchPath& path, double tol, std::vector<HatchPoint>& out)
{
    const std::size_t n = path.vertices.size();
    for (std::size_t i = 0; i < n; ++i) {
        const HatchPoint &a = path.vertices[i], &b = path.vertices[(i + 1) % n];
        out.push_back(a);
        const double bulge = path.bulges[i];
        if (n > 1 && bulge != 0 && std::isfinite(bulge) && distance(a, b) > 0)
            bulge_points(a, b, bulge, tol, out);
    }
}

void edge_points(const HatchEdge& e, double tol, std::vector<HatchPoint>& out)
{
    switch (e.kind) {
    case HatchEdgeKind::Line:
        out.push_back(e.a);
        out.push_back(e.b);
        break;
    case HatchEdgeKind::Arc:
        arc_edge(e, tol, out);
        break;
    case HatchEdgeKind::Ellipse:
        ellipse_edge(e, tol, out);
        break;
    case HatchEdgeKind::Spline:
        spline_edge(e, tol, out);
        break;
    }
}

// Joins an edge's points to the loop: after its end, or turned round when
// the edge was written from the other end. The first edge may be the one
// written backwards: then the loop turns round.
void join(std::vector<HatchPoint>& loop, std::vector<HatchPoint>& edge, bool secondEdge, double tol)
{
    if (edge.empty())
        return;
    if (loop.empty()) {
        loop = std::move(edge);
        return;
    }
    const HatchPoint end = loop.back();
    if (distance(edge.front(), end) > tol && distance(edge.back(), end) <= tol) {
        std::reverse(edge.begin(), edge.end());
    } else if (secondEdge && distance(edge.front(), end) > tol) {
        const HatchPoint start = loop.front();
        if (distance(edge.front(), start) <= tol || distance(edge.back(), start) <= tol)
            std::reverse(loop.begin(), loop.end());
        if (distance(edge.back(), loop.back()) <= tol)
            std::reverse(edge.begin(), edge.end());
    }
    const bool joined = distance(edge.front(), loop.back()) <= tol;
    loop.insert(loop.end(), edge.begin() + (joined ? 1 : 0), edge.end());
}

std::vector<HatchPoint> path_points(const HatchPath& path, double tol)
{
    std::vector<HatchPoint> loop, edge;
    if (path.polyline()) {
        polyline_loop(path, tol, loop);
    } else {
        int joined = 0;
        for (const HatchEdge& e : path.edges) {
            edge.clear();
            edge_points(e, tol, edge);
            std::erase_if(edge, [](const HatchPoint& q) { return !finite(q); });
            if (!edge.empty())
                join(loop, edge, ++joined == 2, tol);
        }
    }
    std::erase_if(loop, [](const HatchPoint& q) { return !finite(q); });
    return loop;
}

} // namespace

HatchBoundary hatch_boundary(const HatchDef& def)
{
    // The extent first, from the paths cut roughly: it sets the tolerance.
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    for (const HatchPath& path : def.paths)
        for (const HatchPoint& q : path_points(path, 0)) {
            x0 = std::min(x0, q.X), y0 = std::min(y0, q.Y);
            x1 = std::max(x1, q.X), y1 = std::max(y1, q.Y);
        }
    HatchBoundary b;
    const double extent = std::max(x1 - x0, y1 - y0);
    b.tolerance = extent > 0 && std::isfinite(extent) ? extent * 1e-3 : 1e-9;
    for (const HatchPath& path : def.paths) {
        std::vector<HatchPoint> points = path_points(path, b.tolerance);
        if (points.empty())
            continue;
        b.loops.push_back({std::move(points), (path.flags & PathExternal) != 0});
        b.flags.push_back(path.flags);
    }
    return b;
}

} // namespace orvex::formats::dxf::full
