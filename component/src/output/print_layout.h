// The page arithmetic of printing: printer resolution, pen width and the
// rectangle a printed picture is stretched into. Plain values, for tests.
#pragma once

#include "view/view_math.h"

#include <cmath>

namespace orvex::output {

/// Dots per inch of a printable width of PageWidth pixels and PageWidthMm
/// millimetres; 0 when the printer reports no physical width.
inline int printer_dpi(int PageWidth, int PageWidthMm)
{
    return PageWidthMm > 0 ? view::nearest(PageWidth / (PageWidthMm / 25.4)) : 0;
}

/// The printer pen of a vector print: 0.005 inch at that resolution.
inline int print_pen_width(int Dpi) { return view::nearest(Dpi * 0.005); }

/// Height of the rectangle (0, 0, Side, height) that a Width x Height picture
/// is stretched into: Side x Height / Width, truncated.
inline int stretched_height(int Side, int Width, int Height)
{
    return Width > 0 ? static_cast<int>(std::trunc(static_cast<double>(Side) * Height / Width)) : 0;
}

} // namespace orvex::output
