// Surfaces of the full IGES import: each kind's evaluation against the
// closed form of the shape it is built as, and how a surface is drawn.
#include "format_test_support.h"

#include "formats/iges/iges.h"
#include "formats/iges/iges_geometry.h"
#include "formats/iges/iges_surfaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace orvex {
namespace {

using namespace formats::iges;
using formats::Matrix;
using formats::Vec3;

constexpr double kPi = 3.14159265358979323846;

GeometryEntity entity(int type, std::vector<double> values, int form = 0, Matrix placement = {})
{
    return {type, form, std::move(values), placement};
}

// A full circle (100) of radius r about (cx, cy) at height z, from angle 0.
GeometryEntity circle(double cx, double cy, double r, double z = 0, Matrix placement = {})
{
    return entity(100, {z, cx, cy, cx + r, cy, cx + r, cy}, 0, placement);
}

// A sphere of radius R as a rational B-spline surface: two quarter circles
// from pole to pole (v) turned about Z by a full circle of four quarters (u).
GeometryEntity nurbs_sphere(double R)
{
    const double h = std::sqrt(0.5);
    const double ring[9][3] = {{1, 0, 1},   {1, 1, h},  {0, 1, 1},  {-1, 1, h}, {-1, 0, 1},
                               {-1, -1, h}, {0, -1, 1}, {1, -1, h}, {1, 0, 1}};
    const double profile[5][3] = {{0, -R, 1}, {R, -R, h}, {R, 0, 1}, {R, R, h}, {0, R, 1}}; // radius, z, weight
    std::vector<double> v = {8, 4, 2, 2, 0, 0, 0, 0, 0};
    for (double k : {0.0, 0.0, 0.0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1.0, 1.0, 1.0})
        v.push_back(k);
    for (double k : {0.0, 0.0, 0.0, 0.5, 0.5, 1.0, 1.0, 1.0})
        v.push_back(k);
    for (const auto& p : profile)
        for (const auto& c : ring)
            v.push_back(c[2] * p[2]);
    for (const auto& p : profile)
        for (const auto& c : ring)
            for (double x : {c[0] * p[0], c[1] * p[0], p[1]})
                v.push_back(x);
    for (double x : {0.0, 1.0, 0.0, 1.0})
        v.push_back(x);
    return entity(128, v);
}

struct SurfaceCase {
    const char* name;
    GeometryEntity surface;
    std::map<int, GeometryEntity> parts; // by directory pointer
    double u0, u1, v0, v1;               // the parameter range it must have
    std::function<double(double, double, const Vec3&)> error;
};

double off(const Vec3& p, const Vec3& q) { return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]); }

TEST(IgesSurfaces, EachKindEvaluatesToItsClosedForm)
{
    // The generatrix of the torus lies in the XZ plane: its circle turned
    // about X from the XY plane.
    Matrix toXZ;
    toXZ.m[1][1] = 0, toXZ.m[1][2] = -1, toXZ.m[2][1] = 1, toXZ.m[2][2] = 0;
    const double R = 5, r = 1.5;
    const SurfaceCase cases[] = {
        {"plane as a bilinear 128",
         entity(128, {1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1,
                      1, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 2, 3, 0, 0, 1, 0, 1}),
         {},
         0,
         1,
         0,
         1,
         [](double u, double v, const Vec3& p) {
             return off(p, {2 * u, 3 * v, 0});
         }},
        {"cylinder as a 122 over a circle",
         entity(122, {1, 2, 0, 5}),
         {{1, circle(0, 0, 2)}},
         0,
         1,
         0,
         1,
         [](double u, double v, const Vec3& p) {
             return off(p, {2 * std::cos(2 * kPi * u), 2 * std::sin(2 * kPi * u), 5 * v});
         }},
        {"cone as a 118 between two circles",
         entity(118, {1, 2, 0, 0}, 1),
         {{1, circle(0, 0, 1)}, {2, circle(0, 0, 3, 4)}},
         0,
         1,
         0,
         1,
         [](double u, double v, const Vec3& p) {
             const double radius = 1 + 2 * v;
             return off(p, {radius * std::cos(2 * kPi * u), radius * std::sin(2 * kPi * u), 4 * v});
         }},
        {"torus as a 120 of a circle about Z",
         entity(120, {1, 2, 0, 2 * kPi}),
         {{1, entity(110, {0, 0, 0, 0, 0, 1})}, {2, circle(R, 0, r, 0, toXZ)}},
         0,
         2 * kPi,
         0,
         2 * kPi,
         [=](double u, double v, const Vec3& p) {
             const double a = R + r * std::cos(u);
             return off(p, {a * std::cos(v), a * std::sin(v), r * std::sin(u)});
         }},
        {"sphere as a rational 128",
         nurbs_sphere(3),
         {},
         0,
         1,
         0,
         1,
         [](double, double v, const Vec3& p) {
             // On the sphere, with the equator at v = 1/2 and the poles at the ends.
             double e = std::fabs(formats::norm(p) - 3);
             if (v == 0.5)
                 e += std::fabs(p[2]);
             if (v == 0 || v == 1)
                 e += off(p, {0, 0, v == 0 ? -3.0 : 3.0});
             return e;
         }},
    };
    for (const SurfaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const EntityLookup lookup = [&](int pointer) -> const GeometryEntity* {
            const auto found = c.parts.find(pointer);
            return found == c.parts.end() ? nullptr : &found->second;
        };
        const auto patch = surface_patch(c.surface, lookup);
        ASSERT_TRUE(patch.has_value());
        EXPECT_NEAR(patch->U0, c.u0, 1e-12);
        EXPECT_NEAR(patch->U1, c.u1, 1e-12);
        EXPECT_NEAR(patch->V0, c.v0, 1e-12);
        EXPECT_NEAR(patch->V1, c.v1, 1e-12);
        for (int i = 0; i <= 8; ++i)
            for (int j = 0; j <= 8; ++j) {
                const double u = c.u0 + (c.u1 - c.u0) * i / 8, v = c.v0 + (c.v1 - c.v0) * j / 8;
                EXPECT_LT(c.error(u, v, patch->At(u, v)), 1e-9) << "at u " << u << ", v " << v;
                // The iso-parameter curves the edges and iso lines are drawn from.
                EXPECT_LT(off(patch->iso(true, v)(u), patch->At(u, v)), 1e-9) << "along u at v " << v;
                EXPECT_LT(off(patch->iso(false, u)(v), patch->At(u, v)), 1e-9) << "along v at u " << u;
            }
    }
}

double drawn_length(const formats::StagedDrawing& d)
{
    double length = 0;
    for (const TElement* e : d.Elements)
        length += std::hypot(e->GetCoord(4) - e->GetCoord(1), e->GetCoord(5) - e->GetCoord(2),
                             e->GetCoord(6) - e->GetCoord(3));
    return length;
}

// An untrimmed cylinder is drawn by its two circles and one seam line (the
// other parameter edge is the same line); iso-parameter lines add circles
// and lines, cut to the trimming curve of a trimmed one, whose boundary is
// its parameter-space curve mapped through the surface; a surface that
// would need too many chords is named in a note.
TEST(IgesSurfaces, PatchesDrawTheirEdgesOnceIsoLinesAndTheChordLimit)
{
    std::map<int, GeometryEntity> entities = {{1, circle(0, 0, 2)}, {3, entity(122, {1, 2, 0, 5})}};
    // A quadratic directrix of 8000 zigzag control points for the limit.
    std::vector<double> zigzag = {7999, 2, 0, 0, 1, 0};
    for (int i = 0; i <= 8002; ++i)
        zigzag.push_back(std::min(std::max(i - 2, 0), 7997));
    zigzag.resize(zigzag.size() + 8000, 1.0);
    for (int i = 0; i < 8000; ++i)
        for (double x : {i * 0.01, (i % 2) * 20.0, 0.0})
            zigzag.push_back(x);
    zigzag.insert(zigzag.end(), {0, 7997, 0, 0, 1});
    entities[5] = entity(126, zigzag);
    entities[7] = entity(122, {5, 0, 0, 5});
    // The cylinder trimmed to the half from u = 1/4 to 3/4 by a curve in its
    // parameter space only.
    entities[8] = entity(142, {0, 3, 10, 0, 0});
    entities[9] = entity(144, {3, 1, 0, 8});
    entities[10] = entity(106, {1, 5, 0, 0.25, 0, 0.75, 0, 0.75, 1, 0.25, 1, 0.25, 0}, 11);
    const EntityLookup lookup = [&](int pointer) -> const GeometryEntity* {
        const auto found = entities.find(pointer);
        return found == entities.end() ? nullptr : &found->second;
    };
    struct Row {
        int surface, type, isoLines;
        double length; // of the drawing; 0: only the note is checked
    };
    const double circle = 4 * kPi;
    for (const Row& row : {Row{3, 122, 0, 2 * circle + 5}, Row{3, 122, 3, 5 * circle + 4 * 5},
                           Row{9, 144, 1, 1.5 * circle + 3 * 5}, Row{7, 122, 0, 0}}) {
        SCOPED_TRACE(row.surface);
        auto d = testing_formats::fresh();
        formats::WorldShapes shapes(*d);
        formats::SurfaceOptions options;
        options.IsoLines = row.isoLines;
        SurfaceDrawer drawer(
            lookup, [](int) { return false; }, shapes, options);
        ASSERT_TRUE(drawer.draw(row.surface, row.type, {}, "122 TABULATED CYLINDER"));
        shapes.finish();
        if (row.length > 0) {
            // Chords fall short of the circles by at most a thousandth.
            EXPECT_LT(drawn_length(*d), row.length);
            EXPECT_GT(drawn_length(*d), row.length * 0.998);
            EXPECT_TRUE(shapes.capped().empty());
        } else {
            ASSERT_EQ(shapes.capped().size(), 1u);
            EXPECT_NE(shapes.capped()[0].find("122 TABULATED CYLINDER at directory entry 7"), std::string::npos);
            EXPECT_LE(d->Elements.Count(), SurfaceDrawer::kMaxChords + 2 * 4 * 8000 + 64);
        }
    }
}

// A composite curve that names itself five times over ends: its pieces are
// gathered within a bounded number of visits, and a surface draws its line
// once.
TEST(IgesSurfaces, CompositeCurvesThatNameThemselvesEnd)
{
    std::map<int, GeometryEntity> entities = {{1, entity(102, {6, 1, 1, 1, 1, 1, 3})},
                                              {3, entity(110, {0, 0, 0, 1, 0, 0})},
                                              {5, entity(108, {0, 0, 1, 0, 1, 0, 0, 0, 1}, 1)}};
    const EntityLookup lookup = [&](int pointer) -> const GeometryEntity* {
        const auto found = entities.find(pointer);
        return found == entities.end() ? nullptr : &found->second;
    };
    const auto pieces = curve_pieces(entities[1], lookup);
    EXPECT_GE(pieces.size(), 1u);
    EXPECT_LE(pieces.size(), 10'000u);
    auto d = testing_formats::fresh();
    formats::WorldShapes shapes(*d);
    SurfaceDrawer drawer(lookup, [](int) { return false; }, shapes, {});
    EXPECT_TRUE(drawer.draw(5, 108, {}, "108 PLANE"));
    shapes.finish();
    EXPECT_NEAR(drawn_length(*d), 1, 1e-12);
}

// A trimmed surface whose boundary is a visible line, and a bounded surface
// whose boundary is a blanked B-spline: the line is drawn once (not again
// through the surface), the blanked curve once through its surface; without
// surfaces, only the line.
TEST(IgesSurfaces, BoundaryCurvesAreDrawnOnceAndBlankedOnesThroughTheirSurface)
{
    const std::string text = "seed                                                                    S0000001\n"
                             "1H,,1H;,,,,,,,,,,,1,2HMM;                                               G0000001\n"
                             "     128       1       0       1       0       0       0       000010001D0000001\n"
                             "     128       0       3       2       0                               0D0000002\n"
                             "     126       3       0       1       0       0       0       001000000D0000003\n"
                             "     126       0       3       2       0                               0D0000004\n"
                             "     110       5       0       1       0       0       0       000000000D0000005\n"
                             "     110       0       3       1       0                               0D0000006\n"
                             "     142       6       0       1       0       0       0       000010001D0000007\n"
                             "     142       0       3       1       0                               0D0000008\n"
                             "     144       7       0       1       0       0       0       000000000D0000009\n"
                             "     144       0       3       1       0                               0D0000010\n"
                             "     141       8       0       1       0       0       0       000010001D0000011\n"
                             "     141       0       3       1       0                               0D0000012\n"
                             "     143       9       0       1       0       0       0       000000000D0000013\n"
                             "     143       0       3       1       0                               0D0000014\n"
                             "128,1,1,1,1,1,1,0,0,0,0.,0.,1.,1.,0.,0.,1.,1.,1.,1.,1.,1.,0.,0.,       1P0000001\n"
                             "0.,2.,0.,0.,0.,3.,0.,2.,3.,0.,0.,1.,0.,1.;                             1P0000002\n"
                             "126,1,1,0,0,1,0,0.,0.,1.,1.,1.,1.,0.,0.,0.,2.,3.,0.,0.,1.,0.,0.,       3P0000003\n"
                             "1.;                                                                    3P0000004\n"
                             "110,0.,0.,0.,2.,0.,0.;                                                 5P0000005\n"
                             "142,0,1,0,5,2;                                                         7P0000006\n"
                             "144,1,1,0,7;                                                           9P0000007\n"
                             "141,0,0,1,1,3,1,0;                                                    11P0000008\n"
                             "143,0,1,1,11;                                                         13P0000009\n"
                             "S0000001G0000001D0000014P0000009                                        T0000001\n";
    for (const bool surfaces : {true, false}) {
        auto d = testing_formats::fresh();
        d->Surfaces.Surfaces = surfaces;
        std::istringstream in(text);
        read_full(in, *d);
        EXPECT_NEAR(drawn_length(*d), surfaces ? 2 + std::sqrt(13.0) : 2, 1e-9) << surfaces;
        EXPECT_EQ(d->Report.Count("126 B-SPLINE CURVE").Skipped, 1); // not drawn on its own
        EXPECT_EQ(d->Report.Count("143 BOUNDED SURFACE").Read, surfaces ? 1 : 0);
    }
}

} // namespace
} // namespace orvex
