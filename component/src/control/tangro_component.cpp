// TTangroGDI: the calculator component. Every method copies its const
// arguments and forwards to the construction functions.
#include <OrvexGDI/TangroGDI.h>
#include <OrvexGDI/TangroGDIOps.h>

namespace orvex {

namespace Ops2 = TangroGDIOps;

namespace {
// A private copy of a const argument, so that an output aliasing an input
// cannot change it half way through a construction.
template <typename T>
T copy(const T& value)
{
    return value;
}
} // namespace

TTangroGDI::TTangroGDI(QObject* Owner) : QObject(Owner) {}

TTangroGDI::~TTangroGDI() = default;

QString TTangroGDI::GetVersion() const { return QStringLiteral("2.0"); }

QString TTangroGDI::CalcErr(int code) const
{
    if (code >= 902 && code <= 908)
        return QString::fromStdString(calcerrstr[code]);
    return QStringLiteral("Undefined");
}

// ---------------------------------------------------------------- points

int TTangroGDI::PointXYZ(double x, double y, double z, TDPoint& p) const
{
    p = {x, y, z};
    return 1;
}

TDPoint TTangroGDI::PointFromElement(const TElement& element) const
{
    return {element.GetCoord(1), element.GetCoord(2), element.GetCoord(3)};
}

int TTangroGDI::Point2Lines(const TDLine& l1, const TDLine& l2, TDPoint& p) const
{
    return Ops2::point_inter_2_lines(copy(l1), copy(l2), p);
}

int TTangroGDI::Point2Arcs(const TDArc& c1, const TDArc& c2, const TDPoint& pick, TDPoint& p) const
{
    return Ops2::get_intersection_arc_arc(copy(c1), copy(c2), copy(pick), p);
}

int TTangroGDI::Points2Arcs(const TDArc& c1, const TDArc& c2, TDPoint& p1, TDPoint& p2) const
{
    return Ops2::point_inter_2_arcs(copy(c1), copy(c2), p1, p2);
}

int TTangroGDI::PointLineArc(const TDLine& l, const TDArc& g, const TDPoint& pick, TDPoint& p) const
{
    return Ops2::get_intersection_line_arc(copy(l), copy(g), copy(pick), p);
}

int TTangroGDI::PointArcAngle(const TDArc& g, double angle, TDPoint& p) const
{
    return Ops2::point_arc_angle(copy(g), angle, p);
}

int TTangroGDI::PointCenterArc(const TDArc& g, TDPoint& p) const { return Ops2::point_center_arc(copy(g), p); }

TDPoint TTangroGDI::MidPoint(double x1, double y1, double z1, double x2, double y2, double z2) const
{
    TDPoint p;
    Ops2::_midPoint(x1, y1, z1, x2, y2, z2, p);
    return p;
}

TDPoint TTangroGDI::MidPoint2Points(const TDPoint& p1, const TDPoint& p2) const
{
    return Ops2::midPoint_2_points(copy(p1), copy(p2));
}

TDPoint TTangroGDI::MidArc(const TDArc& g) const
{
    const double sweep = Ops2::get_arc_angle(g.StartAngle, g.EndAngle, 3);
    TDPoint p;
    Ops2::point_arc_angle(g, g.StartAngle + sweep / 2, p);
    p.Z = g.Center.Z;
    return p;
}

int TTangroGDI::GetClosestPoint(const TElement& element, const TDPoint& p, TDPoint& q) const
{
    return Ops2::get_closest_point(element, copy(p), q);
}

int TTangroGDI::GetClosestPointLine(const TDLine& l, const TDPoint& p, TDPoint& q) const
{
    Ops2::get_closest_point_line(copy(l), copy(p), q);
    return 0;
}

int TTangroGDI::GetClosestPointArc(const TDArc& g, const TDPoint& p, TDPoint& q) const
{
    Ops2::get_closest_point_arc(copy(g), copy(p), q);
    return 0;
}

int TTangroGDI::GetArcEndPoints(const TDArc& g, TDPoint& p1, TDPoint& p2) const
{
    return Ops2::get_arc_end_points_arc(copy(g), p1.X, p1.Y, p2.X, p2.Y);
}

// ---------------------------------------------------------------- lines

int TTangroGDI::Line2Points(const TDPoint& p1, const TDPoint& p2, TDLine& l) const
{
    return Ops2::line_2_points(copy(p1), copy(p2), l);
}

int TTangroGDI::LinePointAngle(const TDPoint& p, double angle, double length, TDLine& l) const
{
    return Ops2::line_point_angle(copy(p), angle, length, l);
}

int TTangroGDI::LineTangentPoint(const TDPoint& pick, const TDPoint& through, const TDArc& g, TDLine& l) const
{
    return Ops2::line_tangent_point(copy(pick), copy(through), copy(g), l);
}

int TTangroGDI::LinePerpPoint(const TDPoint& p, const TDLine& l, TDLine& result) const
{
    return Ops2::line_perpendicular_point(copy(p), copy(l), result);
}

int TTangroGDI::LineParPoint(const TDPoint& p, const TDLine& l, TDLine& result) const
{
    return Ops2::line_parallel_point(copy(p), copy(l), result);
}

int TTangroGDI::LineTan2Arcs(const TDArc& c1, const TDArc& c2, const TDPoint& pick1, const TDPoint& pick2,
                             TDLine& l) const
{
    return Ops2::line_tangent_2_arcs2(copy(c1), copy(c2), copy(pick1), copy(pick2), l);
}

int TTangroGDI::LineTanAngle(const TDArc& g, double angle, double length, TDLine& l) const
{
    return Ops2::line_tangent_angle(copy(g), angle, length, l);
}

int TTangroGDI::LineOffset(const TDLine& l, double distance, const TDPoint& side, TDLine& result) const
{
    return Ops2::offset_line(copy(l), distance, copy(side), result);
}

TDLine TTangroGDI::LineFromElement(const TElement& element) const { return Ops2::get_line_from_element(element); }

// ---------------------------------------------------------------- arcs

int TTangroGDI::ArcCenterRad(const TDPoint& m, double r, double s, double e, TDArc& arc) const
{
    return Ops2::arc_center_radius(copy(m), r, s, e, arc);
}

int TTangroGDI::ArcCenterTanLine(const TDPoint& m, const TDLine& l, double s, double e, TDArc& arc) const
{
    return Ops2::arc_center_tangent_line(copy(m), copy(l), s, e, arc);
}

int TTangroGDI::ArcCenterPoint(const TDPoint& m, const TDPoint& p, double s, double e, TDArc& arc) const
{
    return Ops2::arc_center_point(copy(m), copy(p), s, e, arc);
}

int TTangroGDI::ArcCenterTanArc(const TDPoint& pick, const TDPoint& m, const TDArc& g, double s, double e,
                                TDArc& arc) const
{
    return Ops2::arc_center_tangent_arc(copy(pick), copy(m), copy(g), s, e, arc);
}

int TTangroGDI::Arc3Points(const TDPoint& p1, const TDPoint& p2, const TDPoint& p3, double s, double e,
                           TDArc& arc) const
{
    return Ops2::arc_3_points(copy(p1), copy(p2), copy(p3), s, e, arc);
}

int TTangroGDI::ArcTanLinePoint(const TDLine& l, const TDPoint& pick, const TDPoint& through, double r, double s,
                                double e, TDArc& arc) const
{
    return Ops2::arc_tangent_line_point(copy(l), copy(pick), copy(through), r, s, e, arc);
}

int TTangroGDI::ArcTanArcPoint(const TDArc& g, const TDPoint& pick, const TDPoint& through, double r, double s,
                               double e, TDArc& arc) const
{
    return Ops2::arc_tangent_arc_point(copy(g), copy(pick), copy(through), r, s, e, arc);
}

int TTangroGDI::ArcTan2Lines(const TDLine& l1, const TDLine& l2, double r, double s, double e, const TDPoint& pick1,
                             const TDPoint& pick2, TDArc& arc) const
{
    return Ops2::arc_tangent_2_lines(copy(l1), copy(l2), r, s, e, copy(pick1), copy(pick2), arc);
}

int TTangroGDI::ArcTanLineArc(const TDLine& l, const TDArc& g, double r, double s, double e, const TDPoint& pick1,
                              const TDPoint& pick2, TDArc& arc) const
{
    return Ops2::arc_tangent_line_arc(copy(l), copy(g), r, s, e, copy(pick1), copy(pick2), arc);
}

int TTangroGDI::ArcTan2Arcs(const TDArc& c1, const TDArc& c2, double r, double s, double e, const TDPoint& pick1,
                            const TDPoint& pick2, TDArc& arc) const
{
    return Ops2::arc_tangent_2_arcs(copy(c1), copy(c2), r, s, e, copy(pick1), copy(pick2), arc);
}

int TTangroGDI::ArcTanLine2Points(const TDLine& l, const TDPoint& p1, const TDPoint& p2, double s, double e,
                                  TDArc& arc) const
{
    return Ops2::arc_tangent_line_2_points(copy(l), copy(p1), copy(p2), s, e, arc);
}

int TTangroGDI::ArcThrough2Points(const TDPoint& p1, const TDPoint& p2, double r, double s, double e, TDArc& arc1,
                                  TDArc& arc2) const
{
    return Ops2::arc_through_2_points(copy(p1), copy(p2), r, s, e, arc1, arc2);
}

int TTangroGDI::ArcBetween2Points(const TDPoint& p1, const TDPoint& p2, double s, double e, TDArc& arc) const
{
    return Ops2::arc_between_2_points(copy(p1), copy(p2), s, e, arc);
}

int TTangroGDI::ArcTan3Lines(const TDLine& l1, const TDLine& l2, const TDLine& l3, const TDPoint& pick, double s,
                             double e, TDArc& arc) const
{
    return Ops2::arc_tan_3_lines(copy(l1), copy(l2), copy(l3), copy(pick), s, e, arc);
}

TDArc TTangroGDI::ArcFromElement(const TElement& element) const { return Ops2::get_arc_from_element(element); }

// ---------------------------------------------------------------- measures

double TTangroGDI::GetLineLength(const TDLine& l) const { return Ops2::get_length_of_line(l); }

double TTangroGDI::FixAngle(double angle) const { return Ops2::fix_angle(angle); }

double TTangroGDI::GetAngle(double x1, double y1, double x2, double y2) const
{
    return Ops2::get_angle_degrees(x1, y1, x2, y2);
}

double TTangroGDI::GetAngle2Points(const TDPoint& p1, const TDPoint& p2) const
{
    return Ops2::get_angle_2_points(p1, p2);
}

double TTangroGDI::GetAngleLine(const TDLine& l) const { return Ops2::get_angle_line(l); }

double TTangroGDI::AngleOfLine(const TDLine& l) const
{
    return Ops2::detail::angle_of_direction(l.P2.X - l.P1.X, l.P2.Y - l.P1.Y);
}

double TTangroGDI::Distance(double x1, double y1, double x2, double y2) const
{
    return Ops2::_distance(x1, y1, x2, y2);
}

double TTangroGDI::Distance2Points(const TDPoint& p1, const TDPoint& p2) const
{
    return Ops2::distance_2_points(p1, p2);
}

double TTangroGDI::Distance3D(const TDPoint& p1, const TDPoint& p2) const { return Ops2::distance_3d(p1, p2); }

double TTangroGDI::GetArcLength(double radius, double start, double end) const
{
    return Ops2::get_arc_length(radius, start, end, 3);
}

double TTangroGDI::GetArcAngle(double start, double end) const { return Ops2::get_arc_angle(start, end, 3); }

} // namespace orvex
