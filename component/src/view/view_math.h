// View math as plain functions of the view state and a picture size: the
// zoom state of each view (scale, pixel origin, window fit, pan, zoom about a
// pixel), the rotation and the extents. The mapping of points between model
// and pixels is the Viewport's. The widget only feeds them its size and mouse
// positions; tests call them without a GUI.
#pragma once

#include "view/viewport.h"

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/ViewState.h>

#include <cmath>
#include <cstdint>

namespace orvex::view {

/// The value rounded to the nearest integer, halves to the even neighbour;
/// ERangeError when the result does not fit in 32 bits.
int nearest(double value);

/// The rotation matrix from XRotation, YRotation, ZRotation.
void set_coefficiants(TViewState& s);
/// The standard angles of the current view number.
void view_window_proc(TViewState& s);

/// View-plane coordinates (u, w) of a model point in view v.
inline void project(const TViewState& s, int v, double x, double y, double z, double& u, double& w)
{
    Viewport::of(s, v).project(x, y, z, u, w);
}

/// Flat mapping of (a, b) with view View's scale and origin, no rotation;
/// ERangeError beyond 32 bits.
void coord_to_pixel(const TViewState& s, int View, double a, double b, int& px, int& py);
/// Model point of a pixel in view View; outputs unwritten for other views.
void trans_pixel_coords(const TViewState& s, int View, int px, int py, double& x, double& y, double& z);

/// Moves view View's centre by (du, dw) in its plane and recomputes its
/// pixel origin for a Width x Height picture (a pan).
void pan(TViewState& s, int View, int Width, int Height, double du, double dw);

/// Scale computation: mode 0 fits the extents, 2 returns to the previous
/// zoom, 3 doubles and 4 halves the visible size; any other mode only
/// recomputes scale and origin.
void set_scale(TViewState& s, double Mode, int Width, int Height);
void set_scale_factor(TViewState& s, int View, int Height);

/// The pixel origin that puts model value `center` at the middle of `size`
/// pixels at `scale` pixels per unit.
inline int centred_origin(double center, double scale, int size) { return size / 2 - nearest(center * scale); }
/// Whether centred_origin fits in 32 bits, with room to spare for the
/// picture's own pixels.
inline bool origin_fits(double center, double scale, int size)
{
    return std::abs(center * scale) <= 2147483647.0 - 2.0 * std::abs(static_cast<double>(size)); // false for NaN
}
/// Scale and pixel origin of view View from its half size and centre, for a
/// picture of Width x Height pixels (at least 4 x 4). The zoom state is kept
/// one that can be shown: the half size within [0.04, 1e10], and no deeper
/// than the deepest zoom whose pixel origins fit in 32 bits.
void set_origin(TViewState& s, int View, int Width, int Height);
/// Keeps view View's half size and centre as the zoom ZoomLast returns to.
void remember_zoom(TViewState& s, int View);
/// Zoom of view View to the pixel rectangle (X1, Y1)-(X2, Y2): its longer
/// side fills the picture and its centre becomes the view centre; the old
/// zoom is remembered. False, with nothing changed, for a rectangle of no
/// width or no height.
bool graphics_get_scale(TViewState& s, int View, int Width, int Height, int X1, int Y1, int X2, int Y2);

/// The whole-drawing fit of a front, side or rotated view: the view-plane
/// box of every live point, line and arc on a visible layer, as that view
/// shows them, fills about 90 % of the smaller picture side. The previous
/// zoom is remembered. False, with nothing changed, when nothing is shown.
bool fit_plane_box(TViewState& s, const TElements& elements, int Width, int Height);

/// Zoom of view View by Factor (above 1 shows more) about the pixel
/// (X, Y), which keeps showing the same view-plane point; the old zoom is
/// remembered.
void zoom_about(TViewState& s, int View, int Width, int Height, double Factor, int X, int Y);

/// Widens the extents by one element (points, lines and arcs only).
void set_max_min(TViewState& s, const TElement& e);
/// Recomputes the extents from every live element on a visible layer.
void get_max_min(TViewState& s, const TElements& elements);
/// The extents reset of a load: max -100, min 100.
void reset_extents(TViewState& s);

} // namespace orvex::view
