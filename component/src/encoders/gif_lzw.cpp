// LZW image data of a GIF frame.
//
// The string table maps a pair (prefix code, next index) to its code. Pairs
// whose index repeats the prefix's last pixel - the runs that fill most of a
// technical drawing - sit in a direct array indexed by the prefix, so a run
// costs one load per pixel. All other pairs sit in a small open hash. Both
// are a few kilobytes, so clearing the table after code 4094 is cheap.
#include <OrvexGDI/OrvexGIF.h>

#include "gif_codes.h"

#include <algorithm>
#include <cstring>

namespace orvex {

namespace gif {

void append_sub_blocks(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out)
{
    out.reserve(out.size() + size + size / 255 + 2);
    while (size > 0) {
        const std::size_t block = std::min<std::size_t>(size, 255);
        out.push_back(static_cast<std::uint8_t>(block));
        out.insert(out.end(), data, data + block);
        data += block;
        size -= block;
    }
    out.push_back(0);
}

void append_image_data(int minCodeSize, const CodePacker& packed, std::vector<std::uint8_t>& out)
{
    out.push_back(static_cast<std::uint8_t>(minCodeSize));
    append_sub_blocks(packed.data(), packed.size(), out);
}

void check_indices(const std::uint8_t* pixels, std::size_t count, int colorCount)
{
    if (colorCount >= 256)
        return; // every byte is a valid index
    std::uint8_t highest = 0;
    for (std::size_t i = 0; i < count; ++i)
        highest = std::max(highest, pixels[i]);
    if (count > 0 && highest >= colorCount)
        throw EGifError("Color not in color table");
}

} // namespace gif

struct TGifLzwEncoder::Dictionary {
    static constexpr int HashBits = 13;
    static constexpr std::uint32_t HashMask = (1u << HashBits) - 1;
    static constexpr std::uint32_t Empty = 0xFFFFFFFF; // no real entry: code 4095 is never assigned

    // Hash slots hold (prefix << 8 | index) << 12 | code.
    std::uint32_t slots[1u << HashBits];
    // The code of (prefix, prefix's last pixel); 0 where there is none yet.
    std::uint16_t repeat[1u << gif::MaxCodeBits];

    void clear()
    {
        std::memset(slots, 0xFF, sizeof slots);
        std::memset(repeat, 0, sizeof repeat);
    }

    static std::uint32_t slot_of(std::uint32_t key) { return (key * 0x9E3779B1u) >> (32 - HashBits); }

    /// The code of key, or 0 when it is not in the table.
    unsigned find(std::uint32_t key) const
    {
        for (std::uint32_t s = slot_of(key);; s = (s + 1) & HashMask) {
            const std::uint32_t entry = slots[s];
            if ((entry >> 12) == key)
                return entry & 0xFFF;
            if (entry == Empty)
                return 0;
        }
    }

    void insert(std::uint32_t key, unsigned code)
    {
        std::uint32_t s = slot_of(key);
        while (slots[s] != Empty)
            s = (s + 1) & HashMask;
        slots[s] = key << 12 | code;
    }
};

TGifLzwEncoder::TGifLzwEncoder() : dictionary_(std::make_unique<Dictionary>()) {}
TGifLzwEncoder::~TGifLzwEncoder() = default;

void TGifLzwEncoder::Encode(const std::uint8_t* pixels, std::size_t count, int bitsPerPixel, int colorCount,
                            std::vector<std::uint8_t>& out)
{
    gif::check_indices(pixels, count, colorCount);

    const int minCodeSize = gif::min_code_size(bitsPerPixel);
    const unsigned clearCode = 1u << minCodeSize;
    const unsigned endCode = clearCode + 1;
    // At most one code per pixel, one clear per 3,000 codes, the first clear and the end code.
    gif::CodePacker packer(count + count / 2048 + 4);
    Dictionary& table = *dictionary_;
    table.clear();

    int width = minCodeSize + 1;
    unsigned nextCode = clearCode + 2;
    // After a code is written the width grows while the next free code does not fit.
    auto widen = [&] {
        if (nextCode > (1u << width) - 1 && width < gif::MaxCodeBits)
            ++width;
    };

    packer.put(clearCode, width);
    if (count > 0) {
        const std::uint8_t* p = pixels + 1;
        const std::uint8_t* const end = pixels + count;
        unsigned prefix = pixels[0];
        unsigned last = prefix; // the last pixel of prefix's string
        for (;;) {
            // Follow a run of the last pixel as far as the table knows it.
            while (p != end && *p == last) {
                const unsigned code = table.repeat[prefix];
                if (code == 0)
                    break;
                prefix = code;
                ++p;
            }
            if (p == end)
                break;
            const unsigned pixel = *p++;
            const std::uint32_t key = prefix << 8 | pixel;
            if (pixel != last) {
                if (const unsigned code = table.find(key)) {
                    prefix = code;
                    last = pixel;
                    continue;
                }
            }
            packer.put(prefix, width);
            widen();
            if (nextCode > gif::HighestCode) {
                packer.put(clearCode, width);
                width = minCodeSize + 1;
                nextCode = clearCode + 2;
                table.clear();
            } else {
                if (pixel == last)
                    table.repeat[prefix] = static_cast<std::uint16_t>(nextCode);
                else
                    table.insert(key, nextCode);
                ++nextCode;
            }
            prefix = pixel;
            last = pixel;
        }
        packer.put(prefix, width);
        widen();
    }
    packer.put(endCode, width);
    packer.flush();
    gif::append_image_data(minCodeSize, packer, out);
}

} // namespace orvex
