// Points, lines, arcs and curves in world (model) coordinates, gathered in
// file order and made into elements once the whole drawing is known: arcs
// go into the arc view of their plane (or become line chains when none is
// left), curves become line chains whose chords stay within a thousandth
// of the drawing's size.
#pragma once

#include "drawing_sink.h"
#include "model_space.h"

#include <functional>
#include <vector>

namespace orvex::formats {

/// Colour, line type and layer of a shape.
struct ShapeStyle {
    TColor Colour = 0x00FF00;
    int LineType = 1;
    int Layer = 1;
};

class WorldShapes {
public:
    /// A curve point for a parameter value.
    using Curve = std::function<Vec3(double)>;

    void point(const Vec3& p, const ShapeStyle& style);
    void line(const Vec3& a, const Vec3& b, const ShapeStyle& style);
    /// A circular arc about `normal` (length 1), counter-clockwise seen from
    /// its tip, from `start` to `end` degrees measured from `xAxis` (length
    /// 1, in the plane); `full` for a whole circle.
    void arc(const Vec3& centre, double radius, const Vec3& xAxis, const Vec3& normal, double start, double end,
             bool full, const ShapeStyle& style);
    /// A curve from parameter t0 to t1, cut first into at least `pieces`
    /// equal steps (more where it bends); `extent` holds points whose box
    /// contains the curve (control points, say).
    void curve(Curve at, double t0, double t1, int pieces, const std::vector<Vec3>& extent, const ShapeStyle& style);
    /// Straight pieces through the points in order.
    void chain(const std::vector<Vec3>& points, const ShapeStyle& style);

    /// Makes the elements through the sink's factory, in the order given;
    /// values the factory does not accept are left out. Returns how many
    /// elements were made.
    int make(DrawingSink& sink);

    /// The chord tolerance the curves are cut to.
    double tolerance() const;

private:
    enum class Kind { Point, Line, Arc, Curve };
    struct Item {
        Kind kind;
        ShapeStyle style;
        Vec3 a, b, x, n;
        double r = 0, start = 0, end = 0;
        bool full = false;
        int curve = -1;
    };
    struct CurveJob {
        Curve at;
        double t0, t1;
        int pieces;
    };
    void widen(const Vec3& p);
    void make_line(DrawingSink& sink, const Vec3& a, const Vec3& b, const ShapeStyle& s, int& made);
    void make_chain(DrawingSink& sink, const CurveJob& job, const ShapeStyle& s, int& made);

    std::vector<Item> items_;
    std::vector<CurveJob> curves_;
    Vec3 min_{1e300, 1e300, 1e300}, max_{-1e300, -1e300, -1e300};
};

} // namespace orvex::formats
