#include "bmp.h"

#include "pixel_rows.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orvex::encoders {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14, kInfoHeaderBytes = 40;
constexpr std::int32_t kPixelsPerMetre = 3780; // 96 dots per inch, a screen picture

void put16(std::uint8_t*& p, std::uint16_t v)
{
    *p++ = static_cast<std::uint8_t>(v);
    *p++ = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t*& p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        *p++ = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

bool write_bmp(const TPixelBuffer& picture, std::ostream& out)
{
    const int w = picture.Width > 0 && picture.Height > 0 ? picture.Width : 0;
    const int h = w > 0 ? picture.Height : 0;
    // Each row is padded to a multiple of four bytes.
    const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
    const std::uint64_t imageBytes = std::uint64_t{stride} * static_cast<std::uint32_t>(h);
    const std::uint64_t fileBytes = kFileHeaderBytes + kInfoHeaderBytes + imageBytes;
    if (fileBytes > 0xFFFFFFFFu)
        return false; // beyond what the format's 32-bit sizes can hold

    std::array<std::uint8_t, kFileHeaderBytes + kInfoHeaderBytes> header{};
    std::uint8_t* p = header.data();
    *p++ = 'B';
    *p++ = 'M';
    put32(p, static_cast<std::uint32_t>(fileBytes));
    put32(p, 0); // two reserved words
    put32(p, kFileHeaderBytes + kInfoHeaderBytes);
    put32(p, kInfoHeaderBytes);
    put32(p, static_cast<std::uint32_t>(w));
    put32(p, static_cast<std::uint32_t>(h)); // positive: rows stored bottom-up
    put16(p, 1);                             // planes
    put16(p, 24);                            // bits per pixel
    put32(p, 0);                             // no compression
    put32(p, static_cast<std::uint32_t>(imageBytes));
    put32(p, kPixelsPerMetre);
    put32(p, kPixelsPerMetre);
    put32(p, 0); // colours used: none, no table
    put32(p, 0); // important colours: all
    out.write(reinterpret_cast<const char*>(header.data()), header.size());

    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w));
    std::vector<std::uint8_t> row(stride, 0);
    for (int y = h - 1; y >= 0 && out; --y) {
        const std::uint32_t* words = argb.data();
        const std::uint8_t* source = picture.Row(y);
        if (picture.BitsPerPixel == 32 && reinterpret_cast<std::uintptr_t>(source) % alignof(std::uint32_t) == 0)
            words = reinterpret_cast<const std::uint32_t*>(source); // read in place
        else
            read_argb_row(picture, y, argb.data());
        std::uint8_t* q = row.data();
        for (int x = 0; x < w; ++x, q += 3) {
            // 0xAARRGGBB: blue, green, red are the low three bytes.
            const std::uint32_t c = words[x];
            q[0] = static_cast<std::uint8_t>(c);
            q[1] = static_cast<std::uint8_t>(c >> 8);
            q[2] = static_cast<std::uint8_t>(c >> 16);
        }
        out.write(reinterpret_cast<const char*>(row.data()), stride);
    }
    return static_cast<bool>(out);
}

} // namespace orvex::encoders
