// Colour maps and the reduction of true-colour pictures to the web palette.
#include <OrvexGDI/OrvexGIF.h>

#include "gif_codes.h"

#include <cstring>
#include <string>

namespace orvex {

void TGifColorTable::Assign(const std::vector<TRGBEntry>& colors)
{
    colors_.assign(colors.begin(), colors.size() > MaxColors ? colors.begin() + MaxColors : colors.end());
}

int TGifColorTable::BitsPerPixel() const
{
    if (colors_.empty())
        return 0;
    int bits = 1;
    while ((1 << bits) < Count())
        ++bits;
    return bits;
}

TPixelBuffer TGifIndexedBitmap::Buffer() const
{
    TPixelBuffer buffer;
    buffer.Width = Width;
    buffer.Height = Height;
    buffer.BitsPerPixel = 8;
    buffer.RowBytes = Width;
    buffer.Pixels = Pixels.data();
    buffer.Palette = Palette;
    return buffer;
}

const std::array<TRGBEntry, 216>& WebPalette()
{
    static const std::array<TRGBEntry, 216> palette = [] {
        std::array<TRGBEntry, 216> colors{};
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    colors[36 * r + 6 * g + b] = {static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                                                  static_cast<std::uint8_t>(51 * b)};
        return colors;
    }();
    return palette;
}

namespace gif {

void check_pixel_buffer(const TPixelBuffer& bitmap)
{
    const int bits = bitmap.BitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        throw EGifError("Unsupported pixel format: " + std::to_string(bits) + " bits per pixel");
    if (bitmap.Width <= 0 || bitmap.Height <= 0)
        return;
    const std::ptrdiff_t rowBytes = (static_cast<std::ptrdiff_t>(bitmap.Width) * bits + 7) / 8;
    const std::ptrdiff_t stride = bitmap.RowBytes < 0 ? -bitmap.RowBytes : bitmap.RowBytes;
    if (bitmap.Pixels == nullptr || stride < rowBytes)
        throw EGifError("Pixel buffer of " + std::to_string(bitmap.Width) + " x " + std::to_string(bitmap.Height) +
                        " pixels has no room for its rows");
}

} // namespace gif

namespace {

// Web palette index contribution of every channel value, per channel:
// the level (v + 3) div 51 times 36 (red), 6 (green) or 1 (blue).
struct LevelTables {
    std::uint8_t red[256], green[256], blue[256];
    LevelTables()
    {
        for (int v = 0; v < 256; ++v) {
            const int level = (v + 3) / 51;
            red[v] = static_cast<std::uint8_t>(36 * level);
            green[v] = static_cast<std::uint8_t>(6 * level);
            blue[v] = static_cast<std::uint8_t>(level);
        }
    }
};

const LevelTables& levels()
{
    static const LevelTables tables;
    return tables;
}

// A drawing repeats its background and line colours: four pixels equal to
// the previous one take its index at once; others are looked up.
void reduce_row32(const std::uint8_t* source, std::uint8_t* target, int width, const LevelTables& t)
{
    constexpr std::uint64_t colourBits = 0x00FFFFFF00FFFFFFull; // the alpha bytes are ignored
    std::uint32_t previous = 0;                                 // black, whose index is 0
    std::uint8_t index = 0;
    auto one = [&](int x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, source + 4 * static_cast<std::ptrdiff_t>(x), 4);
        pixel &= 0x00FFFFFF;
        if (pixel != previous) {
            previous = pixel;
            index = static_cast<std::uint8_t>(t.red[pixel >> 16] + t.green[(pixel >> 8) & 0xFF] + t.blue[pixel & 0xFF]);
        }
        target[x] = index;
    };
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        std::uint64_t pair[2];
        std::memcpy(pair, source + 4 * static_cast<std::ptrdiff_t>(x), 16);
        const std::uint64_t same = previous * 0x0000000100000001ull;
        if (((pair[0] & colourBits) ^ same) == 0 && ((pair[1] & colourBits) ^ same) == 0) {
            const std::uint32_t four = index * 0x01010101u;
            std::memcpy(target + x, &four, 4);
        } else {
            one(x);
            one(x + 1);
            one(x + 2);
            one(x + 3);
        }
    }
    for (; x < width; ++x)
        one(x);
}

void reduce_row24(const std::uint8_t* source, std::uint8_t* target, int width, const LevelTables& t)
{
    for (int x = 0; x < width; ++x, source += 3)
        target[x] = static_cast<std::uint8_t>(t.red[source[0]] + t.green[source[1]] + t.blue[source[2]]);
}

} // namespace

TGifIndexedBitmap ReduceColors(const TPixelBuffer& bitmap, TGifColorReduction, TGifDitherMode,
                               const std::vector<TRGBEntry>*, int)
{
    gif::check_pixel_buffer(bitmap);
    TGifIndexedBitmap result;
    const auto& web = WebPalette();
    result.Palette.assign(web.begin(), web.end());
    result.Palette.resize(TGifColorTable::MaxColors, TRGBEntry{});
    if (bitmap.Width <= 0 || bitmap.Height <= 0)
        return result;

    result.Width = bitmap.Width;
    result.Height = bitmap.Height;
    result.Pixels.resize(static_cast<std::size_t>(bitmap.Width) * static_cast<std::size_t>(bitmap.Height));
    const LevelTables& tables = levels();
    if (bitmap.BitsPerPixel < 24) {
        // Palette pictures: reduce the palette once, then map every index.
        gif::unpack_indices(bitmap, result.Pixels.data());
        gif::check_indices(result.Pixels.data(), result.Pixels.size(), static_cast<int>(bitmap.Palette.size()));
        std::uint8_t mapped[256] = {};
        for (std::size_t i = 0; i < bitmap.Palette.size() && i < 256; ++i) {
            const TRGBEntry& c = bitmap.Palette[i];
            mapped[i] = static_cast<std::uint8_t>(tables.red[c.Red] + tables.green[c.Green] + tables.blue[c.Blue]);
        }
        for (std::uint8_t& index : result.Pixels)
            index = mapped[index];
        return result;
    }
    for (int y = 0; y < bitmap.Height; ++y) {
        std::uint8_t* target = result.Pixels.data() + static_cast<std::ptrdiff_t>(y) * bitmap.Width;
        if (bitmap.BitsPerPixel == 32)
            reduce_row32(bitmap.Row(y), target, bitmap.Width, tables);
        else
            reduce_row24(bitmap.Row(y), target, bitmap.Width, tables);
    }
    return result;
}

} // namespace orvex
