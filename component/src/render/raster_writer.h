// Solid outlines written straight into the pixels of a 32-bit picture: lines
// one or two pixels wide and axis-aligned ellipse arcs, aliased or
// anti-aliased, in one opaque colour, clipped to a rectangle.
//
// Thin lines follow the raster engine's rules for one-pixel pens (square
// caps, both end points lit, the same fixed-point stepping and coverage), so a
// picture drawn here matches one drawn through QPainter. Wide lines fill the
// pen's rectangle; arcs step along the ellipse one pixel of the major axis at
// a time.
#pragma once

#include <cstdint>

namespace orvex {

class RasterWriter {
public:
    /// A picture of width x height pixels, rows `stride` pixels apart,
    /// 0xAARRGGBB (RGB32 or premultiplied ARGB32).
    RasterWriter(std::uint32_t* bits, int stride, int width, int height);

    /// Pixels outside left..right, top..bottom (inclusive, within the
    /// picture) are left alone. An empty rectangle leaves every pixel alone.
    void set_clip(int left, int top, int right, int bottom);
    /// Lines are stepped from their own ends however far beyond the picture
    /// they reach (within a million pixels), instead of from where the
    /// picture's edge cuts them as the raster engine does: a line's pixels
    /// then do not depend on where the picture's edges lie.
    void keep_whole_lines(bool keep) { wholeLines_ = keep; }
    /// An opaque colour (alpha 255), a width of 1 or 2 pixels.
    void set_pen(std::uint32_t argb, int width, bool antialias);

    /// The line between two points of the picture's coordinates.
    void line(double x1, double y1, double x2, double y2);
    /// The arc of the ellipse inscribed in the box, from `start` degrees
    /// through `span` degrees, counter-clockwise on the screen for positive
    /// spans (0 degrees at three o'clock); a span of 360 or more is the whole
    /// ellipse.
    void arc(double left, double top, double width, double height, double start, double span);
    /// The whole outline of the ellipse in a box of whole pixels; aliased, it
    /// lights the box's edge pixels as the raster engine's ellipses do.
    void ellipse(int left, int top, int width, int height);

private:
    bool clip_to_picture(double& x1, double& y1, double& x2, double& y2, double margin) const;
    void thin_aliased(double x1, double y1, double x2, double y2);
    void thin_antialiased(double x1, double y1, double x2, double y2);
    void wide(double x1, double y1, double x2, double y2);

    void put(int x, int y)
    {
        if (x >= left_ && x <= right_ && y >= top_ && y <= bottom_)
            bits_[static_cast<std::int64_t>(y) * stride_ + x] = colour_;
    }
    void blend(int x, int y, unsigned coverage);
    // One pixel's light spread over the two pixels astride a fractional
    // position along the minor axis (columns when `columns` is set, else rows).
    void spread(int major, double minor, bool columns);
    // The pixels of one step of the major axis within `reach` of `minor`:
    // those whose centres lie inside when aliased, each by its covered share
    // when anti-aliased.
    void band(int major, double minor, double reach, bool columns);

    std::uint32_t* bits_;
    int stride_, width_, height_;
    int left_ = 0, top_ = 0, right_ = -1, bottom_ = -1;
    void shade();

    std::uint32_t colour_ = 0xFF000000u;
    // The colour weighted by every coverage, made when first needed.
    std::uint32_t shade_[256];
    bool shaded_ = false;
    int penWidth_ = 1;
    bool antialias_ = false;
    bool wholeLines_ = false;
};

} // namespace orvex
