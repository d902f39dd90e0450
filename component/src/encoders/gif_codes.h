// Shared pieces of the GIF image-data coders: the code packer and the
// framing of the packed bytes into data sub-blocks.
#pragma once

#include <OrvexGDI/PixelBuffer.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace orvex::gif {

/// The largest code any GIF decoder accepts; codes go up to 4095.
inline constexpr int MaxCodeBits = 12;
/// The highest code ever assigned to a string; the next one clears the table.
inline constexpr unsigned HighestCode = 4094;

/// Packs variable-width codes least significant bit first into a buffer
/// sized for the worst case up front, so the hot loop never checks room.
class CodePacker {
public:
    /// Room for `maxCodes` codes of at most 12 bits.
    explicit CodePacker(std::size_t maxCodes)
        : buffer_(new std::uint8_t[maxCodes * MaxCodeBits / 8 + 16]), out_(buffer_.get())
    {
    }

    void put(unsigned code, int width)
    {
        bits_ |= static_cast<std::uint64_t>(code) << count_;
        count_ += width;
        if (count_ >= 32) {
            const auto low = static_cast<std::uint32_t>(bits_);
            store_le32(low);
            bits_ >>= 32;
            count_ -= 32;
        }
    }

    /// Writes the bits still held, padding the last byte with zeros.
    void flush()
    {
        while (count_ > 0) {
            *out_++ = static_cast<std::uint8_t>(bits_);
            bits_ >>= 8;
            count_ -= 8;
        }
        count_ = 0;
    }

    const std::uint8_t* data() const { return buffer_.get(); }
    std::size_t size() const { return static_cast<std::size_t>(out_ - buffer_.get()); }

private:
    void store_le32(std::uint32_t value)
    {
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                       static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        std::memcpy(out_, bytes, 4);
        out_ += 4;
    }

    std::unique_ptr<std::uint8_t[]> buffer_;
    std::uint8_t* out_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
};

/// Appends the minimum code size byte, the packed bytes as sub-blocks of at
/// most 255 bytes, each after its length byte, and the zero-length terminator.
void append_image_data(int minCodeSize, const CodePacker& packed, std::vector<std::uint8_t>& out);

/// Appends `data` as sub-blocks and the terminator (extension bodies).
void append_sub_blocks(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);

/// The code size of image data for a colour map of `bitsPerPixel` bits.
inline int min_code_size(int bitsPerPixel) { return bitsPerPixel < 2 ? 2 : bitsPerPixel; }

/// The run-length coder behind gcRLE: the image data of `count` indices.
void encode_runs(const std::uint8_t* pixels, std::size_t count, int bitsPerPixel, std::vector<std::uint8_t>& out);

/// Raises EGifError for a pixel buffer that cannot be read safely.
void check_pixel_buffer(const TPixelBuffer& bitmap);

/// Writes the 1-, 4- or 8-bit indices of a palette picture, one byte each,
/// Width per row, rows top to bottom.
void unpack_indices(const TPixelBuffer& bitmap, std::uint8_t* out);

/// Raises "Color not in color table" if an index is not below `colorCount`.
void check_indices(const std::uint8_t* pixels, std::size_t count, int colorCount);

} // namespace orvex::gif
