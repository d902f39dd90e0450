// The BMP and JPEG picture encoders on plain pixel buffers: BMP bytes for
// every source depth, JPEG markers, sampling and fidelity, and libjpeg's
// errors raised instead of ending the process.
#include "encoders/bmp.h"
#include "encoders/jpeg.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <gtest/gtest.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

using namespace orvex;

namespace {

std::uint32_t le32(const std::string& s, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(s[at + i]);
    return v;
}

// A 3 x 2 picture of six distinct colours in each depth the encoders read.
const std::vector<TRGBEntry> kSix = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}, {255, 255, 255}, {0, 0, 0}};

struct Source {
    std::vector<std::uint8_t> bytes;
    TPixelBuffer buffer;
};

Source six_colours(int bits)
{
    Source s;
    const int rowBytes = bits == 32 ? 12 : bits == 24 ? 9 : bits == 8 ? 3 : bits == 4 ? 2 : 1;
    s.bytes.assign(static_cast<std::size_t>(rowBytes) * 2, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const unsigned i = static_cast<unsigned>(y * 3 + x);
            const TRGBEntry c = kSix[i];
            std::uint8_t* row = s.bytes.data() + y * rowBytes;
            if (bits == 32) {
                const std::uint32_t argb = 0x7F000000u | (c.Red << 16) | (c.Green << 8) | c.Blue; // alpha ignored
                std::memcpy(row + 4 * x, &argb, 4);
            } else if (bits == 24) {
                row[3 * x] = c.Red, row[3 * x + 1] = c.Green, row[3 * x + 2] = c.Blue;
            } else if (bits == 8) {
                row[x] = static_cast<std::uint8_t>(i);
            } else if (bits == 4) {
                row[x / 2] |= static_cast<std::uint8_t>(i << (x % 2 ? 0 : 4));
            }
        }
    s.buffer.Width = 3;
    s.buffer.Height = 2;
    s.buffer.BitsPerPixel = bits;
    s.buffer.RowBytes = rowBytes;
    s.buffer.Pixels = s.bytes.data();
    if (bits <= 8)
        s.buffer.Palette = kSix;
    return s;
}

class BmpFromEveryDepth : public ::testing::TestWithParam<int> {};

TEST_P(BmpFromEveryDepth, HeaderAndBottomUpPaddedRows)
{
    const Source source = six_colours(GetParam());
    std::ostringstream out;
    ASSERT_TRUE(encoders::write_bmp(source.buffer, out));
    const std::string bmp = out.str();
    ASSERT_EQ(bmp.size(), 54u + 2 * 12); // rows of 9 bytes padded to 12
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 10), 54u);       // pixel data offset
    EXPECT_EQ(le32(bmp, 14), 40u);       // info header size
    EXPECT_EQ(le32(bmp, 18), 3u);        // width
    EXPECT_EQ(le32(bmp, 22), 2u);        // height, positive: bottom-up
    EXPECT_EQ(le32(bmp, 26), 0x180001u); // one plane, 24 bits
    EXPECT_EQ(le32(bmp, 30), 0u);        // no compression
    EXPECT_EQ(le32(bmp, 34), 24u);       // image bytes
    // The file's first row is the picture's last, each pixel blue, green, red.
    const std::string lastRow("\x1E\x14\x0A\xFF\xFF\xFF\x00\x00\x00\x00\x00\x00", 12);
    const std::string firstRow("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\x00\x00\x00", 12);
    EXPECT_EQ(bmp.substr(54, 12), lastRow);
    EXPECT_EQ(bmp.substr(66, 12), firstRow);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpFromEveryDepth, ::testing::Values(32, 24, 8, 4));

// ---------------------------------------------------------------- JPEG

// A dark CAD-like picture: one-pixel lines in six colours.
struct Drawing {
    int w = 160, h = 120;
    std::vector<std::uint32_t> words;
    TPixelBuffer buffer;
    Drawing()
    {
        words.assign(static_cast<std::size_t>(w) * h, 0xFF000000u);
        const std::uint32_t colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF, 0xFFFFFFFF};
        for (int k = 0; k < 6; ++k) {
            for (int x = 5; x < w - 5; ++x)
                words[static_cast<std::size_t>(10 + 18 * k) * w + x] = colours[k];
            for (int y = 5; y < h - 5; ++y)
                words[static_cast<std::size_t>(y) * w + 15 + 25 * k] = colours[k];
        }
        buffer.Width = w;
        buffer.Height = h;
        buffer.BitsPerPixel = 32;
        buffer.RowBytes = w * 4;
        buffer.Pixels = reinterpret_cast<const std::uint8_t*>(words.data());
    }
};

struct Decoded {
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgb;
};

struct DecodeErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

extern "C" void decode_failed(j_common_ptr c) { std::longjmp(reinterpret_cast<DecodeErrors*>(c->err)->jump, 1); }

bool decode(const std::string& jpeg, Decoded& out)
{
    jpeg_decompress_struct d{};
    DecodeErrors errors{};
    d.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = decode_failed;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&d);
        return false;
    }
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    out.w = static_cast<int>(d.output_width);
    out.h = static_cast<int>(d.output_height);
    out.rgb.resize(static_cast<std::size_t>(out.w) * out.h * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = out.rgb.data() + static_cast<std::size_t>(d.output_scanline) * out.w * 3;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return true;
}

double psnr(const Drawing& a, const Decoded& b)
{
    double squares = 0;
    for (std::size_t i = 0; i < a.words.size(); ++i)
        for (int c = 0; c < 3; ++c) {
            const int original = static_cast<int>((a.words[i] >> (16 - 8 * c)) & 0xFF); // red, green, blue
            const double d = original - b.rgb[3 * i + c];
            squares += d * d;
        }
    const double mse = squares / (a.words.size() * 3.0);
    return 10 * std::log10(255.0 * 255.0 / mse);
}

TEST(JpegEncoder, BaselineQuality90FullChromaAndFaithfulColours)
{
    const Drawing picture;
    std::ostringstream out;
    encoders::write_jpeg(picture.buffer, out);
    const std::string jpeg = out.str();

    const std::size_t sof0 = jpeg.find("\xFF\xC0", 0, 2);
    ASSERT_NE(sof0, std::string::npos);
    EXPECT_EQ(jpeg.find("\xFF\xC2", 0, 2), std::string::npos); // not progressive
    ASSERT_EQ(static_cast<std::uint8_t>(jpeg[sof0 + 9]), 3);   // three components
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(static_cast<std::uint8_t>(jpeg[sof0 + 11 + 3 * c]), 0x11) << "component " << c;
    // Quality 90 scales the luminance table's first entry (16) to 3.
    const std::size_t dqt = jpeg.find("\xFF\xDB", 0, 2);
    ASSERT_NE(dqt, std::string::npos);
    EXPECT_EQ(static_cast<std::uint8_t>(jpeg[dqt + 5]), 3);

    Decoded decoded;
    ASSERT_TRUE(decode(jpeg, decoded));
    ASSERT_EQ(decoded.w, picture.w);
    ASSERT_EQ(decoded.h, picture.h);
    EXPECT_GT(psnr(picture, decoded), 30.0);
}

TEST(JpegEncoder, LibjpegErrorsRaiseInsteadOfEndingTheProcess)
{
    std::vector<std::uint32_t> row(70000, 0xFF102030u);
    TPixelBuffer tooWide;
    tooWide.Width = 70000; // beyond JPEG's 65500
    tooWide.Height = 1;
    tooWide.RowBytes = 70000 * 4;
    tooWide.Pixels = reinterpret_cast<const std::uint8_t*>(row.data());
    std::ostringstream out;
    try {
        encoders::write_jpeg(tooWide, out);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("65500"), std::string::npos) << e.what();
    }

    const Drawing picture;
    std::ostringstream full;
    full.setstate(std::ios::badbit); // a stream that takes nothing
    EXPECT_THROW(encoders::write_jpeg(picture.buffer, full), EFileError);
}

} // namespace
