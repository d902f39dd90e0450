// Picking: the element nearest the cursor at a mouse release, with its
// characteristic points (near end, far end, midpoint, closest point).
#include "element_index.h"
#include "view_math.h"

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

dpoint slots_123(const TElement& e)
{
    return {e.slot(0), e.slot(1), e.slot(2)};
}

dpoint slots_456(const TElement& e)
{
    return {e.slot(3), e.slot(4), e.slot(5)};
}

bool same_point(const dpoint& a, const dpoint& b)
{
    return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
}

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

bool TOrvexGDI::pick2(std::uint8_t FilterCode, int X, int Y, int& Index, dpoint& NearEnd, dpoint& FarEnd,
                      dpoint& Mid, dpoint& Closest)
{
    Index = 0;
    TElement* element = nullptr;
    if (!main_pick(X, Y, NearEnd, element, FilterCode, Index))
        return false;
    const TElement& e = *element;

    switch (e.GetEtype()) {
    case etLine:
        FarEnd = same_point(NearEnd, slots_123(e)) ? slots_456(e) : slots_123(e);
        break;
    case etPoint:
        FarEnd = NearEnd; // a point is its own far end
        break;
    default:
        FarEnd = Settings->PickFarEnd; // written by the arc test of the near-end step
        break;
    }

    dpoint p;
    view::trans_pixel_coords(*Settings, Settings->ViewNumber, X, Y, p.X, p.Y, p.Z);
    Closest = p;
    Ops::get_closest_point(e, p, Closest);

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
    if (!pick_element(X, Y, FilterCode, Element, Index))
        return false;
    return get_endpoint(*Element, X, Y, NearEnd);
}

bool TOrvexGDI::pick_element(int X, int Y, std::uint8_t FilterCode, TElement*& Element, int& Index)
{
    TSettings& s = *Settings;
    const int v = s.ViewNumber;
    dpoint p;
    view::trans_pixel_coords(s, v, X, Y, p.X, p.Y, p.Z);
    const double scale = s.ScaleX[v];
    const double aperture = s.PickAperture;

    // The nearest hit wins however far it is; a later element must be
    // strictly nearer to replace an earlier one.
    double bestDistance = std::numeric_limits<double>::infinity();
    int bestIndex = -1;
    auto consider = [&](TElement* e, int i) {
        const int type = e->GetEtype();
        if (!e->GetDeleted() && type != etNone && Ops::pick_filter_accepts(FilterCode, type)) {
            double u = 0, w = 0, z = 0;
            if (on_element(v, p.X, p.Y, p.Z, scale, aperture, *e, u, w, z)) {
                const double d = Ops::distance_2_points(closest_of_hit(*e, p), p);
                if (d < bestDistance) {
                    bestDistance = d;
                    bestIndex = i;
                }
            }
        }
    };
    // In the top view only elements whose boxes come within the aperture
    // (twice it for points) can be hit.
    const double reach = 2 * aperture / scale * (1 + 1e-9);
    std::vector<int> near;
    if (v == 1 && scale > 0 && std::isfinite(reach) &&
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
    Element = &Elements->GetElement(bestIndex);
    Index = bestIndex;
    return true;
}

bool TOrvexGDI::on_element(int View, double X, double Y, double Z, double Scale, double Aperture,
                           const TElement& Element, double& U, double& V, double& W)
{
    if (!Settings->LayerVisible[Element.GetLayer()]) // ERangeError outside 0..254
        return false;
    switch (Element.GetEtype()) {
    case etPoint:
    case etPointMark:
    case etArrow:
        // Points are small on screen: they get twice the aperture.
        return Ops::on_point(View, X, Y, Z, Scale, 2 * Aperture, Element, U, V, W);
    case etLine:
    case etLeader:
    case etWitness: {
        // In the rotated view a line is tested where the last paint drew it.
        const TRotationMatrix& r = Settings->RotationMatrix;
        const Ops::ViewRows rows{r.R11, r.R12, r.R13, r.R21, r.R22, r.R23};
        return Ops::on_line(View, X, Y, Z, Scale, Aperture, Element, U, V, W, View == 4 ? &rows : nullptr);
    }
    case etArc:
        return on_arc(View, X, Y, Z, Scale, Aperture, Element, U, V, W);
    default:
        return false;
    }
}

bool TOrvexGDI::on_arc(int View, double X, double Y, double Z, double Scale, double Aperture,
                       const TElement& Element, double& NearX, double& NearY, double& NearZ)
{
    dpoint nearEnd;
    double farX = 0, farY = 0;
    if (!Ops::arc_hit(View, X, Y, Z, Scale, Aperture, Element, nearEnd, farX, farY))
        return false;
    NearX = nearEnd.X;
    NearY = nearEnd.Y;
    NearZ = nearEnd.Z;
    Settings->PickFarEnd.X = farX;
    Settings->PickFarEnd.Y = farY;
    return true;
}

bool TOrvexGDI::get_endpoint(const TElement& Element, int X, int Y, dpoint& NearEnd)
{
    TSettings& s = *Settings;
    const int v = s.ViewNumber;
    NearEnd = {kNoPoint, kNoPoint, kNoPoint};
    dpoint p;
    view::trans_pixel_coords(s, v, X, Y, p.X, p.Y, p.Z);

    if (s.PickPointMode == kPointMode) {
        switch (Element.GetEtype()) {
        case etPoint:
            NearEnd = slots_123(Element);
            break;
        case etLine:
            // Only the top view tells the ends apart; elsewhere the first end.
            if (v == 1 && Ops::distance(p.X, p.Y, Element.slot(3), Element.slot(4)) <
                              Ops::distance(p.X, p.Y, Element.slot(0), Element.slot(1)))
                NearEnd = slots_456(Element);
            else
                NearEnd = slots_123(Element);
            break;
        case etArc:
            on_arc(v, p.X, p.Y, p.Z, s.ScaleX[v], s.PickAperture, Element, NearEnd.X, NearEnd.Y, NearEnd.Z);
            break;
        default:
            break;
        }
    }
    return !(NearEnd.X == kNoPoint && NearEnd.Y == kNoPoint);
}

} // namespace orvex
