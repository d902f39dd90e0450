// The stroke-font tables: glyphs of the Hershey fonts in font units. The
// definitions are written at build time by make_font_table.py from the
// .jhf files of the hershey-fonts-data package.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvex::text::table {

/// One point of a glyph in font units: x right from the glyph's left edge,
/// y up from the baseline. kPenUp between two points lifts the pen.
struct Point {
    std::int8_t x, y;
};
inline constexpr std::int8_t kPenUp = -128;

/// A run of one stroke's points that follows a circular arc: the points
/// kPoints[first] .. kPoints[last] lie within half a font unit of the circle
/// about (cx, cy) through the first and the last, and the stroke runs round
/// it counterclockwise or clockwise (y up) from the angle `start` of the
/// first to the angle `end` of the last (radians).
struct Arc {
    std::uint32_t first, last;
    double cx, cy, radius, start, end;
    bool counterclockwise;
};

/// One glyph: its code point, its advance in font units, its points,
/// kPoints[first] .. kPoints[first + count - 1], and the arcs among them,
/// kArcs[arcs] .. kArcs[arcs + arc_count - 1] in stroke order.
struct Glyph {
    char32_t code;
    std::uint8_t advance;
    std::uint32_t first;
    std::uint16_t count;
    std::uint32_t arcs;
    std::uint16_t arc_count;
};

/// One face: its glyphs sorted by code point, the box drawn for a code point
/// it lacks, and its heights in font units (the capital H, the small x, and
/// the foot of the small p, below the baseline so negative).
struct Face {
    const Glyph* glyphs;
    std::size_t glyph_count;
    Glyph missing;
    int cap_height;
    int x_height;
    int descender;
};

/// The faces, in the order of text::Font.
inline constexpr std::size_t kFaceCount = 2;
extern const Face kFaces[kFaceCount];
/// The point pool every face's glyphs index.
extern const Point* const kPoints;
extern const std::size_t kPointCount;
/// The arc pool every face's glyphs index.
extern const Arc* const kArcs;
extern const std::size_t kArcCount;

} // namespace orvex::text::table
