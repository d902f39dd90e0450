// TTangroGDI: the non-visual construction calculator a host places beside a
// drawing control. It keeps no state; every method hands its arguments to
// the matching function of TangroGDIOps and returns that function's result
// code (0 success, 902..908 with a text from CalcErr, -1 where no arc
// exists). Const arguments are copied before the call, so an output may be
// the same variable as an input.
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <QObject>
#include <QString>

namespace orvex {

class ORVEXGDI_EXPORT TTangroGDI : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Version READ GetVersion CONSTANT)

public:
    explicit TTangroGDI(QObject* Owner = nullptr);
    ~TTangroGDI() override;

    /// Always "2.0".
    QString GetVersion() const;
    /// The text of a construction result code; "Undefined" outside 902..908.
    Q_INVOKABLE QString CalcErr(int code) const;

    // ---------------------------------------------------------------- points
    int PointXYZ(double x, double y, double z, TDPoint& p) const;
    TDPoint PointFromElement(const TElement& element) const;
    int Point2Lines(const TDLine& l1, const TDLine& l2, TDPoint& p) const;
    /// The crossing of two circles nearer to the pick point.
    int Point2Arcs(const TDArc& c1, const TDArc& c2, const TDPoint& pick, TDPoint& p) const;
    /// Both crossings of two circles.
    int Points2Arcs(const TDArc& c1, const TDArc& c2, TDPoint& p1, TDPoint& p2) const;
    int PointLineArc(const TDLine& l, const TDArc& g, const TDPoint& pick, TDPoint& p) const;
    int PointArcAngle(const TDArc& g, double angle, TDPoint& p) const;
    int PointCenterArc(const TDArc& g, TDPoint& p) const;
    TDPoint MidPoint(double x1, double y1, double z1, double x2, double y2, double z2) const;
    TDPoint MidPoint2Points(const TDPoint& p1, const TDPoint& p2) const;
    /// The middle of the arc's counter-clockwise sweep (X = Y = 0 for a
    /// radius of exactly 0); Z of the centre.
    TDPoint MidArc(const TDArc& g) const;
    int GetClosestPoint(const TElement& element, const TDPoint& p, TDPoint& q) const;
    int GetClosestPointLine(const TDLine& l, const TDPoint& p, TDPoint& q) const;
    int GetClosestPointArc(const TDArc& g, const TDPoint& p, TDPoint& q) const;
    /// X and Y of the start point into p1 and of the end point into p2;
    /// 1, or 0 with both points unchanged for a radius of exactly 0.
    int GetArcEndPoints(const TDArc& g, TDPoint& p1, TDPoint& p2) const;

    // ---------------------------------------------------------------- lines
    int Line2Points(const TDPoint& p1, const TDPoint& p2, TDLine& l) const;
    int LinePointAngle(const TDPoint& p, double angle, double length, TDLine& l) const;
    int LineTangentPoint(const TDPoint& pick, const TDPoint& through, const TDArc& g, TDLine& l) const;
    int LinePerpPoint(const TDPoint& p, const TDLine& l, TDLine& result) const;
    int LineParPoint(const TDPoint& p, const TDLine& l, TDLine& result) const;
    int LineTan2Arcs(const TDArc& c1, const TDArc& c2, const TDPoint& pick1, const TDPoint& pick2, TDLine& l) const;
    int LineTanAngle(const TDArc& g, double angle, double length, TDLine& l) const;
    int LineOffset(const TDLine& l, double distance, const TDPoint& side, TDLine& result) const;
    TDLine LineFromElement(const TElement& element) const;

    // ---------------------------------------------------------------- arcs
    int ArcCenterRad(const TDPoint& m, double r, double s, double e, TDArc& arc) const;
    int ArcCenterTanLine(const TDPoint& m, const TDLine& l, double s, double e, TDArc& arc) const;
    int ArcCenterPoint(const TDPoint& m, const TDPoint& p, double s, double e, TDArc& arc) const;
    int ArcCenterTanArc(const TDPoint& pick, const TDPoint& m, const TDArc& g, double s, double e, TDArc& arc) const;
    int Arc3Points(const TDPoint& p1, const TDPoint& p2, const TDPoint& p3, double s, double e, TDArc& arc) const;
    int ArcTanLinePoint(const TDLine& l, const TDPoint& pick, const TDPoint& through, double r, double s, double e,
                        TDArc& arc) const;
    int ArcTanArcPoint(const TDArc& g, const TDPoint& pick, const TDPoint& through, double r, double s, double e,
                       TDArc& arc) const;
    int ArcTan2Lines(const TDLine& l1, const TDLine& l2, double r, double s, double e, const TDPoint& pick1,
                     const TDPoint& pick2, TDArc& arc) const;
    int ArcTanLineArc(const TDLine& l, const TDArc& g, double r, double s, double e, const TDPoint& pick1,
                      const TDPoint& pick2, TDArc& arc) const;
    int ArcTan2Arcs(const TDArc& c1, const TDArc& c2, double r, double s, double e, const TDPoint& pick1,
                    const TDPoint& pick2, TDArc& arc) const;
    int ArcTanLine2Points(const TDLine& l, const TDPoint& p1, const TDPoint& p2, double s, double e,
                          TDArc& arc) const;
    int ArcThrough2Points(const TDPoint& p1, const TDPoint& p2, double r, double s, double e, TDArc& arc1,
                          TDArc& arc2) const;
    int ArcBetween2Points(const TDPoint& p1, const TDPoint& p2, double s, double e, TDArc& arc) const;
    int ArcTan3Lines(const TDLine& l1, const TDLine& l2, const TDLine& l3, const TDPoint& pick, double s, double e,
                     TDArc& arc) const;
    TDArc ArcFromElement(const TElement& element) const;

    // ---------------------------------------------------------------- measures
    /// Space length of the line.
    double GetLineLength(const TDLine& l) const;
    double FixAngle(double angle) const;
    double GetAngle(double x1, double y1, double x2, double y2) const;
    double GetAngle2Points(const TDPoint& p1, const TDPoint& p2) const;
    double GetAngleLine(const TDLine& l) const;
    /// Direction from the first to the second point, exact on the axes.
    double AngleOfLine(const TDLine& l) const;
    double Distance(double x1, double y1, double x2, double y2) const;
    double Distance2Points(const TDPoint& p1, const TDPoint& p2) const;
    double Distance3D(const TDPoint& p1, const TDPoint& p2) const;
    /// Length of the counter-clockwise arc.
    double GetArcLength(double radius, double start, double end) const;
    /// Counter-clockwise sweep from start to end.
    double GetArcAngle(double start, double end) const;
};

} // namespace orvex
