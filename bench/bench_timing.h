// Timing helper of the benchmark programs' own comparisons.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

/// The median wall time of `runs` calls of work, in milliseconds.
template <typename F>
double median_ms(F work, int runs = 5)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
