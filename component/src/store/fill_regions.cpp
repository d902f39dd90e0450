#include "store/fill_regions.h"

#include <algorithm>
#include <climits>

namespace orvex {

namespace {
bool same_region(const TElement& e, int Region) { return e.GetEtype() == etFillEdge && e.GetView() == Region; }
} // namespace

EdgeRun fill_run(const TElements& Elements, int Index)
{
    const int region = Elements[Index].GetView();
    EdgeRun run{Index, Index};
    while (run.First > 0 && same_region(Elements[run.First - 1], region))
        --run.First;
    while (run.Last + 1 < Elements.Count() && same_region(Elements[run.Last + 1], region))
        ++run.Last;
    return run;
}

int largest_region(const TElements& Elements)
{
    int largest = 0;
    for (const TElement* e : Elements)
        if (e->GetEtype() == etFillEdge)
            largest = std::max(largest, e->GetView());
    return largest;
}

int region_after(int Region) { return Region >= 1 && Region < INT_MAX ? Region + 1 : 1; }

void renumber_regions_after(TElements& Appended, const TElements& Drawing)
{
    // Wrapping round past the largest number only happens when a host put
    // such numbers in: the first region then still differs from the
    // drawing's last element, and neighbouring runs from each other.
    const int last = Drawing.Count() > 0 && Drawing[Drawing.Count() - 1].GetEtype() == etFillEdge
                         ? Drawing[Drawing.Count() - 1].GetView()
                         : 0;
    int next = region_after(largest_region(Drawing));
    if (next == last)
        next = region_after(next);
    for (int i = 0; i < Appended.Count();) {
        if (Appended[i].GetEtype() != etFillEdge) {
            ++i;
            continue;
        }
        // The run is found forwards: the run before has its new number already.
        const int region = Appended[i].GetView();
        for (; i < Appended.Count() && same_region(Appended[i], region); ++i)
            Appended[i].SetView(next);
        next = region_after(next);
    }
}

} // namespace orvex
