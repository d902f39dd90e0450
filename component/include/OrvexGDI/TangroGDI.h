// TTangroGDI: the non-visual construction calculator a host places beside a
// drawing control. It keeps no state; every method hands its arguments to
// the matching function of TangroGDIOps and returns that function's result
// code (0 success, 902..908 with a text from CalcErr, -1 where no arc
// exists). Const arguments are copied before the call, so an output may be
// the same variable as an input.
//
// Qt Designer holds only widgets, so the calculator is not in its widget box:
// a host creates it in code (`new orvex::TTangroGDI(this)`), beside the
// drawing control it serves. The constructor and every construction are
// Q_INVOKABLE, so scripting bridges and QMetaObject::invokeMethod reach them
// by name.
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
    Q_INVOKABLE explicit TTangroGDI(QObject* Owner = nullptr);
    /// Nothing to free: the calculator keeps no state.
    ~TTangroGDI() override;

    /// Always "2.0".
    QString GetVersion() const;
    /// The text of a construction result code; "Undefined" outside 902..908.
    Q_INVOKABLE QString CalcErr(int code) const;

    // ---------------------------------------------------------------- points
    Q_INVOKABLE int PointXYZ(double x, double y, double z, TDPoint& p) const;
    Q_INVOKABLE TDPoint PointFromElement(const TElement& element) const;
    Q_INVOKABLE int Point2Lines(const TDLine& l1, const TDLine& l2, TDPoint& p) const;
    /// The crossing of two circles nearer to the pick point.
    Q_INVOKABLE int Point2Arcs(const TDArc& c1, const TDArc& c2, const TDPoint& pick, TDPoint& p) const;
    /// Both crossings of two circles.
    Q_INVOKABLE int Points2Arcs(const TDArc& c1, const TDArc& c2, TDPoint& p1, TDPoint& p2) const;
    Q_INVOKABLE int PointLineArc(const TDLine& l, const TDArc& g, const TDPoint& pick, TDPoint& p) const;
    Q_INVOKABLE int PointArcAngle(const TDArc& g, double angle, TDPoint& p) const;
    Q_INVOKABLE int PointCenterArc(const TDArc& g, TDPoint& p) const;
    Q_INVOKABLE TDPoint MidPoint(double x1, double y1, double z1, double x2, double y2, double z2) const;
    Q_INVOKABLE TDPoint MidPoint2Points(const TDPoint& p1, const TDPoint& p2) const;
    /// The middle of the arc's counter-clockwise sweep (X = Y = 0 for a
    /// radius of exactly 0); Z of the centre.
    Q_INVOKABLE TDPoint MidArc(const TDArc& g) const;
    Q_INVOKABLE int GetClosestPoint(const TElement& element, const TDPoint& p, TDPoint& q) const;
    Q_INVOKABLE int GetClosestPointLine(const TDLine& l, const TDPoint& p, TDPoint& q) const;
    Q_INVOKABLE int GetClosestPointArc(const TDArc& g, const TDPoint& p, TDPoint& q) const;
    /// X and Y of the start point into p1 and of the end point into p2;
    /// 1, or 0 with both points unchanged for a radius of exactly 0.
    Q_INVOKABLE int GetArcEndPoints(const TDArc& g, TDPoint& p1, TDPoint& p2) const;

    // ---------------------------------------------------------------- lines
    Q_INVOKABLE int Line2Points(const TDPoint& p1, const TDPoint& p2, TDLine& l) const;
    Q_INVOKABLE int LinePointAngle(const TDPoint& p, double angle, double length, TDLine& l) const;
    Q_INVOKABLE int LineTangentPoint(const TDPoint& pick, const TDPoint& through, const TDArc& g, TDLine& l) const;
    Q_INVOKABLE int LinePerpPoint(const TDPoint& p, const TDLine& l, TDLine& result) const;
    Q_INVOKABLE int LineParPoint(const TDPoint& p, const TDLine& l, TDLine& result) const;
    Q_INVOKABLE int LineTan2Arcs(const TDArc& c1, const TDArc& c2, const TDPoint& pick1, const TDPoint& pick2,
                                 TDLine& l) const;
    Q_INVOKABLE int LineTanAngle(const TDArc& g, double angle, double length, TDLine& l) const;
    Q_INVOKABLE int LineOffset(const TDLine& l, double distance, const TDPoint& side, TDLine& result) const;
    Q_INVOKABLE TDLine LineFromElement(const TElement& element) const;

    // ---------------------------------------------------------------- arcs
    Q_INVOKABLE int ArcCenterRad(const TDPoint& m, double r, double s, double e, TDArc& arc) const;
    Q_INVOKABLE int ArcCenterTanLine(const TDPoint& m, const TDLine& l, double s, double e, TDArc& arc) const;
    Q_INVOKABLE int ArcCenterPoint(const TDPoint& m, const TDPoint& p, double s, double e, TDArc& arc) const;
    Q_INVOKABLE int ArcCenterTanArc(const TDPoint& pick, const TDPoint& m, const TDArc& g, double s, double e,
                                    TDArc& arc) const;
    Q_INVOKABLE int Arc3Points(const TDPoint& p1, const TDPoint& p2, const TDPoint& p3, double s, double e,
                               TDArc& arc) const;
    Q_INVOKABLE int ArcTanLinePoint(const TDLine& l, const TDPoint& pick, const TDPoint& through, double r, double s,
                                    double e, TDArc& arc) const;
    Q_INVOKABLE int ArcTanArcPoint(const TDArc& g, const TDPoint& pick, const TDPoint& through, double r, double s,
                                   double e, TDArc& arc) const;
    Q_INVOKABLE int ArcTan2Lines(const TDLine& l1, const TDLine& l2, double r, double s, double e, const TDPoint& pick1,
                                 const TDPoint& pick2, TDArc& arc) const;
    Q_INVOKABLE int ArcTanLineArc(const TDLine& l, const TDArc& g, double r, double s, double e, const TDPoint& pick1,
                                  const TDPoint& pick2, TDArc& arc) const;
    Q_INVOKABLE int ArcTan2Arcs(const TDArc& c1, const TDArc& c2, double r, double s, double e, const TDPoint& pick1,
                                const TDPoint& pick2, TDArc& arc) const;
    Q_INVOKABLE int ArcTanLine2Points(const TDLine& l, const TDPoint& p1, const TDPoint& p2, double s, double e,
                                      TDArc& arc) const;
    Q_INVOKABLE int ArcThrough2Points(const TDPoint& p1, const TDPoint& p2, double r, double s, double e, TDArc& arc1,
                                      TDArc& arc2) const;
    Q_INVOKABLE int ArcBetween2Points(const TDPoint& p1, const TDPoint& p2, double s, double e, TDArc& arc) const;
    Q_INVOKABLE int ArcTan3Lines(const TDLine& l1, const TDLine& l2, const TDLine& l3, const TDPoint& pick, double s,
                                 double e, TDArc& arc) const;
    Q_INVOKABLE TDArc ArcFromElement(const TElement& element) const;

    // ---------------------------------------------------------------- measures
    /// Space length of the line.
    Q_INVOKABLE double GetLineLength(const TDLine& l) const;
    Q_INVOKABLE double FixAngle(double angle) const;
    Q_INVOKABLE double GetAngle(double x1, double y1, double x2, double y2) const;
    Q_INVOKABLE double GetAngle2Points(const TDPoint& p1, const TDPoint& p2) const;
    Q_INVOKABLE double GetAngleLine(const TDLine& l) const;
    /// Direction from the first to the second point, exact on the axes.
    Q_INVOKABLE double AngleOfLine(const TDLine& l) const;
    Q_INVOKABLE double Distance(double x1, double y1, double x2, double y2) const;
    Q_INVOKABLE double Distance2Points(const TDPoint& p1, const TDPoint& p2) const;
    Q_INVOKABLE double Distance3D(const TDPoint& p1, const TDPoint& p2) const;
    /// Length of the counter-clockwise arc.
    Q_INVOKABLE double GetArcLength(double radius, double start, double end) const;
    /// Counter-clockwise sweep from start to end.
    Q_INVOKABLE double GetArcAngle(double start, double end) const;
};

} // namespace orvex
