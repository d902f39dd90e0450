// Faces of the full DXF import: SOLID and TRACE as filled regions, 3DFACE
// and MESH as their visible edges, WIPEOUT as a region filled in the
// drawing's background colour.
#include "formats/dxf/dxf_face_shapes.h"
#include "formats/dxf/dxf_full_place.h"

namespace orvex::formats::dxf::full {

bool Placer::face(const Entity& e, const Context& c, const ShapeStyle& s)
{
    if (e.kind == Kind::Wipeout) {
        std::vector<Vec3> outline = wipeout_outline(e);
        for (Vec3& p : outline)
            p = c.toWorld.apply(p);
        ShapeStyle masking = s;
        masking.Colour = sink_.background_color();
        shapes_.fill({std::move(outline)}, masking);
        return true;
    }
    const std::optional<FaceCorners> corners = face_corners(e);
    if (!corners)
        return false; // not a face: counted as skipped
    if (e.kind == Kind::Face3d) {
        // Corners in world coordinates.
        for (const auto& [a, b] : face_edges(*corners, e.g70))
            shapes_.line(c.toWorld.apply(a), c.toWorld.apply(b), s);
        return true;
    }
    const Matrix m = ocs_map(e, c);
    std::vector<Vec3> outline = solid_outline(*corners);
    for (Vec3& p : outline)
        p = m.apply(p);
    shapes_.fill({std::move(outline)}, s);
    return true;
}

bool Placer::mesh(const Entity& e, const Context& c, const ShapeStyle& s)
{
    const MeshEdges mesh = mesh_edges(e);
    for (const auto& [a, b] : mesh.edges)
        shapes_.line(c.toWorld.apply(mesh.vertices[a]), c.toWorld.apply(mesh.vertices[b]), s);
    return true;
}

} // namespace orvex::formats::dxf::full
