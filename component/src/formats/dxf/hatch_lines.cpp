#include "formats/dxf/hatch_lines.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvex::formats::dxf {

namespace {

struct Box {
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    void add(const HatchPoint& p)
    {
        x0 = std::min(x0, p.X), y0 = std::min(y0, p.Y);
        x1 = std::max(x1, p.X), y1 = std::max(y1, p.Y);
    }
    bool within(const Box& b) const { return x0 >= b.x0 && y0 >= b.y0 && x1 <= b.x1 && y1 <= b.y1; }
};

struct Loop {
    std::vector<HatchPoint> points;
    bool external = false;
    Box box;
    bool island = false; // lies in another loop
};

bool finite(const HatchPoint& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// The loop without repeated points; empty when it has fewer than three
// distinct points or all of them lie on one line.
std::vector<HatchPoint> usable(const std::vector<HatchPoint>& in)
{
    std::vector<HatchPoint> out;
    for (const HatchPoint& p : in)
        if (out.empty() || p.X != out.back().X || p.Y != out.back().Y)
            out.push_back(p);
    while (out.size() > 1 && out.back().X == out.front().X && out.back().Y == out.front().Y)
        out.pop_back();
    if (out.size() < 3)
        return {};
    // The point farthest from the first, and the farthest from the line
    // through both: nothing off that line means no area.
    const HatchPoint& a = out.front();
    const HatchPoint* far = &a;
    double far2 = 0;
    for (const HatchPoint& p : out) {
        const double d2 = (p.X - a.X) * (p.X - a.X) + (p.Y - a.Y) * (p.Y - a.Y);
        if (d2 > far2)
            far2 = d2, far = &p;
    }
    const double dx = far->X - a.X, dy = far->Y - a.Y, len = std::sqrt(far2);
    double off = 0;
    for (const HatchPoint& p : out)
        off = std::max(off, std::abs((p.X - a.X) * dy - (p.Y - a.Y) * dx) / len);
    if (!(off > len * 1e-12))
        return {};
    return out;
}

// Even-odd test with the same half-open rule the sweep uses.
bool contains(const std::vector<HatchPoint>& poly, const HatchPoint& p)
{
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const HatchPoint &a = poly[i], &b = poly[j];
        if ((a.Y <= p.Y) != (b.Y <= p.Y) && p.X < a.X + (p.Y - a.Y) * (b.X - a.X) / (b.Y - a.Y))
            in = !in;
    }
    return in;
}

// The loops by the cells of a grid over their boxes, so that a loop meets
// only the loops whose boxes could hold it: those listed in the cell of its
// first point, and those too large to list cell by cell. Hatches may hold
// many thousands of islands.
class BoxGrid {
public:
    explicit BoxGrid(const std::vector<Loop>& loops)
    {
        for (const Loop& l : loops) {
            all_.add({l.box.x0, l.box.y0});
            all_.add({l.box.x1, l.box.y1});
        }
        size_ = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(loops.size()))), 1, 256);
        cells_.resize(static_cast<std::size_t>(size_) * static_cast<std::size_t>(size_));
        for (std::size_t i = 0; i < loops.size(); ++i) {
            const Box& b = loops[i].box;
            const int x0 = column(b.x0), x1 = column(b.x1), y0 = row(b.y0), y1 = row(b.y1);
            if ((x1 - x0 + 1) * (y1 - y0 + 1) > 16) {
                large_.push_back(i);
                continue;
            }
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    cells_[static_cast<std::size_t>(y * size_ + x)].push_back(i);
        }
    }

    template <typename Visit>
    void holders(const HatchPoint& p, Visit visit) const
    {
        for (std::size_t i : large_)
            visit(i);
        for (std::size_t i : cells_[static_cast<std::size_t>(row(p.Y) * size_ + column(p.X))])
            visit(i);
    }

private:
    int cell(double v, double lo, double hi) const
    {
        const double f = hi > lo ? (v - lo) / (hi - lo) * size_ : 0;
        return std::clamp(static_cast<int>(f), 0, size_ - 1);
    }
    int column(double x) const { return cell(x, all_.x0, all_.x1); }
    int row(double y) const { return cell(y, all_.y0, all_.y1); }

    Box all_;
    int size_ = 1;
    std::vector<std::vector<std::size_t>> cells_;
    std::vector<std::size_t> large_;
};

// Marks the islands. When the writer marked external loops, every other
// loop is one, and so is an external loop inside another (writers that mark
// every loop); otherwise the loops that lie in another are. A loop lies in
// another when most of a few points spread along it fall inside.
void find_islands(std::vector<Loop>& loops)
{
    const bool marked = std::any_of(loops.begin(), loops.end(), [](const Loop& l) { return l.external; });
    const BoxGrid grid(loops);
    for (Loop& a : loops) {
        a.island = marked && !a.external;
        if (a.island)
            continue;
        const std::size_t n = a.points.size(), samples = std::min<std::size_t>(n, 5);
        grid.holders(a.points.front(), [&](std::size_t k) {
            const Loop& b = loops[k];
            if (a.island || &a == &b || (marked && !b.external) || !a.box.within(b.box))
                return;
            std::size_t votes = 0;
            for (std::size_t i = 0; i < samples; ++i)
                votes += contains(b.points, a.points[i * n / samples]);
            a.island = 2 * votes > samples;
        });
    }
}

// A family of pattern lines in its own frame: t along the lines, v across,
// both measured from the base point; line k lies at v = k * spacing and its
// dashes start at t = k * shift.
struct Family {
    const HatchPatternLine* line = nullptr;
    double ux = 1, uy = 0; // along
    double spacing = 0, shift = 0, period = 0;
    double kFirst = 0, kLast = -1;
};

struct Edge {
    double v0, v1; // v0 < v1
    double t0, slope;
    int loop;
};

class Sweep {
public:
    Sweep(const std::vector<Loop>& loops, HatchStyle style, double tolerance, const HatchSink& sink,
          std::size_t maxSegments, HatchResult& result)
        : loops_(loops), style_(style), tolerance_(tolerance), sink_(sink), max_(maxSegments), result_(result),
          inside_(loops.size(), 0)
    {
    }

    // False once the segment cap is reached.
    bool run(const Family& f)
    {
        const HatchPoint& base = f.line->Base;
        std::vector<Edge> edges;
        for (std::size_t l = 0; l < loops_.size(); ++l) {
            if (style_ == HatchStyle::Ignore && loops_[l].island)
                continue;
            const auto& pts = loops_[l].points;
            for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                // Each end's frame coordinates come from the same arithmetic
                // for both of its edges, so the half-open rule sees one value.
                const double ta = frame_t(f, pts[j], base), va = frame_v(f, pts[j], base);
                const double tb = frame_t(f, pts[i], base), vb = frame_v(f, pts[i], base);
                if (va == vb)
                    continue;
                Edge e = va < vb ? Edge{va, vb, ta, 0, int(l)} : Edge{vb, va, tb, 0, int(l)};
                e.slope = ((va < vb ? tb : ta) - e.t0) / (e.v1 - e.v0);
                edges.push_back(e);
            }
        }
        std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.v0 < b.v0; });
        std::size_t next = 0;
        std::vector<const Edge*> active;
        for (double k = f.kFirst; k <= f.kLast; k += 1) {
            const double v = k * f.spacing;
            while (next < edges.size() && edges[next].v0 <= v)
                active.push_back(&edges[next++]);
            std::erase_if(active, [v](const Edge* e) { return e->v1 <= v; });
            crossings_.clear();
            for (const Edge* e : active)
                crossings_.push_back({e->t0 + (v - e->v0) * e->slope, e->loop});
            if (!crossings_.empty() && !line(f, k, v))
                return false;
        }
        return true;
    }

private:
    static double frame_t(const Family& f, const HatchPoint& p, const HatchPoint& b)
    {
        return (p.X - b.X) * f.ux + (p.Y - b.Y) * f.uy;
    }
    static double frame_v(const Family& f, const HatchPoint& p, const HatchPoint& b)
    {
        return (p.Y - b.Y) * f.ux - (p.X - b.X) * f.uy;
    }

    bool hatched() const
    {
        switch (style_) {
        case HatchStyle::Normal:
            return (count_[0] + count_[1]) % 2 == 1;
        case HatchStyle::Outer:
            return count_[0] > 0 && count_[1] == 0;
        case HatchStyle::Ignore:
            break;
        }
        return count_[0] > 0;
    }

    // Walks the crossings of line k in order; every loop is crossed an even
    // number of times, so all counts end at zero.
    bool line(const Family& f, double k, double v)
    {
        std::sort(crossings_.begin(), crossings_.end(), [](const Crossing& a, const Crossing& b) { return a.t < b.t; });
        spans_.clear();
        double start = 0;
        for (std::size_t i = 0; i < crossings_.size();) {
            const double t = crossings_[i].t;
            const bool was = hatched();
            // Crossings at one place count together, so a vertex the line
            // only touches opens no span.
            for (; i < crossings_.size() && crossings_[i].t == t; ++i) {
                const int l = crossings_[i].loop;
                inside_[l] ^= 1;
                count_[loops_[l].island] += inside_[l] ? 1 : -1;
            }
            const bool is = hatched();
            if (!was && is)
                start = t;
            else if (was && !is) {
                if (!spans_.empty() && start - spans_.back().second <= tolerance_)
                    spans_.back().second = t;
                else if (t - start > tolerance_)
                    spans_.emplace_back(start, t);
            }
        }
        for (const auto& [a, b] : spans_)
            if (!span(f, k, v, a, b))
                return false;
        return true;
    }

    bool span(const Family& f, double k, double v, double a, double b)
    {
        const std::vector<double>& dashes = f.line->Dashes;
        if (dashes.empty())
            return emit(f, v, a, b);
        // The period the span starts in, counted from where line k's
        // pattern starts, so the dashes keep their places on the whole line.
        const double origin = k * f.shift;
        double phase = std::fmod(a - origin, f.period);
        if (phase < 0)
            phase += f.period;
        const double first = a - phase;
        for (double j = 0;; j += 1) {
            double at = first + j * f.period;
            if (at > b)
                return true;
            for (double d : dashes) {
                if (d > 0) {
                    const double lo = std::max(a, at), hi = std::min(b, at + d);
                    if (hi > lo && !emit(f, v, lo, hi))
                        return false;
                } else if (d == 0 && at >= a && at <= b && !emit(f, v, at, at))
                    return false;
                at += std::abs(d);
            }
        }
    }

    bool emit(const Family& f, double v, double a, double b)
    {
        if (result_.Segments >= max_) {
            result_.Status = HatchStatus::SegmentCap;
            return false;
        }
        const HatchPoint& o = f.line->Base;
        const double x = o.X - v * f.uy, y = o.Y + v * f.ux;
        sink_({{x + a * f.ux, y + a * f.uy}, {x + b * f.ux, y + b * f.uy}});
        ++result_.Segments;
        return true;
    }

    struct Crossing {
        double t;
        int loop;
    };
    const std::vector<Loop>& loops_;
    HatchStyle style_;
    double tolerance_;
    const HatchSink& sink_;
    std::size_t max_;
    HatchResult& result_;
    std::vector<char> inside_;
    int count_[2] = {0, 0}; // loops the walk is inside: outer ones, islands
    std::vector<Crossing> crossings_;
    std::vector<std::pair<double, double>> spans_;
};

// The family's frame and the lines that cross the boundary's extent; false
// when the pattern line cannot make a sensible family.
bool set_up(const HatchPatternLine& p, const std::vector<Loop>& loops, double extent, Family& f)
{
    if (!std::isfinite(p.Angle) || !finite(p.Base) || !finite(p.Offset))
        return false;
    f.line = &p;
    const double a = std::fmod(p.Angle, 360.0) * std::numbers::pi / 180;
    f.ux = std::cos(a), f.uy = std::sin(a);
    f.spacing = p.Offset.Y * f.ux - p.Offset.X * f.uy;
    f.shift = p.Offset.X * f.ux + p.Offset.Y * f.uy;
    // Offset along the lines (or none): every line of the family is one line.
    if (!(std::abs(f.spacing) > 1e-9 * std::hypot(p.Offset.X, p.Offset.Y)))
        return false;
    if (f.spacing < 0) // the same lines, numbered the other way
        f.spacing = -f.spacing, f.shift = -f.shift;
    f.period = 0;
    bool ink = p.Dashes.empty();
    for (double d : p.Dashes) {
        if (!std::isfinite(d))
            return false;
        f.period += std::abs(d);
        ink = ink || d >= 0;
    }
    if (!ink || (!p.Dashes.empty() && !(f.period > 1e-9 * extent)))
        return false;
    double v0 = HUGE_VAL, v1 = -HUGE_VAL;
    for (const Loop& l : loops)
        for (const HatchPoint& q : l.points) {
            const double v = (q.Y - p.Base.Y) * f.ux - (q.X - p.Base.X) * f.uy;
            v0 = std::min(v0, v), v1 = std::max(v1, v);
        }
    // Line numbers past 2^50 no longer step one by one.
    if (std::max(std::abs(v0), std::abs(v1)) / f.spacing > 1e15)
        return false;
    f.kFirst = std::ceil(v0 / f.spacing);
    f.kLast = std::floor(v1 / f.spacing);
    return true;
}

} // namespace

HatchResult hatch_lines(const std::vector<HatchLoop>& loops, HatchStyle style,
                        const std::vector<HatchPatternLine>& pattern, const HatchSink& sink, const HatchLimits& limits)
{
    HatchResult result;
    std::vector<Loop> kept;
    Box all;
    for (const HatchLoop& l : loops) {
        if (!std::all_of(l.Points.begin(), l.Points.end(), finite)) {
            result.Status = HatchStatus::NoBoundary;
            return result;
        }
        Loop k{usable(l.Points), l.External, {}, false};
        if (k.points.empty()) {
            ++result.DroppedLoops;
            continue;
        }
        for (const HatchPoint& p : k.points)
            k.box.add(p), all.add(p);
        kept.push_back(std::move(k));
    }
    if (kept.empty()) {
        result.Status = HatchStatus::NoBoundary;
        return result;
    }
    if (style != HatchStyle::Normal)
        find_islands(kept);
    const double extent = std::max(all.x1 - all.x0, all.y1 - all.y0);

    // Count every family's lines before drawing any.
    std::vector<Family> families;
    double lines = 0;
    for (const HatchPatternLine& p : pattern) {
        Family f;
        if (!set_up(p, kept, extent, f)) {
            ++result.SkippedPatternLines;
            continue;
        }
        lines += std::max(0.0, f.kLast - f.kFirst + 1);
        families.push_back(f);
    }
    if (!(lines <= limits.MaxLines)) {
        result.Status = HatchStatus::TooManyLines;
        return result;
    }
    Sweep sweep(kept, style, extent * 1e-9, sink, limits.MaxSegments, result);
    for (const Family& f : families)
        if (!sweep.run(f))
            break;
    return result;
}

HatchResult hatch_lines(const std::vector<HatchLoop>& loops, HatchStyle style,
                        const std::vector<HatchPatternLine>& pattern, std::vector<HatchSegment>& out,
                        const HatchLimits& limits)
{
    return hatch_lines(
        loops, style, pattern, [&out](const HatchSegment& s) { out.push_back(s); }, limits);
}

} // namespace orvex::formats::dxf
