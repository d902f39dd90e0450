// The GIF picture: a logical screen, a list of frames with their colour maps,
// colour reduction of true-colour pictures to the 216-colour web palette, and
// the writer of GIF87a / GIF89a files with LZW image data.
//
// A picture is built from a plain pixel buffer (`Assign`) and written with
// `SaveToStream` or `SaveToFile`. Errors are EGifError ("Unsupported GIF
// version", "Color not in color table") and EFileError for a file that
// cannot be written.
//
// This header includes no Qt header.
#pragma once

#include <OrvexGDI/PixelBuffer.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace orvex {

// ---------------------------------------------------------------- settings

/// Colour reduction of true-colour pictures: the fixed 216-colour web palette.
enum TGifColorReduction : std::uint8_t { crWebPalette };
/// Dithering during reduction: nearest colour, no error diffusion.
enum TGifDitherMode : std::uint8_t { dmNearest };
/// Image data coding: LZW, or run-length codes that any LZW decoder reads.
enum TGifCompression : std::uint8_t { gcLZW, gcRLE };
/// File version; gvUnknown for a picture without frames.
enum TGifVersion : std::uint8_t { gvUnknown, gv87a, gv89a };

/// Painting options (a set of flags). They do not change the written file.
using TGifDrawOptions = std::uint8_t;
/// Paint in a background thread.
inline constexpr TGifDrawOptions goAsync = 0x01;
/// Honour the transparent colour when painting.
inline constexpr TGifDrawOptions goTransparent = 0x02;
/// Play the frames of an animation.
inline constexpr TGifDrawOptions goAnimate = 0x04;
/// Repeat an animation.
inline constexpr TGifDrawOptions goLoop = 0x08;
/// Dither when the screen has few colours.
inline constexpr TGifDrawOptions goDither = 0x10;
/// Dither only on screens of at most 8 bits per pixel.
inline constexpr TGifDrawOptions goAutoDither = 0x20;

/// Priority of a painting thread. It does not change the written file.
enum TGifThreadPriority : std::uint8_t { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Class-wide defaults; every new TGifPicture copies them.
extern ORVEXGDI_EXPORT TGifColorReduction GifDefaultColorReduction; // crWebPalette
extern ORVEXGDI_EXPORT int GifDefaultColorReductionBits;            // 8
extern ORVEXGDI_EXPORT TGifDitherMode GifDefaultDitherMode;         // dmNearest
extern ORVEXGDI_EXPORT TGifCompression GifDefaultCompression;       // gcLZW
extern ORVEXGDI_EXPORT TGifDrawOptions GifDefaultDrawOptions;       // all six options
extern ORVEXGDI_EXPORT TGifThreadPriority GifDefaultThreadPriority; // tpNormal
extern ORVEXGDI_EXPORT int GifDefaultAnimationSpeed;                // 100

// ---------------------------------------------------------------- colours

/// A colour map of up to 256 entries.
class ORVEXGDI_EXPORT TGifColorTable {
public:
    /// The most entries a GIF colour map holds.
    static constexpr int MaxColors = 256;

    /// Number of entries.
    int Count() const { return static_cast<int>(colors_.size()); }
    /// Entry `index`; std::out_of_range outside 0 .. Count - 1.
    const TRGBEntry& operator[](int index) const { return colors_.at(static_cast<std::size_t>(index)); }
    /// All entries in order.
    const std::vector<TRGBEntry>& Colors() const { return colors_; }
    /// Takes the entries in their order; entries past 256 are dropped
    /// (no index of a GIF picture can reach them).
    void Assign(const std::vector<TRGBEntry>& colors);
    /// Removes every entry.
    void Clear() { colors_.clear(); }
    /// The smallest b >= 1 with 2^b >= Count; 0 for an empty map.
    int BitsPerPixel() const;

    /// Set when the entries were sorted by use; such a map needs GIF89a.
    bool Optimized = false;

private:
    std::vector<TRGBEntry> colors_;
};

/// The colour map of the logical screen.
class ORVEXGDI_EXPORT TGifGlobalColorTable : public TGifColorTable {};
/// The colour map of one frame.
class ORVEXGDI_EXPORT TGifLocalColorTable : public TGifColorTable {};

/// An 8-bit picture with its palette, as colour reduction returns it.
struct ORVEXGDI_EXPORT TGifIndexedBitmap {
    /// Width in pixels.
    int Width = 0;
    /// Height in pixels.
    int Height = 0;
    /// The colours the indices refer to.
    std::vector<TRGBEntry> Palette;
    std::vector<std::uint8_t> Pixels; ///< Width bytes per row, rows top to bottom

    /// A view of the indices as an 8-bit pixel buffer.
    TPixelBuffer Buffer() const;
};

/// The 216 web colours: entry 36 r + 6 g + b is (51 r, 51 g, 51 b), r, g, b = 0 .. 5.
ORVEXGDI_EXPORT const std::array<TRGBEntry, 216>& WebPalette();

/// Reduces a picture to 8-bit indices. With crWebPalette every channel value
/// v goes to the level (v + 3) div 51 and a pixel to 36 R + 6 G + B; the
/// palette is the web palette followed by 40 black entries (256 in all).
/// `palette` and `bits` serve the quantising methods and are not used here.
ORVEXGDI_EXPORT TGifIndexedBitmap ReduceColors(const TPixelBuffer& bitmap, TGifColorReduction reduction,
                                               TGifDitherMode dither, const std::vector<TRGBEntry>* palette, int bits);

// ---------------------------------------------------------------- image objects

/// The logical screen descriptor and the global colour map.
class ORVEXGDI_EXPORT TGifScreen {
public:
    /// Logical screen width in pixels.
    std::uint16_t Width = 0;
    /// Logical screen height in pixels.
    std::uint16_t Height = 0;
    /// Global-map flag, colour resolution, sort flag and map size bits.
    std::uint8_t PackedFields = 0;
    /// Index of the background colour in the global map.
    std::uint8_t BackgroundColorIndex = 0;
    /// Pixel aspect ratio code; 0 for square pixels.
    std::uint8_t AspectRatio = 0;
    /// The global colour map (empty when every frame has its own).
    TGifGlobalColorTable ColorMap;
};

/// An extension block: label byte and data, written as data sub-blocks.
struct ORVEXGDI_EXPORT TGifExtension {
    /// The extension label (0xF9 graphic control, 0xFE comment, ...).
    std::uint8_t Label = 0;
    /// The extension's bytes, without sub-block lengths.
    std::vector<std::uint8_t> Data;
};

class TGifPicture;

/// One image of the picture: position, size, colour map, extensions and one
/// colour index per pixel, rows top to bottom.
class ORVEXGDI_EXPORT TGifFrame {
public:
    /// An empty frame of `image`.
    explicit TGifFrame(TGifPicture& image) : image_(&image) {}

    /// Left edge on the logical screen.
    std::uint16_t Left() const { return left_; }
    /// Top edge on the logical screen.
    std::uint16_t Top() const { return top_; }
    /// Width in pixels.
    std::uint16_t Width() const { return width_; }
    /// Height in pixels.
    std::uint16_t Height() const { return height_; }
    /// Places and sizes the frame and enlarges the picture's logical screen
    /// to hold it.
    void SetBounds(int left, int top, int width, int height);
    /// Whether the frame has no pixels.
    bool Empty() const { return width_ == 0 || height_ == 0; }

    /// Makes the frame from a picture: 1-, 4- and 8-bit pictures keep their
    /// palette and indices, others are reduced with the web palette. An empty
    /// picture gives an empty frame.
    void Assign(const TPixelBuffer& bitmap);

    /// gv89a when the map is optimised or the frame has extensions, else gv87a.
    TGifVersion Version() const;

    /// The frame's own colour map.
    TGifLocalColorTable ColorMap;
    /// Extension blocks written before the image.
    std::vector<TGifExtension> Extensions;
    std::vector<std::uint8_t> Data; ///< Width x Height colour indices

private:
    TGifPicture* image_;
    std::uint16_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

/// Encodes colour indices as GIF image data: the minimum code size byte, the
/// LZW codes in data sub-blocks of up to 255 bytes and the block terminator.
class ORVEXGDI_EXPORT TGifLzwEncoder {
public:
    /// An encoder with an empty dictionary.
    TGifLzwEncoder();
    /// Frees the dictionary.
    ~TGifLzwEncoder();
    /// Not copyable: the dictionary is large.
    TGifLzwEncoder(const TGifLzwEncoder&) = delete;
    TGifLzwEncoder& operator=(const TGifLzwEncoder&) = delete;

    /// Appends the image data of `count` indices to `out`. The code size
    /// comes from `bitsPerPixel` (at least 2); an index not below
    /// `colorCount` raises "Color not in color table" and leaves `out` as it was.
    void Encode(const std::uint8_t* pixels, std::size_t count, int bitsPerPixel, int colorCount,
                std::vector<std::uint8_t>& out);

private:
    struct Dictionary;
    std::unique_ptr<Dictionary> dictionary_;
};

/// A GIF picture: the logical screen, the frames and the settings copied
/// from the class-wide defaults.
class ORVEXGDI_EXPORT TGifPicture {
public:
    /// An empty picture with the class-wide default settings.
    TGifPicture();
    /// Frees the frames.
    ~TGifPicture();
    /// Not copyable: frames refer to their picture.
    TGifPicture(const TGifPicture&) = delete;
    TGifPicture& operator=(const TGifPicture&) = delete;

    /// Clears the picture and adds one frame made from `bitmap`.
    void Assign(const TPixelBuffer& bitmap);
    /// Removes every frame and resets the logical screen.
    void Clear();
    /// A new empty frame at the end of the list.
    TGifFrame& Add();

    /// Number of frames.
    int Count() const { return static_cast<int>(frames_.size()); }
    /// Frame `index`; std::out_of_range outside 0 .. Count - 1.
    TGifFrame& Frame(int index) { return *frames_.at(static_cast<std::size_t>(index)); }
    /// Frame `index`, read only.
    const TGifFrame& Frame(int index) const { return *frames_.at(static_cast<std::size_t>(index)); }

    /// The highest version any frame needs; gvUnknown without frames.
    TGifVersion Version() const;
    /// The largest bits per pixel of the global map and of every frame's map.
    int BitsPerPixel() const;

    /// Writes the whole file. EGifError "Unsupported GIF version" for a
    /// picture without frames, "Color not in color table" for an index
    /// outside its map; nothing is written to the stream then.
    void SaveToStream(std::ostream& stream) const;
    /// Creates or overwrites the file; EFileError naming it when it cannot
    /// be written.
    void SaveToFile(const std::string& fileName) const;
    /// The bytes SaveToStream writes.
    std::vector<std::uint8_t> SaveToBytes() const;

    /// The logical screen descriptor and global colour map.
    TGifScreen Header;

    /// Reduction of true-colour sources (crWebPalette).
    TGifColorReduction ColorReduction;
    /// Colour count as bits for quantising reductions; unused by crWebPalette.
    int ColorReductionBits;
    /// Dithering during reduction (dmNearest).
    TGifDitherMode DitherMode;
    /// Image data coding: LZW or run-length codes.
    TGifCompression Compression;
    /// Painting options; no effect on the file.
    TGifDrawOptions DrawOptions;
    /// Priority of a painting thread; no effect on the file.
    TGifThreadPriority ThreadPriority;
    /// Animation speed in percent; no effect on the file.
    int AnimationSpeed;

private:
    std::vector<std::unique_ptr<TGifFrame>> frames_;
};

// The names the rest of the project knows these classes by.
/// The picture under its framework name.
using TGIFImage = TGifPicture;
/// The logical screen under its framework name.
using TGIFHeader = TGifScreen;
/// A frame under its framework name.
using TGIFSubImage = TGifFrame;
/// A colour map under its framework name.
using TGIFColorMap = TGifColorTable;
/// The LZW encoder under its framework name.
using TLZWEncoder = TGifLzwEncoder;

} // namespace orvex
