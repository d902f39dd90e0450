// The construction calculator's free functions: plane primitives on the
// public records, intersections of circles and lines, line and arc
// constructions, and the reporting of construction result codes.
//
// All constructions work in the X-Y plane; an arc argument is used as its full
// circle unless a function says otherwise. Angles are degrees,
// counter-clockwise from +X; 57.29577951 degrees make one radian here.
// Every construction returns a result code: 0 success, 902..908 (see
// calcerrstr), or -1 where no arc exists. Outputs a failing construction does
// not write keep their previous contents.
//
// This header includes no Qt header.
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <cstdint>
#include <functional>
#include <string>

namespace orvex::TangroGDIOps {

/// Degrees per radian of the calculator.
inline constexpr long double DegreesPerRadian = 57.29577951L;

// ================================================================ reporting

/// Hands a result code's message to the message sink and returns the sink's
/// answer; codes 0 and 103 are not reported and give 0.
ORVEXGDI_EXPORT int CHECK_ERROR2(int code);
/// The message sink. Without an installed sink it does nothing and returns 0.
ORVEXGDI_EXPORT int error_box2(const std::string& text);
/// Installs the host's message sink (an empty function restores the silent
/// default); its answer becomes what error_box2 and CHECK_ERROR2 return.
ORVEXGDI_EXPORT void set_error_box2_sink(std::function<int(const std::string&)> sink);

// ================================================================ primitives

/// Plane distance between (x1, y1) and (x2, y2).
ORVEXGDI_EXPORT double _distance(double x1, double y1, double x2, double y2);
/// Plane distance between two points (Z ignored).
ORVEXGDI_EXPORT double distance_2_points(const TDPoint& p1, const TDPoint& p2);
/// Space distance between two points.
ORVEXGDI_EXPORT double distance_3d(const TDPoint& p1, const TDPoint& p2);
/// Space length of a line.
ORVEXGDI_EXPORT double get_length_of_line(const TDLine& line);
/// The point halfway between (x1, y1, z1) and (x2, y2, z2).
ORVEXGDI_EXPORT void _midPoint(double x1, double y1, double z1, double x2, double y2, double z2, TDPoint& p);
/// The point halfway between p1 and p2.
ORVEXGDI_EXPORT TDPoint midPoint_2_points(const TDPoint& p1, const TDPoint& p2);
/// The point (x, y, z).
ORVEXGDI_EXPORT TDPoint make_Point(double x, double y, double z);
/// The point in the middle of an arc element's counter-clockwise sweep.
ORVEXGDI_EXPORT void mid_arc(const TElement& element, double& x, double& y, double& z);
/// The line of an element's slots 1 to 6.
ORVEXGDI_EXPORT TDLine get_line_from_element(const TElement& element);
/// The arc of an element's slots: centre 1 to 3, radius 4, angles 5 and 6.
ORVEXGDI_EXPORT TDArc get_arc_from_element(const TElement& element);

/// The point of the arc's circle at `angle` (Z of the centre), result 0.
/// A radius of exactly 0 gives (0, 0, 0) and the result 1.
ORVEXGDI_EXPORT int point_arc_angle(const TDArc& arc, double angle, TDPoint& p);
/// X and Y of the arc's centre (Z not written). Returns 0.
ORVEXGDI_EXPORT int point_center_arc(const TDArc& arc, TDPoint& p);
/// Sweep from start to end: mode 3 counter-clockwise, mode 2 clockwise,
/// other modes 0; equal angles are a full 360.
ORVEXGDI_EXPORT double get_arc_angle(double start, double end, int mode);
/// Length of the arc's sweep (get_arc_angle with the same mode) at this radius.
ORVEXGDI_EXPORT double get_arc_length(double radius, double start, double end, int mode);
/// Start and end point of the arc; 0 and the outputs unchanged for a radius
/// of exactly 0, else 1.
ORVEXGDI_EXPORT int get_arc_end_points_arc(const TDArc& arc, double& xs, double& ys, double& xe, double& ye);
/// Start and end point of an arc element, as get_arc_end_points_arc.
ORVEXGDI_EXPORT int get_arc_end_points(const TElement& element, double& xs, double& ys, double& xe, double& ye);

/// Direction from (x1, y1) to (x2, y2) in degrees; axis directions land just
/// off the axis, equal points give 0.
ORVEXGDI_EXPORT double get_angle_degrees(double x1, double y1, double x2, double y2);
/// The same direction in radians, not normalised.
ORVEXGDI_EXPORT double get_angle_radians(double x1, double y1, double x2, double y2);
/// Direction from p1 to p2 in degrees, as get_angle_degrees.
ORVEXGDI_EXPORT double get_angle_2_points(const TDPoint& p1, const TDPoint& p2);
/// Direction of the line from P1 to P2 in degrees, as get_angle_degrees.
ORVEXGDI_EXPORT double get_angle_line(const TDLine& line);
/// Direction of a line element from its first to its second point, exact on
/// the axes.
ORVEXGDI_EXPORT double angle_of_line(const TElement& element);
/// The angle brought into 0 .. 360 degrees.
ORVEXGDI_EXPORT double fix_angle(double angle);

/// Fills `line` with (p1, p2) in any case; 903 when the points share X and Y.
ORVEXGDI_EXPORT int line_2_points(const TDPoint& p1, const TDPoint& p2, TDLine& line);
/// Intersection of two infinite lines (Z = 0); 902 and `p` unchanged for
/// exactly equal slopes.
ORVEXGDI_EXPORT int point_inter_2_lines(const TDLine& l1, const TDLine& l2, TDPoint& p);
/// Foot of the perpendicular from `p` on the infinite line (Z = 0).
ORVEXGDI_EXPORT void get_closest_point_line(const TDLine& line, const TDPoint& p, TDPoint& out);
/// The point of the whole circle nearest to `p` (Z of the centre).
ORVEXGDI_EXPORT void get_closest_point_arc(const TDArc& arc, const TDPoint& p, TDPoint& out);
/// Closest point on a point, line or arc element; other types leave `out`
/// unchanged. Returns 1.
ORVEXGDI_EXPORT int get_closest_point(const TElement& element, const TDPoint& p, TDPoint& out);

/// The compass side (1 +X, 2 -X, 3 +Y, 4 -Y) of the line on which `p` lies.
ORVEXGDI_EXPORT dside get_side_from_pick(const TDLine& line, const TDPoint& p);
/// The direction perpendicular to a line of direction `angle` towards `side`;
/// an angle outside [0, 360] or a side outside 1..4 leaves `result` unchanged.
ORVEXGDI_EXPORT void get_intermediate_angle(double angle, int side, double& result);
/// |a - b| <= tolerance.
ORVEXGDI_EXPORT bool within(double tolerance, double a, double b);

/// A number as the calculator's texts write it (str_real of the control's unit).
ORVEXGDI_EXPORT std::string str_real2(double x);
/// The plain decimal text of an integer.
ORVEXGDI_EXPORT std::string str_int2(int i);

// ================================================================ intersections

/// Both intersections of two circles as (xa, ya) and (xb, yb): 0, 905 when
/// they lie too far apart, 906 when concentric, 904 when they miss; the
/// outputs are unchanged on failure.
ORVEXGDI_EXPORT int CALC_2(const TDArc& c1, const TDArc& c2, double& xa, double& xb, double& ya, double& yb);
/// Both intersections of two circles (Z of c1's centre); returns the
/// reporter's answer for the code of CALC_2.
ORVEXGDI_EXPORT int point_inter_2_arcs(const TDArc& c1, const TDArc& c2, TDPoint& p1, TDPoint& p2);
/// The intersection of two circles nearer to `pick` (a tie takes the second).
ORVEXGDI_EXPORT int get_intersection_arc_arc(const TDArc& c1, const TDArc& c2, const TDPoint& pick, TDPoint& q);
/// The point where the line meets the circle nearest to `pick`.
ORVEXGDI_EXPORT int get_intersection_line_arc(const TDLine& line, const TDArc& circle, const TDPoint& pick, TDPoint& q);
/// Intersection of a line element with the horizontal line at `y`; false for
/// a horizontal element.
ORVEXGDI_EXPORT bool horizontal_inter(double y, const TElement& element, TDPoint& p);
/// Writes X and Y of the point of (xa, ya), (xb, yb) that lies furthest
/// towards the side `code` (1 +X, 2 -X, 3 +Y, 4 -Y).
ORVEXGDI_EXPORT void calc3(double xa, double xb, double ya, double yb, std::int8_t code, TDPoint& p);

namespace detail {
/// The direction of (dx, dy) as angle_of_line computes it, exact on the axes.
ORVEXGDI_EXPORT double angle_of_direction(double dx, double dy);
/// Both intersections of the line NormalX*x + NormalY*y + Offset = 0 with the
/// circle: 0, or 904 (outputs unchanged) when the line passes outside it.
ORVEXGDI_EXPORT int line_circle(const diline& il, const TDArc& circle, double& xa, double& xb, double& ya, double& yb);
} // namespace detail

// ================================================================ line constructions

/// The line of `length` from `p` in direction `angle` (degrees).
ORVEXGDI_EXPORT int line_point_angle(const TDPoint& p, double angle, double length, TDLine& line);
/// A line of `length` touching the circle, in direction `angle` (degrees).
ORVEXGDI_EXPORT int line_tangent_angle(const TDArc& arc, double angle, double length, TDLine& line);
/// The tangent from `through` to the circle, touching on the side nearer to
/// `pick`; 908 when `through` lies inside the circle.
ORVEXGDI_EXPORT int line_tangent_point(const TDPoint& pick, const TDPoint& through, const TDArc& arc, TDLine& line);
/// The line through `p` perpendicular to `line`.
ORVEXGDI_EXPORT int line_perpendicular_point(const TDPoint& p, const TDLine& line, TDLine& result);
/// The line through `p` parallel to `line`.
ORVEXGDI_EXPORT int line_parallel_point(const TDPoint& p, const TDLine& line, TDLine& result);
/// The line parallel to `line` at `distance`, on the side of `side`.
ORVEXGDI_EXPORT int offset_line(const TDLine& line, double distance, const TDPoint& side, TDLine& result);
/// A line tangent to both circles: the external tangent when both pick points
/// lie on the same side of the centre line, else the crossing one.
ORVEXGDI_EXPORT int line_tangent_2_arcs2(const TDArc& arc1, const TDArc& arc2, const TDPoint& pick1,
                                         const TDPoint& pick2, TDLine& line);
/// The normalised implicit form of the line, normal to the right of P1 -> P2;
/// 903 for a line of zero length.
ORVEXGDI_EXPORT int make_iline(const TDLine& line, diline& il);

// ================================================================ arc constructions

/// The arc of centre `m`, radius `r`, angles `s` to `e`.
ORVEXGDI_EXPORT int arc_center_radius(const TDPoint& m, double r, double s, double e, TDArc& arc);
/// The arc of centre `m` through `p`, angles `s` to `e`.
ORVEXGDI_EXPORT int arc_center_point(const TDPoint& m, const TDPoint& p, double s, double e, TDArc& arc);
/// The arc of centre `m` touching the infinite line, angles `s` to `e`.
ORVEXGDI_EXPORT int arc_center_tangent_line(const TDPoint& m, const TDLine& line, double s, double e, TDArc& arc);
/// The arc of centre `m` touching the given circle on the side nearer to `pick`.
ORVEXGDI_EXPORT int arc_center_tangent_arc(const TDPoint& pick, const TDPoint& m, const TDArc& given, double s,
                                           double e, TDArc& arc);
/// The arc centred halfway between p1 and p2 whose radius is their whole distance.
ORVEXGDI_EXPORT int arc_between_2_points(const TDPoint& p1, const TDPoint& p2, double s, double e, TDArc& arc);
/// Both arcs of radius `r` through p1 and p2.
ORVEXGDI_EXPORT int arc_through_2_points(const TDPoint& p1, const TDPoint& p2, double r, double s, double e,
                                         TDArc& arc1, TDArc& arc2);
/// The arc through three points; 908 when they lie on one line.
ORVEXGDI_EXPORT int arc_3_points(const TDPoint& p1, const TDPoint& p2, const TDPoint& p3, double s, double e,
                                 TDArc& arc);
/// The arc of radius `r` touching the line on the side of `pick` and passing through `through`.
ORVEXGDI_EXPORT int arc_tangent_line_point(const TDLine& line, const TDPoint& pick, const TDPoint& through, double r,
                                           double s, double e, TDArc& arc);
/// The arc of radius `r` touching the given circle near `pick` and passing through `through`.
ORVEXGDI_EXPORT int arc_tangent_arc_point(const TDArc& given, const TDPoint& pick, const TDPoint& through, double r,
                                          double s, double e, TDArc& arc);
/// arc_tangent_line_point for a line element, arc_tangent_arc_point for an
/// arc element; any other element leaves the arc unchanged and gives -1.
ORVEXGDI_EXPORT int arc_tangent_element_point(const TElement& element, const TDPoint& pick, const TDPoint& through,
                                              double r, double s, double e, TDArc& arc);
/// The fillet of radius `r` between two lines, in the corner the pick points choose.
ORVEXGDI_EXPORT int arc_tangent_2_lines(const TDLine& line1, const TDLine& line2, double r, double s, double e,
                                        const TDPoint& pick1, const TDPoint& pick2, TDArc& arc);
/// The arc of radius `r` touching a line and a circle near the pick points.
ORVEXGDI_EXPORT int arc_tangent_line_arc(const TDLine& line, const TDArc& given, double r, double s, double e,
                                         const TDPoint& pick1, const TDPoint& pick2, TDArc& arc);
/// The arc of radius `r` touching two circles near the pick points.
ORVEXGDI_EXPORT int arc_tangent_2_arcs(const TDArc& arc1, const TDArc& arc2, double r, double s, double e,
                                       const TDPoint& pick1, const TDPoint& pick2, TDArc& arc);
/// The circle touching three lines, in the region that `pick` chooses.
ORVEXGDI_EXPORT int arc_tan_3_lines(const TDLine& line1, const TDLine& line2, const TDLine& line3, const TDPoint& pick,
                                    double s, double e, TDArc& arc);
/// The full circle through p1 and p2 that touches the line of the element's
/// slots 1 to 6; the three numbers are not used.
ORVEXGDI_EXPORT int arc_tan_2_points_element(const TDPoint& p1, const TDPoint& p2, const TElement& element, double r,
                                             double s, double e, TDArc& arc);
/// Constructs nothing: the arc is left unchanged and the result is -1.
ORVEXGDI_EXPORT int arc_tangent_line_2_points(const TDLine& line, const TDPoint& p1, const TDPoint& p2, double s,
                                              double e, TDArc& arc);

} // namespace orvex::TangroGDIOps
