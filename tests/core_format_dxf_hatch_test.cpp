// HATCH entities of the full DXF import: pattern lines over polyline and
// edge boundary paths under each hatch style, the segment cap and what the
// load report says of it, and hatches whose counts lie.
#include "format_test_support.h"

#include "formats/dxf/dxf_full.h"

#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace orvex {
namespace {

using namespace testing_formats;

// Groups of a DXF file, one code and value a line each.
struct Groups {
    std::string text;
    Groups& operator()(int code, const std::string& value)
    {
        text += std::to_string(code) + "\n" + value + "\n";
        return *this;
    }
    Groups& operator()(int code, double value)
    {
        std::ostringstream v;
        v.precision(17);
        v << value;
        return (*this)(code, v.str());
    }
};

// A hatch's groups up to its path count, after the entity's own.
void hatch_start(Groups& g, int paths, const std::string& pattern = "USER")
{
    g(0, "HATCH")(5, "2A")(8, "WALLS")(100, "AcDbEntity")(100, "AcDbHatch")(10, 0.0)(20, 0.0)(30, 2.0);
    g(210, 0.0)(220, 0.0)(230, 1.0)(2, pattern)(70, 0.0)(71, 0.0)(91, paths);
}

// A square polyline path from (a, a) to (b, b).
void square_path(Groups& g, double a, double b, int flags)
{
    g(92, flags | 2)(72, 0.0)(73, 1.0)(93, 4.0);
    g(10, a)(20, a)(10, b)(20, a)(10, b)(20, b)(10, a)(20, b)(97, 0.0);
}

// Style, then one pattern line: horizontal lines one apart through
// (0, base), continuous or with the given dashes.
void pattern_end(Groups& g, int style, double base, const std::vector<double>& dashes = {}, double spacing = 1)
{
    g(75, style)(76, 1.0)(52, 0.0)(41, 1.0)(77, 0.0)(78, 1.0);
    g(53, 0.0)(43, 0.0)(44, base)(45, 0.0)(46, spacing)(79, static_cast<double>(dashes.size()));
    for (double d : dashes)
        g(49, d);
    g(98, 0.0);
}

std::unique_ptr<formats::StagedDrawing> read_entities(const std::string& entities)
{
    auto d = fresh(0xFFFFFF);
    std::istringstream in("0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n");
    formats::dxf::read_full(in, *d);
    return d;
}

double total_length(const formats::StagedDrawing& d)
{
    double sum = 0;
    for (int i = 0; i < d.Elements.Count(); ++i) {
        const TElement& e = d.Elements[i];
        if (e.GetEtype() == etLine)
            sum += std::hypot(e.GetCoord(4) - e.GetCoord(1), e.GetCoord(5) - e.GetCoord(2));
    }
    return sum;
}

TEST(DxfHatch, PolylinePathsUnderEachStyle)
{
    // Squares 0..10, 2..8 and 4..6, the outer one external; lines at
    // y = 0.5, 1.5, ... 9.5 are 10 long, six of them cross the island (6
    // each) and two the island's island (2 each).
    struct Row {
        int style;
        double length;
    };
    for (const Row row : {Row{0, 100 - 36 + 4}, Row{1, 100 - 36}, Row{2, 100}}) {
        Groups g;
        hatch_start(g, 3);
        square_path(g, 0, 10, 1);
        square_path(g, 2, 8, 16);
        square_path(g, 4, 6, 0);
        pattern_end(g, row.style, 0.5);
        auto d = read_entities(g.text);
        EXPECT_NEAR(total_length(*d), row.length, 1e-9) << "style " << row.style;
        EXPECT_EQ(d->Report.Count("HATCH").Read, 1);
        for (int i = 0; i < d->Elements.Count(); ++i)
            ASSERT_EQ(d->Elements[i].GetCoord(3), 2.0) << "in the plane of the elevation point";
    }
}

TEST(DxfHatch, EdgePathsOfLinesAndCurves)
{
    // The top half of the circle of radius 5 about the origin (the ellipse
    // row: of half-axes 5 and 3), hatched by lines at y = 0.25, 1.25, ...
    // 4.25: each as long as the chord at its height. The clockwise arc runs
    // from 180 to 0 degrees through 90, written as 360 less its angles.
    auto chords = [](double a, double b) {
        double sum = 0;
        for (double y = 0.25; y < b; y += 1)
            sum += 2 * a * std::sqrt(1 - y * y / (b * b));
        return sum;
    };
    const double half = std::sqrt(0.5);
    struct Row {
        const char* name;
        std::string edges;
        double length;
    };
    const Row rows[] = {
        {"counter-clockwise arc",
         Groups()(72, 1.0)(10, -5.0)(20, 0.0)(11, 5.0)(21, 0.0)(72, 2.0)(10, 0.0)(20, 0.0)(40, 5.0)(50, 0.0)(51, 180.0)(
             73, 1.0)
             .text,
         chords(5, 5)},
        {"clockwise arc",
         Groups()(72, 1.0)(10, 5.0)(20, 0.0)(11, -5.0)(21, 0.0)(72, 2.0)(10, 0.0)(20, 0.0)(40, 5.0)(50, 180.0)(
             51, 360.0)(73, 0.0)
             .text,
         chords(5, 5)},
        {"line written backwards",
         Groups()(72, 2.0)(10, 0.0)(20, 0.0)(40, 5.0)(50, 0.0)(51, 180.0)(73, 1.0)(72, 1.0)(10, 5.0)(20, 0.0)(11, -5.0)(
             21, 0.0)
             .text,
         chords(5, 5)},
        {"elliptic arc",
         Groups()(72, 1.0)(10, -5.0)(20, 0.0)(11, 5.0)(21, 0.0)(72, 3.0)(10, 0.0)(20, 0.0)(11, 5.0)(21, 0.0)(40, 0.6)(
             50, 0.0)(51, 180.0)(73, 1.0)
             .text,
         chords(5, 3)},
        // Two rational quadratic quarters: the half circle exactly.
        {"rational spline",
         Groups()(72, 1.0)(10, -5.0)(20, 0.0)(11, 5.0)(21, 0.0)(72, 4.0)(94, 2.0)(73, 1.0)(74, 0.0)(95, 8.0)(96, 5.0)(
             40, 0.0)(40, 0.0)(40, 0.0)(40, 1.0)(40, 1.0)(40, 2.0)(40, 2.0)(40, 2.0)(10, 5.0)(20, 0.0)(42, 1.0)(
             10, 5.0)(20, 5.0)(42, half)(10, 0.0)(20, 5.0)(42, 1.0)(10, -5.0)(20, 5.0)(42, half)(10, -5.0)(20, 0.0)(
             42, 1.0)(97, 0.0)
             .text,
         chords(5, 5)},
    };
    for (const Row& row : rows) {
        Groups g;
        hatch_start(g, 1);
        g(92, 1.0)(93, 2.0);
        g.text += row.edges;
        g(97, 1.0)(330, "1F");
        pattern_end(g, 0, 0.25);
        auto d = read_entities(g.text);
        // The chords of the cut curve lie inside it, within a thousandth of
        // the hatch's extent (10): each line's ends move in by less than
        // that over the cosine of the boundary's normal's angle with the
        // line there (0.46 at worst, on the top line of the ellipse).
        const double length = total_length(*d);
        EXPECT_LE(length, row.length + 1e-9) << row.name;
        EXPECT_GT(length, row.length - 10 * 0.01 / 0.46) << row.name;
    }
}

TEST(DxfHatch, SegmentCapStopsTheHatchAndTheReportNamesIt)
{
    // 1000 lines across a square of 100, each of 200 dashes.
    Groups g;
    hatch_start(g, 1, "FINE");
    square_path(g, 0, 100, 1);
    pattern_end(g, 0, 0.05, {0.25, -0.25}, 0.1);
    auto d = read_entities(g.text);
    EXPECT_EQ(d->Elements.Count(), 100000);
    ASSERT_EQ(d->Report.Notes.size(), 1u);
    EXPECT_EQ(d->Report.Notes[0], "HATCH 2A \"FINE\" on layer WALLS: stopped at 100000 segments");
}

TEST(DxfHatch, CountsThatLieAndValuesThatAreNoNumbers)
{
    // Each hatch claims more than it holds, or holds what no count
    // announced, or values that are no numbers; each reads, and the
    // line after it still does.
    const std::string variants[] = {
        // 1000 paths announced, one there, with a billion vertices claimed.
        Groups()(92, 3.0)(72, 1.0)(73, 1.0)(93, 1e9)(10, 0.0)(20, 0.0)(42, 1e300)(10, 5.0)(20, 0.0)(42, -1e-300)(
            10, 5.0)(20, 5.0)(97, 1e9)
            .text,
        // Edges of unknown kinds, a spline whose counts and knots lie, an
        // arc of no radius and a line that is not a number.
        Groups()(92, 1.0)(93, 5.0)(72, 4.0)(94, 1e9)(95, 1e9)(96, 1e9)(40, 1.0)(40, 0.0)(10, 0.0)(20, 0.0)(42, -1.0)(
            10, 1.0)(20, "nan")(10, 2.0)(20, 2.0)(97, 1e9)(72, 2.0)(40, 0.0)(72, 1.0)(10, "inf")(20, 0.0)(11, 1.0)(
            21, 1.0)(72, 9.0)(10, 1.0)
            .text,
        // No path at all; pattern lines whose dash count lies.
        std::string(),
    };
    for (const std::string& paths : variants) {
        Groups g;
        hatch_start(g, 1000);
        g.text += paths;
        g(75, 7.0)(78, 1e9)(53, 45.0)(43, 0.0)(44, 0.0)(45, 0.0)(46, 1e-300)(79, 1e9)(49, 1.0)(53, "nan")(49, -1.0);
        g(98, 1e9)(10, 0.0);
        g(0, "LINE")(10, 0.0)(20, 0.0)(11, 1.0)(21, 0.0);
        std::unique_ptr<formats::StagedDrawing> d;
        ASSERT_NO_THROW(d = read_entities(g.text));
        EXPECT_EQ(d->Report.Count("LINE").Read, 1);
        const TLoadCount hatches = d->Report.Count("HATCH");
        EXPECT_EQ(hatches.Read + hatches.Skipped, 1);
    }
}

} // namespace
} // namespace orvex
