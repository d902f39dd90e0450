// Named codes of the drawing control: the numbers its routines pass among
// themselves (scale modes, plot modes, fill codes, highlights, pick filter
// codes) and the constants more than one routine needs. The public methods
// keep their plain ints.
#pragma once

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <cstdint>

namespace orvex::codes {

/// Degrees per radian of the control's geometry, as a double.
inline constexpr double kDegreesPerRadian = static_cast<double>(Ops::DegreesPerRadian);

/// The smallest half height of a view: zooming in stops there.
inline constexpr double kMinHalfSize = 0.04;
/// The largest half height of a view: zooming out stops there, ten times
/// beyond the factory's coordinate range.
inline constexpr double kMaxHalfSize = 1e10;
/// The largest extents the fit to the drawing uses: the factory's range.
inline constexpr double kMaxExtent = 1e9;
/// The smallest picture side the zoom state is computed for.
inline constexpr int kMinPictureSide = 4;

/// Modes of the zoom-state scale computation.
enum ScaleMode : int {
    kScaleRecompute = -1, ///< scale and origin from the current half size and centre
    kScaleFit = 0,        ///< fit the extents
    kScalePrevious = 2,   ///< return to the previous zoom
    kScaleShrink = 3,     ///< double the visible size
    kScaleMagnify = 4,    ///< halve the visible size
};

/// Which elements a pass of the element loop draws.
enum PlotMode : int {
    kPlotAll = 0,         ///< every live element
    kPlotVisible = 1,     ///< those on visible layers
    kPlotGroup = 2,       ///< group members
    kPlotHighlight5 = 3,  ///< those of highlight 5
    kPlotDragPreview = 4, ///< the first 200 on visible layers, while the mouse drags
};

/// Highlight codes of elements and the colours they are drawn in.
enum Highlight : int {
    kHighlightNone = 0,
    kHighlightYellow = 1,     ///< drawn 0x00FFFF
    kHighlightGroup = 2,      ///< group member, drawn red (0x0000FF)
    kHighlightBackground = 3, ///< drawn in the background colour
    kHighlightMagenta = 5,    ///< drawn 0xFF00FF
    kHighlightDarkRed = 7,    ///< drawn 0x000063
};

/// Fill codes of circles (the View field); rectangles know only kFillSolid.
enum FillCode : int {
    kFillSolid = 100,            ///< the element colour
    kFillRadial = 101,           ///< bell-shaped blend towards the rim
    kFillLinearFirst = 200,      ///< element colour to white at code - 200 degrees ...
    kFillLinearLast = 560,       ///< ... up to 360 degrees
    kFillTexture = 600,          ///< the element's image, tiled
    kFillTranslucentFirst = 601, ///< translucent black to white at code - 601 degrees ...
    kFillTranslucentLast = 961,  ///< ... up to 360 degrees
};

/// Internal codes of the pick filter.
enum PickFilterCode : std::uint8_t {
    kPickAll = 0,
    kPickPoints = 1,
    kPickLines = 2,
    kPickArcs = 3,
    kPickLineArc = 8,
    kPickPointLine = 10,
    kPickPointArc = 11,
};

/// The pick filter code of each TDFilter value, indexed by it.
inline constexpr PickFilterCode kPickFilterCodes[] = {kPickAll,       kPickPoints,   kPickLines,  kPickArcs,
                                                      kPickPointLine, kPickPointArc, kPickLineArc};

} // namespace orvex::codes
