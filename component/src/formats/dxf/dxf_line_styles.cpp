#include "formats/dxf/dxf_line_styles.h"

#include <algorithm>
#include <cmath>

namespace orvex::formats::dxf::full {

namespace {

// Marks no longer than this part of the repeat read as dots when all are.
constexpr double kDotOfRepeat = 0.25;
// Beside a long dash, marks no longer than this part of it read as dots.
constexpr double kDotOfDash = 0.5;
// A repeat below this part of the drawing's size shows at no zoom.
constexpr double kFinestRepeat = 1e-5;

} // namespace

DashPattern dash_pattern(const std::vector<double>& dashes)
{
    DashPattern p;
    double longest = 0;
    bool gap = false;
    for (const double d : dashes) {
        if (!std::isfinite(d))
            return p; // unreadable: solid
        p.period += std::fabs(d);
        gap = gap || d < 0;
        longest = std::max(longest, d);
    }
    if (!gap || !(p.period > 0))
        return p; // continuous
    p.firstDash = std::max(dashes.front(), 0.0);
    if (longest <= kDotOfRepeat * p.period) {
        p.code = kDot;
        return p;
    }
    int longs = 0, shorts = 0;
    for (const double d : dashes)
        if (d >= 0)
            ++(d <= kDotOfDash * longest ? shorts : longs);
    p.code = shorts >= 2 * longs ? kDashDotDot : kDashDot;
    return p;
}

int dash_code(const DashPattern& pattern, double scale, double drawingSize)
{
    if (pattern.code == kSolid)
        return kSolid;
    const double repeat = pattern.period * scale;
    if (!std::isfinite(repeat) || !(repeat > 0))
        return kSolid;
    if (drawingSize > 0 && (repeat < kFinestRepeat * drawingSize || pattern.firstDash * scale >= drawingSize))
        return kSolid;
    return pattern.code;
}

} // namespace orvex::formats::dxf::full
