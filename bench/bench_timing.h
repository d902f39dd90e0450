// Timing helpers of the benchmark programs' own comparisons.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

/// Wall time of one call of work, in milliseconds.
template <typename F>
double elapsed_ms(F&& work)
{
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

/// The middle value (the upper one of an even count).
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

/// The median wall time of `runs` calls of work, in milliseconds.
template <typename F>
double median_ms(F work, int runs = 5)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(elapsed_ms(work));
    return median(times);
}
