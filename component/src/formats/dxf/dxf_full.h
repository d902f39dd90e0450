// The full DXF import: R12 to R2018, ASCII and binary.
#pragma once

#include "formats/common/drawing_sink.h"

#include <istream>

namespace orvex::formats::dxf {

/// Reads block definitions, inserts, polylines, ellipses, splines, true
/// colours and named layers into the sink, and the load report. Errors name
/// the line.
void read_full(std::istream& in, DrawingSink& sink);

} // namespace orvex::formats::dxf
