// The element factory's rules, shared by the drawing control and by drawings
// read aside from it: coordinate check, full-circle arcs, layer and view
// clamps, construction line types.
#pragma once

#include <OrvexGDI/Elements.h>

namespace orvex {

/// Line types 10 and 20 make construction lines (stored as 1 and 2), which
/// never widen the extents.
inline bool is_construction_line(int LineType) { return LineType == 10 || LineType == 20; }

/// The factory's coordinate check on an element whose slots were filled
/// after it was made (a reader that learns the values later): false when
/// the element would have been rejected; an out-of-range Z is set to 0 as
/// the factory sets it.
bool check_coordinates(TElement& Element);

/// Appends an element made by the factory's rules and returns it, or returns
/// nullptr when the coordinates lie beyond +-1e9 (nothing is appended then).
/// A highlight outside 0..255 raises ERangeError before anything is appended.
TElement* add_element(TElements& list, int Etype, double c1, double c2, double c3, double c4, double c5, double c6,
                      TColor Colour, int LineType, int Layer, int Highlight, int View);

} // namespace orvex
