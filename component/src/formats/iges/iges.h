// IGES in the fixed 80-column ASCII form: points (116), lines (110) and
// circular arcs (100), placed through transformation matrices (124).
#pragma once

#include "formats/common/drawing_sink.h"

#include <istream>
#include <ostream>

namespace orvex::formats::iges {

/// Reads the file into the sink and sets its units. Errors (ERangeError,
/// EListError, EConvertError, EFileError) name the line.
void read(std::istream& in, DrawingSink& sink);

/// The full import: as read, and also conic arcs, copious data and B-spline
/// curves (104, 106, 126), the curves that define surfaces (120, 122),
/// annotation as lines and curves (general notes as stroke text, leaders,
/// witness and section lines, dimensions, flag notes and labels: 202-222),
/// colours by definition (314), surfaces and solids as wireframes (108-144,
/// 186 and its shells, faces, loops and edges; as the sink's surface options
/// say), and the file's version and a count of every entity kind in the load
/// report, with a note for each surface cut short at its chord limit.
void read_full(std::istream& in, DrawingSink& sink);

/// Writes the drawing's points, lines and arcs after one identity matrix
/// entity. False when the stream reported an error.
bool write(std::ostream& out, const DrawingSource& drawing);

/// IGES colour number of a colour; 3 for colours not in the table.
int number_from_colour(TColor Colour);

} // namespace orvex::formats::iges
