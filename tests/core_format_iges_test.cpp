// The IGES format: the fixed layout the writer makes, the reader's
// directory and parameter sections, units, and files in the layouts of
// other systems (records on several lines, matrices, other delimiters).
#include "format_test_support.h"

#include "formats/iges/iges.h"

#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <utility>
#include <vector>

namespace orvex {
namespace {

using namespace testing_formats;
namespace iges = formats::iges;

std::unique_ptr<formats::StagedDrawing> read_iges(const std::string& text)
{
    return read_text(iges::read, text, 0xFFFFFF);
}

// One 80-column line: text, padding, suffix.
std::string card(const std::string& text, const std::string& suffix)
{
    const std::size_t used = text.size() + suffix.size();
    return text + std::string(used < 80 ? 80 - used : 0, ' ') + suffix + "\r\n";
}

std::string directory(int type, int parameter, int matrix, int colour, int lines, int form, int sequence, int level = 0,
                      const char* status = "00000000")
{
    char first[128], second[128];
    std::snprintf(first, sizeof first, "%8d%8d%8d%8d%8d%8d%8d%8s", type, parameter, 0, 1, level, 0, matrix, "");
    std::snprintf(second, sizeof second, "%8d%8d%8d%8d%8d", type, 0, colour, lines, form);
    char s1[32], s2[32];
    std::snprintf(s1, sizeof s1, "%.8sD%07d", status, sequence);
    std::snprintf(s2, sizeof s2, "D%07d", sequence + 1);
    return card(first, s1) + card(second, s2);
}

std::string parameter(const std::string& data, int entry, int sequence)
{
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, " %7dP%07d", entry, sequence);
    std::string text = data;
    text.resize(64, ' ');
    return card(text, suffix);
}

std::string global(const std::string& text) { return card("start", "S0000001") + card(text, "G0000001"); }

TEST(IgesWriter, OneLineAndEmptyDrawingAreByteExact)
{
    auto d = fresh();
    d->make_element(etLine, 0, 0, 0, 1, 2, 0, 0x0000FF, 0, 1, 0, 0);
    EXPECT_EQ(write_text(iges::write, *d, "line.igs"), data_file("line.igs"));
    auto empty = fresh();
    empty->Units = uMM;
    EXPECT_EQ(write_text(iges::write, *empty, "empty.igs"), data_file("empty.igs"));
}

TEST(IgesWriter, WritesPointsLinesAndArcsOnly)
{
    auto d = fresh();
    d->make_element(etArc, 1, 2, 0, 5, 0, 90, 0x00FFFF, 2, 7, 0, 1);
    d->make_element(etCircle, 1, 2, 0, 5, 0, 0, 0, 0, 1, 0, 1);
    d->make_element(etPoint, 1, 2, 3, 0, 0, 0, 0x808080, 0, 1, 0, 0);
    d->Elements[2].SetDeleted(true);
    d->make_element(etFillEdge, 0, 0, 0, 1, 1, 0, 0, 0, 1, 0, 1); // not written
    const std::string text = write_text(iges::write, *d, std::string(75, 'x') + "name");
    EXPECT_EQ(text.substr(0, 80), std::string(66, 'x') + "name  S0000001");
    EXPECT_NE(text.find(card("100,.0,1.0,2.0,6.0,2.0,1.0,7.0;", "3P0000002")), std::string::npos);
    EXPECT_NE(text.find(card("     100       2       1       2       0       0       0", "00000000D0000003")),
              std::string::npos);
    EXPECT_NE(text.find(card("     100       0       5       1       7", "D0000004")), std::string::npos);
    EXPECT_NE(text.find(card("S0000001G0000002D0000004P0000002", "T0000001")), std::string::npos);
}

TEST(IgesWriter, LongParameterDataGoesOnSeveralLines)
{
    auto d = fresh();
    d->make_element(etLine, -123456.1234, -223456.1234, -323456.1234, -423456.1234, -523456.1234, -623456.1234,
                    0x00FF00, 0, 1, 0, 0);
    d->make_element(etPoint, 1, 2, 3, 0, 0, 0, 0x00FF00, 0, 1, 0, 0);
    const std::string text = write_text(iges::write, *d);
    EXPECT_NE(text.find(card("110,-123456.1234,-223456.1234,-323456.1234,-423456.1234,", "3P0000002")),
              std::string::npos);
    EXPECT_NE(text.find(card("-523456.1234,-623456.1234;", "3P0000003")), std::string::npos);
    EXPECT_NE(text.find(card("116,1.0,2.0,3.0;", "5P0000004")), std::string::npos);
    // The directory counts the lines: pointer 2 with two lines, then pointer 4.
    EXPECT_NE(text.find(card("     110       0       3       2       1", "D0000004")), std::string::npos);
    EXPECT_NE(text.find("     116       4       1"), std::string::npos);
    EXPECT_NE(text.find(card("S0000001G0000002D0000006P0000004", "T0000001")), std::string::npos);
    auto back = read_iges(text);
    ASSERT_EQ(back->Elements.Count(), 2);
    EXPECT_EQ(back->Elements[0].GetCoord(6), -623456.1234);
    EXPECT_EQ(back->Elements[1].GetCoord(3), 3);
}

TEST(IgesReader, ReadsOwnFilesBack)
{
    auto line = read_iges(data_file("line.igs"));
    ASSERT_EQ(line->Elements.Count(), 1);
    const TElement& e = line->Elements[0];
    EXPECT_EQ(e.GetEtype(), etLine);
    EXPECT_EQ(e.GetLineType(), 1);
    EXPECT_EQ(e.GetColor(), 0x0000FF);
    EXPECT_EQ(e.GetLayer(), 1);
    EXPECT_EQ(e.GetCoord(4), 1);
    EXPECT_EQ(e.GetCoord(5), 2);
    EXPECT_EQ(line->Units, uINCH);
    auto empty = read_iges(data_file("empty.igs"));
    EXPECT_EQ(empty->Elements.Count(), 0);
    EXPECT_EQ(empty->Units, uMM);
}

TEST(IgesFormat, RoundTripOfArcs)
{
    auto d = fresh();
    d->make_element(etArc, 1, 2, 3, 5, 30, 120, 0xFF00FF, 2, 9, 0, 1);
    d->make_element(etArc, 1, 2, 3, 5, 0, 360, 0x0000FF, 0, 255, 0, 1); // start and end points coincide
    auto back = read_iges(write_text(iges::write, *d));
    ASSERT_EQ(back->Elements.Count(), 2);
    const TElement& arc = back->Elements[0];
    EXPECT_EQ(arc.GetCoord(3), 3);
    EXPECT_NEAR(arc.GetCoord(4), 5, 1e-4);
    EXPECT_NEAR(arc.GetCoord(5), 30, 1e-3);
    EXPECT_NEAR(arc.GetCoord(6), 120, 1e-3);
    EXPECT_EQ(arc.GetLineType(), 2);
    EXPECT_EQ(arc.GetColor(), 0xFF00FF);
    EXPECT_EQ(back->Elements[1].GetCoord(5), 0);
    EXPECT_EQ(back->Elements[1].GetCoord(6), 360);
    EXPECT_EQ(back->Elements[1].GetLayer(), 252);
}

TEST(IgesReader, ErrorsNameTheLine)
{
    auto error_of = [](const std::string& text) -> std::string {
        try {
            read_iges(text);
        } catch (const ERangeError& e) {
            return std::string("range: ") + e.what();
        } catch (const EListError& e) {
            return std::string("list: ") + e.what();
        }
        return "none";
    };
    // Each names its line once, also when the step that failed runs inside another.
    auto line_numbers_named = [](const std::string& message) {
        int named = 0;
        for (std::size_t at = message.find("line "); at != std::string::npos; at = message.find("line ", at + 1))
            named += at + 5 < message.size() && std::isdigit(static_cast<unsigned char>(message[at + 5]));
        return named;
    };
    const std::string head = global("1H,,1H;,,;");
    const std::pair<std::string, std::string> cases[] = {
        {head + "short line\r\n", "range: line 3:"},
        {head + directory(110, 1, 0, 3, 1, 0, 1) + parameter("110,1,2,3,4,5,6;", 9, 1), "list: line 5:"},
        {head + directory(110, 1, 0, 3, 1, 0, 1) + parameter("110,1,2,3,4,5,6;", 9, 1) +
             parameter("110,1,2,3,4,5,6;", 1, 2),
         "list: line 5:"}, // found when the next record starts on line 6
    };
    for (const auto& [text, start] : cases) {
        const std::string error = error_of(text);
        EXPECT_EQ(error.rfind(start, 0), 0u) << error;
        EXPECT_EQ(line_numbers_named(error), 1) << error;
    }
}

TEST(IgesReader, ParameterRecordsBelongToTheirDirectoryEntry)
{
    // Entries whose two type numbers differ make nothing; records on two
    // lines, in another order than the directory, a type the drawing does
    // not hold, and "D" exponents.
    const std::string text =
        global("1H,,1H;,,;") + directory(110, 1, 0, 3, 1, 0, 1) + directory(116, 3, 0, 4, 1, 7, 3) +
        directory(126, 4, 0, 4, 1, 0, 5) +
        card("     110       1       0       1       0       0       0", "00000000D0000007") +
        card("     116       0       3       1       0", "D0000008") + parameter("116,1.0D1,2.,3.;", 3, 1) +
        parameter("126,1,2,3,4,5,6,7,8,9,10,", 5, 2) + parameter("11,12,13,14,15,16,17,18,19,20,21,22,23,24;", 5, 3) +
        parameter("110,1.,2.,3.,", 1, 4) + parameter("4.,5.,6.;", 1, 5) + parameter("110,9,9,9,9,9,9;", 7, 6);
    auto d = read_iges(text);
    ASSERT_EQ(d->Elements.Count(), 2);
    const TElement& line = d->Elements[0];
    EXPECT_EQ(line.GetEtype(), etLine);
    EXPECT_EQ(line.GetCoord(1), 1);
    EXPECT_EQ(line.GetCoord(6), 6);
    EXPECT_EQ(line.GetColor(), 0x00FF00);
    const TElement& point = d->Elements[1];
    EXPECT_EQ(point.GetCoord(1), 10);
    EXPECT_EQ(point.GetLayer(), 7);
    EXPECT_EQ(point.GetColor(), 0xFF0000);
}

TEST(IgesReader, EntitiesArePlacedThroughTheirMatrix)
{
    // A translation, a quarter turn about Z, a mirror in the XY plane
    // (normal -Z), and a plane turned up into XZ, each applied to an arc of
    // radius 2 at the origin from 0 to 90 degrees.
    const std::string matrices[] = {
        "124,1.,0.,0.,10.,0.,1.,0.,20.,0.,0.,1.,5.;",
        "124,0.,-1.,0.,0.,1.,0.,0.,0.,0.,0.,1.,0.;",
        "124,1.,0.,0.,0.,0.,-1.,0.,0.,0.,0.,-1.,0.;",
        "124,1.,0.,0.,0.,0.,0.,-1.,0.,0.,1.,0.,0.;",
    };
    std::string text = global("1H,,1H;,,;");
    for (int i = 0; i < 4; ++i)
        text += directory(124, i + 1, 0, 0, 1, 0, 2 * i + 1);
    for (int i = 0; i < 4; ++i)
        text += directory(100, 5 + i, 2 * i + 1, 3, 1, 0, 9 + 2 * i);
    text += directory(116, 9, 1, 3, 1, 0, 17);
    for (int i = 0; i < 4; ++i)
        text += parameter(matrices[i], 2 * i + 1, i + 1);
    for (int i = 0; i < 4; ++i)
        text += parameter("100,0.,0.,0.,2.,0.,0.,2.;", 9 + 2 * i, 5 + i);
    text += parameter("116,1.,2.,3.;", 17, 9);
    auto d = read_iges(text);
    ASSERT_EQ(d->Elements.Count(), 5);
    auto slots = [&](int i) {
        std::vector<double> v;
        for (int s = 1; s <= 6; ++s)
            v.push_back(std::round(d->Elements[i].GetCoord(s) * 1000) / 1000);
        return v;
    };
    // Directions along +X read just below 360, as every IGES arc does.
    EXPECT_EQ(slots(0), (std::vector<double>{10, 20, 5, 2, 360, 90}));
    EXPECT_EQ(d->Elements[0].GetView(), 1);
    EXPECT_EQ(slots(1), (std::vector<double>{0, 0, 0, 2, 90, 180}));
    EXPECT_EQ(slots(2), (std::vector<double>{0, 0, 0, 2, 270, 0})); // mirrored: runs from -90 to 0
    EXPECT_EQ(d->Elements[3].GetView(), 2);                         // the first free arc view
    EXPECT_TRUE(d->ArcViews[2].Defined);
    EXPECT_EQ(d->ArcViews[2].M33, 0);
    EXPECT_EQ(d->ArcViews[2].M23, -1); // the plane's normal is -Y
    EXPECT_EQ(slots(3), (std::vector<double>{0, 0, 0, 2, 360, 90}));
    EXPECT_EQ(slots(4), (std::vector<double>{11, 22, 8, 0, 0, 0}));
}

TEST(IgesReader, LayersFromFormNumbersAndLevels)
{
    // {form, level, layer}: our files keep the layer in the form number;
    // other systems' form numbers never abort a load, and their levels
    // survive where the form is 0.
    const int cases[][3] = {{7, 0, 7},   {0, 0, 1},     {255, 0, 254}, {256, 0, 252}, {6007, 0, 252},
                            {0, 31, 31}, {0, 254, 254}, {0, 255, 1},   {0, -3, 1},    {5, 31, 5}};
    std::string text = global("1H,,1H;,,;");
    int n = 0;
    for (const auto& c : cases) {
        ++n;
        text += directory(116, n, 0, 3, 1, c[0], 2 * n - 1, c[1]);
    }
    for (int i = 1; i <= n; ++i)
        text += parameter("116,1.,2.,3.;", 2 * i - 1, i);
    auto d = read_iges(text);
    ASSERT_EQ(d->Elements.Count(), n);
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(d->Elements[i].GetLayer(), cases[i][2]) << "form " << cases[i][0] << " level " << cases[i][1];
}

TEST(IgesReader, ColourZeroIsDrawnLikeDxfColourZero)
{
    const std::string text =
        global("1H,,1H;,,;") + directory(110, 1, 0, 0, 1, 0, 1) + parameter("110,0.,0.,0.,1.,1.,0.;", 1, 1);
    EXPECT_EQ(read_text(iges::read, text, 0x000000)->Elements[0].GetColor(), 0xC0C0C0);
    EXPECT_EQ(read_text(iges::read, text, 0xFFFFFF)->Elements[0].GetColor(), 0x000000);
}

TEST(IgesReader, BlankLinesAndRecordsWithoutLineEnds)
{
    const std::string text = data_file("line.igs");
    auto same_line = [](const std::string& variant) {
        auto d = read_iges(variant);
        ASSERT_EQ(d->Elements.Count(), 1);
        EXPECT_EQ(d->Elements[0].GetCoord(5), 2);
    };
    same_line(text + "\r\n");
    same_line(text + "\r\n   \r\n\n");
    std::string noEnds;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' && text[i] != '\n')
            noEnds += text[i];
    same_line(noEnds);
    // The records' numbers count for errors as lines would: a directory
    // entry cut after its first line.
    const std::string cut = noEnds.substr(0, 6 * 80);
    try {
        read_iges(cut);
        ADD_FAILURE() << "no error";
    } catch (const ERangeError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("line 6:", 0), 0u) << e.what();
    }
}

TEST(IgesReader, CurvesThatAreNotModelGeometryAreLeftOut)
{
    // A line in a surface's parameter space (use flag 05), a blanked line,
    // and the parameter-space curve of a curve on a surface (142): a
    // composite (102) of two lines. Its model-space curve stays.
    const std::string text = global("1H,,1H;,,;") + directory(110, 1, 0, 3, 1, 0, 1, 0, "00010500") +
                             directory(110, 2, 0, 3, 1, 0, 3, 0, "01000000") + directory(110, 3, 0, 3, 1, 0, 5) +
                             directory(110, 4, 0, 3, 1, 0, 7) + directory(102, 5, 0, 3, 1, 0, 9) +
                             directory(110, 6, 0, 3, 1, 0, 11) + directory(142, 7, 0, 3, 1, 0, 13) +
                             parameter("110,0.,0.,0.,1.,0.,0.;", 1, 1) + parameter("110,0.,0.,0.,2.,0.,0.;", 3, 2) +
                             parameter("110,0.,0.,0.,3.,0.,0.;", 5, 3) + parameter("110,0.,0.,0.,4.,0.,0.;", 7, 4) +
                             parameter("102,2,5,7;", 9, 5) + parameter("110,5.,5.,5.,6.,6.,6.;", 11, 6) +
                             parameter("142,1,0,9,11,2;", 13, 7);
    auto d = read_iges(text);
    ASSERT_EQ(d->Elements.Count(), 1);
    EXPECT_EQ(d->Elements[0].GetCoord(1), 5);
}

TEST(IgesReader, ValuesTheFactoryRefusesAreLeftOut)
{
    // {record, elements made}: NaN and infinity from exponents, values past
    // +-1e9 in every slot that counts; a Z past it becomes 0.
    const std::pair<const char*, int> cases[] = {
        {"110,0.,0.,0.,1.,1.,0.;", 1},
        {"110,1.D308,0.,0.,1.,1.,0.;", 0},
        {"110,0D400,0.,0.,1.,1.,0.;", 0},
        {"110,0.,1000000001.,0.,1.,1.,0.;", 0},
        {"110,0.,0.,0.,1000000001.,1.,0.;", 0},
        {"110,0.,0.,0.,1.,1000000001.,0.;", 0},
        {"116,1000000001.,0.,0.;", 0},
        {"116,0.,-1000000001.,0.;", 0},
        {"100,0.,1000000001.,0.,1.,0.,1.,0.;", 0},
        {"100,0.,0.,0.,1.D308,0.,1.,0.;", 0},
    };
    for (const auto& [record, made] : cases) {
        const int type = std::atoi(record);
        auto d = read_iges(global("1H,,1H;,,;") + directory(type, 1, 0, 3, 1, 0, 1) + parameter(record, 1, 1));
        EXPECT_EQ(d->Elements.Count(), made) << record;
    }
    auto zs = read_iges(global("1H,,1H;,,;") + directory(110, 1, 0, 3, 1, 0, 1) +
                        parameter("110,0.,0.,1000000001.,1.,1.,-1.D12;", 1, 1));
    ASSERT_EQ(zs->Elements.Count(), 1);
    EXPECT_EQ(zs->Elements[0].GetCoord(3), 0);
    EXPECT_EQ(zs->Elements[0].GetCoord(6), 0);
}

TEST(IgesReader, DirectoryEntriesWithoutParameterDataAreErrors)
{
    const std::string entries = global("1H,,1H;,,;") + directory(124, 1, 0, 0, 1, 0, 1) +
                                directory(110, 2, 1, 3, 1, 0, 3) + directory(116, 3, 0, 3, 1, 0, 5);
    const std::string cases[] = {
        entries, // cut after the directory
        entries + parameter("124,1.,0.,0.,0.,0.,1.,0.,0.,0.,0.,1.,0.;", 1, 1) +
            parameter("110,0.,0.,0.,1.,1.,0.;", 3, 2), // the point's data never comes
    };
    const std::string lines[] = {"line 5:", "line 7:"};
    for (int i = 0; i < 2; ++i) {
        try {
            read_iges(cases[i]);
            ADD_FAILURE() << "no error for case " << i;
        } catch (const EFileError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(lines[i], 0), 0u) << e.what();
        }
    }
}

TEST(IgesFullImport, CopiousDataConicsAndCounts)
{
    // {record, form, lines, points}: a 2-D path at a common height, a 3-D
    // path, a closed planar curve, two point sets; a parabola's chain; a
    // composite and a surface are counted, the surface as skipped.
    struct Case {
        const char* record;
        int form, lines, points;
    };
    const Case cases[] = {
        {"106,1,3,5.,0.,0.,1.,0.,1.,1.;", 11, 2, 0},       {"106,2,3,0.,0.,0.,1.,0.,1.,1.,1.,2.;", 12, 2, 0},
        {"106,1,4,0.,0.,0.,1.,0.,1.,1.,0.,1.;", 63, 4, 0}, {"106,1,2,0.,0.,0.,1.,1.;", 1, 0, 2},
        {"106,2,2,0.,0.,0.,1.,1.,1.;", 2, 0, 2},
    };
    for (const Case& c : cases) {
        auto d = fresh(0xFFFFFF);
        std::istringstream in(global("1H,,1H;,,;") + directory(106, 1, 0, 3, 1, c.form, 1, 9) +
                              parameter(c.record, 1, 1));
        iges::read_full(in, *d);
        int lines = 0, points = 0;
        for (const TElement* e : d->Elements) {
            lines += e->GetEtype() == etLine;
            points += e->GetEtype() == etPoint;
            EXPECT_EQ(e->GetLayer(), 9); // the level: the form is a real form here
        }
        EXPECT_EQ(lines, c.lines) << c.record;
        EXPECT_EQ(points, c.points) << c.record;
        EXPECT_EQ(d->Report.Count("106 COPIOUS DATA").Read, 1);
    }
    // y = -x^2 / 4 from x = -2 to 2, and what else the file holds.
    auto d = fresh(0xFFFFFF);
    std::istringstream in(global("1H,,1H;,,;") + directory(104, 1, 0, 3, 1, 3, 1) + directory(102, 2, 0, 3, 1, 0, 3) +
                          directory(128, 3, 0, 3, 1, 0, 5) +
                          parameter("104,1.,0.,0.,0.,4.,0.,0.,-2.,-1.,2.,-1.;", 1, 1) + parameter("102,1,1;", 3, 2) +
                          parameter("128,1,1,1,1,0,0,1,0,0;", 5, 3));
    iges::read_full(in, *d);
    ASSERT_GT(d->Elements.Count(), 4);
    for (const TElement* e : d->Elements)
        for (const int s : {1, 4})
            EXPECT_NEAR(e->GetCoord(s + 1), -e->GetCoord(s) * e->GetCoord(s) / 4, 1e-12);
    EXPECT_EQ(d->Report.Count("102 COMPOSITE CURVE").Read, 1);
    EXPECT_EQ(d->Report.Count("128 RATIONAL B-SPLINE SURFACE").Skipped, 1);

    // A colour by definition (314: red, green, blue in percent); the basic
    // import knows no such colours and draws lime.
    const std::string coloured = global("1H,,1H;,,;") + directory(314, 1, 0, 0, 1, 0, 1) +
                                 directory(110, 2, 0, -1, 1, 0, 3) + parameter("314,100.,50.,0.,3HRGB;", 1, 1) +
                                 parameter("110,0.,0.,0.,1.,1.,0.;", 3, 2);
    auto full = fresh(0xFFFFFF);
    std::istringstream fullIn(coloured);
    iges::read_full(fullIn, *full);
    ASSERT_EQ(full->Elements.Count(), 1);
    EXPECT_EQ(full->Elements[0].GetColor(), 0x0080FF);
    EXPECT_EQ(read_iges(coloured)->Elements[0].GetColor(), 0x00FF00);
}

TEST(IgesReader, OtherDelimitersAndUnits)
{
    auto d = read_iges(data_file("../../../samples/matrix_and_continuation.igs"));
    EXPECT_EQ(d->Units, uMM);
    ASSERT_EQ(d->Elements.Count(), 3);
    EXPECT_EQ(d->Elements[0].GetCoord(1), 10); // the arc, moved by its matrix
    EXPECT_EQ(d->Elements[0].GetCoord(2), 20);
    EXPECT_EQ(d->Elements[0].GetCoord(3), 5);
    EXPECT_EQ(d->Elements[1].GetCoord(1), 15); // 1.5D1
    EXPECT_EQ(d->Elements[1].GetCoord(5), 20);
    EXPECT_EQ(d->Elements[1].GetLineType(), 1);
    EXPECT_EQ(d->Elements[2].GetCoord(3), 3);
    EXPECT_EQ(d->Elements[2].GetColor(), 0xFFFFFF);
}

TEST(IgesReader, ReportNamesKindsByNumberAndNameAndTheUnitsTheFileStates)
{
    // Kinds the drawing leaves out are named as those it reads; a number
    // without a name stays a number.
    const struct {
        int type;
        const char* kind;
    } kinds[] = {
        {314, "314 COLOR DEFINITION"}, {406, "406 PROPERTY"}, {402, "402 ASSOCIATIVITY INSTANCE"}, {5001, "5001"}};
    for (const auto& k : kinds) {
        auto d = fresh(0xFFFFFF);
        std::istringstream in(global("1H,,1H;,,;") + directory(k.type, 1, 0, 0, 1, 0, 1) +
                              parameter(std::to_string(k.type) + ",1.;", 1, 1));
        iges::read_full(in, *d);
        ASSERT_EQ(d->Report.Kinds.size(), 1u) << k.type;
        EXPECT_EQ(d->Report.Kinds[0].Kind, k.kind);
        EXPECT_EQ(d->Report.Kinds[0].Skipped, 1);
    }

    // The units flag (field 14) by its name, the units name (field 15) as
    // written where the flag defers to it, in both imports.
    const struct {
        const char* global;
        const char* units;
    } units[] = {
        {"1H,,1H;,,,,,,,,,,,1.,2,2HMM;", "mm"},
        {"1H,,1H;,,,,,,,,,,,1.,4,2HFT;", "feet"},
        {"1H,,1H;,,,,,,,,,,,1.,10,2HCM;", "cm"},
        {"1H,,1H;,,,,,,,,,,,1.,3,5HCUBIT;", "CUBIT"},
        {"1H,,1H;,,;", ""},
    };
    for (const auto& u : units)
        for (const TImportMode mode : {imBasic, imFull}) {
            auto d = fresh(0xFFFFFF);
            std::istringstream in(global(u.global) + directory(110, 1, 0, 3, 1, 0, 1) +
                                  parameter("110,0.,0.,0.,1.,2.,0.;", 1, 1));
            (mode == imFull ? iges::read_full : iges::read)(in, *d);
            EXPECT_EQ(d->Report.Units, u.units) << u.global << " " << mode;
        }
}

TEST(IgesReader, BlankStatusFieldsReadAsZeros)
{
    // A directory entry whose status columns are blank is an entry like any
    // other, in both imports; the full import counts the surface as well.
    const std::string text = global("1H,,1H;,,;") + directory(110, 1, 0, 3, 1, 0, 1, 0, "        ") +
                             directory(128, 2, 0, 3, 1, 0, 3, 0, "        ") +
                             parameter("110,0.,0.,0.,1.,2.,0.;", 1, 1) + parameter("128,1,1,1,1,0,0,1,0,0;", 3, 2);
    for (const TImportMode mode : {imBasic, imFull}) {
        auto d = fresh(0xFFFFFF);
        std::istringstream in(text);
        (mode == imFull ? iges::read_full : iges::read)(in, *d);
        ASSERT_EQ(d->Elements.Count(), 1) << mode;
        EXPECT_EQ(d->Elements[0].GetCoord(5), 2);
        if (mode == imFull) {
            EXPECT_EQ(d->Report.Count("128 RATIONAL B-SPLINE SURFACE").Skipped, 1);
        }
    }
}

TEST(IgesFullImport, BSplineOfEmptyRangeIsDrawnOverItsKnots)
{
    // Degree 1 from (0, 0, 0) to (10, 0, 0), knots -1 -1 0 0, range 0 to 0.
    auto d = fresh(0xFFFFFF);
    std::istringstream in(global("1H,,1H;,,;") + directory(126, 1, 0, 3, 1, 0, 1) +
                          parameter("126,1,1,1,0,1,0,-1.,-1.,0.,0.,1.,1.,0.,0.,0.,10.,0.,0.,0.,0.;", 1, 1));
    iges::read_full(in, *d);
    ASSERT_GT(d->Elements.Count(), 0);
    double low = 1e300, high = -1e300;
    for (const TElement* e : d->Elements)
        for (const int s : {1, 4})
            low = std::min(low, e->GetCoord(s)), high = std::max(high, e->GetCoord(s));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 10);
    EXPECT_EQ(d->Report.Count("126 B-SPLINE CURVE").Read, 1);
}

// The line elements of a drawing as their two end points, rounded to a
// thousandth.
std::vector<std::array<double, 4>> segments(const formats::StagedDrawing& d)
{
    std::vector<std::array<double, 4>> found;
    auto r = [](double v) { return std::round(v * 1000) / 1000; };
    for (const TElement* e : d.Elements) {
        EXPECT_EQ(e->GetEtype(), etLine);
        found.push_back({r(e->GetCoord(1)), r(e->GetCoord(2)), r(e->GetCoord(4)), r(e->GetCoord(5))});
    }
    return found;
}

TEST(IgesFullImport, DimensionDrawsItsNoteLeaderAndWitnessLineOnceThroughItsMatrix)
{
    // A linear dimension moved by (100, 0, 0) names a note (turned a quarter
    // about Z by its own matrix), a leader with a triangle arrowhead (height
    // 1 across, width 2 along) and a witness line; all three are also in the
    // directory as physically dependent entities.
    const std::string text =
        global("1H,,1H;,,;") + directory(124, 1, 0, 0, 1, 0, 1) + directory(124, 2, 0, 0, 1, 0, 3) +
        directory(212, 3, 3, 3, 1, 0, 5, 0, "00010100") + directory(214, 4, 0, 3, 1, 2, 7, 0, "00010100") +
        directory(106, 5, 0, 3, 1, 40, 9, 0, "00010100") + directory(216, 6, 1, 3, 1, 0, 11, 0, "00000100") +
        parameter("124,1.,0.,0.,100.,0.,1.,0.,0.,0.,0.,1.,0.;", 1, 1) +
        parameter("124,0.,-1.,0.,0.,1.,0.,0.,0.,0.,0.,1.,0.;", 3, 2) +
        parameter("212,1,3,6.,2.,1,1.5707963,0.,0,0,10.,20.,0.,3HABC;", 5, 3) +
        parameter("214,1,1.,2.,0.,5.,5.,15.,5.;", 7, 4) + parameter("106,1,3,0.,0.,0.,0.,2.,0.,12.;", 9, 5) +
        parameter("216,5,7,0,9,0;", 11, 6);
    auto d = fresh(0xFFFFFF);
    std::istringstream in(text);
    iges::read_full(in, *d);
    const auto lines = segments(*d);

    // Nothing twice.
    auto sorted = lines;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());

    // The note's box, (10, 20) to (16, 22), turned to x -22..-20, y 10..16,
    // then moved: its strokes fill x 78..80 and y 94..100 ... along y 10..16.
    double low[2] = {1e300, 1e300}, high[2] = {-1e300, -1e300};
    int note = 0, leader = 0, witness = 0;
    for (const auto& l : lines) {
        if (l[0] < 90 && l[2] < 90) {
            ++note;
            for (int k = 0; k < 2; ++k)
                for (int end = 0; end < 2; ++end) {
                    low[k] = std::min(low[k], l[2 * end + k]);
                    high[k] = std::max(high[k], l[2 * end + k]);
                }
        } else if (l[0] == 100 && l[2] == 100) {
            ++witness; // only (0, 2)-(0, 12): the first segment is the gap
            EXPECT_EQ(std::min(l[1], l[3]), 2);
            EXPECT_EQ(std::max(l[1], l[3]), 12);
        } else {
            ++leader;
            for (const double x : {l[0], l[2]})
                EXPECT_TRUE(x >= 105 && x <= 115) << x;
        }
    }
    EXPECT_GT(note, 10);
    EXPECT_GE(low[0], 78 - 1e-9);
    EXPECT_LE(high[0], 80 + 1e-9);
    EXPECT_GT(high[0] - low[0], 1.9); // the box height is the capital height
    EXPECT_GE(low[1], 10 - 1e-9);
    EXPECT_LE(high[1], 16 + 1e-9);
    EXPECT_GT(high[1] - low[1], 5); // the string is stretched to the box width
    EXPECT_EQ(witness, 1);
    // The leader's line and its arrowhead's three sides, the tip at (105, 5).
    ASSERT_EQ(leader, 4);
    const std::vector<std::array<double, 4>> expected{
        {105, 5, 115, 5}, {105, 5, 107, 5.5}, {107, 5.5, 107, 4.5}, {107, 4.5, 105, 5}};
    for (const auto& e : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), e), lines.end()) << e[0] << " " << e[1] << " " << e[2];

    for (const char* kind : {"212 GENERAL NOTE", "214 LEADER", "106 COPIOUS DATA", "216 LINEAR DIMENSION"}) {
        EXPECT_EQ(d->Report.Count(kind).Read, 1) << kind;
        EXPECT_EQ(d->Report.Count(kind).Skipped, 0) << kind;
    }
    // The basic import draws no annotation.
    EXPECT_EQ(read_iges(text)->Elements.Count(), 0);
}

TEST(IgesFullImport, NoteTextsOverParameterLinesAndInLatin1)
{
    // The same note with its text on one line and split after column 64:
    // column 65 and the pointer's padding are no part of the text.
    std::string head = "212,1,8,0.,1.,1,1.5707963,0.,0,0,0.";
    head += std::string(57 - 7 - head.size(), '0') + ",0.,0.,";
    ASSERT_EQ(head.size(), 57u);
    auto strokes = [&](const std::string& records) {
        auto d = fresh(0xFFFFFF);
        std::istringstream in(global("1H,,1H;,,;") + directory(212, 1, 0, 3, 1, 0, 1) + records);
        iges::read_full(in, *d);
        return segments(*d);
    };
    const auto one = strokes(parameter("212,1,8,0.,1.,1,1.5707963,0.,0,0,0.,0.,0.,8HIGESNOTE;", 1, 1));
    ASSERT_FALSE(one.empty());
    EXPECT_EQ(strokes(parameter(head + "8HIGESN", 1, 1) + parameter("OTE;", 1, 2)), one);

    // A text that is no UTF-8 is read as Latin-1: the degree sign as one byte.
    EXPECT_EQ(strokes(parameter("212,1,3,0.,1.,1,1.5707963,0.,0,0,0.,0.,0.,3H90\xB0;", 1, 1)),
              strokes(parameter("212,1,3,0.,1.,1,1.5707963,0.,0,0,0.,0.,0.,4H90\xC2\xB0;", 1, 1)));
}

TEST(IgesFullImport, LeaderArrowheadsByForm)
{
    // {form, line elements besides the leader's own}: wedge, triangle, no
    // arrowhead, rectangle, slash.
    const std::pair<int, int> forms[] = {{1, 2}, {2, 3}, {4, 0}, {7, 4}, {9, 1}};
    for (const auto& [form, head] : forms) {
        auto d = fresh(0xFFFFFF);
        std::istringstream in(global("1H,,1H;,,;") + directory(214, 1, 0, 3, 1, form, 1) +
                              parameter("214,1,1.,2.,0.,0.,0.,10.,0.;", 1, 1));
        iges::read_full(in, *d);
        EXPECT_EQ(d->Elements.Count(), head + 1) << form;
    }
}

} // namespace
} // namespace orvex
