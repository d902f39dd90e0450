// Editing the drawing: the group (live elements with highlight 2), rotated
// and shifted copies, deleting and restoring, and moving the origin.
//
// Deleting only marks an element; every deletion made here is recorded in
// the element list, so UndeleteLast restores the most recent one.
#include "common/codes.h"
#include "store/fill_regions.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsEdit.h>
#include <OrvexGDI/QOrvexGDI.h>

#include "common/finite_input.h"

#include <string>
#include <vector>

namespace orvex {

namespace {
// The most elements that group copies may take a drawing to.
constexpr long long kMaxElements = 50'000'000;

bool in_group(const TElement& e) { return !e.GetDeleted() && e.GetHighlight() == codes::kHighlightGroup; }

bool copied_by_group_edits(const TElement& e)
{
    return e.GetEtype() == etPoint || e.GetEtype() == etLine || e.GetEtype() == etArc || e.GetEtype() == etFillEdge;
}

// The group members of the run of fill edges that starts at First (the
// first member), and the index of the run's last edge in Last. Each copy of
// them becomes a region of its own.
std::vector<int> region_members(const TElements& elements, int First, int& Last)
{
    Last = fill_run(elements, First).Last;
    std::vector<int> members;
    for (int i = First; i <= Last; ++i)
        if (in_group(elements[i]))
            members.push_back(i);
    return members;
}

// ERangeError before any copy is made when Times copies of every group
// member would take the drawing past kMaxElements.
void require_room_for_copies(const TElements& elements, int Times)
{
    long long members = 0;
    for (const TElement* e : elements)
        if (in_group(*e) && copied_by_group_edits(*e))
            ++members;
    if (elements.Count() + members * Times > kMaxElements)
        throw ERangeError(std::to_string(Times) + " copies of " + std::to_string(members) +
                          " group members would take the drawing past " + std::to_string(kMaxElements) + " elements");
}

// The view's rotation plane: indices into (x, y, z) of its u and v axes; the
// third coordinate is kept. The top and the rotated views turn about Z, the
// front view about Y, the side view about X.
struct RotationPlane {
    int u = 0, v = 1;
};

RotationPlane rotation_plane(int view)
{
    switch (view) {
    case 2:
        return {0, 2};
    case 3:
        return {1, 2};
    default:
        return {0, 1};
    }
}

// Turns a model point by angle degrees about (pu, pv) in the plane.
void rotate_point(const RotationPlane& plane, double pu, double pv, double angle, double (&c)[3])
{
    const double u = c[plane.u], v = c[plane.v];
    const double r = Ops::distance(pu, pv, u, v);
    const double direction = Ops::get_angle_degrees(pu, pv, u, v);
    dpoint q;
    Ops::point_arc_angle(darc{{pu, pv, 0}, r, 0, 0}, direction + angle, q);
    c[plane.u] = q.X;
    c[plane.v] = q.Y;
}
} // namespace

// ---------------------------------------------------------------- the group

void TOrvexGDI::AddToGroup(int N)
{
    const int count = Elements->Count();
    if (N == 0) {
        for (TElement* e : *Elements)
            if (!e->GetDeleted())
                e->SetHighlight(codes::kHighlightGroup);
        AllocateCanvas();
        if (Graphics->isActive())
            plot_elements(*Graphics, Settings->ViewNumber, codes::kPlotGroup); // the group, in its colour
    } else if (N >= 1 && N < count) {
        TElement& e = Elements->GetElement(N);
        if (!e.GetDeleted()) {
            e.SetHighlight(codes::kHighlightGroup);
            DrawElement(N);
        }
    } else {
        return;
    }
    update();
}

void TOrvexGDI::ClearGroup()
{
    for (TElement* e : *Elements)
        if (!e->GetDeleted())
            e->SetHighlight(codes::kHighlightNone);
    AllocateCanvas();
    if (Graphics->isActive())
        plot_elements(*Graphics, Settings->ViewNumber, codes::kPlotAll);
    update();
}

void TOrvexGDI::DeleteGroup()
{
    for (TElement* e : *Elements)
        if (in_group(*e))
            delete_element(*e);
    Redraw();
}

void TOrvexGDI::delete_element(TElement& Element)
{
    Element.SetDeleted(true);
    Element.SetHighlight(codes::kHighlightNone);
    Elements->RecordDeletion(Element);
}

// ---------------------------------------------------------------- rotation

void TOrvexGDI::rotate_element(TElement& Element, double PivotU, double PivotV, double Angle, int Region)
{
    const int view = Settings->ViewNumber;
    const RotationPlane plane = rotation_plane(view);
    const TElement& e = Element;
    const auto make = [&](int type, const double(&a)[3], double c4, double c5, double c6) {
        // A copy outside the factory's range is not made.
        make_element(type, a[0], a[1], a[2], c4, c5, c6, e.GetColor(), e.GetLineType(), e.GetLayer(),
                     codes::kHighlightGroup, e.GetView());
    };

    switch (e.GetEtype()) {
    case etPoint: {
        double p[3] = {e.slot(0), e.slot(1), e.slot(2)};
        rotate_point(plane, PivotU, PivotV, Angle, p);
        make(etPoint, p, e.slot(3), e.slot(4), e.slot(5));
        break;
    }
    case etLine:
    case etFillEdge: {
        double p1[3] = {e.slot(0), e.slot(1), e.slot(2)};
        double p2[3] = {e.slot(3), e.slot(4), e.slot(5)};
        rotate_point(plane, PivotU, PivotV, Angle, p1);
        rotate_point(plane, PivotU, PivotV, Angle, p2);
        if (e.GetEtype() == etLine) {
            make(etLine, p1, p2[0], p2[1], p2[2]);
            break;
        }
        // A fill edge turned on its own starts a region of its own: with its
        // source's number it could continue the source's region.
        if (Region == 0)
            Region = region_after(largest_region(*Elements));
        make_element(etFillEdge, p1[0], p1[1], p1[2], p2[0], p2[1], p2[2], e.GetColor(), e.GetLineType(), e.GetLayer(),
                     codes::kHighlightGroup, Region);
        break;
    }
    case etArc: {
        double centre[3] = {e.slot(0), e.slot(1), e.slot(2)};
        rotate_point(plane, PivotU, PivotV, Angle, centre);
        double start = e.slot(4), end = e.slot(5);
        // The front and side views turn an arc's plane about an axis lying in
        // the top plane; its angles, measured in its own plane, stay.
        if (view == 1 || view == 4) {
            start += Angle;
            end += Angle;
            if (start > 360) {
                start -= 360;
                end -= 360;
            }
        }
        make(etArc, centre, e.slot(3), start, end);
        break;
    }
    default:
        break; // no copies of other types
    }
    Element.SetDeleted(false);
}

void TOrvexGDI::RotateElement(int N, double Angle, double PivotU, double PivotV)
{
    require_finite("RotateElement", {Angle, PivotU, PivotV});
    rotate_element(Elements->GetElement(N), PivotU, PivotV, Angle);
}

void TOrvexGDI::RotateGroup(double Angle, double PivotU, double PivotV, int Times, bool KeepSource)
{
    require_finite("RotateGroup", {Angle, PivotU, PivotV});
    // A negative count makes no copies, so it deletes nothing either.
    if (Angle == 0 || Times < 0)
        return;
    if (Times == 0)
        Times = 1;
    require_room_for_copies(*Elements, Times);
    // Copies are appended; only the elements present now are visited.
    const int count = Elements->Count();
    int region = region_after(largest_region(*Elements));
    const auto turn = [&](int k) {
        const double theta = k * Angle;
        return theta > 360 ? theta - 360 : theta;
    };
    for (int i = 0; i < count; ++i) {
        TElement& e = Elements->GetElement(i);
        if (!in_group(e))
            continue;
        if (e.GetEtype() == etFillEdge) {
            // A region's members are turned together, one region per copy.
            int last = i;
            const std::vector<int> members = region_members(*Elements, i, last);
            for (int k = 1; k <= Times; ++k, region = region_after(region))
                for (const int m : members)
                    rotate_element(Elements->GetElement(m), PivotU, PivotV, turn(k), region);
            if (!KeepSource)
                for (const int m : members)
                    delete_element(Elements->GetElement(m));
            i = last;
            continue;
        }
        // Every copy turns the source, by k times the angle.
        for (int k = 1; k <= Times; ++k)
            rotate_element(e, PivotU, PivotV, turn(k));
        if (!KeepSource)
            delete_element(e);
    }
}

// ---------------------------------------------------------------- shifting

void TOrvexGDI::ShiftGroup(double DX, double DY, double DZ, int Times, bool KeepSource)
{
    require_finite("ShiftGroup", {DX, DY, DZ});
    cad_offsetxy(DX, DY, DZ, Times, KeepSource);
    Redraw();
}

void TOrvexGDI::cad_offsetxy(double DX, double DY, double DZ, int Times, bool KeepSource)
{
    // No copies, so nothing is deleted either.
    if (Times < 1)
        return;
    require_room_for_copies(*Elements, Times);
    int region = region_after(largest_region(*Elements));
    for (int k = 1; k <= Times; ++k) {
        const double ox = k * DX, oy = k * DY, oz = k * DZ;
        // The copies leave the group, so a later pass does not copy them again.
        const int count = Elements->Count();
        for (int i = 0; i < count; ++i) {
            const TElement& e = Elements->GetElement(i);
            if (!in_group(e))
                continue;
            if (e.GetEtype() == etFillEdge) {
                // The copy of a region's members is a region of its own.
                int last = i;
                for (const int m : region_members(*Elements, i, last)) {
                    const TElement& f = Elements->GetElement(m);
                    make_element(etFillEdge, f.slot(0) + ox, f.slot(1) + oy, f.slot(2) + oz, f.slot(3) + ox,
                                 f.slot(4) + oy, f.slot(5) + oz, f.GetColor(), f.GetLineType(), f.GetLayer(), 0,
                                 region);
                }
                region = region_after(region);
                i = last;
                continue;
            }
            switch (e.GetEtype()) {
            case etPoint:
                make_element(etPoint, e.slot(0) + ox, e.slot(1) + oy, e.slot(2) + oz, e.slot(3), e.slot(4), e.slot(5),
                             e.GetColor(), 0, e.GetLayer(), 0, e.GetView());
                break;
            case etLine:
                make_element(etLine, e.slot(0) + ox, e.slot(1) + oy, e.slot(2) + oz, e.slot(3) + ox, e.slot(4) + oy,
                             e.slot(5) + oz, e.GetColor(), e.GetLineType(), e.GetLayer(), 0, e.GetView());
                break;
            case etArc:
                make_element(etArc, e.slot(0) + ox, e.slot(1) + oy, e.slot(2) + oz, e.slot(3), e.slot(4), e.slot(5),
                             e.GetColor(), e.GetLineType(), e.GetLayer(), 0, e.GetView());
                break;
            default:
                break;
            }
        }
    }
    if (KeepSource)
        return;
    // The sources go; they keep their group highlight while deleted.
    for (TElement* e : *Elements) {
        if (in_group(*e)) {
            e->SetDeleted(true);
            Elements->RecordDeletion(*e);
        }
    }
}

void TOrvexGDI::ShiftElement(int N, double X, double Y, double Z)
{
    require_finite("ShiftElement", {X, Y, Z});
    Ops::shift_element(Elements->GetElement(N), 0, X, Y, Z);
}

void TOrvexGDI::NewOrigin(double X, double Y, double Z)
{
    require_finite("NewOrigin", {X, Y, Z});
    for (TElement* e : *Elements)
        Ops::shift_element(*e, 2, X, Y, Z); // deleted elements stay where they are
    Redraw();
}

// ---------------------------------------------------------------- the deleted state

void TOrvexGDI::SetIsDeleted(int N, bool Deleted)
{
    if (N < 0 || N >= Elements->Count())
        return;
    TElement& e = Elements->GetElement(N);
    const bool wasLive = !e.GetDeleted();
    e.SetDeleted(Deleted);
    e.SetHighlight(codes::kHighlightNone);
    if (Deleted && wasLive)
        Elements->RecordDeletion(e);
}

bool TOrvexGDI::GetIsDeleted(int N) const
{
    if (N < 0 || N >= Elements->Count())
        return true;
    return Elements->GetElement(N).GetDeleted();
}

} // namespace orvex
