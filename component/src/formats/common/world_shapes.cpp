#include "formats/common/world_shapes.h"

#include "formats/common/curve_math.h"

#include <OrvexGDI/Ops.h>

#include <algorithm>
#include <cmath>
#include <string>

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

void WorldShapes::count_one()
{
    if (++made_ > kMaxElements)
        throw ERangeError("the file would make more than " + std::to_string(kMaxElements) + " elements");
}

void WorldShapes::note(int index)
{
    if (index < 0)
        return; // left out by the factory
    if (firstMade_ < 0)
        firstMade_ = index;
    lastMade_ = index;
}

void WorldShapes::for_each_made(const std::function<void(TElement&)>& change)
{
    if (firstMade_ < 0)
        return;
    for (int i = firstMade_; i <= lastMade_; ++i)
        change(sink_.element(i));
}

int WorldShapes::made_count() const { return firstMade_ < 0 ? 0 : lastMade_ - firstMade_ + 1; }

void WorldShapes::point(const Vec3& p, const ShapeStyle& style)
{
    count_one();
    widen(p);
    note(sink_.make_element(etPoint, p[0], p[1], p[2], 0, 0, 0, style.Colour, 0, style.Layer, 0, 0));
}

void WorldShapes::line(const Vec3& a, const Vec3& b, const ShapeStyle& style)
{
    widen(a);
    widen(b);
    make_line(a, b, style);
}

void WorldShapes::make_line(const Vec3& a, const Vec3& b, const ShapeStyle& s)
{
    count_one();
    note(sink_.make_element(etLine, a[0], a[1], a[2], b[0], b[1], b[2], s.Colour, s.LineType, s.Layer, 0, 0));
}

void WorldShapes::arc(const Vec3& centre, double radius, const Vec3& xAxis, const Vec3& normal, double start,
                      double end, bool full, const ShapeStyle& s)
{
    count_one();
    widen(centre + Vec3{radius, radius, radius});
    widen(centre - Vec3{radius, radius, radius});
    // The plane's frame: the top view for normals along Z, else the normal's
    // own object coordinate system, so that every arc of a plane shares one
    // arc view.
    Vec3 fx{1, 0, 0}, fy{0, 1, 0}, fn{0, 0, 1};
    const bool alongZ = normal[0] == 0 && normal[1] == 0;
    int view = alongZ ? 1 : arc_view_of(fx, normal, sink_.arc_views());
    if (view != 1) {
        const Matrix ocs = ocs_to_world(normal);
        fx = ocs.direction(1, 0, 0);
        fy = ocs.direction(0, 1, 0);
        fn = ocs.direction(0, 0, 1);
        view = arc_view_of(fx, fn, sink_.arc_views());
    }
    const Vec3 yAxis = cross(normal, xAxis);
    if (view == 0) {
        // Every arc view is taken: a chain.
        const double last = sweep_end(start, full ? start + 360 : end, 360);
        curves_.push_back(
            {[=](double t) { return centre + xAxis * (radius * std::cos(t)) + yAxis * (radius * std::sin(t)); },
             start / kDegreesPerRadian, last / kDegreesPerRadian, 8, s});
        return;
    }
    double c[6] = {dot(centre, fx), dot(centre, fy), dot(centre, fn), radius, 0, 360};
    if (!full && view == 1 && normal[2] > 0 && xAxis[0] == 1 && xAxis[1] == 0) {
        c[4] = start; // already measured in the top view
        c[5] = end;
    } else if (!full) {
        auto angle = [&](double d) {
            const double t = d / kDegreesPerRadian;
            const Vec3 q = xAxis * std::cos(t) + yAxis * std::sin(t);
            return degrees_of(dot(q, fy), dot(q, fx));
        };
        c[4] = angle(start);
        c[5] = angle(end);
        if (view == 1 && normal[2] < 0)
            std::swap(c[4], c[5]); // seen from below: the sweep turns the other way
    }
    note(sink_.make_element(etArc, c[0], c[1], c[2], c[3], c[4], c[5], s.Colour, s.LineType, s.Layer, 0, view));
}

void WorldShapes::curve(Curve at, double t0, double t1, int pieces, const std::vector<Vec3>& extent,
                        const ShapeStyle& style)
{
    count_one();
    for (const Vec3& p : extent)
        widen(p);
    curves_.push_back({std::move(at), t0, t1, std::max(1, pieces), style, budget_});
}

void WorldShapes::begin_budget(std::string label, long long chords)
{
    budgets_.push_back({std::move(label), chords});
    budget_ = static_cast<int>(budgets_.size()) - 1;
}

void WorldShapes::chain(const std::vector<Vec3>& points, const ShapeStyle& style)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        line(points[i - 1], points[i], style);
}

void WorldShapes::fill(const std::vector<std::vector<Vec3>>& loops, const ShapeStyle& style)
{
    // One edge per side of every loop, all under one fresh region number;
    // a loop of fewer than three points encloses nothing.
    int region = 0;
    for (const std::vector<Vec3>& loop : loops) {
        if (loop.size() < 3)
            continue;
        if (region == 0)
            region = sink_.next_region();
        for (std::size_t i = 0; i < loop.size(); ++i) {
            const Vec3& a = loop[i];
            const Vec3& b = loop[(i + 1) % loop.size()];
            widen(a);
            count_one();
            note(sink_.make_element(etFillEdge, a[0], a[1], a[2], b[0], b[1], b[2], style.Colour, 1, style.Layer, 0,
                                    region));
        }
    }
}

double WorldShapes::tolerance() const
{
    double size = 0;
    for (std::size_t i = 0; i < 3; ++i)
        if (max_[i] >= min_[i])
            size = std::max(size, max_[i] - min_[i]);
    return size > 0 ? size * 1e-3 : 1e-6;
}

void WorldShapes::make_chain(const CurveJob& job, double tol)
{
    const double step = (job.t1 - job.t0) / job.pieces;
    // Each piece is halved until the curve's middle lies within the
    // tolerance of its chord (at most 2^12 parts a piece).
    struct Span {
        double t0, t1;
        Vec3 p0, p1;
        int depth;
    };
    std::vector<Span> stack;
    Budget* budget = job.budget >= 0 ? &budgets_[static_cast<std::size_t>(job.budget)] : nullptr;
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
            const bool bends = span.depth < 12 && distance_to_chord(pm, span.p0, span.p1) > tol;
            const bool allowed = budget == nullptr || budget->left > 0;
            if (bends && !allowed && !budget->capped) {
                budget->capped = true;
                capped_.push_back(budget->label);
            }
            if (bends && allowed) {
                stack.push_back({tm, span.t1, pm, span.p1, span.depth + 1});
                stack.push_back({span.t0, tm, span.p0, pm, span.depth + 1});
                continue;
            }
            make_line(span.p0, span.p1, job.style);
            if (budget != nullptr)
                --budget->left;
        }
    }
}

void WorldShapes::finish()
{
    const double tol = tolerance();
    for (const CurveJob& job : curves_)
        make_chain(job, tol);
    curves_.clear();
}

} // namespace orvex::formats
