// Faces of the full DXF import: SOLID, TRACE, 3DFACE, WIPEOUT and MESH.
#include "formats/dxf/dxf_full_place.h"

namespace orvex::formats::dxf::full {

// Not drawn yet: counted as skipped.
bool Placer::face(const Entity&, const Context&, const ShapeStyle&) { return false; }
bool Placer::mesh(const Entity&, const Context&, const ShapeStyle&) { return false; }

} // namespace orvex::formats::dxf::full
