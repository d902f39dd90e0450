// Leaders (214): the arrowhead at the first point, then the segments through
// the tail points, all at the leader's depth. The form names the arrowhead;
// its height is measured across the leader and its width along it.
#include "formats/iges/iges_annotation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace orvex::formats::iges {

namespace {

using Point2 = std::array<double, 2>;

constexpr double kTurn = 2 * std::numbers::pi;
// Ends whose distances from an angular dimension's vertex differ by less
// than this share of them lie on one leader arc.
constexpr double kArcTolerance = 1e-3;

enum Arrowhead {
    Wedge = 1,
    Triangle,
    FilledTriangle,
    NoArrowhead,
    Circle,
    FilledCircle,
    Rectangle,
    FilledRectangle,
    Slash,
    IntegralSign,
    OpenTriangle,
    DimensionOrigin,
};

class LeaderPlane {
public:
    LeaderPlane(const AnnotationEntity& e, double z, WorldShapes& shapes) : e_(e), z_(z), shapes_(shapes) {}

    Vec3 at(const Point2& p) const { return e_.matrix.apply(p[0], p[1], z_); }

    void line(const Point2& a, const Point2& b) { shapes_.line(at(a), at(b), e_.style); }

    void outline(const std::vector<Point2>& points, bool closed)
    {
        for (std::size_t i = 1; i < points.size(); ++i)
            line(points[i - 1], points[i]);
        if (closed && points.size() > 2)
            line(points.back(), points.front());
    }

    void fill(const std::vector<Point2>& points)
    {
        std::vector<Vec3> loop;
        for (const Point2& p : points)
            loop.push_back(at(p));
        shapes_.fill({loop}, e_.style);
    }

    // An arc about c of radius r from angle a0 turning by `sweep` (radians).
    void arc(const Point2& c, double r, double a0, double sweep)
    {
        const std::vector<Vec3> box{at({c[0] - r, c[1] - r}), at({c[0] + r, c[1] - r}), at({c[0] + r, c[1] + r}),
                                    at({c[0] - r, c[1] + r})};
        const Matrix& m = e_.matrix;
        const double z = z_;
        shapes_.curve(
            [=](double t) {
                const double a = a0 + sweep * t;
                return m.apply(c[0] + r * std::cos(a), c[1] + r * std::sin(a), z);
            },
            0, 1, 8, box, e_.style);
    }

private:
    const AnnotationEntity& e_;
    double z_;
    WorldShapes& shapes_;
};

// A regular polygon standing for a circle (for filled circles).
std::vector<Point2> circle_points(const Point2& c, double r)
{
    std::vector<Point2> points;
    for (int i = 0; i < 32; ++i) {
        const double a = kTurn * i / 32;
        points.push_back({c[0] + r * std::cos(a), c[1] + r * std::sin(a)});
    }
    return points;
}

// Draws the arrowhead whose tip is `tip`, the leader leaving it towards
// `back` (length 1); h across the leader, w along it.
void arrowhead(int form, const Point2& tip, const Point2& back, double h, double w, LeaderPlane& plane)
{
    const Point2 across{-back[1], back[0]};
    auto local = [&](double along, double side) {
        return Point2{tip[0] + back[0] * along + across[0] * side, tip[1] + back[1] * along + across[1] * side};
    };
    const std::vector<Point2> triangle{tip, local(w, h / 2), local(w, -h / 2)};
    const std::vector<Point2> rectangle{local(-w / 2, -h / 2), local(w / 2, -h / 2), local(w / 2, h / 2),
                                        local(-w / 2, h / 2)};
    switch (form) {
    case 0: // the one leader form of early versions
    case Wedge:
        plane.outline({local(w, h / 2), tip, local(w, -h / 2)}, false);
        break;
    case Triangle:
    case OpenTriangle:
        plane.outline(triangle, true);
        break;
    case FilledTriangle:
        plane.fill(triangle);
        break;
    case Circle:
    case DimensionOrigin:
        plane.arc(tip, h / 2, 0, kTurn);
        break;
    case FilledCircle:
        plane.fill(circle_points(tip, h / 2));
        break;
    case Rectangle:
        plane.outline(rectangle, true);
        break;
    case FilledRectangle:
        plane.fill(rectangle);
        break;
    case Slash:
        plane.line(local(-w / 2, -h / 2), local(w / 2, h / 2));
        break;
    case IntegralSign: {
        // An S through the tip, leaning like the slash.
        std::vector<Point2> s;
        for (int i = 0; i <= 12; ++i) {
            const double t = -1 + i / 6.0;
            s.push_back(local(w / 2 * t + w / 4 * std::sin(std::numbers::pi * t), h / 2 * t));
        }
        plane.outline(s, false);
        break;
    }
    default: // no arrowhead
        break;
    }
}

double distance(const Point2& a, const Point2& b) { return std::hypot(a[0] - b[0], a[1] - b[1]); }

bool on_one_arc(const Point2& a, const Point2& b, const Point2& c)
{
    const double ra = distance(a, c), rb = distance(b, c);
    return ra > 0 && rb > 0 && std::fabs(ra - rb) <= kArcTolerance * std::max(ra, rb);
}

} // namespace

bool add_leader(const AnnotationEntity& e, WorldShapes& shapes, const double* arcCentre)
{
    const std::vector<double>& v = e.values;
    if (v.size() < 6)
        return false;
    const double height = v[1], width = v[2];
    const std::size_t room = (v.size() - 6) / 2;
    const std::size_t n = v[0] > 0 ? static_cast<std::size_t>(std::min(v[0], static_cast<double>(room))) : 0;
    std::vector<Point2> path{{v[4], v[5]}};
    for (std::size_t i = 0; i < n; ++i)
        path.push_back({v[6 + 2 * i], v[7 + 2 * i]});

    LeaderPlane plane(e, v[3], shapes);
    const Point2 centre = arcCentre != nullptr ? Point2{arcCentre[0], arcCentre[1]} : Point2{0, 0};
    auto arc_piece = [&](std::size_t i) { return arcCentre != nullptr && on_one_arc(path[i - 1], path[i], centre); };
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (!arc_piece(i)) {
            plane.line(path[i - 1], path[i]);
            continue;
        }
        // The shorter way round from one end to the other.
        const double a0 = std::atan2(path[i - 1][1] - centre[1], path[i - 1][0] - centre[0]);
        const double a1 = std::atan2(path[i][1] - centre[1], path[i][0] - centre[0]);
        plane.arc(centre, distance(path[i - 1], centre), a0, std::remainder(a1 - a0, kTurn));
    }

    // The direction the leader leaves its tip: towards the first tail point,
    // or along the arc's tangent on an angular dimension.
    Point2 back{1, 0};
    if (path.size() > 1) {
        Point2 d{path[1][0] - path[0][0], path[1][1] - path[0][1]};
        if (arc_piece(1)) {
            const Point2 radial{path[0][0] - centre[0], path[0][1] - centre[1]};
            Point2 tangent{-radial[1], radial[0]};
            if (tangent[0] * d[0] + tangent[1] * d[1] < 0)
                tangent = {-tangent[0], -tangent[1]};
            d = tangent;
        }
        const double length = std::hypot(d[0], d[1]);
        if (length > 0)
            back = {d[0] / length, d[1] / length};
    }
    // One measure given stands for both.
    const double h = height > 0 ? height : width, w = width > 0 ? width : height;
    if (h > 0 && w > 0)
        arrowhead(e.Form, path[0], back, h, w, plane);
    return true;
}

} // namespace orvex::formats::iges
