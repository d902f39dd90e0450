// The shapes of DXF faces from their groups as written: the corners of
// SOLID, TRACE and 3DFACE, the outline of a SOLID and the visible edges of
// a 3DFACE, a WIPEOUT's clip boundary and the edges of a MESH.
#pragma once

#include "formats/dxf/dxf_full_model.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace orvex::formats::dxf::full {

using FaceCorners = std::array<Vec3, 4>;

/// Corners 10 to 13 as written; a missing fourth is the third (a
/// triangle), a missing Z the first corner's (its own the elevation, 38).
/// None without the first three.
std::optional<FaceCorners> face_corners(const Entity& e);

/// A SOLID's or TRACE's outline: corners 1-2-4-3, or 1-2-3 when the fourth
/// repeats the third.
std::vector<Vec3> solid_outline(const FaceCorners& p);

/// A 3DFACE's visible edges: flags 1, 2, 4, 8 (group 70) hide the edges
/// from the first, second, third and fourth corner; an edge between two
/// equal corners (a triangle's) is left out.
std::vector<std::pair<Vec3, Vec3>> face_edges(const FaceCorners& p, int flags);

/// A WIPEOUT's clip boundary, in the coordinates of its insertion point.
std::vector<Vec3> wipeout_outline(const Entity& e);

/// A MESH's control mesh: its vertices and the index pairs of its edges,
/// each edge once.
struct MeshEdges {
    std::vector<Vec3> vertices;
    std::vector<std::pair<std::size_t, std::size_t>> edges;
};
/// The edge list when the mesh gives one, else the sides of its faces.
/// Every count is bounded by the groups that follow it.
MeshEdges mesh_edges(const Entity& e);

} // namespace orvex::formats::dxf::full
