// Points of the curves the imports turn into line chains: NURBS curves
// (de Boor's algorithm on weighted control points); the sweeps of arcs.
#pragma once

#include "formats/common/model_space.h"

#include <vector>

namespace orvex::formats {

/// The point at parameter u of the NURBS curve of degree p with knots U,
/// control points P and weights w (all 1 when w does not hold one per
/// point). U holds P.size() + p + 1 knots.
Vec3 nurbs_point(int p, const std::vector<double>& U, const std::vector<Vec3>& P, const std::vector<double>& w,
                 double u);

/// The end of a counter-clockwise sweep from `start` to `end`: `end` when it
/// lies above `start`, else `end` moved up by whole turns (`turn` is 360 or
/// 2 pi) into (start, start + turn]. Found in one step: adding a turn at a
/// time never ends for a start so large (or infinite) that a turn does not
/// change it.
double sweep_end(double start, double end, double turn);

} // namespace orvex::formats
