#include "render/element_index.h"

#include "common/codes.h"
#include "store/fill_regions.h"

#include <algorithm>
#include <cmath>

namespace orvex {

namespace {

// Cells per element at most, and the widest box (in cells along one side)
// kept in the grid; wider ones are visited by every query.
constexpr double kElementsPerCell = 2.0;
constexpr int kMaxSide = 2048;
constexpr int kWideCells = 16;

bool finite_box(const ModelBox& b)
{
    return std::isfinite(b.x0) && std::isfinite(b.y0) && std::isfinite(b.x1) && std::isfinite(b.y1);
}

void widen(ModelBox& b, double x, double y)
{
    b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
    b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
}

ModelBox around(double x, double y, double rx, double ry) { return {x - rx, y - ry, x + rx, y + ry}; }

// Line types whose dash style is their own; the others keep the style of
// the outline drawn before them.
bool own_dash(int LineType) { return (LineType >= 0 && LineType <= 4) || (LineType >= 21 && LineType <= 24); }

// Whether the picture's own pixel writer draws all of the element: solid
// opaque lines, points, arcs (arcs off the top view take line type 10 as 1)
// and circle outlines.
bool written_directly(const TElement& e)
{
    using namespace codes;
    const int type = e.GetEtype(), lineType = e.GetLineType(), fill = e.GetView();
    const bool solid =
        type == etPoint || lineType == 0 || lineType == 1 || lineType == 21 || (type == etArc && lineType == 10);
    const bool filled = fill == kFillSolid || fill == kFillRadial || fill == kFillTexture ||
                        (fill >= kFillLinearFirst && fill <= kFillLinearLast) ||
                        (fill >= kFillTranslucentFirst && fill <= kFillTranslucentLast);
    const bool outline = type == etLine || type == etArc || type == etPoint || (type == etCircle && !filled);
    return outline && solid && e.GetColor() >= 0;
}

bool uses_line_type(int etype)
{
    return etype == etLine || etype == etArc || etype == etCircle || etype == etEllipse || etype == etRectangle;
}

} // namespace

bool top_view_box(const TElement& e, const TSettings& s, ModelBox& box)
{
    const double x = e.slot(0), y = e.slot(1), z = e.slot(2);
    switch (e.GetEtype()) {
    case etPoint:
    case etPointMark:
    case etArrow:
        box = {x, y, x, y};
        break;
    case etLine:
    case etLeader:
    case etWitness:
        box = {x, y, x, y};
        widen(box, e.slot(3), e.slot(4));
        break;
    case etArc: {
        // Where the arc's plane puts it; arcs of view 1 are also drawn
        // directly on the circle of their slots, where they are picked.
        const double r = std::abs(e.slot(3));
        const int view = e.GetView();
        if (view == -1) {
            box = around(x, y, r, r);
        } else if (view == -2) {
            box = around(x, y, r, 0);
        } else if (view == -3) {
            box = around(x, y, 0, r);
        } else if (view >= 1 && view <= 90) {
            const TArcView& m = s.ArcViews[view];
            box = around(m.M11 * x + m.M12 * y + m.M13 * z, m.M21 * x + m.M22 * y + m.M23 * z,
                         r * std::hypot(m.M11, m.M12), r * std::hypot(m.M21, m.M22));
            if (view == 1) {
                widen(box, x - r, y - r);
                widen(box, x + r, y + r);
            }
        } else {
            return false; // no plane: nothing is drawn, nothing picked
        }
        break;
    }
    case etCircle: {
        const double r = std::abs(e.slot(3));
        box = around(x, y, r, r);
        break;
    }
    case etImage: { // a corner and a size, either way round
        const double w = std::abs(e.slot(2)), h = std::abs(e.slot(3));
        box = {x - w, y - h, x + w, y + h};
        break;
    }
    case etEllipse:
    case etRectangle: // a centre and a size
        box = around(x, y, std::abs(e.slot(4)) / 2 + 1, std::abs(e.slot(5)) / 2 + 1);
        break;
    default: // clip rectangles, and types that draw and pick nothing
        box = {0, 0, 0, 0};
        return false;
    }
    return finite_box(box);
}

bool ElementIndex::current(const TElements& elements, const TSettings& s) const
{
    if (elements_ != &elements || generation_ != elements.Generation() || count_ != elements.Count())
        return false;
    for (int v = 1; v <= 90; ++v) {
        const TArcView& m = s.ArcViews[v];
        const std::array<double, 9> now{m.M11, m.M12, m.M13, m.M21, m.M22, m.M23, m.M31, m.M32, m.M33};
        if (now != arcViews_[static_cast<std::size_t>(v - 1)])
            return false;
    }
    return true;
}

void ElementIndex::build(const TElements& elements, const TSettings& s)
{
    elements_ = &elements;
    generation_ = elements.Generation();
    count_ = elements.Count();
    arcViews_.clear();
    for (int v = 1; v <= 90; ++v) {
        const TArcView& m = s.ArcViews[v];
        arcViews_.push_back({m.M11, m.M12, m.M13, m.M21, m.M22, m.M23, m.M31, m.M32, m.M33});
    }
    inheritsDash_ = oddLayers_ = false;
    everywhere_.clear();
    painted_.clear();

    std::vector<ModelBox> boxes(static_cast<std::size_t>(count_));
    std::vector<char> boxed(static_cast<std::size_t>(count_), 0);
    bool any = false;
    int i = 0;
    EdgeRun run; // the run of fill edges met last
    for (const TElement* e : elements) {
        const int type = e->GetEtype();
        oddLayers_ |= e->GetLayer() < 0 || e->GetLayer() > 254;
        if (type == etFillEdge) {
            // A region is filled wherever its outline lies, and can cover the
            // window with no edge near it: its first edge stands for it with
            // the box of the whole run, and the others are not listed.
            if (i > run.Last) {
                run = fill_run(elements, i);
                ModelBox& b = boxes[static_cast<std::size_t>(i)];
                b = {e->slot(0), e->slot(1), e->slot(0), e->slot(1)};
                for (int k = run.First; k <= run.Last; ++k) {
                    const TElement& edge = elements[k];
                    widen(b, edge.slot(0), edge.slot(1));
                    widen(b, edge.slot(3), edge.slot(4));
                }
                if (finite_box(b)) {
                    painted_.emplace_back(i, b);
                    boxed[static_cast<std::size_t>(i)] = 1;
                    if (!any)
                        bounds_ = b, any = true;
                    widen(bounds_, b.x0, b.y0);
                    widen(bounds_, b.x1, b.y1);
                } else {
                    everywhere_.push_back(i);
                }
            }
            ++i;
            continue;
        }
        inheritsDash_ |= uses_line_type(type) && !own_dash(e->GetLineType());
        ModelBox& b = boxes[static_cast<std::size_t>(i)];
        if (top_view_box(*e, s, b)) {
            if (!written_directly(*e))
                painted_.emplace_back(i, b);
            boxed[static_cast<std::size_t>(i)] = 1;
            if (!any)
                bounds_ = b, any = true;
            widen(bounds_, b.x0, b.y0);
            widen(bounds_, b.x1, b.y1);
        } else if (type == etClipRect || uses_line_type(type) || type == etPoint || type == etImage) {
            everywhere_.push_back(i);
        }
        ++i;
    }
    if (!any)
        bounds_ = {0, 0, 0, 0};

    // Square cells of about kElementsPerCell elements each, but no smaller
    // than most elements, so that an element lies in few cells.
    const double width = std::max(bounds_.x1 - bounds_.x0, 1e-9), height = std::max(bounds_.y1 - bounds_.y0, 1e-9);
    std::vector<double> extents;
    extents.reserve(static_cast<std::size_t>(count_));
    for (int k = 0; k < count_; ++k)
        if (boxed[static_cast<std::size_t>(k)]) {
            const ModelBox& b = boxes[static_cast<std::size_t>(k)];
            extents.push_back(std::max(b.x1 - b.x0, b.y1 - b.y0));
        }
    double side = std::sqrt(width * height * kElementsPerCell / std::max(1.0, 1.0 * extents.size()));
    if (!extents.empty()) {
        auto most = extents.begin() + static_cast<std::ptrdiff_t>(extents.size() * 3 / 4);
        std::nth_element(extents.begin(), most, extents.end());
        side = std::max(side, *most);
    }
    columns_ = std::clamp(static_cast<int>(std::ceil(width / side)), 1, kMaxSide);
    rows_ = std::clamp(static_cast<int>(std::ceil(height / side)), 1, kMaxSide);
    cellWidth_ = width / columns_;
    cellHeight_ = height / rows_;

    auto span = [&](const ModelBox& b, int& c0, int& r0, int& c1, int& r1) {
        c0 = std::clamp(static_cast<int>((b.x0 - bounds_.x0) / cellWidth_), 0, columns_ - 1);
        c1 = std::clamp(static_cast<int>((b.x1 - bounds_.x0) / cellWidth_), 0, columns_ - 1);
        r0 = std::clamp(static_cast<int>((b.y0 - bounds_.y0) / cellHeight_), 0, rows_ - 1);
        r1 = std::clamp(static_cast<int>((b.y1 - bounds_.y0) / cellHeight_), 0, rows_ - 1);
    };
    spans_.assign(static_cast<std::size_t>(count_), CellSpan{1, 1, 0, 0}); // listed by no window
    // Two passes: count the items of every cell, then place them.
    cellStart_.assign(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<int> fill;
        if (pass == 1) {
            for (std::size_t c = 1; c < cellStart_.size(); ++c)
                cellStart_[c] += cellStart_[c - 1];
            items_.assign(static_cast<std::size_t>(cellStart_.back()), 0);
            fill.assign(cellStart_.begin(), cellStart_.end() - 1);
        }
        for (int k = 0; k < count_; ++k) {
            if (!boxed[static_cast<std::size_t>(k)])
                continue;
            int c0 = 0, r0 = 0, c1 = 0, r1 = 0;
            span(boxes[static_cast<std::size_t>(k)], c0, r0, c1, r1);
            if (c1 - c0 >= kWideCells || r1 - r0 >= kWideCells) {
                if (pass == 0)
                    everywhere_.push_back(k);
                continue;
            }
            if (pass == 0)
                spans_[static_cast<std::size_t>(k)] = {static_cast<std::uint16_t>(c0), static_cast<std::uint16_t>(r0),
                                                       static_cast<std::uint16_t>(c1), static_cast<std::uint16_t>(r1)};
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c) {
                    const std::size_t cell = static_cast<std::size_t>(r) * columns_ + c;
                    if (pass == 0)
                        ++cellStart_[cell + 1];
                    else
                        items_[static_cast<std::size_t>(fill[cell]++)] = k;
                }
        }
    }
    std::sort(everywhere_.begin(), everywhere_.end());
    for (const int k : everywhere_)
        spans_[static_cast<std::size_t>(k)] = CellSpan{0, 0, 0xFFFF, 0xFFFF};
    seen_.assign(static_cast<std::size_t>(count_), 0);
    queries_ = 0;
}

bool ElementIndex::query(const ModelBox& window, std::vector<int>& out, std::size_t limit)
{
    out.clear();
    if (++queries_ == 0) { // the marks wrapped round: start them afresh
        std::fill(seen_.begin(), seen_.end(), 0);
        queries_ = 1;
    }
    const bool meets = window.x0 <= bounds_.x1 && window.x1 >= bounds_.x0 && window.y0 <= bounds_.y1 &&
                       window.y1 >= bounds_.y0 && !items_.empty();
    if (meets) {
        const int c0 =
            std::clamp(static_cast<int>((std::max(window.x0, bounds_.x0) - bounds_.x0) / cellWidth_), 0, columns_ - 1);
        const int c1 =
            std::clamp(static_cast<int>((std::min(window.x1, bounds_.x1) - bounds_.x0) / cellWidth_), 0, columns_ - 1);
        const int r0 =
            std::clamp(static_cast<int>((std::max(window.y0, bounds_.y0) - bounds_.y0) / cellHeight_), 0, rows_ - 1);
        const int r1 =
            std::clamp(static_cast<int>((std::min(window.y1, bounds_.y1) - bounds_.y0) / cellHeight_), 0, rows_ - 1);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                const std::size_t cell = static_cast<std::size_t>(r) * columns_ + c;
                for (int k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
                    const int item = items_[static_cast<std::size_t>(k)];
                    std::uint32_t& mark = seen_[static_cast<std::size_t>(item)];
                    if (mark != queries_) {
                        mark = queries_;
                        out.push_back(item);
                    }
                }
                if (out.size() + everywhere_.size() > limit)
                    return false;
            }
    }
    if (out.size() + everywhere_.size() > limit)
        return false;
    out.insert(out.end(), everywhere_.begin(), everywhere_.end());
    std::sort(out.begin(), out.end());
    return true;
}

void ElementIndex::mark(const ModelBox& window, std::vector<std::uint8_t>& marked) const
{
    marked.assign(static_cast<std::size_t>(std::max(count_, 0)), 0);
    // An element is listed when the cells it lies in meet the window's
    // cells, or wherever the window is: one pass over the elements' cell
    // spans, in list order.
    int c0 = 0, r0 = 0, c1 = -1, r1 = -1;
    const bool meets = window.x0 <= bounds_.x1 && window.x1 >= bounds_.x0 && window.y0 <= bounds_.y1 &&
                       window.y1 >= bounds_.y0 && !items_.empty();
    if (meets) {
        c0 = std::clamp(static_cast<int>((std::max(window.x0, bounds_.x0) - bounds_.x0) / cellWidth_), 0, columns_ - 1);
        c1 = std::clamp(static_cast<int>((std::min(window.x1, bounds_.x1) - bounds_.x0) / cellWidth_), 0, columns_ - 1);
        r0 = std::clamp(static_cast<int>((std::max(window.y0, bounds_.y0) - bounds_.y0) / cellHeight_), 0, rows_ - 1);
        r1 = std::clamp(static_cast<int>((std::min(window.y1, bounds_.y1) - bounds_.y0) / cellHeight_), 0, rows_ - 1);
    }
    const std::size_t count = std::min(marked.size(), spans_.size());
    for (std::size_t k = 0; k < count; ++k) {
        const CellSpan& c = spans_[k];
        marked[k] = static_cast<std::uint8_t>((c.c0 == 0 && c.r0 == 0 && c.c1 == 0xFFFF && c.r1 == 0xFFFF) ||
                                              (c.c1 >= c0 && c.c0 <= c1 && c.r1 >= r0 && c.r0 <= r1));
    }
}

} // namespace orvex
