// A pick on a 1,000,000-element drawing against plain loops over the same
// elements in this process, and the cost of one pan-drag preview frame on
// that drawing against the same frame on a drawing of 200 elements.
//
// Prints the medians and their ratios first; Google Benchmark then times the
// same work again.
#include "bench_cursors.h"
#include "bench_timing.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

using namespace orvex;

namespace {
constexpr int kElements = 1'000'000;
constexpr int kPreviewElements = 200;
constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kHiddenLayer = 7;

// About 70 % lines, 15 % arcs, 10 % points, 5 % circles on layers 1..8, one
// of them hidden; the first `count` elements of one fixed sequence.
void build_drawing(TOrvexGDI& control, int count)
{
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> x(0, 1900), y(0, 1060), len(-40, 40), radius(2, 60), angle(0, 360);
    std::uniform_int_distribution<int> kind(0, 99);
    control.Elements->Reserve(count);
    for (int i = 0; i < count; ++i) {
        const int layer = 1 + (i / 137) % 8;
        const int k = kind(rng);
        const double cx = x(rng), cy = y(rng);
        if (k < 70)
            control.make_element(etLine, cx, cy, 0, cx + len(rng), cy + len(rng), 0, 0x00FF00, 0, layer, 0, 1);
        else if (k < 85)
            control.make_element(etArc, cx, cy, 0, radius(rng), angle(rng), angle(rng), 0x00FFFF, 0, layer, 0, 1);
        else if (k < 95)
            control.make_element(etPoint, cx, cy, 0, 0, 0, 0, 0xFFFF00, 0, layer, 0, 1);
        else
            control.make_element(etCircle, cx, cy, 0, radius(rng), 0, 0, 0xC0C0C0, 0, layer, 0, 1);
    }
}

// One model unit per pixel, origin at the bottom-left corner.
void set_view(TOrvexGDI& control)
{
    TSettings& s = *control.Settings;
    s.HalfSize[1] = kHeight / 2.0;
    s.CenterX[1] = kWidth / 2.0;
    s.CenterY[1] = kHeight / 2.0;
    control.set_scale(-1);
    control.SetVisibleLayer(kHiddenLayer, false);
    control.Pick(false); // the near-end step's point mode
}

// The plainest loop over the same elements: the distance from the cursor to
// each point, line segment and arc circle, keeping the nearest.
int plain_nearest(const TElements& elements, double px, double py)
{
    double best = std::numeric_limits<double>::infinity();
    int bestIndex = -1, i = 0;
    for (const TElement* e : elements) {
        double d = std::numeric_limits<double>::infinity();
        switch (e->GetEtype()) {
        case etPoint:
            d = std::sqrt((px - e->slot(0)) * (px - e->slot(0)) + (py - e->slot(1)) * (py - e->slot(1)));
            break;
        case etLine: {
            const double ax = e->slot(0), ay = e->slot(1), dx = e->slot(3) - ax, dy = e->slot(4) - ay;
            const double length2 = dx * dx + dy * dy;
            const double t = length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0) : 0;
            const double fx = ax + t * dx - px, fy = ay + t * dy - py;
            d = std::sqrt(fx * fx + fy * fy);
            break;
        }
        case etArc: {
            const double cx = e->slot(0) - px, cy = e->slot(1) - py;
            d = std::fabs(std::sqrt(cx * cx + cy * cy) - e->slot(3));
            break;
        }
        default:
            break;
        }
        if (d < best) {
            best = d;
            bestIndex = i;
        }
        ++i;
    }
    return bestIndex;
}

// The candidate search's own distance for every element, through the
// control's closest-point function, without any hit test.
int closest_point_nearest(const TElements& elements, const dpoint& p)
{
    double best = std::numeric_limits<double>::infinity();
    int bestIndex = -1, i = 0;
    for (const TElement* e : elements) {
        dpoint q = p;
        Ops::get_closest_point(*e, p, q);
        const double d = Ops::distance_2_points(q, p);
        if (d < best) {
            best = d;
            bestIndex = i;
        }
        ++i;
    }
    return bestIndex;
}

int pick_once(TOrvexGDI& control, QPoint at)
{
    int index = -1;
    dpoint nearEnd, farEnd, mid, closest;
    if (!control.pick2(0, at.x(), at.y(), index, nearEnd, farEnd, mid, closest))
        return -1;
    return index;
}

// One move of a middle-button pan drag, one pixel to and fro.
void pan_move(TOrvexGDI& control, int step)
{
    const QPoint p(kWidth / 2 + (step & 1), kHeight / 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(p), Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&control, &move);
}

void press_middle(TOrvexGDI& control)
{
    const QPoint p(kWidth / 2, kHeight / 2);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), QPointF(p), Qt::MiddleButton, Qt::MiddleButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&control, &press);
}

TOrvexGDI* g_large = nullptr;
TOrvexGDI* g_small = nullptr;
std::vector<QPoint>* g_cursors = nullptr;

void BM_Pick(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(pick_once(*g_large, (*g_cursors)[i++ % g_cursors->size()]));
    state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_Pick)->Unit(benchmark::kMillisecond);

void BM_PlainNearestLoop(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const QPoint at = (*g_cursors)[i++ % g_cursors->size()];
        const TDPoint p = g_large->PixelToCoord(at.x(), at.y());
        benchmark::DoNotOptimize(plain_nearest(*g_large->Elements, p.X, p.Y));
    }
    state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_PlainNearestLoop)->Unit(benchmark::kMillisecond);

void BM_PanPreviewFrame(benchmark::State& state)
{
    TOrvexGDI& control = state.range(0) == 0 ? *g_large : *g_small;
    press_middle(control);
    int step = 0;
    for (auto _ : state)
        pan_move(control, step++);
    state.SetLabel(state.range(0) == 0 ? "1,000,000 elements" : "200 elements");
}
BENCHMARK(BM_PanPreviewFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TOrvexGDI large, small;
    for (TOrvexGDI* control : {&large, &small}) {
        control->resize(kWidth, kHeight);
        set_view(*control);
    }
    build_drawing(large, kElements);
    build_drawing(small, kPreviewElements);
    std::vector<QPoint> cursors = cursor_positions(kWidth, kHeight);
    g_large = &large;
    g_small = &small;
    g_cursors = &cursors;

    // A pick against the plain loops, over the same cursor positions.
    const auto picks = [&] {
        for (const QPoint& at : cursors)
            benchmark::DoNotOptimize(pick_once(large, at));
    };
    const auto plain = [&] {
        for (const QPoint& at : cursors) {
            const TDPoint p = large.PixelToCoord(at.x(), at.y());
            benchmark::DoNotOptimize(plain_nearest(*large.Elements, p.X, p.Y));
        }
    };
    const auto closest = [&] {
        for (const QPoint& at : cursors) {
            const TDPoint p = large.PixelToCoord(at.x(), at.y());
            benchmark::DoNotOptimize(closest_point_nearest(*large.Elements, {p.X, p.Y, p.Z}));
        }
    };
    picks(), plain(), closest(); // warm up
    const double n = static_cast<double>(cursors.size());
    const double pickMs = median_ms(picks, 7) / n;
    const double plainMs = median_ms(plain, 7) / n;
    const double closestMs = median_ms(closest, 7) / n;
    std::printf("pick on %d elements: %.2f ms; plain distance loop %.2f ms (ratio %.2f); "
                "closest-point loop %.2f ms (ratio %.2f)\n",
                kElements, pickMs, plainMs, pickMs / plainMs, closestMs, pickMs / closestMs);

    // One pan-drag preview frame on each drawing, and a full redraw for scale.
    constexpr int kFrames = 50;
    press_middle(large);
    press_middle(small);
    int step = 0;
    const double largeFrame = median_ms([&] {
                                  for (int i = 0; i < kFrames; ++i)
                                      pan_move(large, step++);
                              }) /
                              kFrames;
    const double smallFrame = median_ms([&] {
                                  for (int i = 0; i < kFrames; ++i)
                                      pan_move(small, step++);
                              }) /
                              kFrames;
    const double redraw = median_ms([&] { large.Redraw(); }, 3);
    std::printf("pan preview frame: %.3f ms on %d elements, %.3f ms on %d elements (ratio %.2f); "
                "full redraw %.1f ms\n",
                largeFrame, kElements, smallFrame, kPreviewElements, largeFrame / smallFrame, redraw);
    std::fflush(stdout);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
