#include "formats/common/curve_math.h"

#include <algorithm>
#include <cmath>

namespace orvex::formats {

Vec3 nurbs_point(int p, const std::vector<double>& U, const std::vector<Vec3>& P, const std::vector<double>& w,
                 double u)
{
    if (p > 32)
        p = 32;
    const int n = static_cast<int>(P.size());
    // The span: the last knot from U[p] to U[n - 1] that u has reached,
    // found by halving so that a curve of many points is not walked from
    // its start for every point (knots out of order still give a span).
    int k = p, above = std::max(p + 1, n);
    while (above - k > 1) {
        const int mid = k + (above - k) / 2;
        if (u >= U[static_cast<std::size_t>(mid)])
            k = mid;
        else
            above = mid;
    }
    std::array<double, 4> local[33];
    for (int j = 0; j <= p; ++j) {
        const auto i = static_cast<std::size_t>(k - p + j);
        const double wi = w.size() == P.size() ? w[i] : 1.0;
        local[j] = {P[i][0] * wi, P[i][1] * wi, P[i][2] * wi, wi};
    }
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            const int i = k - p + j;
            const double lo = U[static_cast<std::size_t>(i)], hi = U[static_cast<std::size_t>(i + p - r + 1)];
            const double a = hi > lo ? (u - lo) / (hi - lo) : 0.0;
            for (std::size_t c = 0; c < 4; ++c)
                local[j][c] = (1 - a) * local[j - 1][c] + a * local[j][c];
        }
    const auto& r = local[p];
    const double wr = r[3] != 0 ? r[3] : 1.0;
    return {r[0] / wr, r[1] / wr, r[2] / wr};
}

double sweep_end(double start, double end, double turn)
{
    return end > start ? end : start + (turn - std::fmod(start - end, turn));
}

} // namespace orvex::formats
