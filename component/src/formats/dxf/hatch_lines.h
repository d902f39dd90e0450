// The lines of a pattern hatch: each pattern line's family of parallel lines,
// cut to the area its boundary loops enclose under the hatch's style, with
// the dashes laid out as CAD programs draw them.
//
// Every family is swept across the boundary: the edges are sorted by their
// distance from the family's first line, and each line meets only the edges
// it spans. An edge spans a line when one end lies on or below it and the
// other beyond it (half-open), so a line through a vertex counts the boundary
// once where it passes through and zero or two times where it turns back,
// and a line along an edge draws it when the area lies to the line's left
// (seen along its direction).
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace orvex::formats::dxf {

struct HatchPoint {
    double X = 0;
    double Y = 0;
};

/// A closed boundary loop as a polygon: the last point joins the first (a
/// repeated first point at the end is allowed). Arcs, ellipse arcs and
/// splines come already cut into points.
struct HatchLoop {
    std::vector<HatchPoint> Points;
    /// The boundary path's external bit. When some loop of the hatch has it,
    /// the loops without it are islands, even where they cross an external
    /// one, and so are external loops that lie in another external loop
    /// (writers that set the bit on every loop). When no loop has it, the
    /// islands are the loops that lie in another. The other loops are the
    /// outer ones.
    bool External = false;
};

/// Which of the enclosed areas take the pattern.
enum class HatchStyle {
    /// Nested areas alternate: the outer area, not its islands, the islands
    /// within those again, and so on (odd parity over all loops).
    Normal = 0,
    /// Only the outermost area: the inside of the outer loops less the
    /// inside of every island.
    Outer = 1,
    /// The whole inside of the outer loops; islands make no difference.
    Ignore = 2,
};

/// One line of a hatch pattern, in world coordinates: the pattern's angle
/// and scale already applied.
struct HatchPatternLine {
    /// Direction of the lines, degrees counter-clockwise from the X axis.
    double Angle = 0;
    /// A point of the family's first line, where its dash pattern starts.
    HatchPoint Base;
    /// From one line of the family to the next, the next line's pattern
    /// starting at Base + k * Offset.
    HatchPoint Offset;
    /// Dash lengths: positive draws, negative skips, zero is a dot. Empty
    /// draws the lines through.
    std::vector<double> Dashes;
};

/// A drawn piece of a pattern line. A dot is a segment of length zero
/// (A == B); the caller decides how to show it.
struct HatchSegment {
    HatchPoint A;
    HatchPoint B;
};

struct HatchLimits {
    /// Segments one hatch may make; the sweep stops at this many.
    std::size_t MaxSegments = 100'000;
    /// Pattern lines, all families together, that cross the boundary's
    /// extent. A hatch that needs more makes nothing (an offset far too
    /// small for the area).
    double MaxLines = 1'000'000;
};

enum class HatchStatus {
    Done,
    /// MaxSegments were made and more would have followed.
    SegmentCap,
    /// The families would need more than MaxLines lines; nothing made.
    TooManyLines,
    /// No usable loop (or a loop point is not a finite number); nothing made.
    NoBoundary,
};

struct HatchResult {
    HatchStatus Status = HatchStatus::Done;
    std::size_t Segments = 0;
    /// Pattern lines left out: a value not a finite number, an offset of
    /// length zero or along the line, dashes that only skip, or a dash
    /// period too short for the area.
    int SkippedPatternLines = 0;
    /// Loops left out: fewer than three distinct points, or all points on
    /// one line.
    int DroppedLoops = 0;
};

using HatchSink = std::function<void(const HatchSegment&)>;

/// Hands the drawn pieces of the pattern lines inside the hatched area to
/// `sink`, family by family, line by line along each family.
HatchResult hatch_lines(const std::vector<HatchLoop>& loops, HatchStyle style,
                        const std::vector<HatchPatternLine>& pattern, const HatchSink& sink,
                        const HatchLimits& limits = {});

/// The same, collected.
HatchResult hatch_lines(const std::vector<HatchLoop>& loops, HatchStyle style,
                        const std::vector<HatchPatternLine>& pattern, std::vector<HatchSegment>& out,
                        const HatchLimits& limits = {});

} // namespace orvex::formats::dxf
