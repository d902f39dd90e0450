// Host input that must be a number: the editing and view calls refuse NaN
// and infinities before they change anything, since one such value would
// spread through every element or the whole zoom state.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

#include <cmath>
#include <initializer_list>
#include <string>

namespace orvex {

/// ERangeError naming Operation when any of Values is NaN or infinite.
inline void require_finite(const char* Operation, std::initializer_list<double> Values)
{
    for (double v : Values)
        if (!std::isfinite(v))
            throw ERangeError(std::string(Operation) + ": " + std::to_string(v) + " is not a finite number");
}

} // namespace orvex
