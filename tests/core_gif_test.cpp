// The GIF writer: the bytes of a reduced picture, the web-palette levels,
// palette pictures kept as they are, the LZW table reset after code 4094,
// giflib decoding every kind of picture we write, and the errors.
#include <OrvexGDI/OrvexGIF.h>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>

namespace orvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------- pictures

/// A 32-bit picture that owns its pixels.
struct Picture32 {
    int width, height;
    std::vector<std::uint32_t> pixels;
    Picture32(int w, int h, std::uint32_t fill) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    TPixelBuffer buffer() const
    {
        TPixelBuffer b;
        b.Width = width;
        b.Height = height;
        b.BitsPerPixel = 32;
        b.RowBytes = 4 * width;
        b.Pixels = reinterpret_cast<const std::uint8_t*>(pixels.data());
        return b;
    }
};

/// Dark background with horizontal, vertical and diagonal lines in several colours.
Picture32 line_drawing(int w, int h)
{
    Picture32 p(w, h, 0xFF202020);
    const std::uint32_t colours[] = {0xFFFF0000, 0xFFFFFF00, 0xFF00FF00, 0xFF00FFFF, 0xFFFFFFFF};
    for (int i = 0; i < 40; ++i) {
        const std::uint32_t c = colours[i % 5];
        for (int x = 0; x < w; ++x)
            p.pixels[std::size_t((i * 7) % h) * w + x] = c;
        for (int y = 0; y < h; ++y)
            p.pixels[std::size_t(y) * w + (i * 13) % w] = c;
        for (int t = 0; t < std::min(w, h); ++t)
            p.pixels[std::size_t(t) * w + (t + i * 5) % w] = c;
    }
    return p;
}

/// A palette picture that owns its packed rows.
struct PalettePicture {
    Bytes rows;
    TPixelBuffer b;
    Bytes indices; // one byte per pixel, as a decoder returns them
};

PalettePicture palette_picture(int bits, int w, int h, int colours, unsigned seed)
{
    PalettePicture p;
    std::mt19937 random(seed);
    const std::ptrdiff_t rowBytes = (std::ptrdiff_t(w) * bits + 7) / 8 + 3; // padded like a DIB row
    p.rows.assign(std::size_t(rowBytes) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto v = static_cast<std::uint8_t>(random() % colours);
            p.indices.push_back(v);
            std::uint8_t* row = p.rows.data() + y * rowBytes;
            if (bits == 8)
                row[x] = v;
            else if (bits == 4)
                row[x / 2] |= static_cast<std::uint8_t>(v << ((x & 1) ? 0 : 4));
            else
                row[x / 8] |= static_cast<std::uint8_t>(v << (7 - x % 8));
        }
    for (int i = 0; i < colours; ++i)
        p.b.Palette.push_back({std::uint8_t(i * 7), std::uint8_t(255 - i), std::uint8_t(i * 31)});
    p.b.Width = w;
    p.b.Height = h;
    p.b.BitsPerPixel = bits;
    p.b.RowBytes = rowBytes;
    p.b.Pixels = p.rows.data();
    return p;
}

Bytes gif_of(const TPixelBuffer& source, TGifCompression compression = gcLZW)
{
    TGifPicture picture;
    picture.Compression = compression;
    picture.Assign(source);
    std::ostringstream out;
    picture.SaveToStream(out);
    const std::string s = out.str();
    return Bytes(s.begin(), s.end());
}

// ---------------------------------------------------------------- reading back

/// giflib's reading of a GIF in memory: the first image's indices and colour map.
struct Decoded {
    int error = 0;
    int width = 0, height = 0, images = 0;
    Bytes indices;
    std::vector<TRGBEntry> colours;
};

Decoded decode_with_giflib(const Bytes& file)
{
    struct Reader {
        const Bytes* bytes;
        std::size_t at = 0;
    } reader{&file};
    auto read = [](GifFileType* gif, GifByteType* to, int length) {
        auto* r = static_cast<Reader*>(gif->UserData);
        const auto n = std::min<std::size_t>(std::size_t(length), r->bytes->size() - r->at);
        std::memcpy(to, r->bytes->data() + r->at, n);
        r->at += n;
        return static_cast<int>(n);
    };
    Decoded d;
    GifFileType* gif = DGifOpen(&reader, read, &d.error);
    if (!gif)
        return d;
    if (DGifSlurp(gif) != GIF_OK)
        d.error = gif->Error;
    d.width = gif->SWidth;
    d.height = gif->SHeight;
    d.images = gif->ImageCount;
    if (d.error == 0 && gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        d.indices.assign(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
        if (const ColorMapObject* map = image.ImageDesc.ColorMap)
            for (int i = 0; i < map->ColorCount; ++i)
                d.colours.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    }
    DGifCloseFile(gif, nullptr);
    return d;
}

/// Where the image data of a one-frame GIF with a local table of `entries` starts.
std::size_t image_data_offset(int entries) { return 6 + 7 + 10 + 3 * std::size_t(entries); }

/// An LZW decoder of our own, to see the codes themselves: every code with
/// its width, and the pixels.
struct CodeStream {
    std::vector<std::pair<unsigned, int>> codes; // (code, width)
    Bytes pixels;
};

CodeStream read_codes(const Bytes& file, std::size_t at)
{
    const int minCodeSize = file[at++];
    Bytes data;
    while (const std::uint8_t length = file[at++]) {
        data.insert(data.end(), file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(at + length));
        at += length;
    }
    const unsigned clear = 1u << minCodeSize;
    std::vector<Bytes> table;
    auto reset = [&] {
        table.assign(clear + 2, {});
        for (unsigned i = 0; i < clear; ++i)
            table[i] = {std::uint8_t(i)};
    };
    reset();
    CodeStream s;
    int width = minCodeSize + 1;
    std::size_t bit = 0;
    int previous = -1;
    while (bit + width <= data.size() * 8) {
        unsigned code = 0;
        for (int i = 0; i < width; ++i, ++bit)
            code |= unsigned((data[bit / 8] >> (bit % 8)) & 1) << i;
        s.codes.emplace_back(code, width);
        if (code == clear) {
            reset();
            width = minCodeSize + 1;
            previous = -1;
            continue;
        }
        if (code == clear + 1)
            break;
        Bytes entry = code < table.size() ? table[code] : table[std::size_t(previous)];
        if (code >= table.size())
            entry.push_back(entry[0]);
        if (previous >= 0 && table.size() < 4096) {
            Bytes added = table[std::size_t(previous)];
            added.push_back(entry[0]);
            table.push_back(added);
        }
        s.pixels.insert(s.pixels.end(), entry.begin(), entry.end());
        previous = static_cast<int>(code);
        if (table.size() == (1u << width) && width < 12)
            ++width;
    }
    return s;
}

// ---------------------------------------------------------------- tests

TEST(GifWriter, WhitePictureBytes)
{
    const Bytes file = gif_of(Picture32(337, 369, 0xFFFFFFFF).buffer());
    ASSERT_GT(file.size(), image_data_offset(256) + 4);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF87a");
    // Logical screen 337 x 369 (little-endian), packed 0x77, background 0, aspect 0.
    EXPECT_EQ(Bytes(file.begin() + 6, file.begin() + 13), (Bytes{0x51, 0x01, 0x71, 0x01, 0x77, 0, 0}));
    // Image descriptor at (0, 0), 337 x 369, local table of 256 entries, not interlaced.
    EXPECT_EQ(Bytes(file.begin() + 13, file.begin() + 23), (Bytes{0x2C, 0, 0, 0, 0, 0x51, 0x01, 0x71, 0x01, 0x87}));
    const std::size_t table = 23;
    EXPECT_EQ(Bytes(file.begin() + table + 3 * 215, file.begin() + table + 3 * 216), (Bytes{255, 255, 255}));
    EXPECT_EQ(Bytes(file.begin() + table + 3 * 216, file.begin() + table + 3 * 256), Bytes(3 * 40, 0));
    const CodeStream s = read_codes(file, image_data_offset(256));
    EXPECT_EQ(file[image_data_offset(256)], 8); // minimum code size
    ASSERT_FALSE(s.codes.empty());
    EXPECT_EQ(s.codes.front(), std::make_pair(256u, 9));
    EXPECT_EQ(s.pixels, Bytes(337 * 369, 215));
    EXPECT_EQ(file.back(), 0x3B);
}

TEST(GifWriter, ChannelLevelsBreakAtTheWebThresholds)
{
    struct Row {
        std::uint8_t r, g, b;
        std::uint8_t index;
    };
    std::vector<Row> rows = {{47, 48, 255, 11}, {251, 252, 0, 174}};
    const int thresholds[] = {48, 99, 150, 201, 252};
    for (int level = 0; level < 5; ++level) {
        const auto below = std::uint8_t(thresholds[level] - 1), at = std::uint8_t(thresholds[level]);
        rows.push_back({below, 0, 0, std::uint8_t(36 * level)});
        rows.push_back({0, at, 0, std::uint8_t(6 * (level + 1))});
        rows.push_back({0, 0, at, std::uint8_t(level + 1)});
    }
    for (const Row& row : rows) {
        const std::uint8_t rgb[3] = {row.r, row.g, row.b};
        const std::uint32_t argb = 0xFF000000u | unsigned(row.r) << 16 | unsigned(row.g) << 8 | row.b;
        for (int bits : {24, 32}) {
            TPixelBuffer b;
            b.Width = b.Height = 1;
            b.BitsPerPixel = bits;
            b.RowBytes = 4;
            b.Pixels = bits == 24 ? rgb : reinterpret_cast<const std::uint8_t*>(&argb);
            const TGifIndexedBitmap reduced = ReduceColors(b, crWebPalette, dmNearest, nullptr, 8);
            ASSERT_EQ(reduced.Pixels.size(), 1u);
            EXPECT_EQ(reduced.Pixels[0], row.index) << int(row.r) << "," << int(row.g) << "," << int(row.b);
        }
    }
    EXPECT_EQ(WebPalette()[11], (TRGBEntry{0, 51, 255}));
    EXPECT_EQ(WebPalette()[174], (TRGBEntry{204, 255, 0}));
}

TEST(GifWriter, PalettePicturesKeepTheirTableAndIndices)
{
    for (const int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        const int colours = bits == 8 ? 200 : 1 << bits;
        const PalettePicture p = palette_picture(bits, 37, 11, colours, 7u + unsigned(bits));
        TGifPicture picture;
        picture.Assign(p.b);
        ASSERT_EQ(picture.Count(), 1);
        EXPECT_EQ(picture.Frame(0).ColorMap.Colors(), p.b.Palette);
        EXPECT_EQ(picture.Frame(0).Data, p.indices);
        const Decoded d = decode_with_giflib(gif_of(p.b));
        ASSERT_EQ(d.error, 0);
        EXPECT_EQ(d.indices, p.indices);
        std::vector<TRGBEntry> padded = p.b.Palette;
        padded.resize(std::size_t(1) << bits); // 200 colours are written as a table of 256
        EXPECT_EQ(d.colours, padded);
    }
}

TEST(GifWriter, TableClearsRightAfterCode4094)
{
    // Random indices add a string for nearly every pixel.
    const PalettePicture p = palette_picture(8, 200, 100, 256, 42);
    const Bytes file = gif_of(p.b);
    const CodeStream s = read_codes(file, image_data_offset(256));
    EXPECT_EQ(s.pixels, p.indices);

    std::vector<std::size_t> clears;
    for (std::size_t i = 0; i < s.codes.size(); ++i)
        if (s.codes[i].first == 256)
            clears.push_back(i);
    ASSERT_GE(clears.size(), 3u);
    // Codes 258 .. 4094 are 3837 strings; the code after the one that made
    // 4094 (the 3838th) is the clear, written in 12 bits, and the next code is 9 bits again.
    EXPECT_EQ(clears[0], 0u);
    EXPECT_EQ(clears[1], 3838u + 1);
    EXPECT_EQ(clears[2] - clears[1], 3838u + 1);
    EXPECT_EQ(s.codes[clears[1]].second, 12);
    EXPECT_EQ(s.codes[clears[1] + 1].second, 9);
    EXPECT_EQ(s.codes[clears[1] - 1].second, 12);
}

TEST(GifWriter, GiflibDecodesEveryKindOfPicture)
{
    auto expect_decodes = [](const TPixelBuffer& source, const Bytes& expected, TGifCompression compression) {
        const Decoded d = decode_with_giflib(gif_of(source, compression));
        ASSERT_EQ(d.error, 0);
        EXPECT_EQ(d.images, 1);
        EXPECT_EQ(d.width, source.Width);
        EXPECT_EQ(d.height, source.Height);
        EXPECT_EQ(d.indices, expected);
    };
    const Picture32 drawing = line_drawing(301, 157);
    const Bytes reduced = ReduceColors(drawing.buffer(), crWebPalette, dmNearest, nullptr, 8).Pixels;
    const PalettePicture noise = palette_picture(8, 256, 256, 256, 3);
    const PalettePicture twoColours = palette_picture(1, 1000, 3, 2, 5);
    Picture32 single(1, 1, 0xFF336699);
    Picture32 longRun(4000, 30, 0xFF000000);
    longRun.pixels[5000] = 0xFFFFFFFF;
    for (const TGifCompression compression : {gcLZW, gcRLE}) {
        SCOPED_TRACE(compression == gcLZW ? "LZW" : "RLE");
        expect_decodes(drawing.buffer(), reduced, compression);
        expect_decodes(noise.b, noise.indices, compression);
        expect_decodes(twoColours.b, twoColours.indices, compression);
        expect_decodes(single.buffer(), Bytes{36 * 1 + 6 * 2 + 3}, compression);
        Bytes run(4000 * 30, 0);
        run[5000] = 215;
        expect_decodes(longRun.buffer(), run, compression);
    }
}

TEST(GifWriter, EmptyAndMaplessFramesStayReadable)
{
    // An empty picture gives an empty frame: no image descriptor at all.
    const Bytes empty = gif_of(Picture32(0, 5, 0).buffer());
    EXPECT_EQ(empty, (Bytes{'G', 'I', 'F', '8', '7', 'a', 0, 0, 0, 0, 0x77, 0, 0, 0x3B}));

    // A palette picture without a palette claims no local table.
    PalettePicture bare = palette_picture(1, 9, 2, 1, 1);
    bare.b.Palette.clear();
    const Bytes file = gif_of(bare.b);
    EXPECT_EQ(file[13 + 9], 0x00);
    const Decoded d = decode_with_giflib(file);
    ASSERT_EQ(d.error, 0);
    EXPECT_EQ(d.indices, bare.indices);
}

TEST(GifWriter, Errors)
{
    auto message_of = [](auto&& save) -> std::string {
        try {
            save();
        } catch (const EGifError& e) {
            return e.what();
        }
        return "no EGifError";
    };
    std::ostringstream out;
    EXPECT_EQ(message_of([&] { TGifPicture().SaveToStream(out); }), "Unsupported GIF version");

    PalettePicture p = palette_picture(8, 5, 5, 8, 9);
    p.b.Palette.resize(4);
    for (const TGifCompression compression : {gcLZW, gcRLE}) {
        TGifPicture picture;
        picture.Compression = compression;
        picture.Assign(p.b);
        EXPECT_EQ(message_of([&] { picture.SaveToStream(out); }), "Color not in color table");
    }
    EXPECT_TRUE(out.str().empty()); // nothing is written before the error

    // Sizes the 16-bit fields cannot hold, and pixel formats there is no reading for.
    const Picture32 wide(70000, 1, 0);
    EXPECT_NE(message_of([&] { TGifPicture().Assign(wide.buffer()); }).find("70000 x 1"), std::string::npos);
    TPixelBuffer odd = Picture32(2, 2, 0).buffer();
    odd.BitsPerPixel = 16;
    EXPECT_NE(message_of([&] { TGifPicture().Assign(odd); }).find("16 bits"), std::string::npos);

    TGifPicture white;
    white.Assign(Picture32(3, 3, 0xFFFFFFFF).buffer());
    const std::string name = ORVEX_TEST_OUTPUT_DIR "/no such folder/x.gif";
    try {
        white.SaveToFile(name);
        ADD_FAILURE() << "no EFileError";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find(name), std::string::npos);
    }
}

} // namespace
} // namespace orvex
