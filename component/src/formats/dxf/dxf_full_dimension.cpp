// Dimensions and leaders of the full DXF import.
#include "formats/dxf/dxf_full_place.h"

namespace orvex::formats::dxf::full {

// Not drawn yet: counted as skipped.
bool Placer::dimension(const Entity&, const Context&, const ShapeStyle&) { return false; }
bool Placer::leader(const Entity&, const Context&, const ShapeStyle&) { return false; }
bool Placer::multileader(const Entity&, const Context&, const ShapeStyle&) { return false; }

} // namespace orvex::formats::dxf::full
