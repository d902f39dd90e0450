#include "formats/dxf/dxf_full_hatch_read.h"

#include <algorithm>
#include <cmath>

namespace orvex::formats::dxf::full {

namespace {

// The groups of the hatch's own subclass, read one after the other.
class Cursor {
public:
    Cursor(const std::vector<Group>& groups, std::size_t begin, std::size_t end) : g_(groups), i_(begin), end_(end) {}

    bool done() const { return i_ >= end_; }
    int code() const { return done() ? -1 : g_[i_].code; }
    bool at(int code) const { return !done() && g_[i_].code == code; }
    const Group& next() { return g_[i_++]; }
    void skip() { ++i_; }
    double take(int code, double otherwise) { return at(code) ? g_[i_++].number : otherwise; }
    /// A point of groups `xCode` and `xCode + 10` (a Z after them is passed).
    bool take_point(int xCode, HatchPoint& p)
    {
        if (!at(xCode))
            return false;
        p.X = next().number;
        p.Y = take(xCode + 10, 0);
        take(xCode + 20, 0);
        return true;
    }
    /// The group after the next one's code.
    int code_after() const { return i_ + 1 < end_ ? g_[i_ + 1].code : -1; }

private:
    const std::vector<Group>& g_;
    std::size_t i_, end_;
};

int whole(double v) { return std::isfinite(v) ? static_cast<int>(std::clamp(v, -1e9, 1e9)) : 0; }

// Codes that begin what follows the boundary paths.
bool trailer_code(int code)
{
    switch (code) {
    case 41:
    case 47:
    case 52:
    case 53:
    case 75:
    case 76:
    case 77:
    case 78:
    case 98:
    case 450:
        return true;
    default:
        return false;
    }
}

void read_polyline_path(Cursor& in, HatchPath& path)
{
    in.take(72, 0); // has bulges: the 42 groups that follow tell
    in.take(73, 1); // closed: a boundary always is
    in.take(93, 0); // vertex count: the 10 groups that follow tell
    HatchPoint p;
    while (in.take_point(10, p)) {
        path.vertices.push_back(p);
        path.bulges.push_back(in.take(42, 0));
    }
}

// A fit-point count (97) of a spline edge, rather than the source object
// count that ends the path: what follows it belongs to a spline.
bool fit_count_follows(const Cursor& in)
{
    const int after = in.code_after();
    return after == 11 || after == 12 || after == 13 || after == 72 || after == 97;
}

void read_spline(Cursor& in, HatchEdge& e)
{
    e.kind = HatchEdgeKind::Spline;
    for (;;) {
        HatchPoint p;
        switch (in.code()) {
        case 94:
            e.degree = whole(in.next().number);
            break;
        case 73: // rational: weights follow when it is
        case 74: // periodic
        case 95: // knot count
        case 96: // control point count
            in.skip();
            break;
        case 40:
            e.knots.push_back(in.next().number);
            break;
        case 42:
            e.weights.push_back(in.next().number);
            break;
        case 10:
            in.take_point(10, p);
            e.control.push_back(p);
            break;
        case 11:
            in.take_point(11, p);
            e.fit.push_back(p);
            break;
        case 12: // tangents at the ends of the fit points
        case 13:
            in.take_point(in.code(), p);
            break;
        case 97:
            if (!fit_count_follows(in))
                return;
            in.skip();
            break;
        default:
            return;
        }
    }
}

// The fields of a line, arc or elliptic arc edge, in whatever order.
void read_edge_fields(Cursor& in, HatchEdge& e)
{
    const bool line = e.kind == HatchEdgeKind::Line;
    for (;;) {
        const int code = in.code();
        if (code == 10) {
            in.take_point(10, e.a);
        } else if (code == 11 && e.kind != HatchEdgeKind::Arc) {
            in.take_point(11, e.b);
        } else if (code == 40 && !line) {
            e.radius = in.next().number;
        } else if (code == 50 && !line) {
            e.start = in.next().number;
        } else if (code == 51 && !line) {
            e.end = in.next().number;
        } else if (code == 73 && !line) {
            e.ccw = in.next().number != 0;
        } else {
            return;
        }
    }
}

void read_edge_path(Cursor& in, HatchPath& path)
{
    in.take(93, 0); // edge count: the 72 groups that follow tell
    while (in.at(72)) {
        const int type = whole(in.next().number);
        if (type < 1 || type > 4)
            return; // not an edge: the path ends here
        HatchEdge& e = path.edges.emplace_back();
        e.kind = static_cast<HatchEdgeKind>(type);
        if (e.kind == HatchEdgeKind::Spline)
            read_spline(in, e);
        else
            read_edge_fields(in, e);
    }
}

HatchStyle style_of(int written)
{
    switch (written) {
    case 1:
        return HatchStyle::Outer;
    case 2:
        return HatchStyle::Ignore;
    default:
        return HatchStyle::Normal;
    }
}

// A definition line: 53 angle, 43/44 base, 45/46 offset, 79 dash count and
// the 49 dash lengths.
void read_pattern_line(Cursor& in, HatchPatternLine& line)
{
    line.Angle = in.next().number;
    for (;;) {
        switch (in.code()) {
        case 43:
            line.Base.X = in.next().number;
            break;
        case 44:
            line.Base.Y = in.next().number;
            break;
        case 45:
            line.Offset.X = in.next().number;
            break;
        case 46:
            line.Offset.Y = in.next().number;
            break;
        case 79:
            in.skip();
            break;
        case 49:
            line.Dashes.push_back(in.next().number);
            break;
        default:
            return;
        }
    }
}

// Where the hatch's own groups begin (after its subclass marker) and end
// (before extended data).
std::pair<std::size_t, std::size_t> own_groups(const std::vector<Group>& groups)
{
    std::size_t begin = 0;
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (groups[i].code == 100 && groups[i].text == "AcDbHatch") {
            begin = i + 1;
            break;
        }
    std::size_t end = begin;
    while (end < groups.size() && groups[end].code < 1000)
        ++end;
    return {begin, end};
}

} // namespace

HatchDef read_hatch(const Entity& e)
{
    HatchDef def;
    const auto [begin, end] = own_groups(e.groups);
    Cursor in(e.groups, begin, end);

    // The plane, the pattern's name and the fill, up to the paths.
    while (!in.done() && in.code() != 91 && in.code() != 92 && !trailer_code(in.code())) {
        const Group& g = in.next();
        if (g.code == 10 || g.code == 20 || g.code == 30)
            def.elevation[static_cast<std::size_t>(g.code / 10 - 1)] = g.number;
        else if (g.code == 2)
            def.pattern = g.text;
        else if (g.code == 70)
            def.solid = (whole(g.number) & 1) != 0;
    }
    in.take(91, 0); // path count: the 92 groups that follow tell
    while (in.at(92)) {
        HatchPath& path = def.paths.emplace_back();
        path.flags = whole(in.next().number);
        if (path.polyline())
            read_polyline_path(in, path);
        else
            read_edge_path(in, path);
        in.take(97, 0); // source objects, their handles
        while (in.at(330))
            in.skip();
    }

    // Style, pattern, seeds, gradient.
    while (!in.done()) {
        if (in.at(53)) {
            read_pattern_line(in, def.lines.emplace_back());
            continue;
        }
        const Group& g = in.next();
        if (g.code == 75)
            def.style = style_of(whole(g.number));
        else if (g.code == 450 && whole(g.number) != 0)
            def.solid = true;
    }
    return def;
}

} // namespace orvex::formats::dxf::full
