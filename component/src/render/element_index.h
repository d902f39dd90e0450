// Where the elements of a drawing lie in the top view: a uniform grid over
// their boxes, so a redraw of part of the drawing and a pick under the mouse
// visit only the elements whose boxes meet the window instead of all.
//
// The index is rebuilt when it no longer describes the drawing: elements
// added, removed or changed in type, slots, view, layer or line type (the
// collection's generation), or another arc-view table.
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/Settings.h>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace orvex {

/// A box in top-view model coordinates.
struct ModelBox {
    double x0, y0, x1, y1;
};

/// The box a top-view drawing or pick of the element can touch; false for
/// elements that have to be visited wherever the window is (clip
/// rectangles, and elements with slots that are not finite).
bool top_view_box(const TElement& e, const TSettings& s, ModelBox& box);

class ElementIndex {
public:
    /// Whether the index describes these elements under these settings.
    bool current(const TElements& elements, const TSettings& s) const;
    void build(const TElements& elements, const TSettings& s);

    /// The ascending indices of every element whose box may meet the window:
    /// a superset of those whose boxes do, and every element without a box.
    /// A run of fill edges is listed by its first edge alone, with the box
    /// of the whole run.
    /// False, with `out` unfinished, when there would be more than `limit`.
    bool query(const ModelBox& window, std::vector<int>& out, std::size_t limit = SIZE_MAX);

    /// Sets marked[i] for every element i that query() would list for the
    /// window (marked holds one flag per element). Reads the index only, so
    /// several threads may mark at once.
    void mark(const ModelBox& window, std::vector<std::uint8_t>& marked) const;

    /// The box around every indexed element.
    const ModelBox& bounds() const { return bounds_; }
    /// Some element's line type keeps the dash style of the outline drawn
    /// before it, so drawing a part of the list could change its look.
    bool inherits_dash() const { return inheritsDash_; }
    /// The elements (a region by its first edge) that the raster engine may
    /// draw itself rather than the picture's own pixel writer, with their
    /// boxes: where the engine cuts a figure at the picture's edge, dash
    /// patterns start afresh and edges step from the cut, so the pixels of
    /// these figures depend on where the picture's edges lie.
    const std::vector<std::pair<int, ModelBox>>& painted() const { return painted_; }
    /// Some element has a layer outside 0..254, which a pick reports.
    bool odd_layers() const { return oddLayers_; }

private:
    const TElements* elements_ = nullptr;
    std::uint64_t generation_ = 0;
    int count_ = -1;
    std::vector<std::array<double, 9>> arcViews_;

    ModelBox bounds_{0, 0, 0, 0};
    int columns_ = 0, rows_ = 0;
    double cellWidth_ = 1, cellHeight_ = 1;
    std::vector<int> cellStart_; // cell c holds items_[cellStart_[c] .. cellStart_[c + 1])
    std::vector<int> items_;
    std::vector<int> everywhere_; // visited by every query
    std::vector<std::pair<int, ModelBox>> painted_;
    // The cells each element lies in (columns c0..c1, rows r0..r1): none
    // for elements no window lists, all for those every window lists.
    struct CellSpan {
        std::uint16_t c0, r0, c1, r1;
    };
    std::vector<CellSpan> spans_;
    std::vector<std::uint32_t> seen_;
    std::uint32_t queries_ = 0;
    bool inheritsDash_ = false, oddLayers_ = false;
};

} // namespace orvex
