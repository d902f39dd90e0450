// Placing IGES entities through their transformation matrices (entity 124):
// points and lines move, arcs move and go into an arc view of their plane.
#pragma once

#include "drawing_sink.h"

#include <array>

namespace orvex::formats::iges {

using Vec3 = std::array<double, 3>;

/// x' = R x + T; rows R[0..2] with the translation in column 3.
struct Matrix {
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

    Vec3 apply(double x, double y, double z) const
    {
        return {m[0][0] * x + m[0][1] * y + m[0][2] * z + m[0][3], m[1][0] * x + m[1][1] * y + m[1][2] * z + m[1][3],
                m[2][0] * x + m[2][1] * y + m[2][2] * z + m[2][3]};
    }
    Vec3 direction(double x, double y, double z) const
    {
        return {m[0][0] * x + m[0][1] * y + m[0][2] * z, m[1][0] * x + m[1][1] * y + m[1][2] * z,
                m[2][0] * x + m[2][1] * y + m[2][2] * z};
    }
    /// this after inner: x' = this(inner(x)).
    Matrix after(const Matrix& inner) const;
};

/// An element's values before the factory makes it: type, six slots, view.
struct Shape {
    int Etype = etNone;
    double c[6] = {0, 0, 0, 0, 0, 0};
    int View = 0;
};

/// Moves a point, line or arc (values in the entity's own space) through
/// the matrix. An arc whose plane is no longer parallel to the top view goes
/// into an arc view with that plane: an entry already holding it, or the
/// first undefined one. False when no arc view is left for it.
bool place(Shape& shape, const Matrix& m, ArcViewTable& views);

/// The arc view of a plane given by its first axis and normal (model
/// vectors, unit length): 1 for planes parallel to the top view, an entry
/// holding the plane, or the first undefined entry, which is defined; 0
/// when every entry is taken.
int arc_view_of(const Vec3& xAxis, const Vec3& normal, ArcViewTable& views);

} // namespace orvex::formats::iges
