// The control's own drawing format: one keyword record per line.
#pragma once

#include "formats/common/drawing_sink.h"

#include <istream>
#include <ostream>
#include <string>

namespace orvex::formats::ovx {

/// Reads the records into the sink. Errors (ERangeError, EConvertError,
/// EFileError) name the line.
void read(std::istream& in, DrawingSink& sink);

/// Writes the defined arc views and the drawing's elements. False when the
/// stream reported an error; UnwritableValue for a value that would not
/// read back (the stream then holds part of the drawing).
bool write(std::ostream& out, const DrawingSource& drawing);

/// A view coefficient as the VIEW records write it: at most 15 significant
/// digits, fixed notation from 0.00001 up to 15 integer digits, otherwise
/// scientific ("1E-6").
std::string general_text(double value);

} // namespace orvex::formats::ovx
