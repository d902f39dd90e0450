// A frame of a GIF picture and its making from a pixel buffer.
#include <OrvexGDI/OrvexGIF.h>

#include "gif_codes.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace orvex {

namespace gif {

void unpack_indices(const TPixelBuffer& bitmap, std::uint8_t* out)
{
    const int width = bitmap.Width;
    for (int y = 0; y < bitmap.Height; ++y, out += width) {
        const std::uint8_t* row = bitmap.Row(y);
        switch (bitmap.BitsPerPixel) {
        case 8:
            std::memcpy(out, row, static_cast<std::size_t>(width));
            break;
        case 4: // high nibble first
            for (int x = 0; x < width; ++x)
                out[x] = static_cast<std::uint8_t>((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
            break;
        default: // 1 bit, most significant bit first
            for (int x = 0; x < width; ++x)
                out[x] = static_cast<std::uint8_t>((row[x >> 3] >> (7 - (x & 7))) & 1);
            break;
        }
    }
}

} // namespace gif

void TGifFrame::SetBounds(int left, int top, int width, int height)
{
    constexpr int limit = 0xFFFF; // sizes and positions are 16-bit in the file
    if (left < 0 || top < 0 || width < 0 || height < 0 || left + static_cast<long long>(width) > limit ||
        top + static_cast<long long>(height) > limit)
        throw EGifError("Frame of " + std::to_string(width) + " x " + std::to_string(height) + " pixels at (" +
                        std::to_string(left) + ", " + std::to_string(top) + ") does not fit a GIF screen");
    left_ = static_cast<std::uint16_t>(left);
    top_ = static_cast<std::uint16_t>(top);
    width_ = static_cast<std::uint16_t>(width);
    height_ = static_cast<std::uint16_t>(height);
    TGifScreen& screen = image_->Header;
    screen.Width = std::max<std::uint16_t>(screen.Width, static_cast<std::uint16_t>(left + width));
    screen.Height = std::max<std::uint16_t>(screen.Height, static_cast<std::uint16_t>(top + height));
}

void TGifFrame::Assign(const TPixelBuffer& bitmap)
{
    gif::check_pixel_buffer(bitmap);
    ColorMap.Clear();
    ColorMap.Optimized = false;
    Extensions.clear();
    Data.clear();
    if (bitmap.Width <= 0 || bitmap.Height <= 0) {
        SetBounds(0, 0, 0, 0);
        return;
    }
    SetBounds(0, 0, bitmap.Width, bitmap.Height);
    if (bitmap.BitsPerPixel <= 8) {
        ColorMap.Assign(bitmap.Palette);
        Data.resize(static_cast<std::size_t>(bitmap.Width) * static_cast<std::size_t>(bitmap.Height));
        gif::unpack_indices(bitmap, Data.data());
        return;
    }
    TGifIndexedBitmap reduced =
        ReduceColors(bitmap, image_->ColorReduction, image_->DitherMode, nullptr, image_->ColorReductionBits);
    ColorMap.Assign(reduced.Palette);
    Data = std::move(reduced.Pixels);
}

TGifVersion TGifFrame::Version() const { return ColorMap.Optimized || !Extensions.empty() ? gv89a : gv87a; }

} // namespace orvex
