// A HATCH entity as written: its boundary paths (polylines with bulges, or
// edges: lines, circular and elliptic arcs, splines), its pattern's
// definition lines and its fill, all in the hatch's object coordinate system.
#pragma once

#include "formats/dxf/dxf_full_model.h"
#include "formats/dxf/hatch_lines.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvex::formats::dxf::full {

enum class HatchEdgeKind : std::uint8_t { Line = 1, Arc = 2, Ellipse = 3, Spline = 4 };

/// One edge of an edge path, as written.
struct HatchEdge {
    HatchEdgeKind kind = HatchEdgeKind::Line;
    /// Line: start. Arcs: centre. Spline: unused.
    HatchPoint a;
    /// Line: end. Elliptic arc: the major axis's end, relative to the centre.
    HatchPoint b;
    /// Arc: radius. Elliptic arc: minor to major axis ratio.
    double radius = 0;
    /// Arcs: degrees as written; a clockwise arc writes 360 less its angles.
    double start = 0, end = 360;
    bool ccw = true;
    // Spline.
    int degree = 3;
    std::vector<double> knots, weights;
    std::vector<HatchPoint> control, fit;
};

/// Path type flags of a boundary path (group 92).
enum HatchPathFlags : int { PathExternal = 1, PathPolyline = 2, PathOutermost = 16 };

struct HatchPath {
    int flags = 0;
    /// A polyline path's vertices and the bulge of the segment each starts.
    std::vector<HatchPoint> vertices;
    std::vector<double> bulges;
    /// An edge path's edges.
    std::vector<HatchEdge> edges;
    bool polyline() const { return (flags & PathPolyline) != 0; }
};

struct HatchDef {
    /// Its Z is the plane's elevation in the object coordinate system.
    Vec3 elevation{0, 0, 0};
    std::string pattern;
    /// A solid fill (group 70) or a gradient (group 450).
    bool solid = false;
    HatchStyle style = HatchStyle::Normal;
    std::vector<HatchPath> paths;
    /// The definition lines as the hatch writes them: already turned and
    /// scaled by the pattern's angle and scale.
    std::vector<HatchPatternLine> lines;
};

/// Reads the hatch from its groups in order. Counts in the file only say
/// what should follow: the groups that do follow decide, so a count that
/// lies neither reads past the groups nor sizes anything.
HatchDef read_hatch(const Entity& e);

} // namespace orvex::formats::dxf::full
