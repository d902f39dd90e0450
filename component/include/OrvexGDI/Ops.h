// Plane geometry of the drawing control: distances, midpoints, directions,
// points on arcs, arc sweeps, closest points, the line through two points,
// the intersection of two lines, and the number texts of the drawing files.
//
// All geometry is in X and Y; Z is carried along only where a function says
// so. Angles are degrees, counter-clockwise from +X; 57.2957795131 degrees
// make one radian here. Functions that can fail return a construction result
// code (0 success, 902 parallel lines, 903 undefined line) and leave the
// outputs they did not write as they were.
//
// This header includes no Qt header.
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <cstddef>
#include <string>

namespace orvex::Ops {

/// Degrees per radian of the control's geometry.
inline constexpr long double DegreesPerRadian = 57.2957795131L;

// ---------------------------------------------------------------- distances and midpoints

/// Plane distance between (x1, y1) and (x2, y2).
ORVEXGDI_EXPORT double distance(double x1, double y1, double x2, double y2);
/// Plane distance between two points (Z ignored).
ORVEXGDI_EXPORT double distance_2_points(const dpoint& p1, const dpoint& p2);
/// The point halfway between (x1, y1, z1) and (x2, y2, z2).
ORVEXGDI_EXPORT void midpoint(double x1, double y1, double z1, double x2, double y2, double z2, dpoint& p);
/// The point halfway between p1 and p2.
ORVEXGDI_EXPORT dpoint midpoint_2_points(const dpoint& p1, const dpoint& p2);

// ---------------------------------------------------------------- elements as records

/// The line of an element's slots 1 to 6, whatever its type.
ORVEXGDI_EXPORT dline get_line_from_element(const TElement& element);
/// The arc of an element's slots 1 to 6 (centre, radius, start, end).
ORVEXGDI_EXPORT darc get_arc_from_element(const TElement& element);

// ---------------------------------------------------------------- angles and arcs

/// Brings an angle into [0, 360] with at most two corrections each way.
ORVEXGDI_EXPORT double fix_angle(double angle);
/// Direction from (x1, y1) to (x2, y2) in degrees. Axis directions come out
/// just off the axis (a zero difference is taken as 1e-7); equal points give 0.
ORVEXGDI_EXPORT double get_angle_degrees(double x1, double y1, double x2, double y2);
/// Sweep of an arc from start to end: mode 3 counter-clockwise, mode 2
/// clockwise, other modes 0; equal angles are a full 360.
ORVEXGDI_EXPORT double get_arc_angle(double start, double end, int mode);
/// The point of the arc's circle at `angle` (Z of the centre). Returns 0.
ORVEXGDI_EXPORT int point_arc_angle(const darc& arc, double angle, dpoint& p);
/// The point in the middle of an arc element's counter-clockwise sweep.
ORVEXGDI_EXPORT void mid_arc(const TElement& element, double& x, double& y, double& z);
/// Start and end point of an arc element.
ORVEXGDI_EXPORT void get_arc_end_points(const TElement& element, double& xs, double& ys, double& xe, double& ye);

// ---------------------------------------------------------------- lines

/// Fills `line` with (p1, p2) in any case; 903 when the points share X and Y.
ORVEXGDI_EXPORT int line_2_points(const dpoint& p1, const dpoint& p2, dline& line);
/// Intersection of two infinite lines (Z = 0); 902 and `p` unchanged when
/// their slopes are exactly equal. Near-vertical lines and near-equal slopes
/// are bent to a 1e-6 difference rather than rejected.
ORVEXGDI_EXPORT int point_inter_2_lines(const dline& l1, const dline& l2, dpoint& p);

// ---------------------------------------------------------------- closest points

/// Foot of the perpendicular from `p` on the infinite line (Z = 0).
ORVEXGDI_EXPORT void get_closest_point_line(const dline& line, const dpoint& p, dpoint& out);
/// The point of the arc's whole circle nearest to `p` (Z of the centre).
ORVEXGDI_EXPORT void get_closest_point_arc(const darc& arc, const dpoint& p, dpoint& out);
/// Closest point on a point, line or arc element; other types leave `out`
/// unchanged. Returns 1.
ORVEXGDI_EXPORT int get_closest_point(const TElement& element, const dpoint& p, dpoint& out);

// ---------------------------------------------------------------- number texts

/// str_real written into out (room for 16 characters); returns its length.
ORVEXGDI_EXPORT std::size_t str_real_to(double x, char* out);
/// A number as the drawing files write it: four decimals, trailing zeros
/// dropped, a leading zero dropped (12.5 -> "12.5", 3 -> "3.0", 0.25 -> ".25",
/// -0.25 -> "-.25", 0 -> ".0").
ORVEXGDI_EXPORT std::string str_real(double x);
/// The plain decimal text of an integer.
ORVEXGDI_EXPORT std::string str_int(int i);

} // namespace orvex::Ops

// The rest of the unit, by topic: the view mapping and coordinate check, the
// pick hit tests, element shifting and the text functions of the file formats.
#include <OrvexGDI/OpsEdit.h>
#include <OrvexGDI/OpsFileText.h>
#include <OrvexGDI/OpsPick.h>
#include <OrvexGDI/OpsView.h>
