// Painting the drawing into the off-screen picture.
#include "common/codes.h"
#include "control/control_p.h"
#include "render/band_pass.h"
#include "render/element_index.h"
#include "render/paint_pass.h"
#include "view/view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvex {

namespace {
PictureView picture_view(const TSettings& s, const TElements& elements, const QSize& size)
{
    const int v = s.ViewNumber;
    PictureView p;
    p.view = v;
    if (v >= 1 && v <= 4) {
        p.originX = s.OriginX[v];
        p.originY = s.OriginY[v];
        p.scaleX = s.ScaleX[v];
        p.scaleY = s.ScaleY[v];
    }
    p.width = size.width();
    p.height = size.height();
    p.xRotation = s.XRotation;
    p.yRotation = s.YRotation;
    p.zRotation = s.ZRotation;
    p.generation = elements.Generation();
    p.count = elements.Count();
    p.antialias = s.AntiAlias;
    p.background = s.BackgroundColor;
    return p;
}
} // namespace

void TOrvexGDI::Redraw()
{
    AllocateCanvas();
    d_->shown.reset();
    if (Graphics->isActive()) {
        redraw2(*Graphics, GetPictureSize().width(), GetPictureSize().height());
        d_->shown = picture_view(*Settings, *Elements, GetPictureSize());
    }
    update();
}

bool TOrvexGDI::live_pan_frame()
{
    AllocateCanvas();
    if (!d_->shown || !Graphics->isActive() || Graphics->device() == nullptr ||
        Graphics->device()->devType() != QInternal::Image)
        return false;
    QImage& picture = *static_cast<QImage*>(Graphics->device());
    const PictureView now = picture_view(*Settings, *Elements, GetPictureSize());
    // Only the origin may have moved since the picture was drawn.
    PictureView moved = *d_->shown;
    moved.originX = now.originX;
    moved.originY = now.originY;
    const int dx = now.originX - d_->shown->originX, dy = now.originY - d_->shown->originY;
    const int w = picture.width(), h = picture.height();
    if (!(moved == now) || !banded_picture(picture) || w != now.width || h != now.height || std::abs(dx) >= w ||
        std::abs(dy) >= h)
        return false;
    if (dx == 0 && dy == 0) // the picture shows this view already
        return true;
    // A clip left in force by the last pass clips the background of the
    // next one too, which a moved picture cannot show.
    if (Graphics->hasClipping() && Graphics->clipBoundingRect() != QRectF(0, 0, w, h))
        return false;
    // The strips are drawn through the element index, which sees the top
    // view only, and from the elements near them alone.
    const TSettings& s = *Settings;
    ElementIndex* index = s.ViewNumber == 1 ? element_index() : nullptr;
    if (index == nullptr || index->inherits_dash())
        return false;

    QRegion redrawn;
    if (dx != 0)
        redrawn += dx > 0 ? QRect(0, 0, dx, h) : QRect(w + dx, 0, -dx, h);
    if (dy != 0)
        redrawn += dy > 0 ? QRect(0, 0, w, dy) : QRect(0, h + dy, w, -dy);
    // The raster engine cuts what it draws itself a pixel beyond the
    // picture's edge and steps (and starts dash patterns) from the cut, so a
    // figure the old or the new picture cuts is drawn again where it lies.
    const view::Viewport top = view::Viewport::of(s, 1);
    const QRect pictureRect(0, 0, w, h);
    const auto cut = [&](const QRectF& box, double x, double y) {
        return box.left() + x < -1 || box.right() + x > w + 1 || box.top() + y < -1 || box.bottom() + y > h + 1;
    };
    for (const auto& [i, box] : index->painted()) {
        const QRectF pixels =
            QRectF(QPointF(top.pixel_x(box.x0), top.pixel_y(box.y1)), QPointF(top.pixel_x(box.x1), top.pixel_y(box.y0)))
                .normalized()
                .adjusted(-3, -3, 3, 3);
        if (!pixels.intersects(pictureRect) || !(cut(pixels, 0, 0) || cut(pixels, -dx, -dy)))
            continue;
        const TElement& e = Elements->GetElement(i);
        const int layer = e.GetLayer();
        if (e.GetEtype() != etFillEdge && (e.GetDeleted() || layer < 0 || layer > 254 || !s.LayerVisible[layer]))
            continue;
        redrawn += pixels.toAlignedRect() & pictureRect;
    }
    if (redrawn.rectCount() > 16)
        redrawn = redrawn.boundingRect();

    shift_pixels(picture, dx, dy);
    const std::vector<QRect> parts(redrawn.begin(), redrawn.end());
    if (!parts.empty()) {
        view::set_coefficiants(*Settings);
        for (const QRect& part : parts)
            Graphics->fillRect(part, Settings->BackgroundBrush);
        Graphics->setRenderHint(QPainter::Antialiasing, Settings->AntiAlias);
        draw_parts(*Graphics, picture, parts);
    }
    d_->shown = now;
    update();
    return true;
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
    if (!s.CanvasMode && !s.Printing && Graphics.device() != nullptr &&
        Graphics.device()->devType() == QInternal::Image) {
        QImage& picture = *static_cast<QImage*>(Graphics.device());
        const int bands = band_count(s.RenderThreads, picture.height());
        if (bands > 1 && banded_picture(picture)) {
            std::vector<QRect> parts;
            for (int k = 0; k < bands; ++k)
                parts.push_back(band_rect(k, bands, picture.width(), picture.height()));
            draw_parts(Graphics, picture, parts);
            return;
        }
    }
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

void TOrvexGDI::draw_parts(QPainter& Graphics, QImage& Picture, const std::vector<QRect>& Parts)
{
    const TSettings& s = *Settings;
    ElementIndex* index = s.ViewNumber == 1 ? element_index() : nullptr;
    if (index != nullptr && index->inherits_dash())
        index = nullptr; // a part of the list could draw with other dashes
    const bool hadClip = Graphics.hasClipping();
    const QRegion clipBefore = hadClip ? Graphics.clipRegion() : QRegion();
    BandPassResult result = paint_bands(Graphics, Picture, s, *Elements, index, Parts);

    // The pen the single pass would leave: without an index every band drew
    // the whole list; with one, the pen of the last visible figure of the
    // list the single pass draws, set up again without drawing.
    std::optional<QPen> pen = result.pen;
    std::optional<QBrush> fill = result.fill;
    if (index != nullptr) {
        ModelBox window{};
        std::vector<int> near;
        const bool part =
            picture_window(s, Graphics, window) && shows_part(window, s) && indexed_elements(window, true, near);
        const int count = part ? static_cast<int>(near.size()) : Elements->Count();
        Graphics.setClipRect(QRect(), Qt::ReplaceClip); // nothing is written
        ElementPainter painter(Graphics, PaintTarget::Picture, view::Viewport::current(s), s);
        painter.plot_marked(*Elements, {}); // the pass's mode, nothing drawn
        for (int k = count - 1; k >= 0 && !painter.pen_set_up(); --k) {
            const TElement& e = Elements->GetElement(part ? near[static_cast<std::size_t>(k)] : k);
            const int type = e.GetEtype();
            if (type == etFillEdge || type == etClipRect || type == etImage || e.GetDeleted())
                continue;
            const int layer = e.GetLayer();
            if (layer < 0 || layer > 254 || !s.LayerVisible[layer])
                continue;
            painter.draw_element(e);
        }
        painter.finish();
        pen = painter.last_pen();
        if (painter.last_fill())
            fill = painter.last_fill();
    }
    if (pen) {
        Graphics.setPen(*pen);
        Settings->Pen = *pen;
    }
    if (fill)
        Settings->FillBrush = *fill;
    if (result.clip)
        Graphics.setClipRect(*result.clip, Qt::ReplaceClip);
    else if (hadClip)
        Graphics.setClipRegion(clipBefore, Qt::ReplaceClip);
    else
        Graphics.setClipRect(QRectF(QPointF(0, 0), Picture.deviceIndependentSize()).toAlignedRect(), Qt::ReplaceClip);
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
