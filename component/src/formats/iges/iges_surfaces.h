// Surfaces and solids of the full IGES import drawn as wireframes: each
// surface by its boundary (the four parameter edges of an untrimmed patch,
// or the trimming curves of its trimmed or bounded surface), each solid by
// the edges of its faces, every curve once, plus iso-parameter lines.
#pragma once

#include "formats/common/world_shapes.h"
#include "formats/iges/iges_geometry.h"

#include <functional>
#include <optional>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

namespace orvex::formats::iges {

/// Entity kinds the drawer draws: surfaces (108, 114, 118, 120, 122, 128,
/// 140), bounded and trimmed surfaces (143, 144), curves on surfaces (142),
/// solids and shells (186, 514).
bool is_surface_kind(int type);

/// The entities an entity draws through itself and that are therefore not
/// drawn on their own: the surfaces and curves on surfaces of trimmed and
/// bounded surfaces, the base of an offset surface, the shells, faces,
/// loops and edge lists of solids.
void parts_of(int type, const std::vector<double>& values, std::vector<int>& parts);

/// Curves that only define a surface or live in its parameter space: the
/// rails of a ruled surface and the parameter-space curves of loops.
void defining_curves_of(int type, const std::vector<double>& values, std::vector<int>& curves);

class SurfaceDrawer {
public:
    /// At most this many chords per surface; the rest of its curves are
    /// cut into their first steps only and the surface is named in capped().
    static constexpr long long kMaxChords = 20'000;

    /// `drawnOnItsOwn` tells which curve entities the import draws anyway
    /// (visible independent curves), so that a boundary is not drawn twice.
    SurfaceDrawer(EntityLookup lookup, std::function<bool(int)> drawnOnItsOwn, WorldShapes& shapes,
                  const SurfaceOptions& options);

    /// Draws the entity at directory entry `sequence` (of a kind of
    /// is_surface_kind); false when it resolves to nothing to draw.
    bool draw(int sequence, int type, const ShapeStyle& style, const std::string& name);

private:
    struct Loop {
        std::vector<std::pair<double, double>> points; // closed polygon in parameter space
    };
    bool model_curve(int pointer, const ShapeStyle& style, int depth = 0);
    bool curve_on_surface(int pointer, const ShapeStyle& style);
    void mapped_curve(int pointer, const SurfacePatch& patch, const ShapeStyle& style);
    std::optional<SurfacePatch> patch_of(int pointer);
    void patch_edges(const SurfacePatch& patch, const ShapeStyle& style);
    void iso_lines(const SurfacePatch& patch, const std::vector<Loop>* loops, const ShapeStyle& style);
    std::optional<Loop> parameter_loop(int curveOnSurface);
    bool trimmed(const GeometryEntity& e, const ShapeStyle& style);
    bool bounded(const GeometryEntity& e, const ShapeStyle& style);
    bool shell(int pointer, const ShapeStyle& style);

    EntityLookup lookup_;
    std::function<bool(int)> drawnOnItsOwn_;
    WorldShapes& shapes_;
    SurfaceOptions options_;
    std::unordered_set<int> drawn_;       // curves and curves on surfaces drawn through a surface
    std::set<std::pair<int, int>> edges_; // (edge list, index) pairs drawn
};

} // namespace orvex::formats::iges
