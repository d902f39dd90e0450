// Windows bitmap files: 24 bits per pixel, uncompressed, rows bottom-up.
#pragma once

#include <OrvexGDI/PixelBuffer.h>

#include <ostream>

namespace orvex::encoders {

/// Writes the picture as a 24-bit BMP file. False when the stream failed.
/// The depth must be one pixel_rows.h reads.
bool write_bmp(const TPixelBuffer& picture, std::ostream& out);

} // namespace orvex::encoders
