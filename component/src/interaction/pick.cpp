// Picking: the element nearest the cursor at a mouse release, with its
// characteristic points (near end, far end, midpoint, closest point).
#include "control/control_p.h"
#include "render/element_index.h"
#include "view/view_math.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsPick.h>
#include <OrvexGDI/QOrvexGDI.h>

#include <cmath>
#include <limits>
#include <vector>

namespace orvex {

namespace {
// The near-end step produces points only in this mode (set by Pick).
constexpr int kPointMode = 10;
// Marker of a near end that was not found.
constexpr double kNoPoint = -999;

dpoint slots_123(const TElement& e) { return {e.slot(0), e.slot(1), e.slot(2)}; }

dpoint slots_456(const TElement& e) { return {e.slot(3), e.slot(4), e.slot(5)}; }

bool same_point(const dpoint& a, const dpoint& b) { return a.X == b.X && a.Y == b.Y && a.Z == b.Z; }

// The point of a hit element nearest to p, by the shape its hit test uses:
// arrows are their anchor, leaders and witness lines their line.
dpoint closest_of_hit(const TElement& e, const dpoint& p)
{
    dpoint q = p;
    switch (e.GetEtype()) {
    case etPointMark:
    case etArrow:
        q = slots_123(e);
        break;
    case etLeader:
    case etWitness:
        Ops::get_closest_point_line(Ops::get_line_from_element(e), p, q);
        break;
    default:
        Ops::get_closest_point(e, p, q);
        break;
    }
    return q;
}
} // namespace

void TOrvexGDI::Pick()
{
    Settings->PickPending = true;
    Settings->PickPointMode = kPointMode;
}

void TOrvexGDI::Pick(bool Flag)
{
    Settings->PickPending = Flag;
    Settings->PickPointMode = kPointMode;
}

void TOrvexGDI::set_onpick(int Index, const TDPoint& NearEnd, const TDPoint& FarEnd, const TDPoint& Mid,
                           const TDPoint& Closest)
{
    fire_pick(Index, NearEnd, FarEnd, Mid, Closest);
}

namespace {
// What a pick knows about the cursor, worked out once: its model point in
// the current view, the view's scale and the aperture.
struct Probe {
    int View;
    dpoint P;
    double Scale;
    double Aperture;
};

Probe probe_at(const TSettings& s, int X, int Y)
{
    const int v = s.ViewNumber;
    Probe probe{v, {}, s.ScaleX[v], s.PickAperture};
    view::Viewport::current(s).to_model(X, Y, probe.P.X, probe.P.Y, probe.P.Z);
    return probe;
}

// The arc test: on a hit, the near end and the far end's X and Y.
bool arc_test(const Probe& q, const TElement& e, dpoint& Near, double& FarX, double& FarY)
{
    dpoint nearEnd;
    if (!Ops::arc_hit(q.View, q.P.X, q.P.Y, q.P.Z, q.Scale, q.Aperture, e, nearEnd, FarX, FarY))
        return false;
    Near = nearEnd;
    return true;
}

// The hit test of one element; an arc's near end goes to Near and its far
// end to FarX, FarY.
bool element_test(const TSettings& s, const Probe& q, const TElement& e, dpoint& Near, double& FarX, double& FarY)
{
    if (!s.LayerVisible[e.GetLayer()]) // ERangeError outside 0..254
        return false;
    switch (e.GetEtype()) {
    case etPoint:
    case etPointMark:
    case etArrow:
        // Points are small on screen: they get twice the aperture.
        return Ops::on_point(q.View, q.P.X, q.P.Y, q.P.Z, q.Scale, 2 * q.Aperture, e, Near.X, Near.Y, Near.Z);
    case etLine:
    case etLeader:
    case etWitness: {
        // In the rotated view a line is tested where the last paint drew it.
        const TRotationMatrix& r = s.RotationMatrix;
        const Ops::ViewRows rows{r.R11, r.R12, r.R13, r.R21, r.R22, r.R23};
        return Ops::on_line(q.View, q.P.X, q.P.Y, q.P.Z, q.Scale, q.Aperture, e, Near.X, Near.Y, Near.Z,
                            q.View == 4 ? &rows : nullptr);
    }
    case etArc:
        return arc_test(q, e, Near, FarX, FarY);
    default:
        return false;
    }
}

// The near-end step for an element hit at the probe; arcNear is the near end
// its arc test found. False when the element has no characteristic points.
bool near_end(const TSettings& s, const TElement& e, int View, const dpoint& P, const dpoint* arcNear, dpoint& NearEnd)
{
    NearEnd = {kNoPoint, kNoPoint, kNoPoint};
    if (s.PickPointMode == kPointMode) {
        switch (e.GetEtype()) {
        case etPoint:
            NearEnd = slots_123(e);
            break;
        case etLine:
            // Only the top view tells the ends apart; elsewhere the first end.
            if (View == 1 &&
                Ops::distance(P.X, P.Y, e.slot(3), e.slot(4)) < Ops::distance(P.X, P.Y, e.slot(0), e.slot(1)))
                NearEnd = slots_456(e);
            else
                NearEnd = slots_123(e);
            break;
        case etArc:
            if (arcNear != nullptr)
                NearEnd = *arcNear;
            break;
        default:
            break;
        }
    }
    return !(NearEnd.X == kNoPoint && NearEnd.Y == kNoPoint);
}
// An arc hit's far end, kept where hosts read it.
void keep_far_end(TSettings& s, double FarX, double FarY)
{
    s.PickFarEnd.X = FarX;
    s.PickFarEnd.Y = FarY;
}
} // namespace

bool TOrvexGDI::nearest_hit(int X, int Y, std::uint8_t FilterCode, PickHit& Hit)
{
    const TSettings& s = *Settings;
    const Probe q = probe_at(s, X, Y);
    Hit.P = q.P;

    // The nearest hit wins however far it is; a later element must be
    // strictly nearer to replace an earlier one.
    double bestDistance = std::numeric_limits<double>::infinity();
    int bestIndex = -1;
    auto consider = [&](TElement* e, int i) {
        const int type = e->GetEtype();
        if (!e->GetDeleted() && type != etNone && Ops::pick_filter_accepts(FilterCode, type)) {
            dpoint near;
            double farX = 0, farY = 0;
            if (element_test(s, q, *e, near, farX, farY)) {
                const double d = Ops::distance_2_points(closest_of_hit(*e, q.P), q.P);
                if (d < bestDistance) {
                    bestDistance = d;
                    bestIndex = i;
                    Hit.Near = near;
                    Hit.FarX = farX;
                    Hit.FarY = farY;
                }
            }
        }
    };
    // In the top view only elements whose boxes come within the aperture
    // (twice it for points) can be hit.
    const double reach = 2 * q.Aperture / q.Scale * (1 + 1e-9);
    std::vector<int> near;
    const dpoint& p = q.P;
    if (q.View == 1 && q.Scale > 0 && std::isfinite(reach) &&
        indexed_elements({p.X - reach, p.Y - reach, p.X + reach, p.Y + reach}, false, near)) {
        for (const int i : near)
            consider(&Elements->GetElement(i), i);
    } else {
        int i = 0;
        for (TElement* e : *Elements)
            consider(e, i++);
    }
    if (bestIndex < 0)
        return false;
    Hit.Element = &Elements->GetElement(bestIndex);
    Hit.Index = bestIndex;
    return true;
}

bool TOrvexGDI::pick2(std::uint8_t FilterCode, int X, int Y, int& Index, dpoint& NearEnd, dpoint& FarEnd, dpoint& Mid,
                      dpoint& Closest)
{
    Index = 0;
    PickHit hit;
    if (!nearest_hit(X, Y, FilterCode, hit))
        return false;
    const TElement& e = *hit.Element;
    Index = hit.Index;
    if (!near_end(*Settings, e, Settings->ViewNumber, hit.P, &hit.Near, NearEnd))
        return false;

    switch (e.GetEtype()) {
    case etLine:
        FarEnd = same_point(NearEnd, slots_123(e)) ? slots_456(e) : slots_123(e);
        break;
    case etPoint:
        FarEnd = NearEnd; // a point is its own far end
        break;
    default:
        // The arc's far end, as its hit test found it; hosts read it there too.
        keep_far_end(*Settings, hit.FarX, hit.FarY);
        FarEnd = Settings->PickFarEnd;
        break;
    }

    Closest = hit.P;
    Ops::get_closest_point(e, hit.P, Closest);

    switch (e.GetEtype()) {
    case etPoint:
        Mid = NearEnd;
        break;
    case etLine:
        Mid = Ops::midpoint_2_points(NearEnd, FarEnd);
        break;
    default:
        Ops::mid_arc(e, Mid.X, Mid.Y, Mid.Z);
        break;
    }
    return true;
}

bool TOrvexGDI::main_pick(int X, int Y, dpoint& NearEnd, TElement*& Element, std::uint8_t FilterCode, int& Index)
{
    PickHit hit;
    if (!nearest_hit(X, Y, FilterCode, hit))
        return false;
    Element = hit.Element;
    Index = hit.Index;
    if (hit.Element->GetEtype() == etArc) {
        keep_far_end(*Settings, hit.FarX, hit.FarY);
    }
    return near_end(*Settings, *hit.Element, Settings->ViewNumber, hit.P, &hit.Near, NearEnd);
}

bool TOrvexGDI::pick_element(int X, int Y, std::uint8_t FilterCode, TElement*& Element, int& Index)
{
    PickHit hit;
    if (!nearest_hit(X, Y, FilterCode, hit))
        return false;
    Element = hit.Element;
    Index = hit.Index;
    return true;
}

bool TOrvexGDI::on_element(int View, double X, double Y, double Z, double Scale, double Aperture,
                           const TElement& Element, double& U, double& V, double& W)
{
    dpoint near;
    double farX = 0, farY = 0;
    if (!element_test(*Settings, {View, {X, Y, Z}, Scale, Aperture}, Element, near, farX, farY))
        return false;
    U = near.X, V = near.Y, W = near.Z;
    if (Element.GetEtype() == etArc) {
        keep_far_end(*Settings, farX, farY);
    }
    return true;
}

bool TOrvexGDI::on_arc(int View, double X, double Y, double Z, double Scale, double Aperture, const TElement& Element,
                       double& NearX, double& NearY, double& NearZ)
{
    dpoint near;
    double farX = 0, farY = 0;
    if (!arc_test({View, {X, Y, Z}, Scale, Aperture}, Element, near, farX, farY))
        return false;
    NearX = near.X, NearY = near.Y, NearZ = near.Z;
    keep_far_end(*Settings, farX, farY);
    return true;
}

bool TOrvexGDI::get_endpoint(const TElement& Element, int X, int Y, dpoint& NearEnd)
{
    const Probe q = probe_at(*Settings, X, Y);
    dpoint arcNear;
    double farX = 0, farY = 0;
    const bool arcHit = Element.GetEtype() == etArc && Settings->PickPointMode == kPointMode &&
                        arc_test(q, Element, arcNear, farX, farY);
    if (arcHit) {
        keep_far_end(*Settings, farX, farY);
    }
    return near_end(*Settings, Element, q.View, q.P, arcHit ? &arcNear : nullptr, NearEnd);
}

} // namespace orvex
