// Run-length image data: codes that any LZW decoder reads, built without a
// string table of the encoder's own.
//
// A decoder enters, after each code, the previous string plus the first
// pixel of the current one. Right after a clear code, the pixel k followed by
// the codes clear+2, clear+3, ... therefore spells runs of k of length
// 1, 2, 3, ...: each code names the entry the decoder is about to make.
// A long run is written that way after a clear; short runs as plain pixel
// codes. The decoder's next free code and code width are followed exactly.
#include "gif_codes.h"

namespace orvex::gif {

namespace {

class RunWriter {
public:
    RunWriter(int minCodeSize, std::size_t maxCodes)
        : packer(maxCodes), minCodeSize_(minCodeSize), clearCode_(1u << minCodeSize), width_(minCodeSize + 1)
    {
        clear();
    }

    /// Writes a clear code; the decoder's table starts afresh.
    void clear()
    {
        packer.put(clearCode_, width_);
        width_ = minCodeSize_ + 1;
        nextCode_ = clearCode_ + 2;
        fresh_ = true;
    }

    /// Writes a code and follows the decoder's table. Returns false when the
    /// table was full and had to be cleared after this code.
    bool write(unsigned code)
    {
        packer.put(code, width_);
        fresh_ = false;
        if (nextCode_ > (1u << width_) - 1 && width_ < MaxCodeBits)
            ++width_;
        if (nextCode_ > HighestCode) {
            clear();
            return false;
        }
        ++nextCode_;
        return true;
    }

    /// A run of `length` pixels of value `pixel`.
    void run(unsigned pixel, std::size_t length)
    {
        if (length <= 4) {
            while (length-- > 0)
                write(pixel);
            return;
        }
        if (!fresh_)
            clear();
        // After the clear: pixel, then clear+2 (two pixels), clear+3 (three), ...
        std::size_t spelled = 1; // longest run the table now spells
        length -= 1;
        if (!write(pixel))
            spelled = 0;
        while (length > 0) {
            if (spelled == 0) { // the table was cleared: start the run again
                --length;
                spelled = write(pixel) ? 1 : 0;
                continue;
            }
            if (length > spelled) {
                length -= spelled + 1;
                spelled = write(clearCode_ + static_cast<unsigned>(spelled) + 1) ? spelled + 1 : 0;
            } else {
                // The rest is a run the table already spells.
                write(length == 1 ? pixel : clearCode_ + static_cast<unsigned>(length));
                length = 0;
            }
        }
    }

    void finish()
    {
        packer.put(clearCode_ + 1, width_);
        packer.flush();
    }

    CodePacker packer;

private:
    int minCodeSize_;
    unsigned clearCode_;
    int width_;
    unsigned nextCode_ = 0;
    bool fresh_ = true;
};

} // namespace

void encode_runs(const std::uint8_t* pixels, std::size_t count, int bitsPerPixel, std::vector<std::uint8_t>& out)
{
    const int minCodeSize = min_code_size(bitsPerPixel);
    // Each pixel is at most one code, plus a clear per run and per full table.
    RunWriter writer(minCodeSize, 2 * count + 4);
    for (std::size_t i = 0; i < count;) {
        std::size_t end = i + 1;
        while (end < count && pixels[end] == pixels[i])
            ++end;
        writer.run(pixels[i], end - i);
        i = end;
    }
    writer.finish();
    append_image_data(minCodeSize, writer.packer, out);
}

} // namespace orvex::gif
