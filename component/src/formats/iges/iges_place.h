// Placing IGES entities through their transformation matrices (entity 124):
// points and lines move, arcs move and go into an arc view of their plane.
#pragma once

#include "formats/common/model_space.h"

namespace orvex::formats::iges {

using formats::Matrix;
using formats::Vec3;

/// An element's values before the factory makes it: type, six slots, view.
struct Shape {
    int Etype = etNone;
    double c[6] = {0, 0, 0, 0, 0, 0};
    int View = 0;
};

/// Moves a point, line or arc (values in the entity's own space) through
/// the matrix. An arc whose plane is no longer parallel to the top view goes
/// into an arc view with that plane: an entry already holding it, or the
/// first undefined one. False when no arc view is left for it.
bool place(Shape& shape, const Matrix& m, ArcViewTable& views);

} // namespace orvex::formats::iges
