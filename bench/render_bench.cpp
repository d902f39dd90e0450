// Redraw of a 1,000,000-element drawing against a plain QPainter loop that
// draws the same primitives with the same pens, both in this process.
//
// Prints the median time of each, their ratio, the same with anti-aliasing,
// the redraw on 2, 4 and 8 band threads against one, a live pan frame against
// a full redraw, and the resident memory per element. Google Benchmark then times both again.
//
// For instruction counts, `render_bench --once=redraw` (or
// `--once=redraw-antialiased`) redraws once and exits, `--once=plain` (or
// `--once=plain-antialiased`) runs the plain loop once, `--once=part`,
// `--once=pick` (and `-every` without the element index) redraw or pick in a
// view of 1 % of the drawing, `--once=zoomall` zooms to all on the fresh
// drawing, `--once=zoomed-redraw` redraws the view that gives and
// `--once=livepan` draws one 20-pixel frame of a live pan drag; run it under
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*_once*'
#include "bench_cursors.h"
#include "bench_timing.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace orvex;

namespace {
constexpr int kElements = 1'000'000;
constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kHiddenLayer = 7;

long resident_bytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

// About 70 % lines, 15 % arcs, 10 % points, 5 % circles; colours change in
// runs of 500 elements; layers 1..8, one of them hidden.
void build_drawing(TOrvexGDI& control)
{
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> x(0, 1900), y(0, 1060), len(-40, 40), radius(2, 60), angle(0, 360);
    std::uniform_int_distribution<int> kind(0, 99);
    const TColor palette[] = {0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xC0C0C0};
    control.Elements->Reserve(kElements);
    for (int i = 0; i < kElements; ++i) {
        const TColor colour = palette[(i / 500) % 6];
        const int layer = 1 + (i / 137) % 8;
        const int k = kind(rng);
        const double cx = x(rng), cy = y(rng);
        if (k < 70)
            control.make_element(etLine, cx, cy, 0, cx + len(rng), cy + len(rng), 0, colour, 0, layer, 0, 1);
        else if (k < 85)
            control.make_element(etArc, cx, cy, 0, radius(rng), angle(rng), angle(rng), colour, 0, layer, 0, 1);
        else if (k < 95)
            control.make_element(etPoint, cx, cy, 0, 0, 0, 0, colour, 0, layer, 0, 1);
        else
            control.make_element(etCircle, cx, cy, 0, radius(rng), 0, 0, colour, 0, layer, 0, 1);
    }
}

// A tenth of the picture's width and height about the drawing's middle: a
// view of 1 % of the drawing.
void set_part_view(TOrvexGDI& control)
{
    TSettings& s = *control.Settings;
    s.ScaleX[1] = 10;
    s.ScaleY[1] = -10;
    s.OriginX[1] = kWidth / 2 - 950 * 10;
    s.OriginY[1] = kHeight / 2 + 530 * 10;
}

// Sixteen pick positions spread over the picture, with the near-end step's point mode.
std::vector<QPoint> pick_positions(TOrvexGDI& control)
{
    control.Pick(false);
    return cursor_positions(kWidth, kHeight);
}

__attribute__((noinline)) int pick_once(TOrvexGDI& control, const std::vector<QPoint>& at)
{
    int found = 0;
    for (const QPoint& p : at) {
        int index = -1;
        dpoint nearEnd, farEnd, mid, closest;
        found += control.pick2(0, p.x(), p.y(), index, nearEnd, farEnd, mid, closest);
    }
    return found;
}

// One model unit per pixel, origin at the bottom-left corner.
void set_view(TOrvexGDI& control)
{
    TSettings& s = *control.Settings;
    s.ScaleX[1] = 1;
    s.ScaleY[1] = -1;
    s.OriginX[1] = 0;
    s.OriginY[1] = kHeight;
    control.SetVisibleLayer(kHiddenLayer, false);
}

// The same figures as device-space primitives, made once before timing, so
// the baseline loop costs only the painting and the pen changes.
struct Primitive {
    int kind; // 0 line, 1 arc, 2 point, 3 circle
    QRgb colour;
    QRect box; // circle or arc bounds; line end points in x, y, right, bottom
    int a = 0, span = 0;
};

std::vector<Primitive> resolve(const TOrvexGDI& control)
{
    std::vector<Primitive> out;
    out.reserve(kElements);
    auto px = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    for (const TElement* e : *control.Elements) {
        if (e->GetLayer() == kHiddenLayer)
            continue;
        const QRgb c = opaque_color(e->GetColor()).rgba();
        const double x = e->slot(0), y = kHeight - e->slot(1);
        switch (e->GetEtype()) {
        case etLine:
            out.push_back({0, c, QRect(QPoint(px(x), px(y)), QPoint(px(e->slot(3)), px(kHeight - e->slot(4))))});
            break;
        case etArc: {
            const double r = e->slot(3);
            const double start = Ops::fix_angle(e->slot(4));
            const double end = Ops::fix_angle(e->slot(5) == 0 ? 360 : e->slot(5));
            const double sweep = Ops::get_arc_angle(start, end, 3);
            out.push_back({1, c, QRect(px(x - r), px(y - r), px(2 * r), px(2 * r)),
                           static_cast<int>(std::lround((end - 360) * 16)),
                           static_cast<int>(std::lround(-sweep * 16))});
            break;
        }
        case etPoint:
            out.push_back({2, c, QRect(px(x), px(y), 0, 0)});
            break;
        case etCircle: {
            const int r = px(e->slot(3));
            out.push_back({3, c, QRect(px(x) - r, px(y) - r, 2 * r, 2 * r)});
            break;
        }
        default:
            break;
        }
    }
    return out;
}

void plain_loop(QImage& image, const std::vector<Primitive>& primitives, bool antialias)
{
    QPainter p(&image);
    p.fillRect(image.rect(), Qt::black);
    p.setRenderHint(QPainter::Antialiasing, antialias);
    QRgb current = 0;
    for (const Primitive& f : primitives) {
        if (f.colour != current) {
            current = f.colour;
            p.setPen(QPen(QColor::fromRgba(current), 1.0));
        }
        switch (f.kind) {
        case 0:
            p.drawLine(f.box.topLeft(), f.box.bottomRight()); // the two end points as given
            break;
        case 1:
            p.drawArc(QRectF(f.box), f.a, f.span);
            break;
        case 2:
            p.drawLine(f.box.x() + 5, f.box.y(), f.box.x() - 5, f.box.y());
            p.drawLine(f.box.x(), f.box.y() - 5, f.box.x(), f.box.y() + 5);
            break;
        case 3:
            p.drawEllipse(QRectF(f.box));
            break;
        }
    }
}

TOrvexGDI* g_control = nullptr;

// One full redraw and one pass of the plain loop, the steps callgrind measures.
__attribute__((noinline)) void redraw_once(TOrvexGDI& control) { control.Redraw(); }

__attribute__((noinline)) void zoom_all_once(TOrvexGDI& control) { control.ZoomAll(); }

// The control's pan drag, as the mouse drives it: the middle button held.
void send_mouse(TOrvexGDI& control, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&control, &event);
}

// One frame of a live pan drag: the middle button moved `by` pixels from `at`.
__attribute__((noinline)) void live_pan_once(TOrvexGDI& control, QPoint at, QPoint by)
{
    send_mouse(control, QEvent::MouseMove, at + by, Qt::NoButton, Qt::MiddleButton);
}

// The median wall times of redraws with each of two RenderThreads values,
// alternated so that both see the same load on a shared machine.
std::pair<double, double> thread_timings(TOrvexGDI& control, int first, int second, int runs = 9)
{
    std::vector<double> a, b;
    for (int r = 0; r < runs; ++r) {
        control.SetRenderThreads(first);
        a.push_back(elapsed_ms([&] { control.Redraw(); }));
        control.SetRenderThreads(second);
        b.push_back(elapsed_ms([&] { control.Redraw(); }));
    }
    control.SetRenderThreads(1);
    return {median(a), median(b)};
}

__attribute__((noinline)) void plain_once(QImage& image, const std::vector<Primitive>& primitives, bool antialias)
{
    plain_loop(image, primitives, antialias);
}
std::vector<Primitive>* g_primitives = nullptr;

void BM_Redraw(benchmark::State& state)
{
    g_control->SetAntiAlias(state.range(0) != 0);
    for (auto _ : state)
        g_control->Redraw();
    state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_Redraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainQPainterLoop(benchmark::State& state)
{
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        plain_loop(image, *g_primitives, state.range(0) != 0);
    state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_PlainQPainterLoop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TOrvexGDI control;
    control.resize(kWidth, kHeight);
    set_view(control);
    const long before = resident_bytes();
    build_drawing(control);
    const long after = resident_bytes();
    std::vector<Primitive> primitives = resolve(control);
    g_control = &control;
    g_primitives = &primitives;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--once=", 0) == 0) {
            const bool antialias = arg.find("antialiased") != std::string::npos;
            control.SetAntiAlias(antialias);
            // A view of 1 % of the drawing or picks on it, with the element
            // index (`part`, `pick`) or over every element (`-every`); the
            // index is built before the measured step.
            const bool every = arg.find("-every") != std::string::npos;
            control.Settings->UseElementIndex = !every;
            if (arg == "--once=zoomall") {
                zoom_all_once(control);
            } else if (arg == "--once=zoomed-redraw") { // the redraw of the view ZoomAll shows
                control.ZoomAll();
                redraw_once(control);
            } else if (arg.rfind("--once=part", 0) == 0 || arg.rfind("--once=pick", 0) == 0) {
                set_part_view(control);
                control.Redraw();
                if (arg.rfind("--once=part", 0) == 0)
                    redraw_once(control);
                else
                    benchmark::DoNotOptimize(pick_once(control, pick_positions(control)));
            } else if (arg.rfind("--once=livepan", 0) == 0) { // a 20-pixel frame of a live pan drag
                control.SetLivePan(true);
                control.Redraw();
                const QPoint at(kWidth / 2, kHeight / 2);
                send_mouse(control, QEvent::MouseButtonPress, at, Qt::MiddleButton, Qt::MiddleButton);
                // The first frame of a drawing builds its element index.
                send_mouse(control, QEvent::MouseMove, at + QPoint(20, 0), Qt::NoButton, Qt::MiddleButton);
                live_pan_once(control, at + QPoint(20, 0), QPoint(20, 0));
            } else if (arg.rfind("--once=plain", 0) == 0) {
                const std::vector<Primitive> primitives = resolve(control);
                QImage picture(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
                plain_once(picture, primitives, antialias);
            } else {
                redraw_once(control);
            }
            return 0;
        }
    }

    std::printf("memory per element: %.1f bytes (resident growth %.1f MB for %d elements)\n",
                double(after - before) / kElements, (after - before) / 1e6, kElements);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (bool antialias : {false, true}) {
        control.SetAntiAlias(antialias);
        control.Redraw(); // warm up
        const double redraw = median_ms([&] { control.Redraw(); });
        const double plain = median_ms([&] { plain_loop(image, primitives, antialias); });
        std::printf("anti-aliasing %-3s: Redraw %.1f ms, plain QPainter loop %.1f ms, ratio %.2f\n",
                    antialias ? "on" : "off", redraw, plain, redraw / plain);
    }

    // The redraw on several threads, each drawing a band of the picture,
    // against the single pass, in the same run.
    std::printf("cores: %u\n", std::thread::hardware_concurrency());
    // Processor time beside wall time: on a machine shared with other work,
    // the bands' processor time shows the work split rather than repeated.
    for (bool antialias : {false, true}) {
        control.SetAntiAlias(antialias);
        std::vector<double> wall[2], cpu[2];
        for (int r = 0; r < 5; ++r)
            for (const int threads : {1, 2}) {
                control.SetRenderThreads(threads);
                double w = 0;
                cpu[threads - 1].push_back(cpu_ms([&] { w = elapsed_ms([&] { control.Redraw(); }); }));
                wall[threads - 1].push_back(w);
            }
        control.SetRenderThreads(1);
        std::printf("anti-aliasing %-3s: 1 thread wall %.1f ms, processor %.1f ms; 2 threads wall %.1f ms, processor "
                    "%.1f ms\n",
                    antialias ? "on" : "off", median(wall[0]), median(cpu[0]), median(wall[1]), median(cpu[1]));
    }
    for (bool antialias : {false, true}) {
        control.SetAntiAlias(antialias);
        for (const int threads : {2, 4, 8}) {
            const auto [one, many] = thread_timings(control, 1, threads);
            std::printf("anti-aliasing %-3s: Redraw %.1f ms on 1 thread, %.1f ms on %d threads: %.2fx\n",
                        antialias ? "on" : "off", one, many, threads, one / many);
        }
    }
    std::fflush(stdout);

    // A live pan frame of 20 pixels against a full redraw of the same view.
    {
        control.SetAntiAlias(false);
        control.SetLivePan(true);
        control.Redraw();
        const double redraw = median_ms([&] { control.Redraw(); }, 9);
        const QPoint at(kWidth / 2, kHeight / 2);
        send_mouse(control, QEvent::MouseButtonPress, at, Qt::MiddleButton, Qt::MiddleButton);
        // The first frame of a drawing builds its element index.
        const double first = elapsed_ms([&] { live_pan_once(control, at, QPoint(20, 0)); });
        std::vector<double> frames;
        QPoint now = at + QPoint(20, 0);
        for (int i = 0; i < 40; ++i) { // back and forth, so the drawing stays in view
            const QPoint by((i / 4) % 2 ? -20 : 20, (i / 8) % 2 ? -20 : 0);
            frames.push_back(elapsed_ms([&] { live_pan_once(control, now, by); }));
            now += by;
        }
        send_mouse(control, QEvent::MouseButtonRelease, now, Qt::MiddleButton, Qt::NoButton);
        control.SetLivePan(false);
        const double frame = median(frames);
        std::printf("live pan: frame of 20 pixels %.2f ms, full redraw %.1f ms, ratio %.3f (first frame, building "
                    "the element index: %.1f ms)\n",
                    frame, redraw, frame / redraw, first);
        std::fflush(stdout);
    }

    // Parts of the drawing, in one view of it and in a view of 1 % of it:
    // redraws and picks with the element index against passes over every
    // element, and the zoom to all against one full redraw.
    control.SetAntiAlias(false);
    TSettings& s = *control.Settings;
    const std::vector<QPoint> at = pick_positions(control);
    double full = 0;
    for (const bool part : {false, true}) {
        if (part)
            set_part_view(control);
        else
            set_view(control);
        double redraw[2] = {0, 0}, pick[2] = {0, 0};
        for (const bool indexed : {true, false}) {
            s.UseElementIndex = indexed;
            control.Redraw(); // builds the index
            redraw[indexed] = median_ms([&] { control.Redraw(); });
            pick[indexed] = median_ms([&] { benchmark::DoNotOptimize(pick_once(control, at)); }) / at.size();
        }
        std::printf("%s: Redraw %.2f ms with the index, %.2f ms over every element; pick %.3f ms with the index, "
                    "%.3f ms over every element (ratio %.3f)\n",
                    part ? "view of 1 %" : "whole drawing", redraw[1], redraw[0], pick[1], pick[0], pick[1] / pick[0]);
        if (!part)
            full = redraw[1];
        else
            std::printf("  Redraw of the view of 1 %% / full redraw: %.3f\n", redraw[1] / full);
    }
    s.UseElementIndex = true;
    control.ZoomAll();
    const double fitted = median_ms([&] { control.Redraw(); });
    const double zoomAll = median_ms([&] { control.ZoomAll(); });
    std::printf("ZoomAll %.2f ms, Redraw of the fitted view %.2f ms, ratio %.2f\n", zoomAll, fitted, zoomAll / fitted);
    std::fflush(stdout);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
