// Hatches of the full DXF import: pattern lines cut to the boundary paths,
// solid hatches as filled regions.
#include "formats/dxf/dxf_full_hatch_loops.h"
#include "formats/dxf/dxf_full_place.h"

#include <string>

namespace orvex::formats::dxf::full {

namespace {

// The loops a solid fill covers under the hatch's style, when the writer
// marked the paths: the islands within islands drop out with the outer
// style, every island with the ignore style.
std::vector<const HatchLoop*> filled_loops(const HatchBoundary& b, HatchStyle style)
{
    int marked = 0;
    for (int flags : b.flags)
        marked |= flags & (PathExternal | PathOutermost);
    const int wanted = style == HatchStyle::Outer ? PathExternal | PathOutermost : PathExternal;
    std::vector<const HatchLoop*> loops;
    for (std::size_t i = 0; i < b.loops.size(); ++i)
        if (style == HatchStyle::Normal || (marked & PathExternal) == 0 || (b.flags[i] & wanted) != 0)
            loops.push_back(&b.loops[i]);
    return loops;
}

std::string describe(const Entity& e, const HatchDef& def)
{
    std::string text = "HATCH";
    if (const std::string_view handle = e.text(5); !handle.empty())
        text += " " + std::string(handle);
    return text + " \"" + def.pattern + "\" on layer " + e.layer;
}

} // namespace

bool Placer::hatch(const Entity& e, const Context& c, const ShapeStyle& s)
{
    const HatchDef def = read_hatch(e);
    const HatchBoundary boundary = hatch_boundary(def);
    if (boundary.loops.empty())
        return false; // nothing to draw
    const Matrix m = ocs_map(e, c);
    const double z = def.elevation[2];
    auto world = [&](const HatchPoint& p) { return m.apply(p.X, p.Y, z); };
    auto world_loop = [&](const HatchLoop& loop) {
        std::vector<Vec3> points;
        points.reserve(loop.Points.size());
        for (const HatchPoint& p : loop.Points)
            points.push_back(world(p));
        return points;
    };
    // The boundary's outline, for patterns that cannot be drawn.
    auto outline = [&] {
        for (const HatchLoop& loop : boundary.loops) {
            std::vector<Vec3> points = world_loop(loop);
            points.push_back(points.front());
            shapes_.chain(points, s);
        }
    };

    // Writers that leave out the pattern of a solid fill name it SOLID.
    if (def.solid || (def.lines.empty() && name_key(def.pattern) == "SOLID")) {
        std::vector<std::vector<Vec3>> loops;
        for (const HatchLoop* loop : filled_loops(boundary, def.style))
            loops.push_back(world_loop(*loop));
        shapes_.fill(loops, s);
        return true;
    }
    if (def.lines.empty()) {
        outline();
        return true;
    }
    // The pattern's dashes are drawn as segments, so the lines themselves
    // are continuous. A dot is a very short line (a thousandth of the
    // hatch's extent, along its plane's X axis): points would show as marks
    // far larger than dots.
    ShapeStyle lines = s;
    lines.LineType = 1;
    const double dot = boundary.tolerance / 2;
    const HatchLimits limits; // at most 100,000 segments a hatch
    const HatchResult result = hatch_lines(
        boundary.loops, def.style, def.lines,
        [&](const HatchSegment& g) {
            if (g.A.X == g.B.X && g.A.Y == g.B.Y)
                shapes_.line(world({g.A.X - dot, g.A.Y}), world({g.A.X + dot, g.A.Y}), lines);
            else
                shapes_.line(world(g.A), world(g.B), lines);
        },
        limits);
    switch (result.Status) {
    case HatchStatus::SegmentCap:
        note(describe(e, def) + ": stopped at " + std::to_string(limits.MaxSegments) + " segments");
        break;
    case HatchStatus::TooManyLines:
        note(describe(e, def) + ": pattern too fine for its area, drawn as its boundary");
        outline();
        break;
    case HatchStatus::NoBoundary:
        return false;
    case HatchStatus::Done:
        // No definition line could make lines (offsets of no length, values
        // not numbers): the boundary at least shows where the hatch lies.
        if (result.SkippedPatternLines == static_cast<int>(def.lines.size()))
            outline();
        break;
    }
    return true;
}

} // namespace orvex::formats::dxf::full
