// Curves and surfaces of the full IGES import as functions of their
// parameters: what surface boundaries, trimming curves and iso-parameter
// lines are drawn from. Qt-free; entities are reached through a lookup so
// that composite curves and surfaces built on curves find their parts.
#pragma once

#include "formats/common/model_space.h"

#include <functional>
#include <optional>
#include <vector>

namespace orvex::formats::iges {

/// One entity's data as the geometry needs it: its type and form, its
/// parameter values after the entity type, and the matrix that places it in
/// the space of whoever refers to it (its own chain of 124 entities).
struct GeometryEntity {
    int Type = 0;
    int Form = 0;
    std::vector<double> Values;
    Matrix Placement;
};

/// The entity of a directory pointer; nullptr when there is none with data.
using EntityLookup = std::function<const GeometryEntity*(int pointer)>;

/// A piece of a curve: its point for t in [T0, T1], the number of equal
/// steps to start cutting it into, and points whose box holds it.
struct CurvePiece {
    std::function<Vec3(double)> At;
    double T0 = 0, T1 = 1;
    int Pieces = 1;
    std::vector<Vec3> Hull;
};

/// The pieces of a curve entity (100, 102, 104 ellipse, 106 paths, 110,
/// 112, 126), placed through its matrix. Empty when it makes no curve.
std::vector<CurvePiece> curve_pieces(const GeometryEntity& curve, const EntityLookup& lookup, int depth = 0);

/// The curve as one function over [T0, T1]: its pieces one after the
/// other, each over a unit of the parameter. nullopt when it has no piece.
std::optional<CurvePiece> joined_curve(const GeometryEntity& curve, const EntityLookup& lookup, int depth = 0);

/// A surface patch: its point for (u, v) in [U0, U1] x [V0, V1], how many
/// equal steps each direction starts with, and points whose box holds it.
struct SurfacePatch {
    std::function<Vec3(double, double)> At;
    double U0 = 0, U1 = 1, V0 = 0, V1 = 1;
    int PiecesU = 1, PiecesV = 1;
    std::vector<Vec3> Hull;
    /// The iso-parameter curve along u at v = `fixed` (or along v at u =
    /// `fixed`), prepared once where that is cheaper than At per point;
    /// empty where At serves as well.
    std::function<std::function<Vec3(double)>(bool alongU, double fixed)> Iso;

    /// The iso-parameter curve through Iso where there is one, else At.
    std::function<Vec3(double)> iso(bool alongU, double fixed) const
    {
        if (Iso)
            return Iso(alongU, fixed);
        return [at = At, alongU, fixed](double t) { return alongU ? at(t, fixed) : at(fixed, t); };
    }
};

/// The patch of a parametric surface entity: 114 parametric spline, 118
/// ruled, 120 revolution, 122 tabulated cylinder, 128 rational B-spline,
/// 140 offset surface, in the parameter space their trimming curves use,
/// placed through its matrix. nullopt for anything else or broken data.
std::optional<SurfacePatch> surface_patch(const GeometryEntity& surface, const EntityLookup& lookup, int depth = 0);

} // namespace orvex::formats::iges
