// Painting the drawing into the off-screen picture.
#include "common/codes.h"
#include "control/control_p.h"
#include "render/element_index.h"
#include "render/paint_pass.h"
#include "view/view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <algorithm>
#include <cmath>

namespace orvex {

void TOrvexGDI::Redraw()
{
    AllocateCanvas();
    if (Graphics->isActive())
        redraw2(*Graphics, GetPictureSize().width(), GetPictureSize().height());
    update();
}

namespace {
// Pen widths, anti-aliasing and the arms of points reach this far beyond an
// element's box.
constexpr double kReachPixels = 8;

// The top-view model window of a picture, widened by kReachPixels; false when
// the view's scale gives none.
bool picture_window(const TSettings& s, const QPainter& Graphics, ModelBox& window)
{
    if (Graphics.device() == nullptr || Graphics.device()->devType() != QInternal::Image)
        return false;
    const QSizeF size = static_cast<const QImage*>(Graphics.device())->deviceIndependentSize();
    const view::Viewport top = view::Viewport::of(s, 1);
    if (!(top.ScaleX > 0 && top.ScaleY < 0 && std::isfinite(top.ScaleX) && std::isfinite(top.ScaleY)))
        return false;
    top.to_plane(-kReachPixels, size.height() + kReachPixels, window.x0, window.y0);
    top.to_plane(size.width() + kReachPixels, -kReachPixels, window.x1, window.y1);
    return true;
}
// Whether the window shows less than half of the drawing's extents, so that
// visiting only the elements near it is worth an index.
bool shows_part(const ModelBox& window, const TSettings& s)
{
    const double w = s.ExtentMaxX - s.ExtentMinX, h = s.ExtentMaxY - s.ExtentMinY;
    if (!(w > 0 && h > 0))
        return true;
    const double cw = std::min(window.x1, s.ExtentMaxX) - std::max(window.x0, s.ExtentMinX);
    const double ch = std::min(window.y1, s.ExtentMaxY) - std::max(window.y0, s.ExtentMinY);
    return !(cw > 0 && ch > 0) || cw * ch < 0.5 * w * h;
}
} // namespace

void TOrvexGDI::redraw2(QPainter& Graphics, int Width, int Height)
{
    view::set_coefficiants(*Settings);
    clear_screen(Graphics, Width, Height);
    Graphics.setRenderHint(QPainter::Antialiasing, Settings->AntiAlias);
    const TSettings& s = *Settings;
    // A top view that shows less than the whole drawing draws only the
    // elements near it.
    ModelBox window{};
    std::vector<int> near;
    if (s.ViewNumber == 1 && !s.CanvasMode && !s.Printing && picture_window(s, Graphics, window) &&
        shows_part(window, s) && indexed_elements(window, true, near)) {
        paint_pass(Graphics, *Settings, [&](ElementPainter& painter) { painter.plot_listed(*Elements, near); });
        return;
    }
    plot_elements(Graphics, Settings->ViewNumber, codes::kPlotVisible);
}

ElementIndex* TOrvexGDI::element_index()
{
    if (!Settings->UseElementIndex)
        return nullptr;
    if (!d_->index)
        d_->index = std::make_unique<ElementIndex>();
    if (!d_->index->current(*Elements, *Settings))
        d_->index->build(*Elements, *Settings);
    return d_->index.get();
}

bool TOrvexGDI::indexed_elements(const ModelBox& Window, bool ForDrawing, std::vector<int>& Candidates)
{
    ElementIndex* index = element_index();
    if (index == nullptr || (ForDrawing ? index->inherits_dash() : index->odd_layers()))
        return false;
    // When most elements are near, one pass over them all costs less.
    return index->query(Window, Candidates, static_cast<std::size_t>(Elements->Count()) / 2);
}

void TOrvexGDI::clear_screen(QPainter& Graphics, int Width, int Height)
{
    Graphics.fillRect(QRect(0, 0, Width, Height), Settings->BackgroundBrush);
}

void TOrvexGDI::plot_elements(QPainter& Graphics, int View, int Mode)
{
    paint_pass(Graphics, *Settings, [&](ElementPainter& painter) { painter.plot_elements(*Elements, View, Mode); });
}

} // namespace orvex
