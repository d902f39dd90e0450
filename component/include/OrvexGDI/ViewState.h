// TViewState: the part of a drawing control's state that says what the
// picture shows — the drawing planes of arcs, the visible layers, the current
// view and its rotation, the zoom state of every view and the extents. It is
// plain data with no toolkit types, so the view math and its tests work on it
// without a GUI; the control's TSettings holds it as its base.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

namespace orvex {

/// The view rotation, computed before every paint.
struct TRotationMatrix {
    double R11 = 0, R12 = 0, R13 = 0; ///< First row.
    double R21 = 0, R22 = 0, R23 = 0; ///< Second row.
    double R31 = 0, R32 = 0, R33 = 0; ///< Third row.
};

/// A value per view, indexed by the view number 1 (top) .. 4 (isometric).
template <typename T>
using PerView = CheckedArray<T, 1, 4>;

/// What the picture shows. Hosts read and write these fields through
/// TSettings.
class TViewState {
public:
    /// Every layer visible, the standard arc planes, every view at scale 1
    /// with its origin 10 pixels in and a half size of 10.
    TViewState()
    {
        LayerVisible.fill(true);
        ArcViews[1] = {1, 0, 0, 0, 1, 0, 0, 0, 1, true};
        ArcViews[2] = {1, 0, 0, 0, 0, -1, 0, 1, 0, true};
        ArcViews[3] = {0, 0, 1, 1, 0, 0, 0, 1, 0, true};
        ArcViews[4].Defined = true; // all zero, but defined
        ScaleX.fill(1.0);
        ScaleY.fill(-1.0);
        OriginX.fill(10);
        OriginY.fill(10);
        HalfSize.fill(10.0);
    }

    CheckedArray<bool, 0, 254> LayerVisible; ///< Visibility per layer number.
    CheckedArray<TArcView, 1, 90> ArcViews;  ///< The drawing planes of arcs.

    // View and projection
    int ViewNumber = 1; ///< Current view: 1 top, 2 front, 3 side, 4 isometric or rotated.
    double XRotation = -70, YRotation = 0, ZRotation = -20;          ///< Rotation angles of views 2 to 4, degrees.
    double IsoXRotation = -70, IsoYRotation = 0, IsoZRotation = -20; ///< Saved angles of the rotated view.
    TRotationMatrix RotationMatrix;                                  ///< Computed before every paint.
    PerView<double> ScaleX, ScaleY;                                  ///< Pixels per model unit; ScaleY is -ScaleX.
    PerView<int> OriginX, OriginY;                                   ///< Pixel position of the view plane's origin.
    PerView<double> CenterX, CenterY;                                ///< Model point at the window centre.
    PerView<double> HalfSize;                                        ///< Half the visible model height.
    PerView<double> PrevHalfSize, PrevCenterX, PrevCenterY;          ///< The zoom before the last one (ZoomLast).
    double ExtentMinX = 0, ExtentMinY = 0, ExtentMinZ = 0;           ///< Lower drawing extents (Z is not maintained).
    double ExtentMaxX = 0, ExtentMaxY = 0, ExtentMaxZ = 0;           ///< Upper drawing extents (Z is not maintained).
};

} // namespace orvex
