// The element factory's coordinate check for readers that compute an
// element's values before the factory sees them: the same rules, so a value
// the factory would reject is never placed (a line's end Z out of range
// becomes 0, like its start Z).
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/OpsView.h>

namespace orvex {

inline bool slots_finite(int Etype, double (&c)[6])
{
    return Ops::check_max_min(Etype, c[0], c[1], c[2], c[3], c[4], c[5]);
}

} // namespace orvex
