// Dimensions of the full DXF import drawn from their definition points
// (no block of their own): extension lines, dimension lines and the
// measured text, by the style of the DIMSTYLE table, the entity's own
// overrides or the drawing's defaults.
#include "format_test_support.h"

#include "formats/dxf/dxf_full.h"
#include "text/stroke_font.h"

#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace orvex {
namespace {

using P2 = std::array<double, 2>;

struct DimensionCase {
    const char* name;
    std::string header;                   // groups of the HEADER section
    std::string entity;                   // the DIMENSION's groups after its name
    std::vector<std::array<P2, 2>> lines; // extension and dimension lines, each present exactly
    P2 textCentre;
    P2 textDirection; // length 1, in world coordinates
    std::u32string text;
    double textHeight;
};

std::string groups(std::initializer_list<std::pair<int, std::string>> list)
{
    std::string out;
    for (const auto& [code, value] : list)
        out += std::to_string(code) + "\n" + value + "\n";
    return out;
}

std::string drawing(const DimensionCase& c)
{
    // A dimension style "WIDE": arrowheads 2.5, extension lines 0.625 off
    // and 1.25 past, text 2.5 high, two decimals, all at overall scale 2.
    const std::string tables = groups({{0, "SECTION"},
                                       {2, "TABLES"},
                                       {0, "TABLE"},
                                       {2, "DIMSTYLE"},
                                       {0, "DIMSTYLE"},
                                       {2, "WIDE"},
                                       {40, "2"},
                                       {41, "2.5"},
                                       {42, "0.625"},
                                       {44, "1.25"},
                                       {140, "2.5"},
                                       {271, "2"},
                                       {0, "ENDTAB"},
                                       {0, "ENDSEC"}});
    return groups({{0, "SECTION"}, {2, "HEADER"}}) + c.header + groups({{0, "ENDSEC"}}) + tables +
           groups({{0, "SECTION"}, {2, "ENTITIES"}, {0, "DIMENSION"}, {8, "0"}}) + c.entity +
           groups({{0, "ENDSEC"}, {0, "EOF"}});
}

const DimensionCase kCases[] = {
    {"linear by the style table, scaled",
     "",
     groups({{2, "*D7"}, // a block the file does not hold
             {3, "wide"},
             {10, "30"},
             {20, "10"},
             {11, "15"},
             {21, "14"},
             {70, "0"},
             {13, "0"},
             {23, "0"},
             {14, "30"},
             {24, "0"},
             {50, "0"}}),
     {{P2{0, 1.25}, P2{0, 12.5}}, {P2{30, 1.25}, P2{30, 12.5}}, {P2{0, 10}, P2{30, 10}}},
     {15, 14},
     {1, 0},
     U"30.00",
     5},
    {"radius with its own overrides of a missing style",
     "",
     groups({{3, "NONE"},
             {10, "50"},
             {20, "0"},
             {11, "57.0710678"},
             {21, "7.0710678"},
             {70, "4"},
             {15, "54.2426407"},
             {25, "4.2426407"},
             {1001, "ACAD"},
             {1000, "DSTYLE"},
             {1002, "{"},
             {1070, "140"},
             {1040, "1.5"},
             {1070, "271"},
             {1070, "1"},
             {1002, "}"}}),
     // From the centre to the arc, then on to the text beyond it.
     {{P2{50, 0}, P2{54.2426407, 4.2426407}}, {P2{54.2426407, 4.2426407}, P2{57.0710678, 7.0710678}}},
     {57.0710678, 7.0710678},
     {1, 0}, // outside the circle, horizontal by the imperial defaults
     U"R6.0",
     1.5},
    {"aligned seen from below, metric defaults",
     groups({{9, "$MEASUREMENT"}, {70, "1"}}),
     groups({{3, "STANDARD"},
             {10, "26"},
             {20, "43"},
             {11, "-11"}, // the text point is in the object coordinate system
             {21, "23"},
             {70, "1"},
             {13, "0"},
             {23, "0"},
             {14, "30"},
             {24, "40"},
             {210, "0"},
             {220, "0"},
             {230, "-1"}}),
     // Across (-0.8, 0.6), 0.625 off the object and 1.25 past the line.
     {{P2{-0.5, 0.375}, P2{-5, 3.75}}, {P2{29.5, 40.375}, P2{25, 43.75}}, {P2{-4, 3}, P2{26, 43}}},
     {11, 23},
     {0.6, 0.8},
     U"50.00",
     2.5},
};

TEST(DxfFullDimension, BuiltFromDefinitionPointsWithoutABlock)
{
    for (const DimensionCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto d = testing_formats::fresh(0xFFFFFF);
        std::istringstream in(drawing(c));
        formats::dxf::read_full(in, *d);
        std::vector<std::array<P2, 2>> lines;
        for (const TElement* e : d->Elements)
            if (e->GetEtype() == etLine)
                lines.push_back({P2{e->GetCoord(1), e->GetCoord(2)}, P2{e->GetCoord(4), e->GetCoord(5)}});
        auto near = [](const P2& a, const P2& b) { return std::hypot(a[0] - b[0], a[1] - b[1]) < 1e-6; };
        for (const auto& expected : c.lines) {
            const bool found = std::any_of(lines.begin(), lines.end(), [&](const std::array<P2, 2>& l) {
                return (near(l[0], expected[0]) && near(l[1], expected[1])) ||
                       (near(l[0], expected[1]) && near(l[1], expected[0]));
            });
            EXPECT_TRUE(found) << "line (" << expected[0][0] << ", " << expected[0][1] << ") - (" << expected[1][0]
                               << ", " << expected[1][1] << ")";
        }
        // The text: the strokes in its box (widened by a third of the
        // height), the lines above aside, measured along and across its
        // direction. Their extent along it is the string's advance less the
        // side bearings; across it, from the baseline to the capitals.
        const double advance = text::text_advance(text::Font::Simplex, c.text) * c.textHeight;
        const P2 along = c.textDirection, across{-along[1], along[0]};
        auto local = [&](const P2& p) {
            const P2 d{p[0] - c.textCentre[0], p[1] - c.textCentre[1]};
            return P2{d[0] * along[0] + d[1] * along[1], d[0] * across[0] + d[1] * across[1]};
        };
        double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
        int strokes = 0;
        for (const auto& l : lines) {
            if (std::any_of(c.lines.begin(), c.lines.end(), [&](const std::array<P2, 2>& e) {
                    return (near(l[0], e[0]) && near(l[1], e[1])) || (near(l[0], e[1]) && near(l[1], e[0]));
                }))
                continue;
            const P2 a = local(l[0]), b = local(l[1]);
            const double margin = c.textHeight / 3;
            if (std::max(std::fabs(a[0]), std::fabs(b[0])) > advance / 2 + margin ||
                std::max(std::fabs(a[1]), std::fabs(b[1])) > c.textHeight / 2 + margin)
                continue;
            ++strokes;
            for (const P2& p : {a, b}) {
                lo[0] = std::min(lo[0], p[0]), hi[0] = std::max(hi[0], p[0]);
                lo[1] = std::min(lo[1], p[1]), hi[1] = std::max(hi[1], p[1]);
            }
        }
        ASSERT_GT(strokes, 4);
        EXPECT_LE(hi[0] - lo[0], advance);
        EXPECT_GE(hi[0] - lo[0], advance - 0.6 * c.textHeight);
        EXPECT_NEAR(hi[1] - lo[1], c.textHeight, 0.05 * c.textHeight);
        EXPECT_NEAR((hi[0] + lo[0]) / 2, 0, 0.1 * c.textHeight);
        EXPECT_NEAR((hi[1] + lo[1]) / 2, 0, 0.05 * c.textHeight);
        EXPECT_EQ(d->Report.Count("DIMENSION").Read, 1);
    }
}

} // namespace
} // namespace orvex
