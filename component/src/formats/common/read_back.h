// What a reader makes again of an element a writer wrote: the checks that
// refuse to save an element the reader would leave out, refuse, or change
// beyond the four decimals of the files' numbers.
#pragma once

#include <OrvexGDI/Elements.h>

#include <string>

namespace orvex::formats {

/// The value a reader takes from the text the writers write for x (four
/// decimals). UnwritableValue for a value that has no such text.
double read_back(double x);

/// Whether an arc from `start` to `end` degrees is a whole circle: the
/// sweep lies within 0.0001 of a multiple of 360 (the factory makes equal
/// angles a whole circle).
bool whole_turn(double start, double end);

/// UnwritableValue for element `e`, naming it and what of it (a slot, the
/// layer, the view) holds `value`.
[[noreturn]] void refuse(const TElement& e, const std::string& what, double value);

/// For a point, line, arc or circle: refuses a coordinate the element
/// factory would not take back (beyond +-1e9: the element would be left
/// out, or its Z set to 0) and a layer outside 1..254 (moved to 252, or a
/// read that stops). False for the other kinds, which it leaves alone.
bool require_placed_as_written(const TElement& e);
/// Refuses an arc whose angles, as written, would make it a whole circle.
void require_arc_stays_an_arc(const TElement& e, double startReadBack, double endReadBack);

} // namespace orvex::formats
