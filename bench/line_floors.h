// The floors of line drawing: the plainest loops that light a line's pixels
// straight in a 32-bit picture. The line benchmark measures the control's
// Redraw against them; the raster writer's tests take the Wu line as their
// reference for anti-aliased light.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace line_floors {

/// 0xFFRRGGBB of a framework colour (red in the low byte).
inline std::uint32_t opaque_argb(std::uint32_t colour)
{
    return 0xFF000000u | ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

/// Integer Bresenham between two pixels inside the picture, one store per pixel.
inline void bresenham(std::uint32_t* bits, int stride, int x, int y, int x2, int y2, std::uint32_t argb)
{
    const int dx = std::abs(x2 - x), dy = -std::abs(y2 - y);
    const int sx = x < x2 ? 1 : -1, sy = y < y2 ? 1 : -1;
    for (int err = dx + dy;;) {
        bits[y * stride + x] = argb;
        if (x == x2 && y == y2)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy)
            err += dy, x += sx;
        if (e2 <= dx)
            err += dx, y += sy;
    }
}

/// Colour c over pixel d with coverage a (0..255), per channel.
inline std::uint32_t blend(std::uint32_t d, std::uint32_t c, std::uint32_t a)
{
    const std::uint32_t rb = (((c & 0xFF00FF) * a + (d & 0xFF00FF) * (255 - a)) >> 8) & 0xFF00FF;
    const std::uint32_t g = (((c & 0xFF00) * a + (d & 0xFF00) * (255 - a)) >> 8) & 0xFF00;
    return 0xFF000000u | rb | g;
}

/// Wu's line between two pixels inside the picture (one pixel in from the
/// bottom and right edges): two pixels per step of the major axis, weighted
/// by the distance to the exact line.
inline void wu(std::uint32_t* bits, int stride, int x1, int y1, int x2, int y2, std::uint32_t argb)
{
    const bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
    if (steep)
        std::swap(x1, y1), std::swap(x2, y2);
    if (x1 > x2)
        std::swap(x1, x2), std::swap(y1, y2);
    const int dx = x2 - x1;
    const int gradient = dx == 0 ? 0 : ((y2 - y1) << 16) / dx; // 16.16
    int y = y1 << 16;
    for (int x = x1; x <= x2; ++x, y += gradient) {
        const int row = y >> 16;
        const std::uint32_t a = (y >> 8) & 0xFF;
        std::uint32_t* p0 = steep ? &bits[x * stride + row] : &bits[row * stride + x];
        *p0 = blend(*p0, argb, 255 - a);
        if (a != 0) {
            std::uint32_t* p1 = steep ? p0 + 1 : p0 + stride;
            *p1 = blend(*p1, argb, a);
        }
    }
}

} // namespace line_floors
