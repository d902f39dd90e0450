// JPEG files through libjpeg: baseline, 24-bit colour, no chroma subsampling.
#pragma once

#include <OrvexGDI/PixelBuffer.h>

#include <ostream>

namespace orvex::encoders {

/// Quality of the picture export.
inline constexpr int kJpegQuality = 90;

/// Writes the picture as a baseline JPEG of the given quality with all three
/// components at full resolution (4:4:4), so one-pixel coloured lines keep
/// their colour. libjpeg's own errors (an empty picture, a side beyond 65500
/// pixels, a failed stream) raise EFileError with libjpeg's text; the process
/// never exits.
void write_jpeg(const TPixelBuffer& picture, std::ostream& out, int quality = kJpegQuality);

} // namespace orvex::encoders
