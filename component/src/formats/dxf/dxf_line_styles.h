// Line types and lineweights of DXF entities as the element's line type
// codes: a dash pattern of the LTYPE table becomes the nearest of the dash
// styles an element has (solid, dot, dash-dot, dash-dot-dot), a lineweight
// above 0.3 mm the same style two pixels wide.
#pragma once

#include <vector>

namespace orvex::formats::dxf::full {

/// The element's dash codes; kWide added draws them two pixels wide.
enum DashCode : int { kSolid = 1, kDot = 2, kDashDot = 3, kDashDotDot = 4 };
constexpr int kWide = 20;

/// What a dash pattern looks like, apart from its scale.
struct DashPattern {
    int code = kSolid;    // the nearest dash style
    double period = 0;    // the length of one repeat (all elements)
    double firstDash = 0; // the length of the first element when it draws, else 0
};

/// The nearest dash style of a pattern of dash lengths (positive draws,
/// negative skips, 0 a dot). A pattern without gaps is solid; marks all
/// short against the repeat are dots; long dashes with short marks between
/// them are dash-dot (one short mark per long dash, or fewer) or
/// dash-dot-dot (two or more). Plain dashes (DASHED, HIDDEN) take dash-dot:
/// of the styles there are, its long strokes come nearest a dash, where a
/// dotted line would read as DOT.
DashPattern dash_pattern(const std::vector<double>& dashes);

/// The dash code of a pattern drawn at `scale` ($LTSCALE times the entity's
/// own scale) in a drawing of size `drawingSize` (0 when unknown). A scaled
/// repeat that is zero or not finite, or so fine that no zoom of the drawing
/// shows it, is solid; so is one whose first dash is as long as the
/// drawing: every line then shows only that dash.
int dash_code(const DashPattern& pattern, double scale, double drawingSize);

/// A lineweight (hundredths of a millimetre) that draws two pixels wide.
inline bool wide_weight(int weight) { return weight > 30; }

/// The element's line type for a dash code and a lineweight. Codes other
/// than the four dash styles (a number our own writer wrote) stay as they
/// are.
inline int line_type_code(int dash, int weight)
{
    return dash >= kSolid && dash <= kDashDotDot && wide_weight(weight) ? dash + kWide : dash;
}

/// The same line type drawn solid, as wide as it was.
inline int without_dashes(int code) { return code > kWide && code <= kWide + kDashDotDot ? kSolid + kWide : kSolid; }

} // namespace orvex::formats::dxf::full
