// The curves the full IGES import adds: conic arcs (104), copious data
// (106) and rational B-spline curves (126), as points and line chains.
#pragma once

#include "formats/common/world_shapes.h"

#include <vector>

namespace orvex::formats::iges {

/// Adds the curve of an entity of `type` and `form` whose parameter values
/// (after the entity type) are `v`, placed through `m`. False when the
/// values do not make such a curve.
bool add_curve(int type, int form, const std::vector<double>& v, const Matrix& m, WorldShapes& shapes,
               const ShapeStyle& style);

} // namespace orvex::formats::iges
