// Hatches of the full DXF import: pattern lines cut to the boundary paths,
// solid hatches as filled regions.
#include "formats/dxf/dxf_full_place.h"

namespace orvex::formats::dxf::full {

// Not drawn yet: counted as skipped.
bool Placer::hatch(const Entity&, const Context&, const ShapeStyle&) { return false; }

} // namespace orvex::formats::dxf::full
