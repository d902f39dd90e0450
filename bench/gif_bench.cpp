// GIF encoding of a 1920 x 1080 picture of a technical drawing, against
// giflib encoding the same colour indices in the same run.
//
// Ours: TGifPicture::Assign (web-palette reduction of the 32-bit pixels) and
// SaveToStream into memory. giflib: EGifPutLine of the already reduced
// indices, row by row, into a memory writer. The figures are the median
// times of both, encoded in turns, and their ratio.
//
// For instruction counts, `gif_bench --once=ours` or `--once=giflib` encodes
// once and exits; run it under
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*encode_once*'
#include <OrvexGDI/OrvexGIF.h>

#include <benchmark/benchmark.h>

#include "bench_timing.h"

#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#ifdef ORVEX_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Pixels of the drawing, 0xAARRGGBB, made once.
const std::vector<std::uint32_t>& drawing()
{
    static const std::vector<std::uint32_t> pixels = [] {
        std::vector<std::uint32_t> p(std::size_t(kWidth) * kHeight, 0xFF000000);
        const std::uint32_t colours[] = {0xFFFF0000, 0xFFFFFF00, 0xFF00FF00, 0xFF008080,
                                         0xFF0000FF, 0xFFFF00FF, 0xFFFFFFFF, 0xFF808080};
        std::mt19937 random(20260101);
        std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), length(10, 400), pick(0, 7);
        auto plot = [&](int px, int py, std::uint32_t c) {
            if (px >= 0 && px < kWidth && py >= 0 && py < kHeight)
                p[std::size_t(py) * kWidth + px] = c;
        };
        auto line = [&](int x0, int y0, int x1, int y1, std::uint32_t c) { // Bresenham
            const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
            const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
            for (int err = dx + dy;;) {
                plot(x0, y0, c);
                if (x0 == x1 && y0 == y1)
                    break;
                const int e2 = 2 * err;
                if (e2 >= dy) {
                    err += dy;
                    x0 += sx;
                }
                if (e2 <= dx) {
                    err += dx;
                    y0 += sy;
                }
            }
        };
        // A grey grid, then parts: mostly horizontal and vertical edges, some slanted.
        for (int gx = 0; gx < kWidth; gx += 96)
            line(gx, 0, gx, kHeight - 1, 0xFF404040);
        for (int gy = 0; gy < kHeight; gy += 96)
            line(0, gy, kWidth - 1, gy, 0xFF404040);
        for (int i = 0; i < 1500; ++i) {
            const int x0 = x(random), y0 = y(random), n = length(random);
            const std::uint32_t c = colours[pick(random)];
            switch (i % 4) {
            case 0:
                line(x0, y0, x0 + n, y0, c);
                break;
            case 1:
                line(x0, y0, x0, y0 + n, c);
                break;
            default:
                line(x0, y0, x0 + n, y0 + n * (i % 3) / 2, c);
                break;
            }
        }
        return p;
    }();
    return pixels;
}

orvex::TPixelBuffer drawing_buffer()
{
    orvex::TPixelBuffer b;
    b.Width = kWidth;
    b.Height = kHeight;
    b.BitsPerPixel = 32;
    b.RowBytes = 4 * kWidth;
    b.Pixels = reinterpret_cast<const std::uint8_t*>(drawing().data());
    return b;
}

/// Reduction, LZW and writing into memory; returns the file size.
std::size_t orvex_encode()
{
    orvex::TGifPicture picture;
    picture.Assign(drawing_buffer());
    std::ostringstream out;
    picture.SaveToStream(out);
    return out.str().size();
}

#ifdef ORVEX_HAVE_GIFLIB
const orvex::TGifIndexedBitmap& reduced()
{
    static const orvex::TGifIndexedBitmap indices =
        orvex::ReduceColors(drawing_buffer(), orvex::crWebPalette, orvex::dmNearest, nullptr, 8);
    return indices;
}

/// giflib's LZW of the same indices and table, into memory; returns the file size.
std::size_t giflib_encode()
{
    const orvex::TGifIndexedBitmap& source = reduced();
    std::vector<GifByteType> file;
    auto write = [](GifFileType* gif, const GifByteType* bytes, int length) {
        auto* to = static_cast<std::vector<GifByteType>*>(gif->UserData);
        to->insert(to->end(), bytes, bytes + length);
        return length;
    };
    int error = 0;
    GifFileType* gif = EGifOpen(&file, write, &error);
    std::vector<GifColorType> colours;
    for (const orvex::TRGBEntry& c : source.Palette)
        colours.push_back({c.Red, c.Green, c.Blue});
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, nullptr);
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, map);
    auto* row = const_cast<GifPixelType*>(source.Pixels.data());
    for (int y = 0; y < kHeight; ++y, row += kWidth)
        EGifPutLine(gif, row, kWidth);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return file.size();
}
#endif

// Times one encoder; its file size and pixel rate go into the counters.
void time_encoder(benchmark::State& state, std::size_t (*encode)())
{
    std::size_t size = 0;
    for (auto _ : state)
        size = encode();
    state.counters["file_kB"] = double(size) / 1e3;
    state.counters["Mpixel_per_s"] =
        benchmark::Counter(double(kWidth) * kHeight * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void BM_OrvexGif(benchmark::State& state)
{
    drawing();
    time_encoder(state, orvex_encode);
}
BENCHMARK(BM_OrvexGif)->Unit(benchmark::kMillisecond)->MinTime(2);

#ifdef ORVEX_HAVE_GIFLIB
void BM_Giflib(benchmark::State& state)
{
    reduced();
    time_encoder(state, giflib_encode);
}
BENCHMARK(BM_Giflib)->Unit(benchmark::kMillisecond)->MinTime(2);

// Both in turns, so drift of the machine hits them alike.
double g_ratio = 0;

void BM_OrvexGifAgainstGiflib(benchmark::State& state)
{
    reduced();
    std::vector<double> ours, theirs, ratios;
    for (auto _ : state) {
        theirs.push_back(elapsed_ms([] { benchmark::DoNotOptimize(giflib_encode()); }));
        ours.push_back(elapsed_ms([] { benchmark::DoNotOptimize(orvex_encode()); }));
        ratios.push_back(ours.back() / theirs.back());
    }
    state.counters["ours_ms"] = median(ours);
    state.counters["giflib_ms"] = median(theirs);
    state.counters["ratio"] = g_ratio = median(ratios);
}
BENCHMARK(BM_OrvexGifAgainstGiflib)->Unit(benchmark::kMillisecond)->MinTime(4);
#endif

// Kept out of line so callgrind can count exactly one encoding.
[[gnu::noinline]] std::size_t encode_once(const std::string& which)
{
#ifdef ORVEX_HAVE_GIFLIB
    if (which == "giflib")
        return giflib_encode();
#endif
    return which == "ours" ? orvex_encode() : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strncmp(argv[1], "--once=", 7) == 0) {
        const std::string which = argv[1] + 7;
        drawing();
#ifdef ORVEX_HAVE_GIFLIB
        reduced();
#endif
        std::printf("%s: %zu bytes\n", which.c_str(), encode_once(which));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
#ifdef ORVEX_HAVE_GIFLIB
    if (g_ratio > 0)
        std::printf("\nGIF encoding 1920 x 1080 drawing, ours / giflib, in turns: %.2fx\n", g_ratio);
#endif
    return 0;
}
