// The picture geometry of one view as a value: view number, scale, pixel
// origin, rotation and picture size, taken from the view state in one place.
// It is the only home of the model-to-pixel mapping and its inverse, so the
// painter, the picks, the mouse, the navigation, printing and the tests all
// map points the same way. A copy can be handed to a paint pass on another
// thread: it refers to nothing.
#pragma once

#include <OrvexGDI/ViewState.h>

#include <cmath>

namespace orvex::view {

/// Whether value rounds to a 32-bit integer.
inline bool fits_int(double value)
{
    return value >= -2147483648.5 && value <= 2147483647.5; // false for NaN
}

struct Viewport {
    int View = 1;       ///< 1 top, 2 front, 3 side, 4 isometric or rotated.
    double ScaleX = 1;  ///< Pixels per view-plane unit across.
    double ScaleY = -1; ///< Pixels per view-plane unit down (negative: up is up).
    double OriginX = 0; ///< Pixel of the view plane's origin.
    double OriginY = 0;
    TRotationMatrix Rotation;  ///< Model to view plane for views other than top.
    int Width = 0, Height = 0; ///< Picture size in pixels.

    /// View View of the state (its zoom state and the state's rotation as
    /// last computed) for a picture of Width x Height. A view number outside
    /// 1..4 keeps scale 1 and origin 0.
    static Viewport of(const TViewState& s, int View, int Width = 0, int Height = 0);
    /// The state's current view.
    static Viewport current(const TViewState& s, int Width = 0, int Height = 0)
    {
        return of(s, s.ViewNumber, Width, Height);
    }

    /// View-plane coordinates (u, w) of a model point: the top view shows
    /// (x, y); the others go through the first two rows of the rotation.
    void project(double x, double y, double z, double& u, double& w) const
    {
        if (View == 1) {
            u = x;
            w = y;
        } else {
            const TRotationMatrix& r = Rotation;
            u = r.R11 * x + r.R12 * y + r.R13 * z;
            w = r.R21 * x + r.R22 * y + r.R23 * z;
        }
    }

    /// Unrounded pixel of a view-plane point.
    double pixel_x(double u) const { return u * ScaleX + OriginX; }
    double pixel_y(double w) const { return w * ScaleY + OriginY; }

    /// Pixel of a view-plane point with the scaled value rounded before the
    /// whole-pixel origin is added: how the corners of a top-view arc's box
    /// are placed. False when the scaled value does not fit in 32 bits.
    bool box_pixel(double u, double w, double& px, double& py) const
    {
        const double fx = u * ScaleX, fy = w * ScaleY;
        if (!fits_int(fx) || !fits_int(fy))
            return false;
        px = std::nearbyint(fx) + OriginX;
        py = std::nearbyint(fy) + OriginY;
        return true;
    }

    /// Rounded pixel of a view-plane point, halves to even; false, with
    /// nothing written, when it does not fit in 32 bits.
    bool flat_pixel(double u, double w, int& px, int& py) const
    {
        const double fx = pixel_x(u), fy = pixel_y(w);
        if (!fits_int(fx) || !fits_int(fy))
            return false;
        px = static_cast<int>(std::nearbyint(fx));
        py = static_cast<int>(std::nearbyint(fy));
        return true;
    }
    /// Rounded pixel of a model point.
    bool to_pixel(double x, double y, double z, int& px, int& py) const
    {
        double u = 0, w = 0;
        project(x, y, z, u, w);
        return flat_pixel(u, w, px, py);
    }

    /// View-plane point at a pixel.
    void to_plane(double px, double py, double& u, double& w) const
    {
        u = (px - OriginX) / ScaleX;
        w = (py - OriginY) / ScaleY;
    }
    /// Model point at a pixel: the plane point placed in the view's plane
    /// through the model origin (the isometric view through the control's
    /// fixed inverse mapping). False, with nothing written, outside views 1..4.
    bool to_model(double px, double py, double& x, double& y, double& z) const;

    /// The view-plane shift that moves the picture content by (dx, dy)
    /// pixels the other way: what a pan drag adds to the view's centre.
    void pixel_shift(double dx, double dy, double& du, double& dw) const
    {
        du = dx / ScaleX;
        dw = dy / ScaleY;
    }

    /// The same view on a device f times as fine (a printer page): scale
    /// times f, origin rounded from origin times f. ERangeError when that
    /// origin does not fit in 32 bits.
    Viewport scaled(double f) const;
};

} // namespace orvex::view
