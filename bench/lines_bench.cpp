// Redraw of 20,000 random CAD lines (line_workload.h) against the floors of
// line drawing: a plain Bresenham loop and a plain Wu-style anti-aliased loop
// that write the same lines straight into a picture's pixels, both in this
// process. Prints the median times and the ratios Redraw / floor with
// anti-aliasing off (against Bresenham) and on (against Wu), and how many
// pixels the aliased Redraw and the Bresenham floor light.
//
// For instruction counts, `lines_bench --once=<name>` (redraw-aliased,
// redraw-antialiased, bresenham, wu) draws once and exits; run it under
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*draw_once*'
// or all four with bench/callgrind_lines.sh <build dir>.
#include "bench_timing.h"
#include "line_floors.h"
#include "line_workload.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace orvex;
using bench_lines::kHeight;
using bench_lines::kWidth;
using bench_lines::Line;

namespace {

void bresenham_floor(QImage& image, const std::vector<Line>& lines)
{
    image.fill(0xFF000000u);
    auto* bits = reinterpret_cast<std::uint32_t*>(image.bits());
    const int stride = image.bytesPerLine() / 4;
    for (const Line& l : lines)
        line_floors::bresenham(bits, stride, l.x1, l.y1, l.x2, l.y2, line_floors::opaque_argb(l.colour));
}

void wu_floor(QImage& image, const std::vector<Line>& lines)
{
    image.fill(0xFF000000u);
    auto* bits = reinterpret_cast<std::uint32_t*>(image.bits());
    const int stride = image.bytesPerLine() / 4;
    for (const Line& l : lines)
        line_floors::wu(bits, stride, l.x1, l.y1, l.x2, l.y2, line_floors::opaque_argb(l.colour));
}

// One model unit per pixel, the model origin at the bottom-left corner.
void build_control(TOrvexGDI& control, const std::vector<Line>& lines)
{
    control.resize(kWidth, kHeight);
    TSettings& s = *control.Settings;
    s.ScaleX[1] = 1;
    s.ScaleY[1] = -1;
    s.OriginX[1] = 0;
    s.OriginY[1] = kHeight;
    control.Elements->Reserve(static_cast<int>(lines.size()));
    for (const Line& l : lines)
        control.make_element(etLine, l.x1, kHeight - l.y1, 0, l.x2, kHeight - l.y2, 0, static_cast<TColor>(l.colour), 0,
                             1, 0, 1);
}

struct Workload {
    TOrvexGDI* control;
    const std::vector<Line>* lines;
    QImage* floor;
};

Workload g;

// The measured step of each workload, one call each, for callgrind.
__attribute__((noinline)) void draw_once(const std::string& name)
{
    if (name == "redraw-aliased" || name == "redraw-antialiased")
        g.control->Redraw();
    else if (name == "bresenham")
        bresenham_floor(*g.floor, *g.lines);
    else if (name == "wu")
        wu_floor(*g.floor, *g.lines);
}

void BM_Redraw(benchmark::State& state)
{
    g.control->SetAntiAlias(state.range(0) != 0);
    for (auto _ : state)
        g.control->Redraw();
    state.SetItemsProcessed(state.iterations() * bench_lines::kLines);
}
BENCHMARK(BM_Redraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BresenhamFloor(benchmark::State& state)
{
    for (auto _ : state)
        bresenham_floor(*g.floor, *g.lines);
    state.SetItemsProcessed(state.iterations() * bench_lines::kLines);
}
BENCHMARK(BM_BresenhamFloor)->Unit(benchmark::kMillisecond);

void BM_WuFloor(benchmark::State& state)
{
    for (auto _ : state)
        wu_floor(*g.floor, *g.lines);
    state.SetItemsProcessed(state.iterations() * bench_lines::kLines);
}
BENCHMARK(BM_WuFloor)->Unit(benchmark::kMillisecond);

long lit_pixels(const QImage& image)
{
    long n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* p = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += (p[x] & 0xFFFFFFu) != 0;
    }
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const std::vector<Line> lines = bench_lines::make_lines();
    TOrvexGDI control;
    build_control(control, lines);
    QImage floor(kWidth, kHeight, QImage::Format_RGB32);
    g = {&control, &lines, &floor};

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--once=", 0) == 0) {
            const std::string name = arg.substr(7);
            control.SetAntiAlias(name == "redraw-antialiased");
            draw_once(name);
            return 0;
        }
    }

    control.SetAntiAlias(false);
    control.Redraw();
    bresenham_floor(floor, lines);
    std::printf("lit pixels: aliased Redraw %ld, Bresenham floor %ld\n", lit_pixels(*control.GetBitmap()),
                lit_pixels(floor));
    const double bresenham = median_ms([&] { bresenham_floor(floor, lines); }, 9);
    const double wu = median_ms([&] { wu_floor(floor, lines); }, 9);
    for (bool antialias : {false, true}) {
        control.SetAntiAlias(antialias);
        control.Redraw(); // warm up
        const double redraw = median_ms([&] { control.Redraw(); }, 9);
        const double base = antialias ? wu : bresenham;
        std::printf("%d lines, anti-aliasing %-3s: Redraw %.2f ms, %s floor %.2f ms, ratio %.2f\n", bench_lines::kLines,
                    antialias ? "on" : "off", redraw, antialias ? "Wu" : "Bresenham", base, redraw / base);
    }
    std::fflush(stdout);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
