// Points of the curves the imports turn into line chains: NURBS curves
// (de Boor's algorithm on weighted control points).
#pragma once

#include "model_space.h"

#include <vector>

namespace orvex::formats {

/// The point at parameter u of the NURBS curve of degree p with knots U,
/// control points P and weights w (all 1 when w does not hold one per
/// point). U holds P.size() + p + 1 knots.
Vec3 nurbs_point(int p, const std::vector<double>& U, const std::vector<Vec3>& P, const std::vector<double>& w,
                 double u);

} // namespace orvex::formats
