// Timing helpers of the benchmark programs' own comparisons.
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

/// Wall time of one call of work, in milliseconds.
template <typename F>
double elapsed_ms(F&& work)
{
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

/// Processor time (user and system) of one call of work, in milliseconds:
/// steadier than wall time on a machine shared with other work.
template <typename F>
double cpu_ms(F&& work)
{
    timespec t0{}, t1{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t0);
    work();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t1);
    return (t1.tv_sec - t0.tv_sec) * 1e3 + (t1.tv_nsec - t0.tv_nsec) / 1e6;
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
