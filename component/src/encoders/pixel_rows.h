// Reading the rows of a plain pixel buffer as colours, whatever its depth.
#pragma once

#include <OrvexGDI/PixelBuffer.h>

#include <cstdint>

namespace orvex::encoders {

/// The palette index of pixel x in a row of 1, 4 or 8 bits per pixel
/// (most significant bits first).
inline unsigned palette_index(const std::uint8_t* row, int x, int bits)
{
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    default:
        return row[x];
    }
}

/// Row y as 32-bit 0xAARRGGBB colours (alpha 0xFF) into out (Width entries).
/// Palette indices beyond the palette read as black.
void read_argb_row(const TPixelBuffer& picture, int y, std::uint32_t* out);

/// Whether the buffer's depth is one the encoders read.
inline bool readable_depth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

} // namespace orvex::encoders
