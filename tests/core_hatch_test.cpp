// Pattern hatch lines cut to their boundary: lengths against the hatched
// area, the three hatch styles, dashes and dots in place, the segment cap and
// input that cannot make a hatch.
#include "formats/dxf/hatch_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace orvex::formats::dxf;

namespace {

HatchLoop poly(std::vector<HatchPoint> points, bool external = false) { return {std::move(points), external}; }
HatchLoop square(double x0, double y0, double side, bool clockwise = false)
{
    HatchLoop l = poly({{x0, y0}, {x0 + side, y0}, {x0 + side, y0 + side}, {x0, y0 + side}});
    if (clockwise)
        std::reverse(l.Points.begin(), l.Points.end());
    return l;
}

// Lines at `degrees`, `spacing` apart, each shifted `shift` along the line
// from the one before.
HatchPatternLine family(double degrees, HatchPoint base, double spacing, double shift = 0,
                        std::vector<double> dashes = {})
{
    const double a = degrees * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
    return {degrees, base, {c * shift - s * spacing, s * shift + c * spacing}, std::move(dashes)};
}

double length(const std::vector<HatchSegment>& segments)
{
    double sum = 0;
    for (const HatchSegment& s : segments)
        sum += std::hypot(s.B.X - s.A.X, s.B.Y - s.A.Y);
    return sum;
}

struct AreaCase {
    const char* name;
    std::vector<HatchLoop> loops;
    HatchStyle style;
    double area;
    // Total length of the lines y = 0, 1, 2, ... (through every vertex),
    // summed by hand from the shape's width just above each line.
    double throughVertices;
};

TEST(HatchLines, LengthIsTheHatchedAreaOverTheSpacing)
{
    const std::vector<HatchLoop> nested = {square(0, 0, 100), square(20, 20, 60), square(40, 40, 20)};
    const std::vector<HatchLoop> nestedBackwards = {square(40, 40, 20, true), square(20, 20, 60),
                                                    square(0, 0, 100, true)};
    const HatchLoop keyhole = poly({{0, 50},
                                    {0, 0},
                                    {100, 0},
                                    {100, 100},
                                    {0, 100},
                                    {0, 50},
                                    {30, 50},
                                    {30, 70},
                                    {70, 70},
                                    {70, 30},
                                    {30, 30},
                                    {30, 50}});
    const HatchLoop bowTie = poly({{0, 0}, {50, 0}, {50, 50}, {100, 50}, {100, 100}, {50, 100}, {50, 50}, {0, 50}});
    const std::vector<AreaCase> cases = {
        {"square", {square(0, 0, 100)}, HatchStyle::Normal, 10000, 10000},
        {"hole, normal", {square(0, 0, 100), square(30, 30, 40)}, HatchStyle::Normal, 8400, 8400},
        {"hole, outer", {square(0, 0, 100), square(30, 30, 40)}, HatchStyle::Outer, 8400, 8400},
        {"hole, ignore", {square(0, 0, 100), square(30, 30, 40)}, HatchStyle::Ignore, 10000, 10000},
        {"nested, normal", nested, HatchStyle::Normal, 6800, 6800},
        {"nested, outer", nested, HatchStyle::Outer, 6400, 6400},
        {"nested, ignore", nested, HatchStyle::Ignore, 10000, 10000},
        {"nested backwards, normal", nestedBackwards, HatchStyle::Normal, 6800, 6800},
        {"nested backwards, outer", nestedBackwards, HatchStyle::Outer, 6400, 6400},
        {"all marked external, outer",
         {poly(nested[0].Points, true), poly(nested[1].Points, true)},
         HatchStyle::Outer,
         6400,
         6400},
        {"island across the marked boundary, outer",
         {poly(square(0, 0, 100).Points, true), poly({{80, 40}, {120, 40}, {120, 60}, {80, 60}})},
         HatchStyle::Outer,
         9600,
         9600},
        {"triangle", {poly({{0, 0}, {100, 50}, {0, 100}})}, HatchStyle::Normal, 5000, 5000},
        {"L shape",
         {poly({{0, 0}, {100, 0}, {100, 40}, {40, 40}, {40, 100}, {0, 100}})},
         HatchStyle::Normal,
         6400,
         6400},
        // The notch's vertex touches the line y = 50 from above.
        {"chevron", {poly({{0, 0}, {100, 0}, {100, 100}, {50, 50}, {0, 100}})}, HatchStyle::Normal, 7500, 7550},
        {"keyhole loop", {keyhole}, HatchStyle::Normal, 8400, 8400},
        {"loop touching itself", {bowTie}, HatchStyle::Normal, 5000, 5000},
    };
    for (const AreaCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<HatchSegment> out;
        HatchResult r = hatch_lines(c.loops, c.style, {family(0, {0, 0}, 1)}, out);
        EXPECT_EQ(r.Status, HatchStatus::Done);
        EXPECT_EQ(r.Segments, out.size());
        EXPECT_NEAR(length(out), c.throughVertices, 1e-9);
        EXPECT_TRUE(std::none_of(out.begin(), out.end(), [](const HatchSegment& s) { return s.A.X == s.B.X; }));

        out.clear();
        const double spacing = 0.5;
        r = hatch_lines(c.loops, c.style, {family(33, {0.3, 0.7}, spacing, 0.21)}, out);
        EXPECT_EQ(r.Status, HatchStatus::Done);
        EXPECT_NEAR(length(out), c.area / spacing, 1e-4 * c.area / spacing);
    }
}

TEST(HatchLines, DashedLinesInkTheirDashesShare)
{
    const std::vector<HatchLoop> region = {poly({{0, 0}, {100, 10}, {90, 100}, {-5, 80}})};
    std::vector<HatchSegment> whole;
    hatch_lines(region, HatchStyle::Normal, {family(45, {1, 2}, 0.5)}, whole);
    const struct {
        std::vector<double> dashes;
        double share;
    } cases[] = {{{0.3, -0.1}, 0.75}, {{0.1, -0.3}, 0.25}, {{0.2, -0.1, 0, -0.1}, 0.5}};
    for (const auto& c : cases) {
        std::vector<HatchSegment> out;
        hatch_lines(region, HatchStyle::Normal, {family(45, {1, 2}, 0.5, 0.13, c.dashes)}, out);
        EXPECT_NEAR(length(out) / length(whole), c.share, 1e-4);
    }
}

// Dash 2, gap 1, dot, gap 1 on the lines y = 0.5 + k, line k's pattern
// starting at x = 0.35 + 0.7 k; the same lines once more with the offset
// pointing down (line k at y = 0.5 - k).
TEST(HatchLines, DashesKeepTheirPlaceOnTheWholeLine)
{
    for (double spacing : {1.0, -1.0}) {
        SCOPED_TRACE(spacing);
        const HatchPatternLine pattern = family(0, {0.35, 0.5}, spacing, 0.7, {2, -1, 0, -1});
        auto hatch = [&](double x0, double width) {
            std::vector<HatchSegment> out;
            hatch_lines({poly({{x0, 0}, {x0 + width, 0}, {x0 + width, 10}, {x0, 10}})}, HatchStyle::Normal, {pattern},
                        out);
            return out;
        };
        const std::vector<HatchSegment> whole = hatch(0, 20);
        int dots = 0;
        for (const HatchSegment& s : whole) {
            // Where in its period the piece starts, 0 for a dash, 3 for the dot.
            const double k = (s.A.Y - 0.5) / spacing, at = s.A.X - 0.35 - 0.7 * k;
            if (s.A.X == s.B.X) {
                ++dots;
                EXPECT_NEAR(std::remainder(at - 3, 4), 0, 1e-9);
            } else if (s.A.X > 0) {
                EXPECT_NEAR(std::remainder(at, 4), 0, 1e-9);
            }
        }
        EXPECT_EQ(dots, 50); // five periods on each of ten lines

        // Two hatches side by side draw what one over both draws: as much ink,
        // each piece within one of the whole's.
        std::vector<HatchSegment> halves = hatch(0, 10), right = hatch(10, 10);
        halves.insert(halves.end(), right.begin(), right.end());
        EXPECT_NEAR(length(halves), length(whole), 1e-9);
        for (const HatchSegment& h : halves)
            EXPECT_TRUE(std::any_of(whole.begin(), whole.end(),
                                    [&h](const HatchSegment& w) {
                                        return w.A.Y == h.A.Y && w.A.X <= h.A.X + 1e-9 && h.B.X <= w.B.X + 1e-9;
                                    }))
                << h.A.X << ' ' << h.A.Y;
    }
}

TEST(HatchLines, TheSegmentCapStopsTheHatch)
{
    const std::vector<HatchLoop> region = {square(0, 0, 10)};
    const std::vector<HatchPatternLine> lines = {family(0, {0, 0.5}, 1)};
    std::vector<HatchSegment> out;
    HatchResult r = hatch_lines(region, HatchStyle::Normal, lines, out, {10, 1e6});
    EXPECT_EQ(r.Status, HatchStatus::Done);
    EXPECT_EQ(out.size(), 10u);

    out.clear();
    r = hatch_lines(region, HatchStyle::Normal, lines, out, {9, 1e6});
    EXPECT_EQ(r.Status, HatchStatus::SegmentCap);
    EXPECT_EQ(r.Segments, 9u);
    EXPECT_EQ(out.size(), 9u);

    // Dashes a millionth long would make five million per line.
    out.clear();
    r = hatch_lines(region, HatchStyle::Normal, {family(0, {0, 0.5}, 1, 0, {1e-6, -1e-6})}, out);
    EXPECT_EQ(r.Status, HatchStatus::SegmentCap);
    EXPECT_EQ(out.size(), HatchLimits{}.MaxSegments);
}

struct BadCase {
    const char* name;
    std::vector<HatchLoop> loops;
    std::vector<HatchPatternLine> pattern;
    HatchStatus status;
    int skipped;
    int dropped;
};

TEST(HatchLines, UnusableInputMakesNothing)
{
    const double nan = std::nan(""), inf = HUGE_VAL;
    const std::vector<HatchLoop> sq = {square(0, 0, 100)};
    const HatchPatternLine fine = family(10, {0, 0}, 1);
    const std::vector<BadCase> cases = {
        {"zero offset", sq, {{0, {0, 0}, {0, 0}, {}}}, HatchStatus::Done, 1, 0},
        {"offset along the lines", sq, {{0, {0, 0}, {5, 0}, {}}}, HatchStatus::Done, 1, 0},
        {"offset along the lines, rounded", sq, {family(30, {0, 0}, 0, 5)}, HatchStatus::Done, 1, 0},
        {"angle not a number", sq, {{nan, {0, 0}, {0, 1}, {}}}, HatchStatus::Done, 1, 0},
        {"infinite base", sq, {{0, {inf, 0}, {0, 1}, {}}}, HatchStatus::Done, 1, 0},
        {"dash not a number", sq, {family(0, {0, 0}, 1, 0, {1, nan})}, HatchStatus::Done, 1, 0},
        {"gaps only", sq, {family(0, {0, 0}, 1, 0, {-1, -2})}, HatchStatus::Done, 1, 0},
        {"dots without gaps", sq, {family(0, {0, 0}, 1, 0, {0, 0})}, HatchStatus::Done, 1, 0},
        {"dash period far too short", sq, {family(0, {0, 0}, 1, 0, {1e-9, -1e-9})}, HatchStatus::Done, 1, 0},
        {"base far beyond the spacing", sq, {family(0, {0, 1e20}, 1)}, HatchStatus::Done, 1, 0},
        {"lines far too close", sq, {family(0, {0, 0}, 1e-7)}, HatchStatus::TooManyLines, 0, 0},
        {"one family far too close", sq, {fine, family(0, {0, 0}, 1e-7)}, HatchStatus::TooManyLines, 0, 0},
        {"no loops", {}, {fine}, HatchStatus::NoBoundary, 0, 0},
        {"loop point not a number", {sq[0], poly({{1, 1}, {2, nan}, {3, 1}})}, {fine}, HatchStatus::NoBoundary, 0, 0},
        {"two points", {poly({{0, 0}, {10, 10}})}, {fine}, HatchStatus::NoBoundary, 0, 1},
        {"repeated points", {poly({{0, 0}, {0, 0}, {10, 10}, {0, 0}})}, {fine}, HatchStatus::NoBoundary, 0, 1},
        {"points on one line", {poly({{0, 0}, {10, 10}, {20, 20}, {5, 5}})}, {fine}, HatchStatus::NoBoundary, 0, 1},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<HatchSegment> out;
        const HatchResult r = hatch_lines(c.loops, HatchStyle::Normal, c.pattern, out);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_EQ(r.SkippedPatternLines, c.skipped);
        EXPECT_EQ(r.DroppedLoops, c.dropped);
        EXPECT_TRUE(out.empty());
    }
}

} // namespace
