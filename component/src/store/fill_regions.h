// Filled regions in the element list: a region is a run of consecutive fill
// edges (etFillEdge) that share a region number (their view). Its number
// means nothing else, so two regions are told apart only by their numbers
// differing where they meet; numbers are kept fresh anyway, above every
// region number in the list, so that appending never fuses two regions.
#pragma once

#include <OrvexGDI/Elements.h>

namespace orvex {

/// The first and last index of a run of fill edges.
struct EdgeRun {
    int First = 0, Last = -1;
};

/// The run of the fill edge at Index: the consecutive fill edges around it
/// with its region number, deleted ones included.
EdgeRun fill_run(const TElements& Elements, int Index);

/// The largest region number of the list's fill edges; 0 when it has none.
int largest_region(const TElements& Elements);

/// The region number after Region: one more, or 1 after the largest number.
int region_after(int Region);

/// Gives every region of Appended its own number counting up after the
/// largest region number of Drawing, so that appending Appended's elements
/// to Drawing's keeps every region apart.
void renumber_regions_after(TElements& Appended, const TElements& Drawing);

} // namespace orvex
