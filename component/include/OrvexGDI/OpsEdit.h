// Editing helpers of the drawing control that work on one element. Qt-free.
#pragma once

#include <OrvexGDI/Elements.h>

namespace orvex::Ops {

/// Subtracts (X, Y, Z) from an element's coordinates, the shift of one
/// element to a new origin. Modes 0 (one element) and 2 (the whole drawing)
/// act alike; any other mode, and a deleted element, is left alone.
/// Points, arcs (centre only) and arrows: slots 1, 2, 3. Lines, witness
/// lines and fill edges: both ends. Type 5: slots 1 and 2. Leaders: slots 1 to 4 as two
/// plane points. Other types are not moved.
ORVEXGDI_EXPORT void shift_element(TElement& element, int Mode, double X, double Y, double Z);

} // namespace orvex::Ops
