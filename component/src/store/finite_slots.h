// The values a point, line or arc element may hold: finite coordinates
// within the factory's +-1e9 (a line's end Z out of range becomes 0, like
// its start Z), finite angles. Readers that compute an element's values
// before the factory sees them check them here.
#pragma once

#include <OrvexGDI/Elements.h>

#include <cmath>

namespace orvex {

inline bool slots_finite(int Etype, double (&c)[6])
{
    auto in_range = [](double v) { return v >= -1e9 && v <= 1e9; };
    switch (Etype) {
    case etPoint:
        return in_range(c[0]) && in_range(c[1]);
    case etLine:
        if (!in_range(c[4]))
            return false;
        if (!in_range(c[5]))
            c[5] = 0;
        return in_range(c[0]) && in_range(c[1]) && in_range(c[3]);
    case etArc:
    case etCircle:
        return in_range(c[0]) && in_range(c[1]) && in_range(c[3]) && std::isfinite(c[4]) && std::isfinite(c[5]);
    default:
        return true;
    }
}

} // namespace orvex
