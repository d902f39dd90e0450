#include "formats/dxf/dxf_face_shapes.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace orvex::formats::dxf::full {

std::optional<FaceCorners> face_corners(const Entity& e)
{
    FaceCorners p{};
    std::array<bool, 4> x{}, z{};
    for (const Group& g : e.groups) {
        const int axis = g.code / 10 - 1, corner = g.code % 10;
        if (g.code < 10 || g.code > 33 || corner > 3)
            continue;
        p[static_cast<std::size_t>(corner)][static_cast<std::size_t>(axis)] = g.number;
        if (axis == 0)
            x[static_cast<std::size_t>(corner)] = true;
        else if (axis == 2)
            z[static_cast<std::size_t>(corner)] = true;
    }
    if (!x[0] || !x[1] || !x[2])
        return std::nullopt;
    if (!z[0])
        p[0][2] = e.elevation;
    if (!x[3]) {
        p[3] = p[2];
        z[3] = z[2];
    }
    for (std::size_t i = 1; i < 4; ++i)
        if (!z[i])
            p[i][2] = p[0][2];
    return p;
}

std::vector<Vec3> solid_outline(const FaceCorners& p)
{
    if (p[3] == p[2])
        return {p[0], p[1], p[2]};
    return {p[0], p[1], p[3], p[2]};
}

std::vector<std::pair<Vec3, Vec3>> face_edges(const FaceCorners& p, int flags)
{
    std::vector<std::pair<Vec3, Vec3>> edges;
    for (std::size_t i = 0; i < 4; ++i) {
        const Vec3 &a = p[i], &b = p[(i + 1) % 4];
        if (!(flags & (1 << i)) && a != b)
            edges.emplace_back(a, b);
    }
    return edges;
}

// The boundary's points are in pixels of the image, Y down, pixel centres
// at whole numbers (a wipeout's image is one pixel, so they run from -0.5
// to 0.5); the U and V vectors give one pixel's size and direction from the
// insertion point at the image's lower left corner.
std::vector<Vec3> wipeout_outline(const Entity& e)
{
    Vec3 at{0, 0, 0}, u{1, 0, 0}, v{0, 1, 0};
    double width = 1, height = 1;
    double count = kAbsent;
    std::vector<std::array<double, 2>> boundary;
    for (const Group& g : e.groups) {
        const std::size_t axis = static_cast<std::size_t>(g.code / 10 - 1);
        switch (g.code) {
        case 10:
        case 20:
        case 30:
            at[axis] = g.number;
            break;
        case 11:
        case 21:
        case 31:
            u[axis] = g.number;
            break;
        case 12:
        case 22:
        case 32:
            v[axis] = g.number;
            break;
        case 13:
            width = g.number;
            break;
        case 23:
            height = g.number;
            break;
        case 14:
            boundary.push_back({g.number, 0});
            break;
        case 24:
            if (!boundary.empty())
                boundary.back()[1] = g.number;
            break;
        case 91:
            count = g.number;
            break;
        default:
            break;
        }
    }
    if (!(width > 0) || !std::isfinite(width))
        width = 1;
    if (!(height > 0) || !std::isfinite(height))
        height = 1;
    if (given(count) && count >= 0 && count < static_cast<double>(boundary.size()))
        boundary.resize(static_cast<std::size_t>(count));
    if (boundary.size() < 2) // no clip: the whole image
        boundary = {{-0.5, -0.5}, {width - 0.5, height - 0.5}};
    // Two points are a rectangle's corners (clip type 1), more a polygon's.
    if (boundary.size() == 2) {
        const auto [a, b] = std::pair(boundary[0], boundary[1]);
        boundary = {a, {b[0], a[1]}, b, {a[0], b[1]}};
    } else if (boundary.size() > 3 && boundary.front() == boundary.back()) {
        boundary.pop_back(); // the loop closes itself
    }
    std::vector<Vec3> outline;
    for (const auto& [x, y] : boundary)
        outline.push_back(at + u * (x + 0.5) + v * (height - 0.5 - y));
    return outline;
}

MeshEdges mesh_edges(const Entity& e)
{
    const std::vector<Group>& groups = e.groups;
    const std::size_t n = groups.size();
    // The entity's common groups may use the mesh's codes (92 counts proxy
    // graphics bytes in some versions): the mesh's own follow its marker.
    std::size_t i = 0;
    for (std::size_t k = 0; k < n; ++k)
        if (groups[k].code == 100 && groups[k].text == "AcDbSubDMesh") {
            i = k + 1;
            break;
        }
    auto wanted = [&](double count) {
        return count > 0 ? static_cast<std::size_t>(std::min(count, static_cast<double>(n))) : std::size_t{0};
    };
    MeshEdges mesh;
    std::vector<double> faceItems, edgeItems;
    auto take_items = [&](std::size_t count, std::vector<double>& items) {
        while (i < n && items.size() < count && groups[i].code == 90)
            items.push_back(groups[i++].number);
    };
    while (i < n) {
        const Group& g = groups[i++];
        if (g.code == 92) {
            const std::size_t count = wanted(g.number);
            while (i < n && mesh.vertices.size() < count && groups[i].code == 10) {
                Vec3 p{groups[i++].number, 0, 0};
                if (i < n && groups[i].code == 20)
                    p[1] = groups[i++].number;
                if (i < n && groups[i].code == 30)
                    p[2] = groups[i++].number;
                mesh.vertices.push_back(p);
            }
        } else if (g.code == 93) {
            take_items(wanted(g.number), faceItems);
        } else if (g.code == 94) {
            take_items(2 * wanted(g.number), edgeItems);
        }
    }
    std::set<std::pair<std::size_t, std::size_t>> seen;
    auto add = [&](double a, double b) {
        const double size = static_cast<double>(mesh.vertices.size());
        if (!(a >= 0 && a < size && b >= 0 && b < size) || a == b)
            return;
        const auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
        if (seen.insert({std::min(ia, ib), std::max(ia, ib)}).second)
            mesh.edges.emplace_back(ia, ib);
    };
    if (edgeItems.size() >= 2) {
        for (std::size_t k = 0; k + 1 < edgeItems.size(); k += 2)
            add(edgeItems[k], edgeItems[k + 1]);
        return mesh;
    }
    // Faces: each its corner count, then its corners' indices.
    for (std::size_t k = 0; k < faceItems.size();) {
        const double corners = faceItems[k++];
        const std::size_t m =
            corners > 0 ? static_cast<std::size_t>(std::min(corners, static_cast<double>(faceItems.size() - k))) : 0;
        for (std::size_t j = 0; m >= 2 && j < m; ++j)
            add(faceItems[k + j], faceItems[k + (j + 1) % m]);
        k += m;
    }
    return mesh;
}

} // namespace orvex::formats::dxf::full
