// The calculator component as a host uses it: forwarding, codes and texts,
// the read-only version, and outputs that alias inputs.
#include <OrvexGDI/TangroGDI.h>
#include <OrvexGDI/TangroGDIOps.h>

#include "record_printers.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

using namespace orvex;

namespace {

TEST(TangroComponent, ErrorTexts)
{
    TTangroGDI calc;
    struct {
        int code;
        const char* text;
    } cases[] = {
        {902, "PARALLEL LINES"},
        {903, "UNDEFINED LINE"},
        {904, "ARC DOES NOT INTERSECT"},
        {905, "RADIUS DOES NOT INTERSECT"},
        {906, "CONCENTRIC CIRCLES"},
        {907, "CAN'T ALLOCATE MEMORY"},
        {908, "3 POINTS ON SAME LINE"},
        {901, "Undefined"},
        {909, "Undefined"},
        {0, "Undefined"},
        {-1, "Undefined"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(calc.CalcErr(c.code), QString::fromLatin1(c.text)) << c.code;
}

TEST(TangroComponent, VersionIsReadOnly)
{
    TTangroGDI calc;
    EXPECT_EQ(calc.GetVersion(), "2.0");
    const QMetaObject* meta = calc.metaObject();
    const int index = meta->indexOfProperty("Version");
    ASSERT_GE(index, 0);
    EXPECT_FALSE(meta->property(index).isWritable());
    EXPECT_FALSE(calc.setProperty("Version", "3.0"));
    EXPECT_EQ(calc.property("Version").toString(), "2.0");
}

TEST(TangroComponent, Points)
{
    TTangroGDI calc;
    TDPoint p{7, 7, 7};
    EXPECT_EQ(calc.PointXYZ(1, 2, 3, p), 1);
    EXPECT_EQ(p.X, 1);
    EXPECT_EQ(p.Z, 3);

    p = {7, 7, 7};
    EXPECT_EQ(calc.Point2Lines({{0, 0, 0}, {1, 1, 0}}, {{0, 1, 0}, {1, 2, 0}}, p), 902);
    EXPECT_EQ(p.X, 7);
    EXPECT_EQ(p.Z, 7);

    const TDArc unit{{0, 0, 0}, 1, 0, 360}, other{{2, 0, 0}, std::sqrt(3.0), 0, 360};
    EXPECT_EQ(calc.Point2Arcs(unit, other, {0.5, 5, 0}, p), 0);
    EXPECT_NEAR(p.X, 0.5, 1e-9);
    EXPECT_NEAR(p.Y, 0.8660254, 1e-7);
    TDPoint q1, q2;
    EXPECT_EQ(calc.Points2Arcs(unit, other, q1, q2), 0);
    EXPECT_NEAR(q1.Y, 0.8660254, 1e-7);
    EXPECT_NEAR(q2.Y, -0.8660254, 1e-7);

    EXPECT_EQ(calc.PointLineArc({{0, 0, 0}, {1, 0, 0}}, unit, {-3, 0, 0}, p), 0);
    EXPECT_NEAR(p.X, -1, 1e-9);

    const TDArc quarter{{0, 0, 4}, 2, 0, 90};
    const TDPoint mid = calc.MidArc(quarter);
    EXPECT_NEAR(mid.X, std::sqrt(2.0), 1e-8);
    EXPECT_NEAR(mid.Y, std::sqrt(2.0), 1e-8);
    EXPECT_EQ(mid.Z, 4);
    const TDPoint dot = calc.MidArc({{3, 3, 4}, 0, 0, 90});
    EXPECT_EQ(dot.X, 0);
    EXPECT_EQ(dot.Y, 0);
    EXPECT_EQ(dot.Z, 4);

    TDPoint start{0, 0, 8}, end{0, 0, 9};
    EXPECT_EQ(calc.GetArcEndPoints(quarter, start, end), 1);
    EXPECT_NEAR(start.X, 2, 1e-9);
    EXPECT_NEAR(end.Y, 2, 1e-9);
    EXPECT_EQ(start.Z, 8);
    EXPECT_EQ(end.Z, 9);
    EXPECT_EQ(calc.GetArcEndPoints({{1, 1, 1}, 0, 0, 90}, start, end), 0);
    EXPECT_NEAR(start.X, 2, 1e-9);

    const TDPoint m = calc.MidPoint(0, 0, 0, 2, 4, 6);
    EXPECT_EQ(m.Y, 2);
    EXPECT_EQ(m.Z, 3);
    TDPoint c{0, 0, 5};
    EXPECT_EQ(calc.PointCenterArc(quarter, c), 0);
    EXPECT_EQ(c.Z, 5);
    EXPECT_EQ(calc.GetClosestPointArc(unit, {4, 0, 0}, c), 0);
    EXPECT_NEAR(c.X, 1, 1e-9);
}

TEST(TangroComponent, Elements)
{
    TTangroGDI calc;
    TElements list;
    TElement& e = list.Add();
    e.SetEtype(etLine);
    for (int i = 1; i <= 6; ++i)
        e.SetCoord(i, i);
    const TDPoint p = calc.PointFromElement(e);
    EXPECT_EQ(p.X, 1);
    EXPECT_EQ(p.Z, 3);
    const TDLine l = calc.LineFromElement(e);
    EXPECT_EQ(l.P2.X, 4);
    EXPECT_EQ(l.P2.Z, 6);
    const TDArc a = calc.ArcFromElement(e);
    EXPECT_EQ(a.Radius, 4);
    EXPECT_EQ(a.EndAngle, 6);
    TDPoint q;
    EXPECT_EQ(calc.GetClosestPoint(e, {0, 0, 0}, q), 1);
}

TEST(TangroComponent, Measures)
{
    TTangroGDI calc;
    EXPECT_EQ(calc.GetArcAngle(350, 10), 20);
    EXPECT_NEAR(calc.GetArcLength(1, 0, 180), std::numbers::pi, 1e-12);
    EXPECT_NEAR(calc.AngleOfLine({{0, 0, 0}, {-1, -1, 0}}), 225, 1e-8);
    EXPECT_EQ(calc.AngleOfLine({{0, 0, 0}, {0, 5, 0}}), 90);
    EXPECT_EQ(calc.AngleOfLine({{1, 1, 0}, {5, 1, 0}}), 0);
    EXPECT_DOUBLE_EQ(calc.GetLineLength({{0, 0, 0}, {2, 3, 6}}), 7);
    EXPECT_DOUBLE_EQ(calc.Distance(0, 0, 3, 4), 5);
    EXPECT_DOUBLE_EQ(calc.Distance2Points({0, 0, 0}, {3, 4, 12}), 5);
    EXPECT_DOUBLE_EQ(calc.Distance3D({0, 0, 0}, {3, 4, 12}), 13);
    EXPECT_EQ(calc.FixAngle(725), 5);
    EXPECT_NEAR(calc.GetAngle(0, 0, 1, 1), 45, 1e-8);
    EXPECT_NEAR(calc.GetAngle2Points({0, 0, 0}, {-1, 1, 0}), 135, 1e-8);
    EXPECT_NEAR(calc.GetAngleLine({{0, 0, 0}, {1, -1, 0}}), 315, 1e-8);
}

// Each construction method returns what its function returns.
TEST(TangroComponent, ConstructionsForward)
{
    TTangroGDI calc;
    const TDLine xaxis{{0, 0, 0}, {1, 0, 0}}, yaxis{{0, 0, 0}, {0, 1, 0}};
    const TDArc unit{{0, 0, 0}, 1, 0, 360};
    TDLine l;
    TDArc arc, arc2;

    EXPECT_EQ(calc.Line2Points({1, 2, 0}, {1, 2, 5}, l), 903);
    EXPECT_EQ(calc.LinePointAngle({1, 1, 0}, 90, 2, l), 0);
    EXPECT_NEAR(l.P2.Y, 3, 1e-9);
    EXPECT_EQ(calc.LineTangentPoint({0, 1, 0}, {0.5, 0, 0}, unit, l), 908);
    EXPECT_EQ(calc.LineTangentPoint({0, 1, 0}, {2, 0, 0}, unit, l), 0);
    EXPECT_NEAR(l.P2.Y, std::sqrt(0.75), 1e-9);
    EXPECT_EQ(calc.LinePerpPoint({3, 4, 0}, {{0, 0, 0}, {10, 0, 0}}, l), 0);
    EXPECT_NEAR(l.P2.X, 3, 1e-5);
    EXPECT_EQ(calc.LineParPoint({5, 3, 0}, {{0, 0, 0}, {10, 0, 0}}, l), 0);
    EXPECT_NEAR(l.P1.Y, 3, 1e-9);
    EXPECT_EQ(calc.LineTan2Arcs({{0, 0, 0}, 2, 0, 0}, {{10, 0, 0}, 1, 0, 0}, {0, 5, 0}, {10, 5, 0}, l), 0);
    EXPECT_NEAR(l.P1.X, 0.2, 1e-5);
    EXPECT_EQ(calc.LineTanAngle(unit, 0, 5, l), 0);
    EXPECT_NEAR(l.P2.Y, 1, 1e-8);
    EXPECT_EQ(calc.LineOffset({{0, 0, 0}, {10, 0, 0}}, 2, {5, -7, 0}, l), 0);
    EXPECT_NEAR(l.P1.Y, -2, 1e-9);

    EXPECT_EQ(calc.ArcCenterRad({1, 2, 0}, 3, 0, 90, arc), 0);
    EXPECT_EQ(arc.Radius, 3);
    EXPECT_EQ(calc.ArcCenterTanLine({3, 4, 0}, {{0, 0, 0}, {10, 0, 0}}, 0, 360, arc), 0);
    EXPECT_NEAR(arc.Radius, 4, 1e-9);
    EXPECT_EQ(calc.ArcCenterPoint({0, 0, 0}, {3, 4, 0}, 0, 360, arc), 0);
    EXPECT_DOUBLE_EQ(arc.Radius, 5);
    EXPECT_EQ(calc.ArcCenterTanArc({-3, 0, 0}, {5, 0, 0}, unit, 0, 360, arc), 0);
    EXPECT_DOUBLE_EQ(arc.Radius, 6);
    EXPECT_EQ(calc.Arc3Points({0, 0, 0}, {1, 1, 0}, {2, 2, 0}, 0, 360, arc), 908);
    EXPECT_EQ(calc.ArcTanLinePoint(xaxis, {5, 1, 0}, {0, 3, 0}, 1, 0, 360, arc), 904);
    EXPECT_EQ(calc.ArcTanArcPoint({{0, 0, 0}, 2, 0, 0}, {3, 5, 0}, {4, 0, 0}, 1.5, 0, 360, arc), 0);
    EXPECT_NEAR(arc.Center.X, 3.25, 1e-9);
    EXPECT_EQ(calc.ArcTan2Lines(xaxis, {{0, 3, 0}, {1, 3, 0}}, 1, 0, 360, {0, 1, 0}, {0, 1, 0}, arc), 902);
    EXPECT_EQ(calc.ArcTan2Lines(xaxis, yaxis, 1, 0, 360, {0.5, 0.5, 0}, {0.5, 0.5, 0}, arc), 0);
    EXPECT_NEAR(arc.Center.X, 1, 1.5e-6);
    EXPECT_EQ(calc.ArcTanLineArc({{0, 0, 0}, {10, 0, 0}}, {{5, 2.5, 0}, 1, 0, 0}, 1, 0, 180, {3, 1, 0}, {5, 5, 0}, arc),
              0);
    EXPECT_NEAR(arc.Center.Y, 1, 1e-4);
    EXPECT_EQ(calc.ArcTan2Arcs({{0, 0, 0}, 1, 0, 0}, {{4, 0, 0}, 1, 0, 0}, 2, 0, 360, {}, {}, arc), 0);
    EXPECT_NEAR(arc.Center.Y, std::sqrt(5.0), 1e-12);
    EXPECT_EQ(calc.ArcTanLine2Points(xaxis, {0, 1, 0}, {2, 1, 0}, 0, 360, arc), -1);
    EXPECT_EQ(calc.ArcThrough2Points({0, 0, 0}, {2, 0, 0}, 0.9, 0, 360, arc, arc2), -1);
    EXPECT_EQ(calc.ArcThrough2Points({0, 0, 0}, {2, 0, 0}, 1, 0, 360, arc, arc2), 0);
    EXPECT_NEAR(arc.Center.Y, 0.0001, 1e-12);
    EXPECT_EQ(calc.ArcBetween2Points({0, 0, 0}, {4, 0, 0}, 0, 360, arc), 0);
    EXPECT_EQ(arc.Radius, 4);
    EXPECT_EQ(calc.ArcTan3Lines({{0, 0, 0}, {5, 0, 0}}, {{0, 2, 0}, {5, 2, 0}}, {{0, 0, 0}, {5, 0, 0}}, {1, 1, 0}, 0,
                                360, arc),
              -1);
}

// An output that is also an input sees the input as it was at the call.
TEST(TangroComponent, OutputsMayAliasInputs)
{
    TTangroGDI calc;
    TDLine l{{0, 0, 0}, {10, 0, 0}};
    EXPECT_EQ(calc.LineOffset(l, 2, {5, -7, 0}, l), 0);
    EXPECT_NEAR(l.P1.Y, -2, 1e-9);
    EXPECT_NEAR(l.P2.X, 10, 1e-5);

    TDPoint p{3, 5, 0};
    EXPECT_EQ(calc.GetClosestPointLine({{0, 0, 0}, {10, 0, 0}}, p, p), 0);
    EXPECT_NEAR(p.X, 3.000005, 1e-9);
    EXPECT_NEAR(p.Y, 0, 1e-12);

    TDPoint pick{0.5, 5, 0};
    EXPECT_EQ(calc.Point2Arcs({{0, 0, 0}, 1, 0, 0}, {{2, 0, 0}, std::sqrt(3.0), 0, 0}, pick, pick), 0);
    EXPECT_NEAR(pick.Y, 0.8660254, 1e-7);
}

// Hosts without the header (script bridges, generic tools) create the
// calculator and call its constructions by name through the meta-object.
TEST(TangroComponent, CreatedAndCalledThroughTheMetaObject)
{
    QObject owner;
    std::unique_ptr<QObject> made(TTangroGDI::staticMetaObject.newInstance(Q_ARG(QObject*, &owner)));
    auto* calc = qobject_cast<TTangroGDI*>(made.get());
    ASSERT_NE(calc, nullptr);
    EXPECT_EQ(calc->parent(), &owner);

    double distance = 0;
    ASSERT_TRUE(QMetaObject::invokeMethod(calc, "Distance", Q_RETURN_ARG(double, distance), Q_ARG(double, 1),
                                          Q_ARG(double, 1), Q_ARG(double, 4), Q_ARG(double, 5)));
    EXPECT_EQ(distance, 5.0);

    // An output argument is written through the reference the call passes.
    TDArc arc;
    int code = -1;
    const QMetaMethod method = calc->metaObject()->method(calc->metaObject()->indexOfMethod(
        QMetaObject::normalizedSignature("Arc3Points(TDPoint,TDPoint,TDPoint,double,double,TDArc&)")));
    ASSERT_TRUE(method.isValid());
    const TDPoint p1{1, 0, 0}, p2{0, 1, 0}, p3{-1, 0, 0};
    ASSERT_TRUE(method.invoke(calc, Q_RETURN_ARG(int, code), Q_ARG(TDPoint, p1), Q_ARG(TDPoint, p2), Q_ARG(TDPoint, p3),
                              Q_ARG(double, 0), Q_ARG(double, 360), Q_ARG(TDArc&, arc)));
    EXPECT_EQ(code, 0);
    EXPECT_NEAR(arc.Radius, 1.0, 1e-12);
    EXPECT_NEAR(arc.Center.X, 0.0, 1e-12);
}

} // namespace
