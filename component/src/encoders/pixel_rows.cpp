#include "pixel_rows.h"

#include <cstring>

namespace orvex::encoders {

void read_argb_row(const TPixelBuffer& picture, int y, std::uint32_t* out)
{
    const std::uint8_t* row = picture.Row(y);
    const int w = picture.Width;
    switch (picture.BitsPerPixel) {
    case 32:
        std::memcpy(out, row, static_cast<std::size_t>(w) * 4);
        for (int x = 0; x < w; ++x)
            out[x] |= 0xFF000000u;
        return;
    case 24:
        for (int x = 0; x < w; ++x, row += 3)
            out[x] = 0xFF000000u | (std::uint32_t{row[0]} << 16) | (std::uint32_t{row[1]} << 8) | row[2];
        return;
    default:
        for (int x = 0; x < w; ++x) {
            const unsigned i = palette_index(row, x, picture.BitsPerPixel);
            const TRGBEntry c = i < picture.Palette.size() ? picture.Palette[i] : TRGBEntry{};
            out[x] = 0xFF000000u | (std::uint32_t{c.Red} << 16) | (std::uint32_t{c.Green} << 8) | c.Blue;
        }
        return;
    }
}

} // namespace orvex::encoders
