// View math as plain functions of the settings: projection of model points
// to pixels and back, the zoom-state scale computation and the extents.
// Tests call these without a widget.
#pragma once

#include <OrvexGDI/QOrvexGDI.h>

#include <cmath>
#include <cstdint>

namespace orvex::view {

/// The value rounded to the nearest integer, halves to the even neighbour;
/// ERangeError when the result does not fit in 32 bits.
ORVEXGDI_EXPORT int nearest(double value);

/// Whether nearest(value) would succeed.
inline bool fits_int(double value)
{
    return value >= -2147483648.5 && value <= 2147483647.5; // false for NaN
}

/// The rotation matrix from XRotation, YRotation, ZRotation.
ORVEXGDI_EXPORT void set_coefficiants(TSettings& s);
/// The standard angles of the current view number.
ORVEXGDI_EXPORT void view_window_proc(TSettings& s);

/// View-plane coordinates (u, w) of a model point in view v: the top view
/// shows (x, y); the others go through the first two rows of the rotation.
inline void project(const TSettings& s, int v, double x, double y, double z, double& u, double& w)
{
    if (v == 1) {
        u = x;
        w = y;
    } else {
        const TRotationMatrix& r = s.RotationMatrix;
        u = r.R11 * x + r.R12 * y + r.R13 * z;
        w = r.R21 * x + r.R22 * y + r.R23 * z;
    }
}

/// Flat mapping of (a, b) with view View's scale and origin, no rotation.
ORVEXGDI_EXPORT void coord_to_pixel(const TSettings& s, int View, double a, double b, int& px, int& py);
/// Model point of a pixel in view View; outputs unwritten for other views.
ORVEXGDI_EXPORT void trans_pixel_coords(const TSettings& s, int View, int px, int py, double& x, double& y,
                                        double& z);

/// Scale computation: mode 0 fits the extents, 2 returns to the previous
/// zoom, 3 doubles and 4 halves the visible size; any other mode only
/// recomputes scale and origin.
ORVEXGDI_EXPORT void set_scale(TSettings& s, double Mode, int Width, int Height);
ORVEXGDI_EXPORT void set_scale_factor(TSettings& s, int View, int Height);

/// Widens the extents by one element (points, lines and arcs only).
ORVEXGDI_EXPORT void set_max_min(TSettings& s, const TElement& e);
/// Recomputes the extents from every live element on a visible layer.
ORVEXGDI_EXPORT void get_max_min(TSettings& s, const TElements& elements);
/// The extents reset of a load: max -100, min 100.
ORVEXGDI_EXPORT void reset_extents(TSettings& s);

} // namespace orvex::view
