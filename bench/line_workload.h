// The line-drawing workload of the rendering benchmarks: 20,000 random CAD
// lines in a 1920 x 1080 picture, 95 % short (5 to 200 pixels) and 5 % long,
// in 16 runs of one colour each. End points are whole pixels inside the
// picture, so the drawing and the floor loops light the same pixels.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace bench_lines {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kLines = 20'000;
constexpr int kColourRuns = 16;

struct Line {
    int x1, y1, x2, y2;   // pixels, y down
    std::uint32_t colour; // framework colour, red in the low byte
};

inline std::vector<Line> make_lines(unsigned seed = 16)
{
    static const std::uint32_t palette[kColourRuns] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00,
                                                       0xFFFFFF, 0x808080, 0x0080FF, 0x80FF00, 0xFF0080, 0x008000,
                                                       0x800000, 0x000080, 0xC0C0C0, 0x4080C0};
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), percent(0, 99);
    std::uniform_real_distribution<double> shortLength(5, 200), turn(0, 2 * M_PI);
    std::vector<Line> lines;
    lines.reserve(kLines);
    while (static_cast<int>(lines.size()) < kLines) {
        const std::uint32_t colour = palette[lines.size() * kColourRuns / kLines];
        Line l{x(rng), y(rng), 0, 0, colour};
        if (percent(rng) < 95) {
            const double length = shortLength(rng), a = turn(rng);
            l.x2 = static_cast<int>(std::lround(l.x1 + length * std::cos(a)));
            l.y2 = static_cast<int>(std::lround(l.y1 + length * std::sin(a)));
            if (l.x2 < 0 || l.x2 >= kWidth || l.y2 < 0 || l.y2 >= kHeight)
                continue;
        } else {
            l.x2 = x(rng);
            l.y2 = y(rng);
            if (std::hypot(l.x2 - l.x1, l.y2 - l.y1) < 400)
                continue;
        }
        lines.push_back(l);
    }
    return lines;
}

} // namespace bench_lines
