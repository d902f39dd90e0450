// ASCII DXF: points, lines, arcs, circles and polylines in; a minimal
// ENTITIES section of points, lines, arcs and circles out.
#pragma once

#include "drawing_sink.h"

#include <istream>
#include <ostream>

namespace orvex::formats::dxf {

/// Reads the entities into the sink. Errors (ERangeError, EFileError) name
/// the line.
void read(std::istream& in, DrawingSink& sink);

/// Writes the drawing's points, lines, arcs and circles. False when the
/// stream reported an error.
bool write(std::ostream& out, const DrawingSource& drawing);

/// Colour of a DXF colour number (the integer part of group 62) on this
/// background; numbers outside 0..16 give lime.
TColor colour_from_number(int Number, TColor Background);
/// DXF colour number of a colour; 3 for colours not in the table.
int number_from_colour(TColor Colour);

} // namespace orvex::formats::dxf
