// The GIF picture: class-wide defaults, frames and the file writer.
#include <OrvexGDI/OrvexGIF.h>

#include "gif_codes.h"

#include <algorithm>
#include <fstream>
#include <ostream>

namespace orvex {

TGifColorReduction GifDefaultColorReduction = crWebPalette;
int GifDefaultColorReductionBits = 8;
TGifDitherMode GifDefaultDitherMode = dmNearest;
TGifCompression GifDefaultCompression = gcLZW;
TGifDrawOptions GifDefaultDrawOptions = goAsync | goTransparent | goAnimate | goLoop | goDither | goAutoDither;
TGifThreadPriority GifDefaultThreadPriority = tpNormal;
int GifDefaultAnimationSpeed = 100;

TGifPicture::TGifPicture()
    : ColorReduction(GifDefaultColorReduction), ColorReductionBits(GifDefaultColorReductionBits),
      DitherMode(GifDefaultDitherMode), Compression(GifDefaultCompression), DrawOptions(GifDefaultDrawOptions),
      ThreadPriority(GifDefaultThreadPriority), AnimationSpeed(GifDefaultAnimationSpeed)
{
}

TGifPicture::~TGifPicture() = default;

void TGifPicture::Clear()
{
    frames_.clear();
    Header = TGifScreen{};
}

TGifFrame& TGifPicture::Add()
{
    frames_.push_back(std::make_unique<TGifFrame>(*this));
    return *frames_.back();
}

void TGifPicture::Assign(const TPixelBuffer& bitmap)
{
    Clear();
    try {
        Add().Assign(bitmap);
    } catch (...) {
        Clear();
        throw;
    }
}

TGifVersion TGifPicture::Version() const
{
    TGifVersion version = gvUnknown;
    for (const auto& frame : frames_)
        version = std::max(version, frame->Version());
    return version;
}

int TGifPicture::BitsPerPixel() const
{
    int bits = Header.ColorMap.BitsPerPixel();
    for (const auto& frame : frames_)
        bits = std::max(bits, frame->ColorMap.BitsPerPixel());
    return bits;
}

namespace {

void put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

/// The map's entries, padded with black to `entries`.
void put_color_table(std::vector<std::uint8_t>& out, const TGifColorTable& map, int entries)
{
    for (const TRGBEntry& c : map.Colors())
        out.insert(out.end(), {c.Red, c.Green, c.Blue});
    out.resize(out.size() + 3 * static_cast<std::size_t>(std::max(0, entries - map.Count())), 0);
}

} // namespace

std::vector<std::uint8_t> TGifPicture::SaveToBytes() const
{
    const TGifVersion version = Version();
    if (version == gvUnknown)
        throw EGifError("Unsupported GIF version");

    std::vector<std::uint8_t> out;
    std::size_t pixels = 0;
    for (const auto& frame : frames_)
        pixels += frame->Data.size();
    out.reserve(1024 + pixels / 4);
    const char* signature = version == gv89a ? "GIF89a" : "GIF87a";
    out.insert(out.end(), signature, signature + 6);

    // Logical screen: the size bits follow the largest map of the picture
    // even when there is no global table.
    const int bits = BitsPerPixel();
    const TGifGlobalColorTable& global = Header.ColorMap;
    const unsigned below = static_cast<unsigned>(bits - 1); // all ones for a picture without maps
    std::uint8_t packed = static_cast<std::uint8_t>(((below << 4) & 0x70) | (below & 7));
    if (global.Count() > 0)
        packed |= static_cast<std::uint8_t>(0x80 | (global.Optimized ? 0x08 : 0));
    put16(out, Header.Width);
    put16(out, Header.Height);
    out.insert(out.end(), {packed, Header.BackgroundColorIndex, Header.AspectRatio});
    if (packed & 0x80)
        put_color_table(out, global, 1 << ((packed & 7) + 1));

    TGifLzwEncoder encoder;
    for (const auto& frame : frames_) {
        for (const TGifExtension& extension : frame->Extensions) {
            out.insert(out.end(), {std::uint8_t{0x21}, extension.Label});
            gif::append_sub_blocks(extension.Data.data(), extension.Data.size(), out);
        }
        if (frame->Empty())
            continue;
        const std::size_t count = static_cast<std::size_t>(frame->Width()) * frame->Height();
        if (frame->Data.size() != count)
            throw EGifError("Frame data does not match its size");

        // A frame without a map of its own claims no local table: a table
        // flag with no entries behind it would corrupt the file.
        const TGifLocalColorTable& local = frame->ColorMap;
        const int localBits = local.BitsPerPixel();
        out.push_back(0x2C);
        put16(out, frame->Left());
        put16(out, frame->Top());
        put16(out, frame->Width());
        put16(out, frame->Height());
        if (local.Count() > 0) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (local.Optimized ? 0x20 : 0) | ((localBits - 1) & 7)));
            put_color_table(out, local, 1 << localBits);
        } else {
            out.push_back(0);
        }

        const int codeBits = local.Count() > 0 ? localBits : bits;
        const int colorCount = local.Count() > 0 ? local.Count() : 1 << bits;
        if (Compression == gcRLE) {
            gif::check_indices(frame->Data.data(), count, colorCount);
            gif::encode_runs(frame->Data.data(), count, codeBits, out);
        } else {
            encoder.Encode(frame->Data.data(), count, codeBits, colorCount, out);
        }
    }
    out.push_back(0x3B);
    return out;
}

void TGifPicture::SaveToStream(std::ostream& stream) const
{
    const std::vector<std::uint8_t> bytes = SaveToBytes();
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TGifPicture::SaveToFile(const std::string& fileName) const
{
    // Encoded first, so a picture that cannot be written leaves the file alone.
    const std::vector<std::uint8_t> bytes = SaveToBytes();
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file)
        throw EFileError(fileName + ": cannot create the file");
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        throw EFileError(fileName + ": write error");
}

} // namespace orvex
