// Picture exports of a 1920 x 1080 CAD picture: BMP throughput, and JPEG
// against libjpeg alone compressing the same pixels with the same settings
// (quality 90, baseline, 4:4:4), both in this process, in turns.
#include "bench_timing.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

using namespace orvex;

namespace {
constexpr int kWidth = 1920, kHeight = 1080;

// 20,000 lines, mostly short, in 16 colour runs on black, one unit a pixel.
void build_picture(TOrvexGDI& control)
{
    control.resize(kWidth, kHeight);
    TSettings& s = *control.Settings;
    s.ScaleX[1] = 1, s.ScaleY[1] = -1, s.OriginX[1] = 0, s.OriginY[1] = kHeight;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight), shortLen(-100, 100);
    const TColor palette[] = {0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xC0C0C0, 0x0080FF, 0xFFFFFF};
    for (int i = 0; i < 20000; ++i) {
        const TColor colour = palette[(i / 1250) % 8];
        const double cx = x(rng), cy = y(rng);
        if (i % 20 == 0)
            control.make_element(etLine, cx, cy, 0, x(rng), y(rng), 0, colour, 0, 1, 0, 1);
        else
            control.make_element(etLine, cx, cy, 0, cx + shortLen(rng), cy + shortLen(rng), 0, colour, 0, 1, 0, 1);
    }
    control.Redraw();
}

TOrvexGDI* control = nullptr;
QString folder;

// libjpeg alone: the picture's words (B, G, R, X bytes) straight into a file
// written with stdio, as a plain libjpeg program would.
std::size_t libjpeg_alone(const QImage& picture, const QString& name)
{
    FILE* file = std::fopen(name.toLocal8Bit().constData(), "wb");
    if (file == nullptr)
        return 0;
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, file);
    c.image_width = picture.width();
    c.image_height = picture.height();
    c.input_components = 4;
    c.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    for (int i = 0; i < c.num_components; ++i)
        c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.constScanLine(static_cast<int>(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    const long size = std::ftell(file);
    std::fclose(file);
    return static_cast<std::size_t>(size);
}

void BM_SaveBMP(benchmark::State& state)
{
    const QString file = folder + "/picture.bmp";
    for (auto _ : state)
        control->SaveBMP(file);
    state.SetBytesProcessed(state.iterations() * QFile(file).size());
}
BENCHMARK(BM_SaveBMP)->Unit(benchmark::kMillisecond);

void BM_SaveJPEG(benchmark::State& state)
{
    const QString file = folder + "/picture.jpg";
    for (auto _ : state)
        control->SaveJPEG(file);
}
BENCHMARK(BM_SaveJPEG)->Unit(benchmark::kMillisecond);

void BM_LibjpegAlone(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(libjpeg_alone(*control->GetBitmap(), folder + "/alone.jpg"));
}
BENCHMARK(BM_LibjpegAlone)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TOrvexGDI drawing;
    build_picture(drawing);
    control = &drawing;
    // Files go to memory where the machine has it, so the disk is not timed.
    folder = QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();

    // JPEG and libjpeg alone in turns, so a change of machine speed meets both;
    // processor time (the file writes' system time included), not wall time.
    std::vector<double> ratios, bmpRates;
    const QString jpg = folder + "/turns.jpg", bmp = folder + "/turns.bmp";
    for (int i = 0; i < 15; ++i) {
        const double ours = cpu_ms([&] { drawing.SaveJPEG(jpg); });
        const double alone = cpu_ms([&] { libjpeg_alone(*drawing.GetBitmap(), folder + "/alone.jpg"); });
        ratios.push_back(ours / alone);
        const double bmpMs = cpu_ms([&] { drawing.SaveBMP(bmp); });
        bmpRates.push_back(QFile(bmp).size() / 1e6 / (bmpMs / 1000));
    }
    std::printf("SaveJPEG / libjpeg alone (processor time, median of 15 turns): %.3f\n", median(ratios));
    std::printf("SaveBMP: %.0f MB/s of file per processor second (median of 15)\n", median(bmpRates));
    QFile::remove(jpg);
    QFile::remove(bmp);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    QFile::remove(folder + "/picture.bmp");
    QFile::remove(folder + "/picture.jpg");
    QFile::remove(folder + "/alone.jpg");
    return 0;
}
