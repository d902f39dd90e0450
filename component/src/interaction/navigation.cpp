// Zooming, panning and centring the view, the view size, and the drag preview.
//
// Every operation works on the zoom state of the current view only, so each
// of the four views keeps its own centre, size and zoom memory.
#include "common/codes.h"
#include "common/finite_input.h"
#include "control/control_p.h"
#include "view/view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <algorithm>
#include <cmath>

namespace orvex {

void TOrvexGDI::set_onzoom()
{
    const int v = Settings->ViewNumber;
    fire_zoom(Settings->HalfSize[v], Settings->CenterX[v], Settings->CenterY[v]);
}

void TOrvexGDI::restore_view_invariant(int View) { view::set_origin(*Settings, View, width(), height()); }

void TOrvexGDI::drag_preview()
{
    AllocateCanvas();
    d_->shown.reset();
    if (Graphics->isActive()) {
        clear_screen(*Graphics, GetPictureSize().width(), GetPictureSize().height());
        plot_elements(*Graphics, Settings->ViewNumber, codes::kPlotDragPreview);
    }
    update();
}

// ---------------------------------------------------------------- zoom

void TOrvexGDI::ZoomAll()
{
    // The top view fits the X-Y extents. The fit measures them with the
    // current scale, so a second pass corrects what the first got wrong after
    // a large change. The other views show Z too, which the X-Y extents do
    // not bound: they fit the box of what they show.
    if (Settings->ViewNumber == 1 || !view::fit_plane_box(*Settings, *Elements, width(), height())) {
        set_scale(codes::kScaleFit);
        set_scale(codes::kScaleFit);
    }
    Redraw();
    set_onzoom();
}

void TOrvexGDI::ZoomDouble()
{
    set_scale(codes::kScaleMagnify);
    Redraw();
    set_onzoom();
}

void TOrvexGDI::ZoomHalf()
{
    set_scale(codes::kScaleShrink);
    Redraw();
    set_onzoom();
}

void TOrvexGDI::ZoomLast()
{
    set_scale(codes::kScalePrevious);
    Redraw();
    set_onzoom();
}

void TOrvexGDI::ZoomWindow(int X1, int Y1, int X2, int Y2)
{
    graphics_get_scale(Settings->ViewNumber, width(), height(), X1, Y1, X2, Y2);
    Redraw();
    set_onzoom();
}

bool TOrvexGDI::graphics_get_scale(int View, int Width, int Height, int X1, int Y1, int X2, int Y2)
{
    return view::graphics_get_scale(*Settings, View, Width, Height, X1, Y1, X2, Y2);
}

// ---------------------------------------------------------------- pan, centre and size

void TOrvexGDI::Pan(double DX, double DY)
{
    require_finite("Pan", {DX, DY});
    const int v = Settings->ViewNumber;
    view::pan(*Settings, v, width(), height(), DX, DY);
    Redraw();
}

void TOrvexGDI::ViewCenter(double X, double Y)
{
    require_finite("ViewCenter", {X, Y});
    SetCenterX(X);
    SetCenterY(Y);
    set_scale(codes::kScaleRecompute);
    Redraw();
}

double TOrvexGDI::GetViewSize() const { return 2 * Settings->HalfSize[Settings->ViewNumber]; }

void TOrvexGDI::SetViewSize(double Size)
{
    require_finite("SetViewSize", {Size});
    Settings->HalfSize[Settings->ViewNumber] = Size / 2;
    set_scale(codes::kScaleRecompute);
    set_onchangeview();
    Redraw();
}

double TOrvexGDI::GetCenterX() const { return Settings->CenterX[Settings->ViewNumber]; }

double TOrvexGDI::GetCenterY() const { return Settings->CenterY[Settings->ViewNumber]; }

void TOrvexGDI::SetCenterX(double X)
{
    require_finite("SetCenterX", {X});
    TSettings& s = *Settings;
    const int v = s.ViewNumber;
    s.CenterX[v] = X;
    const int w = std::max(width(), codes::kMinPictureSide);
    if (view::origin_fits(X, s.ScaleX[v], w))
        s.OriginX[v] = view::centred_origin(X, s.ScaleX[v], w);
    else
        restore_view_invariant(v); // the deepest zoom that can show this centre
}

void TOrvexGDI::SetCenterY(double Y)
{
    require_finite("SetCenterY", {Y});
    TSettings& s = *Settings;
    const int v = s.ViewNumber;
    s.CenterY[v] = Y;
    const int h = std::max(height(), codes::kMinPictureSide);
    if (view::origin_fits(Y, s.ScaleY[v], h))
        s.OriginY[v] = view::centred_origin(Y, s.ScaleY[v], h);
    else
        restore_view_invariant(v);
}

} // namespace orvex
