// Hit tests of the drawing control's pick: whether a model point seen in one
// of the views lies on a point, line or arc element within a pick aperture
// (given in pixels, compared with model distances times the view's scale).
//
// Views are the control's view numbers: 1 top (x, y), 2 front (x, z),
// 3 side (y, z), 4 isometric or freely rotated.
//
// This header includes no Qt header.
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/VUvuDAVTypes.h>

namespace orvex::Ops {

/// How the rotated view (view 4) shows a model point: the first two rows of
/// its rotation, u = R11 x + R12 y + R13 z and w = R21 x + R22 y + R23 z.
struct ViewRows {
    /// First row: u = R11 x + R12 y + R13 z.
    double R11 = 0, R12 = 0, R13 = 0;
    /// Second row: w = R21 x + R22 y + R23 z.
    double R21 = 0, R22 = 0, R23 = 0;
};

/// Point test on slots 1 to 3: hit when the plane distance between the pick
/// point and the element, times scale, is below aperture. Compares (X, Y)
/// with slots (1, 2) in view 1, (X, Z) with (1, 3) in view 2, (Y, Z) with
/// (2, 3) in view 3; never hits in view 4. On a hit (u, v, w) is the
/// element's point.
ORVEXGDI_EXPORT bool on_point(int view, double X, double Y, double Z, double scale, double aperture,
                              const TElement& element, double& u, double& v, double& w);

/// Line test on slots 1 to 6, in the view's plane: the pick point must lie in
/// the circle that has the projected segment as its diameter and within the
/// aperture of the projected infinite line. In view 4 the line is tested
/// where `rotated` draws it, against the pick point of the fixed isometric
/// pixel mapping (see isometric_view_plane); without `rotated` view 4 never
/// hits. On a hit (u, v, w) is the foot of the perpendicular in the view's
/// plane (w = 0).
ORVEXGDI_EXPORT bool on_line(int view, double X, double Y, double Z, double scale, double aperture,
                             const TElement& element, double& u, double& v, double& w,
                             const ViewRows* rotated = nullptr);

/// Arc test on an arc element (centre slots 1 to 3, radius 4, start and end
/// angle 5 and 6): the pick point in the arc's plane is (X, Y) in views 1
/// and 4, (X, Z) in view 2 and (Y, Z) in view 3; in views 1 to 3 the arc
/// must belong to that view (its view attribute). Hit when the point is
/// within the aperture of the circle and its direction lies in the
/// counter-clockwise sweep (equal angles: a full circle). On a hit, near is
/// the arc end nearer to the pick point (the start end on a tie; Z of the
/// centre) and (farX, farY) the other end.
ORVEXGDI_EXPORT bool arc_hit(int view, double X, double Y, double Z, double scale, double aperture,
                             const TElement& element, dpoint& near, double& farX, double& farY);

/// The rotated view's plane coordinates (u, w) of a model point that the
/// fixed isometric pixel mapping produced: the exact inverse of
/// x = K2 (u - w), y = K1 (u + w).
ORVEXGDI_EXPORT void isometric_view_plane(double X, double Y, double& u, double& w);

/// Whether a pick filter code accepts an element type: 0 every type; 1
/// points; 2 lines; 3 arcs; 10 points and lines; 11 points and arcs; 8 lines
/// and arcs. A code outside the table accepts every type, as it reads back as
/// the filter for all types.
ORVEXGDI_EXPORT bool pick_filter_accepts(int code, int etype);

} // namespace orvex::Ops
