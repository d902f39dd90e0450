// Faces of the full DXF import (SOLID, 3DFACE, WIPEOUT, MESH) and its line
// types and lineweights.
#include "format_test_support.h"

#include "formats/dxf/dxf_face_shapes.h"
#include "formats/dxf/dxf_full.h"

#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace orvex {
namespace {

using namespace formats::dxf::full;
using formats::Vec3;
using testing_formats::fresh;

// An entity of a kind that keeps its groups, as the reader makes it.
Entity entity(Kind kind, std::vector<Group> groups, int flags = 0)
{
    Entity e;
    e.kind = kind;
    e.groups = std::move(groups);
    e.g70 = flags;
    return e;
}

// Corners 10-13 at (x, y) pairs; a pair left out leaves the corner unwritten.
std::vector<Group> corner_groups(const std::vector<std::array<double, 2>>& corners)
{
    std::vector<Group> groups;
    int i = 0;
    for (const auto& [x, y] : corners) {
        groups.push_back({10 + i, x, {}});
        groups.push_back({20 + i, y, {}});
        ++i;
    }
    return groups;
}

std::string points_text(const std::vector<Vec3>& points)
{
    std::ostringstream out;
    for (const Vec3& p : points)
        out << "(" << p[0] << " " << p[1] << " " << p[2] << ")";
    return out.str();
}

TEST(DxfFaces, ThreeDFaceDrawsTheEdgesItsFlagsLeaveVisible)
{
    // Corners a b c d; an edge is named by its ends' labels (the first label
    // of a repeated corner).
    struct Row {
        std::vector<std::array<double, 2>> corners;
        int flags;
        const char* edges;
    };
    const std::vector<std::array<double, 2>> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const std::vector<std::array<double, 2>> triangle{{0, 0}, {10, 0}, {10, 10}, {10, 10}};
    const Row rows[] = {
        {square, 0, "ab bc cd da"},
        {square, 1, "bc cd da"},
        {square, 2 | 8, "ab cd"},
        {square, 15, ""},
        {triangle, 0, "ab bc ca"}, // no edge from the third corner to its repeat
        {triangle, 8, "ab bc"},    // the fourth edge closes the triangle
        {{{0, 0}, {10, 0}, {10, 10}}, 4, "ab bc ca"},
        {{{0, 0}, {0, 0}, {10, 10}, {0, 10}}, 0, "ac cd da"},
    };
    for (const Row& row : rows) {
        const auto corners = face_corners(entity(Kind::Face3d, corner_groups(row.corners), row.flags));
        ASSERT_TRUE(corners);
        auto label = [&](const Vec3& p) {
            for (std::size_t k = 0; k < row.corners.size(); ++k)
                if (p[0] == row.corners[k][0] && p[1] == row.corners[k][1])
                    return static_cast<char>('a' + k);
            return '?';
        };
        std::string edges;
        for (const auto& [a, b] : face_edges(*corners, row.flags))
            edges += std::string(edges.empty() ? "" : " ") + label(a) + label(b);
        EXPECT_EQ(edges, row.edges) << "flags " << row.flags << " corners " << row.corners.size();
    }
}

TEST(DxfFaces, SolidOutlineRunsFirstSecondFourthThird)
{
    struct Row {
        std::vector<Group> groups;
        const char* outline;
    };
    const Row rows[] = {
        // The filled-box arrowhead: corners written as a Z.
        {corner_groups({{-0.5, -0.5}, {0.5, -0.5}, {-0.5, 0.5}, {0.5, 0.5}}),
         "(-0.5 -0.5 0)(0.5 -0.5 0)(0.5 0.5 0)(-0.5 0.5 0)"},
        {corner_groups({{0, 0}, {4, 0}, {0, 3}, {0, 3}}), "(0 0 0)(4 0 0)(0 3 0)"}, // the fourth repeats the third
        {corner_groups({{0, 0}, {4, 0}, {0, 3}}), "(0 0 0)(4 0 0)(0 3 0)"},         // no fourth
        {[] {
             auto g = corner_groups({{0, 0}, {4, 0}, {0, 3}});
             g.push_back({30, 2, {}}); // the first corner's Z lifts the others
             return g;
         }(),
         "(0 0 2)(4 0 2)(0 3 2)"},
    };
    for (const Row& row : rows) {
        const auto corners = face_corners(entity(Kind::Solid, row.groups));
        ASSERT_TRUE(corners);
        EXPECT_EQ(points_text(solid_outline(*corners)), row.outline);
    }
    EXPECT_FALSE(face_corners(entity(Kind::Solid, corner_groups({{0, 0}, {4, 0}})))); // not a face
}

TEST(DxfFaces, WipeoutBoundaryMapsImageCoordinatesAsEzdxf)
{
    // Insertion (10, 20), a pixel of U (0, 1) and V (-2, 0), an image of
    // 2 x 3 pixels; the expected points are ezdxf 0.18's boundary_path_wcs().
    const std::vector<Group> placing = {{10, 10, {}}, {20, 20, {}}, {11, 0, {}}, {21, 1, {}},
                                        {12, -2, {}}, {22, 0, {}},  {13, 2, {}}, {23, 3, {}}};
    struct Row {
        std::vector<Group> boundary;
        const char* outline;
    };
    const Row rows[] = {
        {{{71, 2, {}},
          {91, 4, {}},
          {14, -0.5, {}},
          {24, -0.5, {}},
          {14, 1.5, {}},
          {24, -0.5, {}},
          {14, 0.5, {}},
          {24, 2.5, {}},
          {14, -0.5, {}},
          {24, -0.5, {}}},
         "(4 20 0)(4 22 0)(10 21 0)"}, // the closing repeat dropped
        {{{71, 1, {}}, {91, 2, {}}, {14, -0.5, {}}, {24, -0.5, {}}, {14, 1.5, {}}, {24, 2.5, {}}},
         "(4 20 0)(4 22 0)(10 22 0)(10 20 0)"},
        {{}, "(4 20 0)(4 22 0)(10 22 0)(10 20 0)"}, // no boundary: the whole image
        // A count beyond the points written reads the points there are.
        {{{91, 1e12, {}}, {14, -0.5, {}}, {24, -0.5, {}}, {14, 1.5, {}}, {24, 2.5, {}}},
         "(4 20 0)(4 22 0)(10 22 0)(10 20 0)"},
    };
    for (const Row& row : rows) {
        std::vector<Group> groups = placing;
        groups.insert(groups.end(), row.boundary.begin(), row.boundary.end());
        EXPECT_EQ(points_text(wipeout_outline(entity(Kind::Wipeout, groups))), row.outline);
    }
}

TEST(DxfFaces, MeshEdgesComeOnceFromTheEdgeListOrTheFaces)
{
    // A square of two triangles sharing the diagonal 0-2; a proxy count 92
    // before the mesh's marker is not its vertex count.
    std::vector<Group> head = {{92, 7, {}}, {100, 0, "AcDbSubDMesh"}, {92, 4, {}}};
    for (const auto& [x, y] : {std::pair(0, 0), {1, 0}, {1, 1}, {0, 1}})
        head.insert(head.end(), {{10, double(x), {}}, {20, double(y), {}}});
    head.push_back({93, 8, {}});
    for (const double item : {3, 0, 1, 2, 3, 0, 2, 3}) // corner count, then corners
        head.push_back({90, item, {}});
    auto edges_of = [](const std::vector<Group>& groups) {
        const MeshEdges mesh = mesh_edges(entity(Kind::Mesh, groups));
        std::string text = std::to_string(mesh.vertices.size()) + ":";
        for (const auto& [a, b] : mesh.edges)
            text += " " + std::to_string(a) + std::to_string(b);
        return text;
    };
    // Faces only: five edges, the shared one once.
    EXPECT_EQ(edges_of(head), "4: 01 12 20 23 30");
    // An edge list given: its edges, a repeat and a bad index left out.
    std::vector<Group> listed = head;
    listed.push_back({94, 4, {}});
    for (const double v : {0, 1, 1, 0, 2, 9, 3, 2})
        listed.push_back({90, v, {}});
    EXPECT_EQ(edges_of(listed), "4: 01 32");
    // Counts beyond the groups written: what is there, no more (the cut
    // face's corners 0 and 1).
    std::vector<Group> cut(head.begin(), head.begin() + 15);
    cut[2].number = 1e15; // vertex count
    cut[11].number = 4e9; // face list size
    EXPECT_EQ(edges_of(cut), "4: 01");
}

// Group pairs as DXF text.
std::string dxf(const std::vector<std::pair<int, std::string>>& groups)
{
    std::string text;
    for (const auto& [code, value] : groups)
        text += std::to_string(code) + "\n" + value + "\n";
    return text;
}

std::unique_ptr<formats::StagedDrawing> read_full(const std::string& text)
{
    auto d = fresh(0xFFFFFF);
    std::istringstream in(text);
    formats::dxf::read_full(in, *d);
    return d;
}

TEST(DxfFaces, FacesAreReadAndSolidsOfModellersStaySkipped)
{
    const auto d = read_full(dxf(
        {{0, "SECTION"}, {2, "ENTITIES"}, {0, "SOLID"},  {10, "0"},      {20, "0"},     {11, "1"}, {21, "0"}, {12, "0"},
         {22, "1"},      {0, "SOLID"},    {10, "0"},     {20, "0"},      {0, "3DFACE"}, {10, "0"}, {20, "0"}, {11, "1"},
         {21, "0"},      {12, "1"},       {22, "1"},     {0, "TRACE"},   {10, "0"},     {11, "1"}, {12, "0"}, {22, "1"},
         {0, "WIPEOUT"}, {0, "MESH"},     {0, "REGION"}, {0, "3DSOLID"}, {0, "ENDSEC"}, {0, "EOF"}}));
    struct Row {
        const char* kind;
        int read, skipped;
    };
    for (const Row& row : {Row{"SOLID", 1, 1}, Row{"3DFACE", 1, 0}, Row{"TRACE", 1, 0}, Row{"WIPEOUT", 1, 0},
                           Row{"MESH", 1, 0}, Row{"REGION", 0, 1}, Row{"3DSOLID", 0, 1}}) {
        EXPECT_EQ(d->Report.Count(row.kind).Read, row.read) << row.kind;
        EXPECT_EQ(d->Report.Count(row.kind).Skipped, row.skipped) << row.kind;
    }
}

TEST(DxfFullLineTypes, PatternsLayersBlocksAndWeightsGiveTheLineTypeCode)
{
    // A drawing 100 wide; each row is the groups of a line 100 long, or an
    // entity of its own, and the line type each element it makes takes (21-24: the dash style two pixels wide).
    using Groups = std::vector<std::pair<int, std::string>>;
    const Groups header = {{0, "SECTION"}, {2, "HEADER"}, {9, "$EXTMIN"}, {10, "0"}, {20, "0"},    {30, "0"},
                           {9, "$EXTMAX"}, {10, "100"},   {20, "100"},    {30, "0"}, {0, "ENDSEC"}};
    const std::vector<std::pair<const char*, std::vector<double>>> patterns = {
        {"CONTINUOUS", {}},
        {"DOT", {0, -0.25}},
        {"ACAD_ISO07W100", {0.5, -3}},
        {"DASHED", {0.5, -0.25}},
        {"HIDDEN", {0.25, -0.125}},
        {"CENTER", {1.25, -0.25, 0.25, -0.25}},
        {"ACAD_ISO08W100", {24, -3, 6, -3}},
        {"BORDER", {0.5, -0.25, 0.5, -0.25, 0, -0.25}},
        {"PHANTOM", {1.25, -0.25, 0.25, -0.25, 0.25, -0.25}},
        {"DIVIDE", {0.5, -0.25, 0, -0.25, 0, -0.25}},
    };
    Groups tables = {{0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LTYPE"}};
    for (const auto& [name, dashes] : patterns) {
        tables.insert(tables.end(), {{0, "LTYPE"}, {2, name}, {73, std::to_string(dashes.size())}});
        for (const double d : dashes)
            tables.push_back({49, std::to_string(d)});
    }
    tables.insert(tables.end(), {{0, "ENDTAB"},
                                 {0, "TABLE"},
                                 {2, "LAYER"},
                                 {0, "LAYER"},
                                 {2, "PH"},
                                 {6, "PHANTOM"},
                                 {370, "35"},
                                 {0, "LAYER"},
                                 {2, "BAD"},
                                 {6, "BYBLOCK"},
                                 {0, "ENDTAB"},
                                 {0, "ENDSEC"}});
    // A block of a line by block and one by layer on layer 0 (the insert's).
    const Groups blocks = {{0, "SECTION"}, {2, "BLOCKS"},  {0, "BLOCK"},  {2, "B"},     {0, "LINE"},
                           {8, "0"},       {6, "BYBLOCK"}, {370, "-2"},   {11, "100"},  {0, "LINE"},
                           {8, "0"},       {11, "50"},     {0, "ENDBLK"}, {0, "ENDSEC"}};
    struct Row {
        Groups groups;
        int lineType; // of each element it makes
        std::vector<int> more = {};
    };
    const Row rows[] = {
        {{{6, "CONTINUOUS"}}, 1},
        {{{6, "dot"}}, 2}, // names compare without regard to case
        {{{6, "ACAD_ISO07W100"}}, 2},
        {{{6, "DASHED"}}, 3}, // plain dashes: dash-dot
        {{{6, "HIDDEN"}}, 3},
        {{{6, "CENTER"}}, 3},
        {{{6, "ACAD_ISO08W100"}}, 3},
        {{{6, "BORDER"}}, 3},
        {{{6, "PHANTOM"}}, 4},
        {{{6, "DIVIDE"}}, 4},
        {{{6, "4"}}, 4}, // a number our own writer wrote stays
        {{{6, "7"}}, 7},
        {{{6, "UNDEFINED"}}, 1},
        {{{6, "DASHED"}, {48, "10"}}, 3},   // dashes of 5 in a drawing of 100
        {{{6, "DASHED"}, {48, "1000"}}, 1}, // a first dash of 500: every line solid
        {{{6, "DASHED"}, {48, "1e-9"}}, 1}, // a repeat no zoom shows
        {{{6, "DASHED"}, {48, "0"}}, 3},    // a scale of 0 is no scale
        {{{8, "PH"}}, 24},                  // by layer, heavy by the layer
        {{{8, "PH"}, {6, "BYLAYER"}, {370, "30"}}, 4},
        {{{8, "BAD"}}, 1},                  // a layer's BYBLOCK draws solid
        {{{6, "BYBLOCK"}, {370, "-2"}}, 1}, // by block outside blocks
        {{{6, "DASHED"}, {370, "31"}}, 23},
        // Pieces that cannot hold one repeat of the pattern (2 long) draw solid.
        {{{0, "LINE"}, {6, "CENTER"}, {11, "1.9"}}, 1},
        {{{0, "LINE"}, {6, "CENTER"}, {11, "2.1"}}, 3},
        {{{0, "CIRCLE"}, {6, "CENTER"}, {40, "0.3"}}, 1},
        {{{0, "ARC"}, {6, "CENTER"}, {40, "1"}, {50, "350"}, {51, "10"}}, 1},
        {{{0, "ARC"}, {6, "CENTER"}, {40, "1"}, {50, "10"}, {51, "350"}}, 3},
        {{{0, "LWPOLYLINE"}, {6, "CENTER"}, {10, "0"}, {20, "0"}, {10, "1"}, {20, "0"}, {10, "5"}, {20, "0"}}, 1, {3}},
        {{{370, "-3"}}, 1},
        // Inserts: the block's first line takes the insert's line type and
        // weight, its second (layer 0, by layer) the insert's layer's.
        {{{0, "INSERT"}, {2, "B"}, {6, "CENTER"}, {370, "50"}, {8, "PH"}}, 23, {24}},
        {{{0, "INSERT"}, {2, "B"}}, 1, {1}},
        {{{0, "INSERT"}, {2, "B"}, {8, "PH"}}, 24, {24}}, // by layer, weight by layer: the layer's both
    };
    Groups entities = {{0, "SECTION"}, {2, "ENTITIES"}};
    std::vector<int> expected;
    int n = 0;
    for (const Row& row : rows) {
        if (row.groups.front().first != 0)
            entities.insert(entities.end(),
                            {{0, "LINE"}, {20, std::to_string(n)}, {11, "100"}, {21, std::to_string(n)}});
        entities.insert(entities.end(), row.groups.begin(), row.groups.end());
        expected.push_back(row.lineType);
        expected.insert(expected.end(), row.more.begin(), row.more.end());
        ++n;
    }
    // Last, a text: its strokes take the weight but no dashes.
    entities.insert(entities.end(), {{0, "TEXT"}, {6, "DASHED"}, {370, "50"}, {40, "1"}, {1, "IT"}});
    entities.insert(entities.end(), {{0, "ENDSEC"}, {0, "EOF"}});
    Groups all = header;
    for (const Groups* part : {&std::as_const(tables), &blocks, &std::as_const(entities)})
        all.insert(all.end(), part->begin(), part->end());
    const auto d = read_full(dxf(all));
    ASSERT_GT(d->Elements.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < d->Elements.Count(); ++i) {
        const int want = i < static_cast<int>(expected.size()) ? expected[static_cast<std::size_t>(i)] : 21;
        EXPECT_EQ(d->Elements[i].GetLineType(), want) << "element " << i;
    }
}

} // namespace
} // namespace orvex
