// The whole-drawing fit of the front, side and rotated views: the box of
// what the view shows of every live element on a visible layer, measured in
// the view plane, fills about 90 % of the smaller picture side.
#include "view/view_math.h"

#include <OrvexGDI/Ops.h>

#include "common/codes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvex::view {

namespace {

// The view-plane box of what has been added to it.
struct PlaneBox {
    double minU = std::numeric_limits<double>::infinity(), minW = minU;
    double maxU = -minU, maxW = -minU;

    bool empty() const { return minU > maxU; }
    void add(double u, double w)
    {
        minU = std::min(minU, u), maxU = std::max(maxU, u);
        minW = std::min(minW, w), maxW = std::max(maxW, w);
    }
};

// Whether the angle t (radians) lies on the sweep that starts at `start` and
// turns counter-clockwise by `sweep`.
bool on_sweep(double t, double start, double sweep)
{
    const double turn = 2 * M_PI;
    const double from = std::fmod(std::fmod(t - start, turn) + turn, turn);
    return from <= sweep;
}

// An arc of radius r in its plane, seen in the view: its centre and the two
// plane axes projected make u(t) = cu + au cos t + bu sin t and likewise w;
// the box takes its end points and the extremes that lie on the sweep.
void add_arc(const TViewState& s, const Viewport& view, const TElement& e, PlaneBox& box)
{
    const int plane = e.GetView();
    if (plane < 1 || plane > 90)
        return; // names no plane, so nothing is drawn
    const TArcView& m = s.ArcViews[plane];
    const double x = e.slot(0), y = e.slot(1), z = e.slot(2), r = e.slot(3);
    double cu = 0, cw = 0, au = 0, aw = 0, bu = 0, bw = 0;
    view.project(m.M11 * x + m.M12 * y + m.M13 * z, m.M21 * x + m.M22 * y + m.M23 * z,
                 m.M31 * x + m.M32 * y + m.M33 * z, cu, cw);
    view.project(r * m.M11, r * m.M21, r * m.M31, au, aw);
    view.project(r * m.M12, r * m.M22, r * m.M32, bu, bw);

    const double start = e.slot(4) / codes::kDegreesPerRadian;
    const double sweep = Ops::get_arc_angle(e.slot(4), e.slot(5), 3) / codes::kDegreesPerRadian;
    const auto at = [&](double t) {
        box.add(cu + au * std::cos(t) + bu * std::sin(t), cw + aw * std::cos(t) + bw * std::sin(t));
    };
    at(start);
    at(start + sweep);
    for (const double extreme : {std::atan2(bu, au), std::atan2(bw, aw)})
        for (const double t : {extreme, extreme + M_PI})
            if (on_sweep(t, start, sweep))
                at(t);
}

PlaneBox plane_box(const TViewState& s, const TElements& elements, int v)
{
    PlaneBox box;
    const Viewport view = Viewport::of(s, v);
    const auto add = [&](double x, double y, double z) {
        double u = 0, w = 0;
        view.project(x, y, z, u, w);
        box.add(u, w);
    };
    for (const TElement* e : elements) {
        if (e->GetDeleted() || !s.LayerVisible[e->GetLayer()])
            continue;
        switch (e->GetEtype()) {
        case etPoint:
            add(e->slot(0), e->slot(1), e->slot(2));
            break;
        case etLine:
        case etFillEdge:
            add(e->slot(0), e->slot(1), e->slot(2));
            add(e->slot(3), e->slot(4), e->slot(5));
            break;
        case etArc:
            add_arc(s, view, *e, box);
            break;
        default:
            break;
        }
    }
    return box;
}

} // namespace

bool fit_plane_box(TViewState& s, const TElements& elements, int Width, int Height)
{
    const int v = s.ViewNumber;
    set_coefficiants(s); // the fit measures with the angles the next paint uses
    const PlaneBox box = plane_box(s, elements, v);
    if (box.empty() || !std::isfinite(box.maxU - box.minU) || !std::isfinite(box.maxW - box.minW))
        return false;
    Width = std::max(Width, codes::kMinPictureSide);
    Height = std::max(Height, codes::kMinPictureSide);
    remember_zoom(s, v);
    // The larger side of the box fills m - nearest(0.1 m) pixels, as the top view's fit does.
    const int m = std::min(Width, Height);
    const double extent = std::max(box.maxU - box.minU, box.maxW - box.minW);
    s.HalfSize[v] = std::max(extent * (Height / 2.0) / (m - nearest(0.1 * m)), codes::kMinHalfSize);
    s.CenterX[v] = box.minU + (box.maxU - box.minU) / 2;
    s.CenterY[v] = box.minW + (box.maxW - box.minW) / 2;
    set_origin(s, v, Width, Height);
    return true;
}

} // namespace orvex::view
