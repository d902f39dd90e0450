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
    std::uint8_t Red = 0, Green = 0, Blue = 0;
    friend bool operator==(const TRGBEntry&, const TRGBEntry&) = default;
};

/// A non-owning view of a picture's pixels, rows top to bottom.
///   BitsPerPixel 1, 4, 8: palette indices, packed most significant bits first
///                         (as in a Windows DIB and Qt's Mono / Indexed8);
///   BitsPerPixel 24:      three bytes per pixel, red, green, blue (Qt's RGB888);
///   BitsPerPixel 32:      one std::uint32_t per pixel, 0xAARRGGBB with the alpha
///                         byte ignored (Qt's RGB32 and ARGB32).
struct TPixelBuffer {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 32;
    std::ptrdiff_t RowBytes = 0; ///< distance from one row's start to the next
    const std::uint8_t* Pixels = nullptr;
    std::vector<TRGBEntry> Palette; ///< the colour table of 1-, 4- and 8-bit pictures

    const std::uint8_t* Row(int y) const { return Pixels + static_cast<std::ptrdiff_t>(y) * RowBytes; }
};

} // namespace orvex
