// Multi-line text of the full DXF import (MTEXT) as stroke elements.
#include "formats/dxf/dxf_full_place.h"

namespace orvex::formats::dxf::full {

// Not drawn yet: counted as skipped.
bool Placer::mtext(const Entity&, const Context&, const ShapeStyle&) { return false; }

} // namespace orvex::formats::dxf::full
