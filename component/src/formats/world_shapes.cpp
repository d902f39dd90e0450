#include "world_shapes.h"

#include "store/finite_slots.h"

#include <OrvexGDI/Ops.h>

#include <algorithm>
#include <cmath>

namespace orvex::formats {

namespace {

constexpr double kDegreesPerRadian = static_cast<double>(Ops::DegreesPerRadian);

double degrees_of(double y, double x)
{
    double a = std::atan2(y, x) * kDegreesPerRadian;
    if (a < 0)
        a += 360;
    return a;
}

double distance_to_chord(const Vec3& p, const Vec3& a, const Vec3& b)
{
    const Vec3 ab = b - a;
    const double l2 = dot(ab, ab);
    if (!(l2 > 0))
        return norm(p - a);
    const double t = std::clamp(dot(p - a, ab) / l2, 0.0, 1.0);
    return norm(p - (a + ab * t));
}

} // namespace

void WorldShapes::widen(const Vec3& p)
{
    for (std::size_t i = 0; i < 3; ++i) {
        if (!std::isfinite(p[i]))
            continue;
        min_[i] = std::min(min_[i], p[i]);
        max_[i] = std::max(max_[i], p[i]);
    }
}

void WorldShapes::point(const Vec3& p, const ShapeStyle& style)
{
    widen(p);
    items_.push_back({Kind::Point, style, p, {}, {}, {}});
}

void WorldShapes::line(const Vec3& a, const Vec3& b, const ShapeStyle& style)
{
    widen(a);
    widen(b);
    items_.push_back({Kind::Line, style, a, b, {}, {}});
}

void WorldShapes::arc(const Vec3& centre, double radius, const Vec3& xAxis, const Vec3& normal, double start,
                      double end, bool full, const ShapeStyle& style)
{
    widen(centre + Vec3{radius, radius, radius});
    widen(centre - Vec3{radius, radius, radius});
    Item item{Kind::Arc, style, centre, {}, xAxis, normal};
    item.r = radius;
    item.start = start;
    item.end = end;
    item.full = full;
    items_.push_back(item);
}

void WorldShapes::curve(Curve at, double t0, double t1, int pieces, const std::vector<Vec3>& extent,
                        const ShapeStyle& style)
{
    for (const Vec3& p : extent)
        widen(p);
    Item item{Kind::Curve, style, {}, {}, {}, {}};
    item.curve = static_cast<int>(curves_.size());
    curves_.push_back({std::move(at), t0, t1, std::max(1, pieces)});
    items_.push_back(item);
}

void WorldShapes::chain(const std::vector<Vec3>& points, const ShapeStyle& style)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        line(points[i - 1], points[i], style);
}

double WorldShapes::tolerance() const
{
    double size = 0;
    for (std::size_t i = 0; i < 3; ++i)
        if (max_[i] >= min_[i])
            size = std::max(size, max_[i] - min_[i]);
    return size > 0 ? size * 1e-3 : 1e-6;
}

void WorldShapes::make_line(DrawingSink& sink, const Vec3& a, const Vec3& b, const ShapeStyle& s, int& made)
{
    double c[6] = {a[0], a[1], a[2], b[0], b[1], b[2]};
    if (slots_finite(etLine, c) &&
        sink.make_element(etLine, c[0], c[1], c[2], c[3], c[4], c[5], s.Colour, s.LineType, s.Layer, 0, 0) >= 0)
        ++made;
}

void WorldShapes::make_chain(DrawingSink& sink, const CurveJob& job, const ShapeStyle& s, int& made)
{
    const double tol = tolerance();
    const double step = (job.t1 - job.t0) / job.pieces;
    // Each piece is halved until the curve's middle lies within the
    // tolerance of its chord (at most 2^12 parts a piece).
    struct Span {
        double t0, t1;
        Vec3 p0, p1;
        int depth;
    };
    std::vector<Span> stack;
    Vec3 previous = job.at(job.t0);
    for (int i = 0; i < job.pieces; ++i) {
        const double a = job.t0 + step * i, b = i + 1 == job.pieces ? job.t1 : job.t0 + step * (i + 1);
        stack.push_back({a, b, previous, job.at(b), 0});
        previous = stack.back().p1;
        while (!stack.empty()) {
            Span span = stack.back();
            stack.pop_back();
            const double tm = (span.t0 + span.t1) / 2;
            const Vec3 pm = job.at(tm);
            if (span.depth < 12 && distance_to_chord(pm, span.p0, span.p1) > tol) {
                stack.push_back({tm, span.t1, pm, span.p1, span.depth + 1});
                stack.push_back({span.t0, tm, span.p0, pm, span.depth + 1});
                continue;
            }
            make_line(sink, span.p0, span.p1, s, made);
        }
    }
}

int WorldShapes::make(DrawingSink& sink)
{
    int made = 0;
    for (const Item& item : items_) {
        const ShapeStyle& s = item.style;
        switch (item.kind) {
        case Kind::Point: {
            double c[6] = {item.a[0], item.a[1], item.a[2], 0, 0, 0};
            if (slots_finite(etPoint, c) &&
                sink.make_element(etPoint, c[0], c[1], c[2], 0, 0, 0, s.Colour, 0, s.Layer, 0, 0) >= 0)
                ++made;
            break;
        }
        case Kind::Line:
            make_line(sink, item.a, item.b, s, made);
            break;
        case Kind::Arc: {
            // The plane's frame: the top view for normals along Z, else the
            // normal's own object coordinate system, so that every arc of a
            // plane shares one arc view.
            const bool down = item.n[2] < 0;
            Vec3 fx{1, 0, 0}, fy{0, 1, 0}, fn{0, 0, 1};
            int view = arc_view_of(fx, item.n, sink.arc_views());
            if (view != 1) {
                const Matrix ocs = ocs_to_world(item.n);
                fx = ocs.direction(1, 0, 0);
                fy = ocs.direction(0, 1, 0);
                fn = ocs.direction(0, 0, 1);
                view = arc_view_of(fx, fn, sink.arc_views());
            }
            const Vec3 yAxis = cross(item.n, item.x);
            auto at_degrees = [&](double d) {
                const double t = d / kDegreesPerRadian;
                return item.a + item.x * (item.r * std::cos(t)) + yAxis * (item.r * std::sin(t));
            };
            if (view == 0) {
                double end = item.full ? item.start + 360 : item.end;
                while (end <= item.start)
                    end += 360;
                const Vec3 centre = item.a, x = item.x;
                const double r = item.r;
                CurveJob job{[=](double t) { return centre + x * (r * std::cos(t)) + yAxis * (r * std::sin(t)); },
                             item.start / kDegreesPerRadian, end / kDegreesPerRadian, 8};
                make_chain(sink, job, s, made);
                break;
            }
            const Vec3 c = {dot(item.a, fx), dot(item.a, fy), dot(item.a, fn)};
            double c6[6] = {c[0], c[1], c[2], item.r, 0, 360};
            if (!item.full) {
                auto angle = [&](double d) {
                    const Vec3 q = at_degrees(d) - item.a;
                    return degrees_of(dot(q, fy), dot(q, fx));
                };
                double a1 = angle(item.start), a2 = angle(item.end);
                if (view == 1 && down)
                    std::swap(a1, a2); // seen from below: the sweep turns the other way
                c6[4] = a1;
                c6[5] = a2;
            }
            if (slots_finite(etArc, c6) && sink.make_element(etArc, c6[0], c6[1], c6[2], c6[3], c6[4], c6[5],
                                                              s.Colour, s.LineType, s.Layer, 0, view) >= 0)
                ++made;
            break;
        }
        case Kind::Curve:
            make_chain(sink, curves_[static_cast<std::size_t>(item.curve)], s, made);
            break;
        }
    }
    return made;
}

} // namespace orvex::formats
