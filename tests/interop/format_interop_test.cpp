// Interoperability: DXF we write opens in ezdxf, IGES we write loads in
// Open CASCADE, and DXF from ezdxf and IGES from Open CASCADE read into the
// drawing we expect.
#include "formats/dxf/dxf.h"
#include "formats/iges/iges.h"

#include "interop_support.h"

#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#ifdef ORVEX_HAVE_OCCT
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRep_Tool.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <IGESControl_Controller.hxx>
#include <IGESControl_Reader.hxx>
#include <IGESControl_Writer.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <TopExp.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Pnt.hxx>
#endif

namespace orvex {
namespace {

using interop::have_ezdxf;
using interop::out_path;
using interop::run;

std::unique_ptr<formats::StagedDrawing> fresh()
{
    formats::ArcViewTable views;
    formats::reset_arc_views(views);
    return std::make_unique<formats::StagedDrawing>(views, 0xFFFFFF, uINCH);
}

template <typename Write>
void write_file(Write write, const formats::StagedDrawing& d, const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    ASSERT_TRUE(write(out, formats::DrawingSource{d.Elements, d.ArcViews, d.Units, path}));
}

template <typename Read>
std::unique_ptr<formats::StagedDrawing> read_file(Read read, const std::string& path)
{
    auto d = fresh();
    std::ifstream in(path, std::ios::binary);
    read(in, *d);
    return d;
}

TEST(Ezdxf, OpensTheDxfWeWrite)
{
    if (!have_ezdxf())
        GTEST_SKIP() << "ezdxf is not installed";
    auto d = fresh();
    d->make_element(etLine, 0, 0, 0, 10, 5.5, 0, 0x0000FF, 0, 3, 0, 0);
    d->make_element(etPoint, 1, 2, 3, 0, 0, 0, 0xFF0000, 0, 4, 0, 0);
    d->make_element(etArc, 5, 2, 1, 3, 30, 60.5, 0x00FFFF, 0, 5, 0, 1);
    d->make_element(etCircle, -1, 1.25, 0, 2, 0, 0, 0x123456, 0, 6, 0, 1);
    const std::string path = out_path("ours.dxf");
    write_file(formats::dxf::write, *d, path);
    const std::string report = run(std::string(ORVEX_PYTHON) + " " + ORVEX_EZDXF_CHECK + " read " + path);
    EXPECT_EQ(report, "errors 0\n"
                      "LINE 3 1 0.0 0.0 0.0 10.0 5.5 0.0\n"
                      "POINT 4 5 1.0 2.0 3.0\n"
                      "ARC 5 2 5.0 2.0 1.0 3.0 30.0 60.5\n"
                      "CIRCLE 6 3 -1.0 1.25 0.0 2.0\n");
}

TEST(Ezdxf, ItsR12FilesReadAsExpected)
{
    if (!have_ezdxf())
        GTEST_SKIP() << "ezdxf is not installed";
    const std::string path = out_path("ezdxf_r12.dxf");
    run(std::string(ORVEX_PYTHON) + " " + ORVEX_EZDXF_CHECK + " write " + path);
    auto d = read_file(formats::dxf::read, path);
    ASSERT_EQ(d->Elements.Count(), 8);
    auto slots = [&](int i) {
        std::vector<double> v;
        for (int s = 1; s <= 6; ++s)
            v.push_back(d->Elements[i].GetCoord(s));
        return v;
    };
    EXPECT_EQ(d->Elements[0].GetEtype(), etLine);
    EXPECT_EQ(slots(0), (std::vector<double>{0, 0, 0, 10, 5.5, 0}));
    EXPECT_EQ(d->Elements[0].GetLayer(), 3);
    EXPECT_EQ(d->Elements[0].GetColor(), 0x0000FF);
    EXPECT_EQ(d->Elements[1].GetEtype(), etPoint);
    EXPECT_EQ(slots(1), (std::vector<double>{1, 2, 3, 0, 0, 0}));
    EXPECT_EQ(d->Elements[1].GetColor(), 0xFF0000);
    // The arc seen from below, mirrored into the top view.
    EXPECT_EQ(slots(2), (std::vector<double>{-5, 2, -1, 3, 120, 150}));
    EXPECT_EQ(d->Elements[2].GetView(), 1);
    // Colour by layer and a named layer.
    EXPECT_EQ(slots(3), (std::vector<double>{1, 1, 0, 2, 0, 360}));
    EXPECT_EQ(d->Elements[3].GetColor(), 0x00FF00);
    EXPECT_EQ(d->Elements[3].GetLayer(), 1);
    // The closed polyline: three sides.
    EXPECT_EQ(slots(4), (std::vector<double>{0, 0, 0, 10, 0, 0}));
    EXPECT_EQ(slots(5), (std::vector<double>{10, 0, 0, 10, 10, 0}));
    EXPECT_EQ(slots(6), (std::vector<double>{10, 10, 0, 0, 0, 0}));
    EXPECT_EQ(d->Elements[6].GetLayer(), 6);
    // An arc in the front plane.
    EXPECT_EQ(d->Elements[7].GetView(), 2);
    EXPECT_TRUE(d->ArcViews[2].Defined);
}

#ifdef ORVEX_HAVE_OCCT

TEST(OpenCascade, LoadsTheIgesWeWrite)
{
    auto d = fresh();
    d->make_element(etPoint, 1, 2, 3, 0, 0, 0, 0xFF0000, 0, 4, 0, 0);
    d->make_element(etLine, 0, 0, 0, 10, 5.5, -2, 0x0000FF, 0, 3, 0, 0);
    d->make_element(etArc, 5, 2, 1, 3, 30, 120, 0x00FFFF, 2, 5, 0, 1);
    d->make_element(etArc, -123456.25, 2345.5, 0, 1000.125, 0, 360, 0, 0, 5, 0, 1); // data on two lines
    d->Units = uMM; // Open CASCADE would scale inches to its millimetres
    const std::string path = out_path("ours.igs");
    write_file(formats::iges::write, *d, path);

    IGESControl_Controller::Init();
    IGESControl_Reader reader;
    ASSERT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone);
    reader.TransferRoots();
    ASSERT_EQ(reader.NbShapes(), 4);
    const TopoDS_Shape point = reader.Shape(1);
    ASSERT_EQ(point.ShapeType(), TopAbs_VERTEX);
    const gp_Pnt p = BRep_Tool::Pnt(TopoDS::Vertex(point));
    EXPECT_NEAR(p.Distance(gp_Pnt(1, 2, 3)), 0, 1e-9);
    auto ends = [&](int i) {
        const TopoDS_Shape s = reader.Shape(i);
        EXPECT_EQ(s.ShapeType(), TopAbs_EDGE);
        TopoDS_Vertex a, b;
        TopExp::Vertices(TopoDS::Edge(s), a, b);
        return std::array<gp_Pnt, 2>{BRep_Tool::Pnt(a), BRep_Tool::Pnt(b)};
    };
    const auto line = ends(2);
    EXPECT_NEAR(line[0].Distance(gp_Pnt(0, 0, 0)), 0, 1e-6);
    EXPECT_NEAR(line[1].Distance(gp_Pnt(10, 5.5, -2)), 0, 1e-6);
    const auto arc = ends(3);
    const double k = 57.2957795131;
    EXPECT_NEAR(arc[0].Distance(gp_Pnt(5 + 3 * std::cos(30 / k), 2 + 3 * std::sin(30 / k), 1)), 0, 1e-3);
    EXPECT_NEAR(arc[1].Distance(gp_Pnt(5 + 3 * std::cos(120 / k), 2 + 3 * std::sin(120 / k), 1)), 0, 1e-3);
    const auto circle = ends(4);
    EXPECT_NEAR(circle[0].Distance(gp_Pnt(-123456.25 + 1000.125, 2345.5, 0)), 0, 1e-3);
}

TEST(OpenCascade, ItsIgesFilesReadAsExpected)
{
    IGESControl_Controller::Init();
    IGESControl_Writer writer("MM", 0);
    writer.AddShape(BRepBuilderAPI_MakeVertex(gp_Pnt(1, 2, 3)).Vertex());
    writer.AddShape(BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(10, 5, 2)).Edge());
    // A full circle and a quarter arc in the XY plane, and a circle standing
    // in the XZ plane.
    writer.AddShape(BRepBuilderAPI_MakeEdge(gp_Circ(gp_Ax2(gp_Pnt(5, 6, 7), gp_Dir(0, 0, 1)), 2)).Edge());
    const Handle(Geom_TrimmedCurve) quarter =
        GC_MakeArcOfCircle(gp_Circ(gp_Ax2(gp_Pnt(-3, 4, 0), gp_Dir(0, 0, 1)), 1.5), 0, M_PI / 2, true).Value();
    writer.AddShape(BRepBuilderAPI_MakeEdge(quarter).Edge());
    writer.AddShape(BRepBuilderAPI_MakeEdge(gp_Circ(gp_Ax2(gp_Pnt(1, 2, 3), gp_Dir(0, -1, 0)), 4)).Edge());
    writer.ComputeModel();
    const std::string path = out_path("occt.igs");
    ASSERT_TRUE(writer.Write(path.c_str()));

    auto d = read_file(formats::iges::read, path);
    EXPECT_EQ(d->Units, uMM);
    ASSERT_EQ(d->Elements.Count(), 5);
    auto near = [](const TElement& e, std::vector<double> expected) {
        for (std::size_t s = 0; s < expected.size(); ++s)
            EXPECT_NEAR(e.GetCoord(static_cast<int>(s) + 1), expected[s], 1e-6) << "slot " << s + 1;
    };
    EXPECT_EQ(d->Elements[0].GetEtype(), etPoint);
    near(d->Elements[0], {1, 2, 3});
    EXPECT_EQ(d->Elements[1].GetEtype(), etLine);
    near(d->Elements[1], {0, 0, 0, 10, 5, 2});
    const TElement& circle = d->Elements[2];
    EXPECT_EQ(circle.GetEtype(), etArc);
    EXPECT_EQ(circle.GetView(), 1);
    near(circle, {5, 6, 7, 2, 0, 360});
    const TElement& quarterArc = d->Elements[3];
    near(quarterArc, {-3, 4, 0, 1.5});
    const double start = std::fmod(quarterArc.GetCoord(5), 360);
    EXPECT_NEAR(std::min(start, 360 - start), 0, 1e-3);
    EXPECT_NEAR(quarterArc.GetCoord(6), 90, 1e-3);
    // The standing circle goes into an arc view whose plane is XZ: its
    // centre maps back to (1, 2, 3).
    const TElement& standing = d->Elements[4];
    const int view = standing.GetView();
    ASSERT_GT(view, 1);
    const TArcView& m = d->ArcViews[view];
    EXPECT_TRUE(m.Defined);
    const double u = standing.GetCoord(1), v = standing.GetCoord(2), w = standing.GetCoord(3);
    EXPECT_NEAR(m.M11 * u + m.M12 * v + m.M13 * w, 1, 1e-6);
    EXPECT_NEAR(m.M21 * u + m.M22 * v + m.M23 * w, 2, 1e-6);
    EXPECT_NEAR(m.M31 * u + m.M32 * v + m.M33 * w, 3, 1e-6);
    EXPECT_NEAR(standing.GetCoord(4), 4, 1e-6);
}

#endif

} // namespace
} // namespace orvex
