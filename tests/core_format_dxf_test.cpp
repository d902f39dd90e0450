// The DXF format: the minimal file the writer makes, the entity scanner,
// the group pairs, polylines and extrusions of the reader, round trips.
#include "format_test_support.h"

#include "formats/dxf/dxf.h"
#include "formats/dxf/dxf_full.h"
#include "formats/dxf/dxf_palette.h"
#include "text/stroke_font.h"

#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

namespace orvex {
namespace {

using namespace testing_formats;
namespace dxf = formats::dxf;

// Group pairs as DXF text with CR LF ends.
std::string pairs(std::initializer_list<std::pair<std::string, std::string>> groups)
{
    std::string text;
    for (const auto& [code, value] : groups)
        text += code + "\r\n" + value + "\r\n";
    return text;
}

std::unique_ptr<formats::StagedDrawing> read_dxf(const std::string& text, TColor background = 0xFFFFFF)
{
    return read_text(dxf::read, text, background);
}

std::unique_ptr<formats::StagedDrawing> read_full(const std::string& text)
{
    auto d = fresh(0xFFFFFF);
    std::istringstream in(text);
    dxf::read_full(in, *d);
    return d;
}

TEST(DxfWriter, LineAndEmptyDrawingAreByteExact)
{
    auto d = fresh();
    d->make_element(etLine, 0, 0, 0, 10, 5.5, 0, 0x00FF00, 0, 1, 0, 0);
    EXPECT_EQ(write_text(dxf::write, *d), data_file("line.dxf"));
    EXPECT_EQ(write_text(dxf::write, *fresh()), data_file("empty.dxf"));
}

TEST(DxfWriter, PointsArcsAndCircles)
{
    auto d = fresh();
    d->make_element(etPoint, 1, -2.5, 0, 0, 0, 0, 0xFFFFFF, 0, 4, 0, 0);
    d->make_element(etArc, 1, 2, 0, 5, 30, 60, 0x123456, 0, 3, 0, 2);
    d->make_element(etCircle, 1, 2, 3, 4, 0, 0, 0x000080, 0, 3, 0, 1);
    d->make_element(etEllipse, 1, 2, 0, 3, 4, 0, 0, 0, 3, 0, 1); // not written
    d->make_element(etLine, 0, 0, 0, 1, 1, 0, 0, 0, 1, 0, 0);
    d->Elements[4].SetDeleted(true);                              // not written
    d->make_element(etFillEdge, 0, 0, 0, 1, 1, 0, 0, 0, 1, 0, 1); // not written
    const std::string expected =
        std::string("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\n") +
        crlf({"POINT", "8",  "4",    "10", "1.0", "20", "-2.5",   "30", ".0",     "62", "7",   "0",
              "ARC",   "8",  "3",    "10", "1.0", "20", "2.0",    "30", ".0",     "40", "5.0", "50",
              "30.0",  "51", "60.0", "62", "3",   "0",  "CIRCLE", "8",  "3",      "10", "1.0", "20",
              "2.0",   "30", "3.0",  "40", "4.0", "62", "9",      "0",  "ENDSEC", "0",  "EOF"});
    EXPECT_EQ(write_text(dxf::write, *d), expected);
}

TEST(DxfReader, GroupValuesAndColours)
{
    auto d =
        read_dxf(pairs({{"  0", "SECTION"}, {"  2", "HEADER"}, {"  9", "$ACADVER"}, {"  1", "AC1009"}, {"  0", "LINE"},
                        {"  8", "WALLS"},   {"  6", "DASHED"}, {" 62", "256"},      {" 10", "  1.5"},  {" 20", "2"},
                        {" 30", "12abc"}, // not a number: 0
                        {" 11", "4"},       {" 21", "5"},      {" 31", "6"},        {"  0", "POINT"},  {"  8", "7"},
                        {"  6", "3"},       {" 62", "0"},      {" 10", "1"},        {"  0", "CIRCLE"}, {"  8", "300"},
                        {" 62", "7.9"},     {" 40", "2"},      {"  0", "ENDSEC"}}),
                 0x000000);
    ASSERT_EQ(d->Elements.Count(), 3);
    const TElement& line = d->Elements[0];
    EXPECT_EQ(line.GetLayer(), 1);
    EXPECT_EQ(line.GetLineType(), 1);
    EXPECT_EQ(line.GetColor(), 0x00FF00);
    EXPECT_EQ(line.GetCoord(1), 1.5);
    EXPECT_EQ(line.GetCoord(3), 0);
    EXPECT_EQ(line.GetCoord(6), 6);
    const TElement& point = d->Elements[1];
    EXPECT_EQ(point.GetLayer(), 7);
    EXPECT_EQ(point.GetLineType(), 0);
    EXPECT_EQ(point.GetColor(), 0xC0C0C0); // black on a black background
    const TElement& circle = d->Elements[2];
    EXPECT_EQ(circle.GetEtype(), etArc);
    EXPECT_EQ(circle.GetLayer(), 252);
    EXPECT_EQ(circle.GetColor(), 0xFFFFFF);
    EXPECT_EQ(circle.GetCoord(5), 0);
    EXPECT_EQ(circle.GetCoord(6), 360);
}

TEST(DxfReader, ExtrusionsBecomeArcViews)
{
    auto d = read_dxf(pairs(
        {{"0", "CIRCLE"}, {"10", "5"},    {"20", "2"},     {"30", "1"},    {"40", "3"},  {"210", "0"}, {"220", "0"},
         {"230", "-1"},   {"0", "ARC"},   {"10", "5"},     {"20", "2"},    {"30", "1"},  {"40", "3"},  {"50", "30"},
         {"51", "60"},    {"210", "0"},   {"220", "0"},    {"230", "-1"},  {"0", "ARC"}, {"40", "3"},  {"50", "10"},
         {"51", "20"},    {"210", "0.2"}, {"220", "-0.9"}, {"230", "0.1"}, {"0", "ARC"}, {"40", "3"},  {"210", "-1"},
         {"220", "0"},    {"230", "0"},   {"0", "EOF"}}));
    ASSERT_EQ(d->Elements.Count(), 4);
    const TElement& circle = d->Elements[0];
    EXPECT_EQ(circle.GetView(), 1);
    EXPECT_EQ(circle.GetCoord(1), -5);
    EXPECT_EQ(circle.GetCoord(2), 2);
    EXPECT_EQ(circle.GetCoord(3), -1);
    EXPECT_EQ(circle.GetCoord(6) - circle.GetCoord(5), 360);
    const TElement& mirrored = d->Elements[1];
    EXPECT_EQ(mirrored.GetCoord(5), 120);
    EXPECT_EQ(mirrored.GetCoord(6), 150);
    EXPECT_EQ(d->Elements[2].GetView(), 2);
    const TArcView& front = d->ArcViews[2];
    EXPECT_TRUE(front.Defined);
    EXPECT_EQ(front.M23, -1);
    EXPECT_EQ(front.M32, 1);
    EXPECT_EQ(d->Elements[3].GetView(), 6);
    EXPECT_EQ(d->ArcViews[6].M13, -1);
    EXPECT_FALSE(d->ArcViews[3].Defined);
    EXPECT_TRUE(d->StopReading);
}

TEST(DxfReader, DownwardArcsAreMirroredIntoTheTopViewOnBothSidesOf180)
{
    // Seen from below, the arc from a to b runs from 180 - b to 180 - a, with
    // angles above 180 taken as 540 - a so that they stay within 0..360.
    struct Row {
        double start, end, mirroredStart, mirroredEnd;
    };
    for (const Row& row : {Row{30, 60, 120, 150}, Row{200, 300, 240, 340}, Row{170, 200, 340, 10}}) {
        auto d = read_dxf(pairs({{"0", "ARC"},
                                 {"10", "5"},
                                 {"40", "3"},
                                 {"50", std::to_string(row.start)},
                                 {"51", std::to_string(row.end)},
                                 {"230", "-1"},
                                 {"0", "EOF"}}));
        ASSERT_EQ(d->Elements.Count(), 1);
        const TElement& arc = d->Elements[0];
        EXPECT_EQ(arc.GetView(), 1);
        EXPECT_EQ(arc.GetCoord(1), -5);
        EXPECT_EQ(arc.GetCoord(5), row.mirroredStart) << row.start << " to " << row.end;
        EXPECT_EQ(arc.GetCoord(6), row.mirroredEnd) << row.start << " to " << row.end;
    }
}

std::string polyline(const std::string& flags)
{
    return pairs({{"0", "POLYLINE"}, {"8", "2"},      {"66", "1"},  {"10", "0"},  {"20", "0"}, {"30", "0"},
                  {"70", flags},     {"0", "VERTEX"}, {"8", "3"},   {"10", "0"},  {"20", "0"}, {"30", "0"},
                  {"0", "VERTEX"},   {"8", "4"},      {"62", "1"},  {"10", "10"}, {"20", "0"}, {"30", "0"},
                  {"0", "VERTEX"},   {"8", "5"},      {"10", "10"}, {"20", "10"}, {"30", "0"}, {"0", "SEQEND"},
                  {"8", "6"},        {"0", "LINE"},   {"11", "1"},  {"0", "EOF"}});
}

TEST(DxfReader, PolylinesBecomeSegments)
{
    auto closed = read_dxf(polyline("1"));
    ASSERT_EQ(closed->Elements.Count(), 4);
    auto segment = [&](int i) {
        const TElement& e = closed->Elements[i];
        return std::vector<double>{e.GetCoord(1), e.GetCoord(2), e.GetCoord(4), e.GetCoord(5)};
    };
    EXPECT_EQ(segment(0), (std::vector<double>{0, 0, 10, 0}));
    EXPECT_EQ(closed->Elements[0].GetLayer(), 4);
    EXPECT_EQ(closed->Elements[0].GetColor(), 0x0000FF);
    EXPECT_EQ(segment(1), (std::vector<double>{10, 0, 10, 10}));
    EXPECT_EQ(closed->Elements[1].GetLayer(), 5);
    EXPECT_EQ(segment(2), (std::vector<double>{10, 10, 0, 0})); // the closing line
    EXPECT_EQ(closed->Elements[2].GetLayer(), 6);
    EXPECT_EQ(segment(3), (std::vector<double>{0, 0, 1, 0})); // a plain line after it

    // Closed is recognised only for exactly 1; an open polyline's SEQEND
    // makes no line.
    auto open = read_dxf(polyline("9"));
    ASSERT_EQ(open->Elements.Count(), 3);
    EXPECT_EQ(open->Elements[1].GetCoord(5), 10);
}

TEST(DxfReader, LineEndsAndFileEnds)
{
    // LF only and lone CR ends; the last line without an end.
    auto d = read_dxf("0\nLINE\n10\n1\r11\n2\r\n21\n3\n0\nEOF");
    ASSERT_EQ(d->Elements.Count(), 1);
    EXPECT_EQ(d->Elements[0].GetCoord(1), 1);
    EXPECT_EQ(d->Elements[0].GetCoord(4), 2);
    EXPECT_EQ(d->Elements[0].GetCoord(5), 3);
    // Names are compared exactly: no trimming, upper case only.
    EXPECT_EQ(read_dxf(pairs({{"0", "LINE "}, {"0", "line"}, {"0", " LINE"}}))->Elements.Count(), 0);
}

TEST(DxfReader, EntityNamesComeOnlyAfterGroupCodeZero)
{
    // Layers, blocks, line types and object values spelt like entity names
    // start nothing; the real entity around them keeps its values.
    auto d = read_dxf(pairs(
        {{"0", "SECTION"}, {"2", "TABLES"},   {"0", "LAYER"}, {"2", "LINE"},     {"70", "0"},        {"0", "ENDSEC"},
         {"0", "SECTION"}, {"2", "BLOCKS"},   {"0", "BLOCK"}, {"2", "CIRCLE"},   {"0", "ENDBLK"},    {"0", "ENDSEC"},
         {"0", "SECTION"}, {"2", "ENTITIES"}, {"0", "LINE"},  {"8", "POLYLINE"}, {"6", "VERTEX"},    {"10", "1"},
         {"20", "2"},      {"1", "ARC"},      {"11", "3"},    {"21", "4"},       {"0", "ACMOBJECT"}, {"300", "POINT"},
         {"0", "ENDSEC"},  {"0", "EOF"}}));
    ASSERT_EQ(d->Elements.Count(), 1);
    EXPECT_EQ(d->Elements[0].GetEtype(), etLine);
    EXPECT_EQ(d->Elements[0].GetCoord(1), 1);
    EXPECT_EQ(d->Elements[0].GetCoord(5), 4);
    EXPECT_EQ(d->Elements[0].GetLayer(), 1);
}

TEST(DxfReader, CutFilesAreErrorsNamingTheLine)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"0\nLINE\n10\n1\n20", "line 6: group code 20 has no value"},
        {"0\nLINE\n10\n1\n20\n2", "line 6: the file ends inside the entity begun at line 2"},
        {"0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n40\n1\n0\nENDSEC\n9", "line 12: group code 9 has no value"},
    };
    for (const Case& c : cases) {
        try {
            read_dxf(c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const EFileError& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
    }
    // What follows the end marker is not drawing data: a cut there is no
    // error, and the entities before it stay.
    EXPECT_EQ(read_dxf("0\nCIRCLE\n40\n1.5\n0\nENDSEC\n\n")->Elements.Count(), 1); // a blank last line
    auto trash = read_dxf("0\nCIRCLE\n40\n1.5\n0\nEOF\nignore\ninvalid\n0\nLINE\n10");
    ASSERT_EQ(trash->Elements.Count(), 2);
    EXPECT_EQ(trash->Elements[0].GetCoord(4), 1.5);
    EXPECT_TRUE(trash->StopReading);
}

TEST(DxfReader, BinaryDxfReadsLikeItsAsciiForm)
{
    // R12 binary: one-byte codes, NUL-ended texts, doubles for coordinates,
    // two-byte integers for colours; then the same with two-byte codes.
    for (const bool shortCodes : {true, false}) {
        std::string bin("AutoCAD Binary DXF\r\n\x1a\0", 22);
        auto code = [&](int c) {
            bin += static_cast<char>(c & 0xFF);
            if (!shortCodes)
                bin += static_cast<char>(c >> 8);
        };
        auto text = [&](int c, const std::string& t) {
            code(c);
            bin += t;
            bin += '\0';
        };
        auto real = [&](int c, double v) {
            code(c);
            bin.append(reinterpret_cast<const char*>(&v), 8);
        };
        text(0, "SECTION");
        text(2, "ENTITIES");
        text(0, "LINE");
        text(8, "7");
        real(10, 1.5), real(20, -2), real(30, 0), real(11, 3), real(21, 4), real(31, 5);
        code(62);
        bin += "\x05\0";
        text(0, "ENDSEC");
        text(0, "EOF");
        auto d = read_dxf(bin);
        ASSERT_EQ(d->Elements.Count(), 1);
        const TElement& e = d->Elements[0];
        EXPECT_EQ(e.GetCoord(1), 1.5);
        EXPECT_EQ(e.GetCoord(2), -2);
        EXPECT_EQ(e.GetCoord(6), 5);
        EXPECT_EQ(e.GetLayer(), 7);
        EXPECT_EQ(e.GetColor(), 0xFF0000);
        EXPECT_TRUE(d->StopReading);
        // Cut inside a coordinate.
        EXPECT_THROW(read_dxf(bin.substr(0, bin.find("\x0b", 40) + 4)), EFileError) << shortCodes;
    }
}

TEST(DxfFullImport, InsertsOfBlocksNestedAndInArrays)
{
    // A block of one line at base (1, 0), placed turned a quarter and
    // doubled in Y, and as a 2 x 3 array (columns 10 apart, rows 20) inside
    // another block; an array too large to place is an error, not a hang.
    const std::string blocks =
        pairs({{"0", "SECTION"}, {"2", "BLOCKS"}, {"0", "BLOCK"},  {"2", "B"},      {"10", "1"},
               {"20", "0"},      {"0", "LINE"},   {"8", "0"},      {"10", "1"},     {"20", "0"},
               {"11", "2"},      {"21", "0"},     {"0", "ENDBLK"}, {"0", "BLOCK"},  {"2", "ARRAY"},
               {"0", "INSERT"},  {"2", "b"},      {"10", "1"},     {"20", "0"},     {"70", "3"},
               {"71", "2"},      {"44", "10"},    {"45", "20"},    {"0", "ENDBLK"}, {"0", "ENDSEC"}});
    auto d = read_full(blocks + pairs({{"0", "SECTION"},
                                       {"2", "ENTITIES"},
                                       {"0", "INSERT"},
                                       {"2", "B"},
                                       {"10", "5"},
                                       {"20", "5"},
                                       {"42", "2"},
                                       {"50", "90"},
                                       {"0", "INSERT"},
                                       {"2", "ARRAY"},
                                       {"10", "0"},
                                       {"20", "100"},
                                       {"0", "ENDSEC"},
                                       {"0", "EOF"}}));
    ASSERT_EQ(d->Elements.Count(), 7);
    auto near = [](double a, double b) { return std::fabs(a - b) < 1e-9; };
    const TElement& turned = d->Elements[0];
    EXPECT_TRUE(near(turned.GetCoord(1), 5) && near(turned.GetCoord(2), 5));
    EXPECT_TRUE(near(turned.GetCoord(4), 5) && near(turned.GetCoord(5), 6))
        << turned.GetCoord(4) << " " << turned.GetCoord(5);
    const TElement& last = d->Elements[6]; // column 3, row 2
    EXPECT_TRUE(near(last.GetCoord(1), 21) && near(last.GetCoord(2), 120))
        << last.GetCoord(1) << " " << last.GetCoord(2);
    EXPECT_EQ(d->Report.Count("INSERT").Read, 3);
    EXPECT_THROW(read_full(blocks + pairs({{"0", "SECTION"},
                                           {"2", "ENTITIES"},
                                           {"0", "INSERT"},
                                           {"2", "B"},
                                           {"70", "10000"},
                                           {"71", "10000"},
                                           {"0", "ENDSEC"}})),
                 ERangeError);
}

TEST(DxfFullImport, LayersNamedByANumberKeepItWithoutALayerTable)
{
    // WALLS comes first and no table reserves 1 and 2 for the layers "1"
    // and "2": WALLS moves to a number of its own.
    auto d = read_full(pairs({{"0", "LINE"},
                              {"8", "WALLS"},
                              {"11", "1"},
                              {"0", "LINE"},
                              {"8", "1"},
                              {"11", "2"},
                              {"0", "LINE"},
                              {"8", "2"},
                              {"11", "3"},
                              {"0", "EOF"}}));
    ASSERT_EQ(d->Elements.Count(), 3);
    const int walls = d->Elements[0].GetLayer();
    EXPECT_NE(walls, 1);
    EXPECT_NE(walls, 2);
    EXPECT_EQ(d->LayerNames[walls], "WALLS");
    for (int layer : {1, 2}) {
        EXPECT_EQ(d->Elements[layer].GetLayer(), layer);
        EXPECT_EQ(d->LayerNames[layer], std::to_string(layer));
    }
}

TEST(DxfFullImport, OurOwnFilesKeepTheWritersColours)
{
    // Colour number 11 is aqua in our writer's table and a light red in
    // AutoCAD's: a file laid out exactly as the writer writes is ours, one
    // group more and it is not.
    auto d = fresh();
    d->make_element(etLine, 0, 0, 0, 1, 1, 0, 0xFFFF00, 1, 7, 0, 0);
    const std::string own = write_text(dxf::write, *d);
    std::string other = own;
    other.insert(other.find("62\r\n"), "6\r\nDASHED\r\n");
    EXPECT_EQ(read_full(own)->Elements[0].GetColor(), 0xFFFF00);
    EXPECT_EQ(read_full(other)->Elements[0].GetColor(), 0x7F7FFF);
}

TEST(DxfFullImport, MultiLineTextRunsAlongItsDirectionInItsPlaneWithInlineColours)
{
    // "AB" 2 high with its baseline's left end on (10, 20); A in red. The
    // text runs along group 11, else along the direction of an embedded
    // object, else along the rotation in the object coordinate system,
    // else along the world's X; its up side is the extrusion times that.
    struct Row {
        std::vector<std::pair<std::string, std::string>> groups;
        double ux, uy, vx, vy; // the text's X and up directions in the world
    };
    const Row rows[] = {
        {{{"11", "0"}, {"21", "1"}, {"31", "0"}}, 0, 1, -1, 0},
        {{{"210", "0"}, {"220", "0"}, {"230", "-1"}}, 1, 0, 0, -1},
        {{{"50", "90"}, {"210", "0"}, {"220", "0"}, {"230", "-1"}}, 0, 1, 1, 0},
        {{{"101", "Embedded Object"}, {"70", "1"}, {"10", "0"}, {"20", "-1"}, {"30", "0"}}, 0, -1, 1, 0},
    };
    const double length = 2 * text::text_advance(text::Font::Simplex, U"AB");
    for (const Row& r : rows) {
        std::string file = pairs({{"0", "SECTION"},
                                  {"2", "ENTITIES"},
                                  {"0", "MTEXT"},
                                  {"62", "3"},
                                  {"10", "10"},
                                  {"20", "20"},
                                  {"40", "2"},
                                  {"71", "7"},
                                  {"1", "{\\C1;A}B"}});
        for (const auto& [code, value] : r.groups)
            file += pairs({{code, value}});
        auto d = read_full(file + pairs({{"0", "ENDSEC"}, {"0", "EOF"}}));
        ASSERT_GT(d->Elements.Count(), 4);
        int red = 0;
        for (int i = 0; i < d->Elements.Count(); ++i) {
            const TElement& e = d->Elements[i];
            red += e.GetColor() == dxf::colour_of_rgb(0xFF0000);
            EXPECT_TRUE(e.GetColor() == dxf::colour_of_rgb(0xFF0000) || e.GetColor() == dxf::colour_of_rgb(0x00FF00));
            for (int end = 0; end < 2; ++end) {
                const double dx = e.GetCoord(1 + 3 * end) - 10, dy = e.GetCoord(2 + 3 * end) - 20;
                const double u = dx * r.ux + dy * r.uy, v = dx * r.vx + dy * r.vy;
                EXPECT_TRUE(u > -1e-9 && u < length && v > -1e-9 && v < 2 + 1e-9) << u << " " << v;
            }
        }
        EXPECT_GT(red, 1);
        EXPECT_LT(red, d->Elements.Count() - 1);
    }
}

TEST(DxfFullImport, SingleLineTextStandsOnItsJustificationPoint)
{
    // "H" 10 high: its strokes' box against the point the justification
    // names. A vertical justification that is no 32-bit number is the
    // default (a 72 outside 32 bits fails the read, naming its line); an
    // attribute definition of its own shows its tag; a hidden attribute
    // nothing.
    struct Row {
        std::vector<std::pair<std::string, std::string>> groups;
        double left, right, bottom, top; // the box's sides; NaN: not judged
    };
    const double nan = std::nan(""), rise = -10 * text::font_metrics(text::Font::Simplex).descender;
    const double advance = 10 * text::text_advance(text::Font::Simplex, U"H");
    const Row rows[] = {
        {{{"0", "TEXT"}, {"1", "H"}}, 5, 5 + advance, 5, 15},
        {{{"0", "TEXT"}, {"1", "H"}, {"73", "-1e300"}}, 5, 5 + advance, 5, 15},
        {{{"0", "TEXT"}, {"1", "H"}, {"72", "2"}, {"73", "3"}}, 100 - advance, 100, 40, 50},
        {{{"0", "TEXT"}, {"1", "H"}, {"72", "1"}, {"73", "2"}}, 100 - advance / 2, 100 + advance / 2, 45, 55},
        {{{"0", "TEXT"}, {"1", "H"}, {"73", "1"}}, 100, 100 + advance, 50 + rise, 60 + rise},
        {{{"0", "ATTDEF"}, {"1", ""}, {"2", "H"}, {"70", "0"}}, 5, 5 + advance, 5, 15},
        {{{"0", "ATTRIB"}, {"1", "H"}, {"2", "TAG"}, {"70", "1"}}, nan, nan, nan, nan},
    };
    for (const Row& r : rows) {
        std::string file = pairs({{"0", "SECTION"}, {"2", "ENTITIES"}});
        for (const auto& [code, value] : r.groups)
            file += pairs({{code, value}});
        file += pairs({{"10", "5"}, {"20", "5"}, {"11", "100"}, {"21", "50"}, {"40", "10"}});
        auto d = read_full(file + pairs({{"0", "ENDSEC"}, {"0", "EOF"}}));
        const std::string row = r.groups.front().second + " " + std::to_string(r.groups.size());
        if (std::isnan(r.left)) {
            EXPECT_EQ(d->Elements.Count(), 0) << row;
            continue;
        }
        ASSERT_GT(d->Elements.Count(), 2) << row;
        double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
        for (const TElement* e : d->Elements)
            for (const int end : {0, 3}) {
                x0 = std::min(x0, e->GetCoord(1 + end)), x1 = std::max(x1, e->GetCoord(1 + end));
                y0 = std::min(y0, e->GetCoord(2 + end)), y1 = std::max(y1, e->GetCoord(2 + end));
            }
        // The strokes keep within the advance (side bearings) and fill the
        // capital height.
        EXPECT_GE(x0, r.left - 1e-9) << row;
        EXPECT_LE(x1, r.right + 1e-9) << row;
        EXPECT_GT(x1 - x0, 0.5 * advance) << row;
        EXPECT_NEAR(y0, r.bottom, 1e-6) << row;
        EXPECT_NEAR(y1, r.top, 1e-6) << row;
    }
}

TEST(DxfFullImport, SweepsWithHugeStartsEnd)
{
    // Ellipses, and arcs of a block scaled unevenly (drawn as ellipses),
    // whose start lies beyond what adding a turn changes: each is read at
    // once instead of turning its end up a turn at a time for ever.
    for (const char* start : {"1e20", "1e300"}) {
        const std::string arc = pairs({{"0", "SECTION"},
                                       {"2", "BLOCKS"},
                                       {"0", "BLOCK"},
                                       {"2", "B"},
                                       {"0", "ARC"},
                                       {"40", "1"},
                                       {"50", start},
                                       {"51", "0"},
                                       {"0", "ENDBLK"},
                                       {"0", "ENDSEC"}});
        const std::string entities = pairs({{"0", "SECTION"},
                                            {"2", "ENTITIES"},
                                            {"0", "INSERT"},
                                            {"2", "B"},
                                            {"41", "2"},
                                            {"0", "ELLIPSE"},
                                            {"11", "1"},
                                            {"40", "0.5"},
                                            {"41", start},
                                            {"42", "0"},
                                            {"0", "ENDSEC"},
                                            {"0", "EOF"}});
        auto d = fresh(0xFFFFFF);
        std::istringstream in(arc + entities);
        dxf::read_full(in, *d);
        EXPECT_EQ(d->Report.Count("ELLIPSE").Read + d->Report.Count("ELLIPSE").Skipped, 1) << start;
    }
    // An arc tilted when every arc view is taken is drawn as a chain too.
    std::string tilted = pairs({{"0", "SECTION"}, {"2", "ENTITIES"}});
    for (int k = 0; k < 100; ++k)
        tilted += pairs({{"0", "ARC"},
                         {"40", "1"},
                         {"50", k == 99 ? "1e20" : "10"},
                         {"51", "20"},
                         {"210", std::to_string(std::sin(0.1 + k * 0.01))},
                         {"220", "0"},
                         {"230", std::to_string(std::cos(0.1 + k * 0.01))}});
    tilted += pairs({{"0", "ENDSEC"}, {"0", "EOF"}});
    auto d = fresh(0xFFFFFF);
    std::istringstream in(tilted);
    dxf::read_full(in, *d);
    EXPECT_EQ(d->Report.Count("ARC").Read, 100);
}

TEST(DxfReader, IntegerGroupsOutsideThirtyTwoBitsNameTheLine)
{
    try {
        read_dxf(pairs({{"0", "LINE"}, {"10", "1"}, {"8", "3e9"}}));
        FAIL() << "no error";
    } catch (const ERangeError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("line 6:", 0), 0u) << e.what();
    }
    EXPECT_THROW(read_dxf(pairs({{"0", "POINT"}, {"62", "-1e10"}})), ERangeError);
}

TEST(DxfFormat, RoundTrip)
{
    auto d = fresh();
    d->make_element(etPoint, 1, 2, 3, 0, 0, 0, 0x0000FF, 0, 4, 0, 0);
    d->make_element(etLine, -1.5, 2, 0, 1e6, -3, 7, 0xFF00FF, 1, 9, 0, 0);
    d->make_element(etArc, 1, 2, 0, 5, 30, 60, 0x808000, 1, 3, 0, 2);
    d->make_element(etCircle, 1, 2, 3, 4, 0, 0, 0x008080, 1, 3, 0, 1);
    const std::string text = write_text(dxf::write, *d);
    auto back = read_dxf(text);
    ASSERT_EQ(back->Elements.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        const TElement& a = d->Elements[i];
        const TElement& b = back->Elements[i];
        EXPECT_EQ(b.GetEtype(), i == 3 ? etArc : a.GetEtype());
        EXPECT_EQ(b.GetColor(), a.GetColor());
        EXPECT_EQ(b.GetLayer(), a.GetLayer());
        EXPECT_EQ(b.GetView(), 1); // arc views are not written
        for (int s = 1; s <= (i == 3 ? 4 : 6); ++s)
            EXPECT_EQ(b.GetCoord(s), a.GetCoord(s)) << "element " << i << " slot " << s;
    }
    EXPECT_EQ(back->Elements[3].GetCoord(6), 360);
    // The circle came back as an arc: "ARC" and its two angle pairs.
    EXPECT_EQ(write_text(dxf::write, *back).size(), text.size() - 3 + 4 + 4 + 4 + 7);
}

} // namespace
} // namespace orvex
