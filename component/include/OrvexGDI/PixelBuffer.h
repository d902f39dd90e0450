// A picture in memory as the picture encoders (GIF, BMP, JPEG) read it. The
// encoders work on plain bytes, so tests and the command-line tool need no GUI.
//
// This header includes no Qt header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvex {

/// One colour table entry.
struct TRGBEntry {
    /// The colour's channels 0 .. 255.
    std::uint8_t Red = 0, Green = 0, Blue = 0;
    /// Equal when all three channels are.
    friend bool operator==(const TRGBEntry&, const TRGBEntry&) = default;
};

/// A non-owning view of a picture's pixels, rows top to bottom.
///   BitsPerPixel 1, 4, 8: palette indices, packed most significant bits first
///                         (as in a Windows DIB and Qt's Mono / Indexed8);
///   BitsPerPixel 24:      three bytes per pixel, red, green, blue (Qt's RGB888);
///   BitsPerPixel 32:      one std::uint32_t per pixel, 0xAARRGGBB with the alpha
///                         byte ignored (Qt's RGB32 and ARGB32).
struct TPixelBuffer {
    /// Width in pixels.
    int Width = 0;
    /// Height in pixels (rows).
    int Height = 0;
    /// 1, 4, 8, 24 or 32, as above.
    int BitsPerPixel = 32;
    std::ptrdiff_t RowBytes = 0; ///< distance from one row's start to the next
    /// The first byte of the top row; the caller keeps it alive.
    const std::uint8_t* Pixels = nullptr;
    std::vector<TRGBEntry> Palette; ///< the colour table of 1-, 4- and 8-bit pictures

    /// The first byte of row y (0 at the top).
    const std::uint8_t* Row(int y) const { return Pixels + static_cast<std::ptrdiff_t>(y) * RowBytes; }
};

} // namespace orvex
