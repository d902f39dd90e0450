// The boundary paths of a hatch as closed polygons in its object coordinate
// system: bulges, arcs, elliptic arcs and splines cut into points.
#pragma once

#include "formats/dxf/dxf_full_hatch_read.h"

#include <vector>

namespace orvex::formats::dxf::full {

struct HatchBoundary {
    /// One loop for each path that has points, in the order written.
    std::vector<HatchLoop> loops;
    /// Each loop's path type flags (HatchPathFlags).
    std::vector<int> flags;
    /// The chord tolerance the curves were cut to: a thousandth of the
    /// boundary's extent.
    double tolerance = 0;
};

/// A curved edge never makes more points than this, however fine the
/// tolerance asks.
constexpr int kMaxEdgePoints = 4096;

/// The loops of the hatch's paths. Each edge runs the way it is written
/// (clockwise arcs clockwise); an edge written backwards, its end where the
/// loop so far ends, is turned round to join it. Points that are not finite
/// numbers are left out.
HatchBoundary hatch_boundary(const HatchDef& def);

} // namespace orvex::formats::dxf::full
