// The control's free functions for the view: the fixed isometric mapping and
// the coordinate check of new elements.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

namespace orvex::Ops {

/// The fixed isometric mapping (angles 54.7356, 60 and 30 degrees):
/// o1 = sin a * (s1 + s2) * sin b, o2 = (sin c * (s2 - s1) + s3) * sin a, o3 = s3.
ORVEXGDI_EXPORT void get_3d_point(double s1, double s2, double s3, double& o1, double& o2, double& o3);

/// Whether the coordinates of a new element of type Etype are acceptable:
/// values in range lie within +-1e9 (NaN and infinities never do).
/// Points need c1, c2 in range; lines and fill edges c1, c2, c4, c5; arcs and circles c1,
/// c2, c4 in range and finite angles c5, c6; images, ellipses, rectangles
/// and clip rectangles all six slots. An out-of-range Z (c3, and a line's
/// end Z c6) is set to 0 instead of rejecting. Other types always pass.
ORVEXGDI_EXPORT bool check_max_min(int Etype, double& c1, double& c2, double& c3, double& c4, double& c5, double& c6);

} // namespace orvex::Ops
