#include "render/raster_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace orvex {

namespace {

using Fixed = std::int64_t; // 16.16 fixed point

constexpr double kDegreesPerRadian = 57.29577951308232;

// Each 8-bit channel of x times a / 255, rounded, the way the raster engine
// weights a colour by a coverage.
inline std::uint32_t byte_mul(std::uint32_t x, std::uint32_t a)
{
    std::uint32_t t = (x & 0xFF00FFu) * a;
    t = ((t + ((t >> 8) & 0xFF00FFu) + 0x800080u) >> 8) & 0xFF00FFu;
    x = ((x >> 8) & 0xFF00FFu) * a;
    x = (x + ((x >> 8) & 0xFF00FFu) + 0x800080u) & 0xFF00FF00u;
    return x | t;
}

// Positions in 26.6 fixed point, truncated towards zero.
inline int to_26_6(double v) { return static_cast<int>(v * 64.0); }

inline Fixed fixed_div(int numerator, int denominator) { return (static_cast<Fixed>(numerator) * 65536) / denominator; }

// floor() for values well inside the int range, without a library call.
inline int floor_int(double v)
{
    const int i = static_cast<int>(v);
    return i - (v < i);
}

// Aliased steps along one part of an ellipse: at each major position from
// `from` to `to`, the pixel at middle + extent * sqrt(1 - u^2) of the minor
// axis, u = offset * inverse and offset advancing by one a step; those whose
// minor positions fall outside low..end are left out.
inline void plain_steps(std::uint32_t* bits, std::int64_t majorStride, std::int64_t minorStride, std::uint32_t colour,
                        int from, int to, double offset, double inverse, double middle, double extent, double low,
                        double end)
{
    for (int i = from; i <= to; ++i, offset += 1) {
        const double u = offset * inverse;
        const double m = middle + extent * std::sqrt(std::max(0.0, 1 - u * u));
        if (m >= low && m < end)
            bits[i * majorStride + floor_int(m) * minorStride] = colour;
    }
}

// A box given by a corner and a size of either sign, as its top-left corner
// and positive size.
template <typename T>
void normalise_box(T& left, T& top, T& width, T& height)
{
    if (width < 0) {
        left += width;
        width = -width;
    }
    if (height < 0) {
        top += height;
        height = -height;
    }
}

inline unsigned light_of(double fraction)
{
    return static_cast<unsigned>(std::clamp(fraction, 0.0, 1.0) * 255.0 + 0.5);
}

} // namespace

RasterWriter::RasterWriter(std::uint32_t* bits, int stride, int width, int height)
    : bits_(bits), stride_(stride), width_(width), height_(height)
{
    set_clip(0, 0, width - 1, height - 1);
}

void RasterWriter::set_clip(int left, int top, int right, int bottom)
{
    left_ = std::max(left, 0);
    top_ = std::max(top, 0);
    right_ = std::min(right, width_ - 1);
    bottom_ = std::min(bottom, height_ - 1);
}

void RasterWriter::set_pen(std::uint32_t argb, int width, bool antialias)
{
    penWidth_ = width;
    antialias_ = antialias;
    argb |= 0xFF000000u;
    if (argb == colour_ && shaded_)
        return;
    colour_ = argb;
    shaded_ = false;
}

void RasterWriter::shade()
{
    for (unsigned a = 0; a < 256; ++a)
        shade_[a] = byte_mul(colour_, a);
    shaded_ = true;
}

void RasterWriter::blend(int x, int y, unsigned coverage)
{
    if (coverage == 0 || x < left_ || x > right_ || y < top_ || y > bottom_)
        return;
    if (!shaded_)
        shade();
    std::uint32_t& p = bits_[static_cast<std::int64_t>(y) * stride_ + x];
    p = shade_[coverage] + byte_mul(p, 255 - coverage);
}

void RasterWriter::spread(int major, double minor, bool columns)
{
    const double at = minor - 0.5; // pixel centres lie half a pixel in
    const int p = floor_int(at);
    const unsigned second = static_cast<unsigned>((at - p) * 255 + 0.5), first = 255 - second;
    const int x = columns ? p : major, y = columns ? major : p;
    const int x2 = columns ? p + 1 : major, y2 = columns ? major : p + 1;
    if (x < left_ || x2 > right_ || y < top_ || y2 > bottom_) { // at the clip's edge
        blend(x, y, first);
        blend(x2, y2, second);
        return;
    }
    if (!shaded_)
        shade();
    std::uint32_t* const q = bits_ + static_cast<std::int64_t>(y) * stride_ + x;
    *q = shade_[first] + byte_mul(*q, second);
    std::uint32_t* const q2 = columns ? q + 1 : q + stride_;
    *q2 = shade_[second] + byte_mul(*q2, first);
}

void RasterWriter::band(int major, double minor, double reach, bool columns)
{
    const double lo = minor - reach, hi = minor + reach;
    if (!antialias_) {
        const int first = -floor_int(0.5 - lo), last = -floor_int(0.5 - hi) - 1; // ceil(lo - 0.5), ceil(hi - 0.5) - 1
        for (int j = first; j <= last; ++j)
            columns ? put(j, major) : put(major, j);
        return;
    }
    for (int j = floor_int(lo); j < hi; ++j) {
        const double cover = std::min(hi, j + 1.0) - std::max(lo, static_cast<double>(j));
        columns ? blend(j, major, light_of(cover)) : blend(major, j, light_of(cover));
    }
}

// ---------------------------------------------------------------- lines

void RasterWriter::line(double x1, double y1, double x2, double y2)
{
    if (right_ < left_ || bottom_ < top_)
        return;
    // Far enough out that the fixed-point steps cannot overflow.
    constexpr double kWholeLineReach = 1 << 20;
    if (penWidth_ >= 2) {
        // Cut far enough out that no corner of the pen's rectangle at a cut
        // end reaches into the picture.
        if (!clip_to_picture(x1, y1, x2, y2, wholeLines_ ? kWholeLineReach : 2 + penWidth_))
            wide(x1, y1, x2, y2);
        return;
    }
    if (x1 == x2 && y1 == y2) { // one pixel, at the nearest position
        if (x1 > -1 && x1 < width_ + 1 && y1 > -1 && y1 < height_ + 1)
            put(floor_int(x1 + 0.5), floor_int(y1 + 0.5));
        return;
    }
    const bool inside =
        x1 >= 0 && x1 < width_ && x2 >= 0 && x2 < width_ && y1 >= 0 && y1 < height_ && y2 >= 0 && y2 < height_;
    if (!inside && clip_to_picture(x1, y1, x2, y2, wholeLines_ ? kWholeLineReach : 1))
        return;
    if (antialias_)
        thin_antialiased(x1, y1, x2, y2);
    else
        thin_aliased(x1, y1, x2, y2);
}

namespace {
// Cuts the line where coordinate a leaves lo..hi, moving coordinate b along;
// true when nothing is left.
bool cut_axis(double& a1, double& b1, double& a2, double& b2, double lo, double hi)
{
    if (a1 < lo) {
        if (a2 <= lo)
            return true;
        b1 += (b2 - b1) / (a2 - a1) * (lo - a1);
        a1 = lo;
    } else if (a1 > hi) {
        if (a2 >= hi)
            return true;
        b1 += (b2 - b1) / (a2 - a1) * (hi - a1);
        a1 = hi;
    }
    if (a2 < lo) {
        b2 += (b2 - b1) / (a2 - a1) * (lo - a2);
        a2 = lo;
    } else if (a2 > hi) {
        b2 += (b2 - b1) / (a2 - a1) * (hi - a2);
        a2 = hi;
    }
    return false;
}
} // namespace

// Cuts the line to the picture widened by a margin on every side, in floating
// point, so the stepping never overflows; true when nothing is left. Thin
// lines are cut a pixel out, as the raster engine cuts them.
bool RasterWriter::clip_to_picture(double& x1, double& y1, double& x2, double& y2, double margin) const
{
    return cut_axis(x1, y1, x2, y2, -margin, width_ + margin) || cut_axis(y1, x1, y2, x2, -margin, height_ + margin);
}

namespace {
// A line in 26.6 fixed point along its major axis (x1 < x2 after swapping the
// axes of a steep line), with its 16.16 slope.
struct MajorRun {
    int x1, y1, x2, y2;
    bool steep;
    Fixed step;
};

bool major_run(double rx1, double ry1, double rx2, double ry2, MajorRun& run)
{
    int x1 = to_26_6(rx1), y1 = to_26_6(ry1), x2 = to_26_6(rx2), y2 = to_26_6(ry2);
    const bool steep = std::abs(x2 - x1) < std::abs(y2 - y1);
    if (steep) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (x1 == x2)
        return false;
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    run = {x1, y1, x2, y2, steep, fixed_div(y2 - y1, x2 - x1)};
    return true;
}
} // namespace

// One pixel per step of the major axis. The square caps reach half a pixel
// beyond both ends, so both end pixels are lit; the minor position is that of
// the line at the pixel's centre.
void RasterWriter::thin_aliased(double rx1, double ry1, double rx2, double ry2)
{
    MajorRun run;
    if (!major_run(rx1, ry1, rx2, ry2, run))
        return;
    auto [x1, y1, x2, y2, steep, step] = run;
    Fixed minor = static_cast<Fixed>(y1) * 1024;
    x1 -= 32; // the caps
    minor -= step >> 1;
    x2 += 32;
    int major = (x1 + 32) >> 6;
    const int end = (x2 + 32) >> 6;
    if (major == end)
        return;
    minor += ((static_cast<Fixed>(major) * 64 + (step > 0 ? 32 : 0) - x1) * step) >> 6;

    // Only the steps inside the clip's extent along the major axis.
    const int lowest = steep ? top_ : left_, highest = steep ? bottom_ : right_;
    const int minorLow = steep ? left_ : top_, minorHigh = steep ? right_ : bottom_;
    if (major < lowest) {
        minor += static_cast<Fixed>(lowest - major) * step;
        major = lowest;
    }
    const int stop = std::min(end, highest + 1);
    // Locals, so the stores need not reload them.
    const std::uint32_t colour = colour_;
    std::uint32_t* const bits = bits_;
    const std::int64_t majorStride = steep ? stride_ : 1, minorStride = steep ? 1 : stride_;
    for (; major < stop; ++major, minor += step) {
        const int m = static_cast<int>(minor >> 16);
        if (m >= minorLow && m <= minorHigh)
            bits[major * majorStride + m * minorStride] = colour;
    }
}

// Two pixels per step of the major axis, weighted by where the line passes
// between their centres; the end steps are weighted by how much of the
// capped line they hold.
void RasterWriter::thin_antialiased(double rx1, double ry1, double rx2, double ry2)
{
    MajorRun run;
    if (!major_run(rx1, ry1, rx2, ry2, run))
        return;
    auto [x1, y1, x2, y2, steep, step] = run;
    Fixed minor = static_cast<Fixed>(y1 - 32) * 1024;
    minor -= (static_cast<Fixed>((x1 & 63) - 32) * step) >> 6;
    x1 -= 32; // the caps
    minor -= step >> 1;
    x2 += 32;

    int major = x1 >> 6;
    const int end = x2 >> 6;
    int lightStart = 0, lightEnd = 0; // in 64ths of a pixel
    if (major == end) {
        lightStart = x2 - x1;
    } else {
        lightStart = 64 - (x1 & 63);
        lightEnd = x2 & 63;
    }
    auto pair = [&, steep = steep](int at, Fixed position, unsigned share) {
        const unsigned fraction = static_cast<unsigned>(position >> 8) & 0xFF;
        const int m = static_cast<int>(position >> 16);
        if (steep) {
            blend(m, at, ((255 - fraction) * share) >> 6);
            blend(m + 1, at, (fraction * share) >> 6);
        } else {
            blend(at, m, ((255 - fraction) * share) >> 6);
            blend(at, m + 1, (fraction * share) >> 6);
        }
    };
    pair(major, minor, static_cast<unsigned>(lightStart));
    ++major;
    minor += step;
    if (major > end)
        return;

    const int lowest = steep ? top_ : left_, highest = steep ? bottom_ : right_;
    const int minorLow = steep ? left_ : top_, minorHigh = steep ? right_ : bottom_;
    const int from = std::max(major, lowest), to = std::min(end, highest + 1);
    const std::int64_t majorStride = steep ? stride_ : 1, minorStride = steep ? 1 : stride_;
    if (!shaded_)
        shade();
    Fixed position = minor + static_cast<Fixed>(from - major) * step;
    for (int at = from; at < to; ++at, position += step) {
        const unsigned fraction = static_cast<unsigned>(position >> 8) & 0xFF;
        const int m = static_cast<int>(position >> 16);
        if (m < minorLow || m >= minorHigh) {
            pair(at, position, 64); // at the clip's edge: pixel by pixel
            continue;
        }
        std::uint32_t* p = bits_ + at * majorStride + m * minorStride;
        *p = shade_[255 - fraction] + byte_mul(*p, fraction);
        p += minorStride;
        *p = shade_[fraction] + byte_mul(*p, 255 - fraction);
    }
    if (lightEnd != 0)
        pair(end, minor + static_cast<Fixed>(end - major) * step, static_cast<unsigned>(lightEnd));
}

// A pen two pixels wide covers the rectangle around the line, one pixel to
// either side and one beyond each end (square caps). Each step of the major
// axis covers the stretch of the minor axis inside that rectangle at the
// pixel's centre: whole pixels whose centres lie in it when aliased, the
// covered share of each pixel when anti-aliased.
void RasterWriter::wide(double x1, double y1, double x2, double y2)
{
    const double half = penWidth_ / 2.0;
    if (x1 == x2 && y1 == y2)
        x2 += 1e-9; // a dot: the pen's square
    const bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
    double a1 = steep ? y1 : x1, b1 = steep ? x1 : y1, a2 = steep ? y2 : x2, b2 = steep ? x2 : y2;
    if (a1 > a2) {
        std::swap(a1, a2);
        std::swap(b1, b2);
    }
    const double da = a2 - a1, db = b2 - b1, length = std::hypot(da, db);
    const double ua = da / length, ub = db / length;
    const double slope = db / da, across = half * length / da;
    const double reach = half * (ua + std::abs(ub));
    const int lowest = steep ? top_ : left_, highest = steep ? bottom_ : right_;
    const int from = std::max(static_cast<int>(std::ceil(a1 - reach - 0.5)), lowest);
    const int to = std::min(static_cast<int>(std::floor(a2 + reach - 0.5)), highest);
    for (int i = from; i <= to; ++i) {
        const double m = i + 0.5, along = m - a1;
        const double centre = b1 + along * slope;
        double lo = centre - across, hi = centre + across;
        if (ub != 0) { // the caps, perpendicular to the line
            double capLo = b1 + (-half - along * ua) / ub, capHi = b1 + (length + half - along * ua) / ub;
            if (capLo > capHi)
                std::swap(capLo, capHi);
            lo = std::max(lo, capLo);
            hi = std::min(hi, capHi);
        } else if (along < -half || along > length + half) {
            continue;
        }
        if (!(lo < hi))
            continue;
        band(i, (lo + hi) / 2, (hi - lo) / 2, steep);
    }
}

// ---------------------------------------------------------------- arcs

// The whole outline of the ellipse whose extreme pixels are the box's edges,
// by the midpoint rule: each step of the faster-moving axis keeps or advances
// the other axis, whichever leaves the pixel nearer the ellipse. Positions are
// pixel indices, so a box of odd size has its centre between two pixels.
void RasterWriter::ellipse(int left, int top, int width, int height)
{
    normalise_box(left, top, width, height);
    const double a = width / 2.0, b = height / 2.0;
    const double cx = left + a, cy = top + b;
    const double aa = a * a, bb = b * b;
    auto f = [&](double u, double v) { return bb * u * u + aa * v * v - aa * bb; };
    // Inside the clip the four mirror points are written unchecked.
    const bool inside = left >= left_ && left + width <= right_ && top >= top_ && top + height <= bottom_;
    const std::uint32_t colour = colour_;
    std::uint32_t* const bits = bits_;
    const std::int64_t stride = stride_;
    auto plot = [&](double u, double v) {
        const int x1 = static_cast<int>(cx - u), x2 = static_cast<int>(cx + u);
        const int y1 = static_cast<int>(cy - v), y2 = static_cast<int>(cy + v);
        if (inside) {
            std::uint32_t* const upper = bits + y1 * stride;
            std::uint32_t* const lower = bits + y2 * stride;
            upper[x1] = upper[x2] = lower[x1] = lower[x2] = colour;
            return;
        }
        put(x1, y1);
        put(x2, y1);
        put(x1, y2);
        put(x2, y2);
    };
    if (width == 0 || height == 0) {
        line(left, top, left + width, top + height);
        return;
    }
    // Offsets from the centre: whole for even sizes, halves for odd ones.
    double u = (width & 1) ? 0.5 : 0.0, v = b;
    const double vLast = (height & 1) ? 0.5 : 0.0;
    while (aa * (v - 0.5) > bb * (u + 1)) { // flatter than 45 degrees: one step per column
        plot(u, v);
        if (f(u + 1, v - 0.5) > 0)
            v -= 1;
        u += 1;
    }
    while (v >= vLast) { // steeper: one step per row
        plot(u, v);
        if (f(u + 0.5, v - 1) <= 0)
            u += 1;
        v -= 1;
    }
}

// The ellipse is walked in four parts: along the columns where it runs
// flatter than 45 degrees (top and bottom) and along the rows elsewhere (the
// sides), one pixel per step, the crossing found from the ellipse's equation.
// Each part walks only the steps whose directions lie on the arc.
void RasterWriter::arc(double left, double top, double width, double height, double start, double span)
{
    if (right_ < left_ || bottom_ < top_)
        return;
    normalise_box(left, top, width, height);
    const double a = width / 2, b = height / 2, cx = left + a, cy = top + b;
    if (a == 0 || b == 0) { // a flat box: the ellipse is a line
        line(left, top, left + width, top + height);
        return;
    }
    const bool whole = std::abs(span) >= 360;
    const double sweep = std::abs(span);
    double from = std::fmod(span >= 0 ? start : start + span, 360.0);
    if (from < 0)
        from += 360;

    // Aliased thin points are written unchecked: their rows and columns are
    // kept inside the clip. Wider and anti-aliased ones reach a little beyond.
    const bool plain = penWidth_ < 2 && !antialias_;
    const double half = penWidth_ / 2.0, margin = plain ? 0.0 : 1 + half;
    const double colFirst = left_ - margin, colLast = right_ + margin;
    const double rowFirst = top_ - margin, rowEnd = bottom_ + 1 + margin;
    const double colEnd = right_ + 1 + margin;
    const std::int64_t stride = stride_;
    const std::uint32_t colour = colour_;
    std::uint32_t* const bits = bits_;
    const double inverseA = 1 / a, inverseB = 1 / b;
    const double diagonal = std::sqrt(a * a + b * b);
    const double xReach = a * a / diagonal;
    // Far off-centre boxes keep their centre's column and row within int range.
    const int centreColumn = static_cast<int>(std::clamp(std::floor(cx), -2e9, 2e9));
    const int centreRow = static_cast<int>(std::clamp(std::floor(cy), -2e9, 2e9));

    // Calls walk(lo, hi) with the parts of the arc between the angles lo and
    // hi (degrees, hi - lo <= 180).
    auto for_pieces = [&](double lo, double hi, auto walk) {
        if (whole) {
            walk(lo, hi);
            return;
        }
        for (const double turn : {-720.0, -360.0, 0.0, 360.0}) {
            const double p0 = std::max(lo, from + turn), p1 = std::min(hi, from + sweep + turn);
            if (p0 <= p1)
                walk(p0, p1);
        }
    };
    // Top (sign -1) and bottom (+1): columns whose direction's cosine lies in
    // uLo..uHi, and the centre column when the piece holds its direction.
    auto columns = [&](double uLo, double uHi, double sign, bool centre) {
        double lo = cx + a * uLo - 0.5, hi = cx + a * uHi - 0.5;
        if (centre)
            lo = std::min(lo, 1.0 * centreColumn), hi = std::max(hi, 1.0 * centreColumn);
        lo = std::max({lo, cx - xReach - 0.5, colFirst});
        hi = std::min({hi, cx + xReach - 0.5, plain ? right_ : colLast});
        if (!(lo <= hi))
            return;
        const int first = static_cast<int>(std::ceil(lo)), last = static_cast<int>(std::floor(hi));
        const double yLow = rowFirst, yEnd = rowEnd, height = sign * b, middle = cy;
        if (plain) {
            // The column holding the centre takes the extreme point itself,
            // so the arc reaches the box's edge there.
            const int split = std::clamp(centreColumn, first - 1, last + 1);
            plain_steps(bits, 1, stride, colour, first, split - 1, first + 0.5 - cx, inverseA, middle, height, yLow,
                        yEnd);
            if (split == centreColumn && split >= first && split <= last && middle + height >= yLow &&
                middle + height < yEnd)
                bits[floor_int(middle + height) * stride + split] = colour;
            plain_steps(bits, 1, stride, colour, std::max(split + 1, first), last,
                        std::max(split + 1, first) + 0.5 - cx, inverseA, middle, height, yLow, yEnd);
            return;
        }
        double offset = first + 0.5 - cx;
        for (int i = first; i <= last; ++i, offset += 1) {
            // The column holding the centre takes the extreme point itself,
            // so the arc reaches the box's edge there.
            const double ux = i == centreColumn ? 0.0 : offset * inverseA;
            const double uy = std::sqrt(std::max(0.0, 1 - ux * ux));
            const double y = middle + height * uy;
            if (!(y >= yLow && y < yEnd))
                continue;
            if (penWidth_ >= 2)
                band(i, y, half * std::hypot(1.0, b * ux / (a * std::max(uy, 1e-9))), false);
            else
                spread(i, y, false);
        }
    };
    for_pieces(0, 180, [&](double p0, double p1) {
        columns(std::cos(p1 / kDegreesPerRadian), std::cos(p0 / kDegreesPerRadian), -1, p0 <= 90 && 90 <= p1);
    });
    for_pieces(180, 360, [&](double p0, double p1) {
        columns(std::cos(p0 / kDegreesPerRadian), std::cos(p1 / kDegreesPerRadian), 1, p0 <= 270 && 270 <= p1);
    });

    // The sides: rows between those the outermost columns of the top and
    // bottom reached, so the parts join without a gap; right (sign +1) and
    // left (-1), rows whose direction's sine lies in vLo..vHi.
    const double farUx = (std::floor(cx + xReach - 0.5) + 0.5 - cx) / a;
    const double farDy = farUx >= 0 ? b * std::sqrt(std::max(0.0, 1 - farUx * farUx)) : b;
    auto rows = [&](double vLo, double vHi, double sign, bool centre) {
        double lo = cy - b * vHi - 0.5, hi = cy - b * vLo - 0.5;
        if (centre)
            lo = std::min(lo, 1.0 * centreRow), hi = std::max(hi, 1.0 * centreRow);
        lo = std::max({lo, std::floor(cy - farDy) + 1, rowFirst});
        hi = std::min({hi, std::floor(cy + farDy) - 1, plain ? bottom_ : rowEnd - 1});
        if (!(lo <= hi))
            return;
        const int first = static_cast<int>(std::ceil(lo)), last = static_cast<int>(std::floor(hi));
        const double xLow = colFirst, xEnd = colEnd, width = sign * a, middle = cx;
        if (plain) { // as for the columns, the row of the centre at the extreme
            const int split = std::clamp(centreRow, first - 1, last + 1);
            plain_steps(bits, stride, 1, colour, first, split - 1, first + 0.5 - cy, inverseB, middle, width, xLow,
                        xEnd);
            if (split == centreRow && split >= first && split <= last && middle + width >= xLow &&
                middle + width < xEnd)
                bits[split * stride + floor_int(middle + width)] = colour;
            plain_steps(bits, stride, 1, colour, std::max(split + 1, first), last,
                        std::max(split + 1, first) + 0.5 - cy, inverseB, middle, width, xLow, xEnd);
            return;
        }
        double offset = cy - (first + 0.5);
        for (int j = first; j <= last; ++j, offset -= 1) {
            const double uy = j == centreRow ? 0.0 : offset * inverseB;
            const double ux = std::sqrt(std::max(0.0, 1 - uy * uy));
            const double x = middle + width * ux;
            if (!(x >= xLow && x < xEnd))
                continue;
            if (penWidth_ >= 2)
                band(j, x, half * std::hypot(1.0, a * std::abs(uy) / (b * std::max(ux, 1e-9))), true);
            else
                spread(j, x, true);
        }
    };
    for_pieces(-90, 90, [&](double p0, double p1) {
        rows(std::sin(p0 / kDegreesPerRadian), std::sin(p1 / kDegreesPerRadian), 1, p0 <= 0 && 0 <= p1);
    });
    for_pieces(90, 270, [&](double p0, double p1) {
        rows(std::sin(p1 / kDegreesPerRadian), std::sin(p0 / kDegreesPerRadian), -1, p0 <= 180 && 180 <= p1);
    });
}

} // namespace orvex
