// Points, lines, arcs and curves in world (model) coordinates made into
// elements: points, lines and arcs at once (an arc in the arc view of its
// plane, or a line chain when none is left), curves once the whole drawing
// is known, as line chains whose chords stay within a thousandth of the
// drawing's size.
#pragma once

#include "formats/common/drawing_sink.h"
#include "formats/common/model_space.h"

#include <functional>
#include <string>
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
    /// More elements than this from one file raise ERangeError: a file of
    /// nested arrays of inserts could otherwise ask for any number. Fuzz
    /// builds stop far sooner, so that each input reads in well under a
    /// second and the fuzzer keeps its pace.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    static constexpr long long kMaxElements = 100'000;
#else
    static constexpr long long kMaxElements = 50'000'000;
#endif

    explicit WorldShapes(DrawingSink& sink) : sink_(sink) {}

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
    /// A filled region: the area inside the closed loops (each joins its
    /// last point to its first) under the even-odd rule, in the style's
    /// colour. Made at once as fill edges with a region number of their own.
    void fill(const std::vector<std::vector<Vec3>>& loops, const ShapeStyle& style);

    /// Counts a point of another element into the drawing's size.
    void include(const Vec3& p) { widen(p); }

    /// Curves added from now until end_budget share one allowance of
    /// `chords` chords: once it is spent, the rest of them are cut into
    /// their first equal steps only. `label` names them in capped().
    void begin_budget(std::string label, long long chords);
    void end_budget() { budget_ = -1; }
    /// The labels of the budgets that ran out in finish().
    const std::vector<std::string>& capped() const { return capped_; }

    /// Makes the curves' chains, after every other element. Values the
    /// factory does not accept are left out throughout.
    void finish();

    /// The chord tolerance the curves are cut to.
    double tolerance() const;

    /// Calls `change` on every element from the first this made to the last
    /// (the factory numbers them one after the other, so these are all its
    /// own when nothing else made elements meanwhile).
    void for_each_made(const std::function<void(TElement&)>& change);
    /// How many elements for_each_made visits.
    int made_count() const;

private:
    struct CurveJob {
        Curve at;
        double t0, t1;
        int pieces;
        ShapeStyle style;
        int budget = -1;
    };
    struct Budget {
        std::string label;
        long long left;
        bool capped = false;
    };
    void widen(const Vec3& p);
    /// Keeps the index the factory gave (-1 when it made nothing).
    void note(int index);
    void count_one();
    void make_line(const Vec3& a, const Vec3& b, const ShapeStyle& s);
    void make_chain(const CurveJob& job, double tolerance);
    std::vector<Budget> budgets_;
    int budget_ = -1;
    std::vector<std::string> capped_;

    DrawingSink& sink_;
    long long made_ = 0;
    int firstMade_ = -1, lastMade_ = -1;
    std::vector<CurveJob> curves_;
    Vec3 min_{1e300, 1e300, 1e300}, max_{-1e300, -1e300, -1e300};
};

} // namespace orvex::formats
