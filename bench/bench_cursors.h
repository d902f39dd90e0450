// Cursor positions for the pick benchmarks: the same sixteen pseudo-random
// pixels of the picture in every run, so runs compare.
#pragma once

#include <QPoint>

#include <random>
#include <vector>

inline std::vector<QPoint> cursor_positions(int width, int height)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> x(0, width - 1), y(0, height - 1);
    std::vector<QPoint> out;
    for (int i = 0; i < 16; ++i)
        out.emplace_back(x(rng), y(rng));
    return out;
}
