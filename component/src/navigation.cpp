// Zooming, panning and centring the view, the view size, and the drag preview.
//
// Every operation works on the zoom state of the current view only, so each
// of the four views keeps its own centre, size and zoom memory.
#include "view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <cmath>

namespace orvex {

namespace {
constexpr double kMinHalfSize = 0.04;
} // namespace

void TOrvexGDI::set_onzoom()
{
    const int v = Settings->ViewNumber;
    fire_zoom(Settings->HalfSize[v], Settings->CenterX[v], Settings->CenterY[v]);
}

void TOrvexGDI::restore_view_invariant(int View)
{
    TSettings& s = *Settings;
    view::set_scale_factor(s, View, height());
    s.OriginX[View] = width() / 2 - view::nearest(s.CenterX[View] * s.ScaleX[View]);
    s.OriginY[View] = height() / 2 - view::nearest(s.CenterY[View] * s.ScaleY[View]);
}

void TOrvexGDI::drag_preview()
{
    AllocateCanvas();
    if (Graphics->isActive()) {
        clear_screen(*Graphics, Bitmap->width(), Bitmap->height());
        plot_elements(*Graphics, Settings->ViewNumber, 4);
    }
    update();
}

// ---------------------------------------------------------------- zoom

void TOrvexGDI::ZoomAll()
{
    // The fit measures the extents with the current scale, so a second pass
    // corrects what the first got wrong after a large change.
    set_scale(0);
    set_scale(0);
    Redraw();
    set_onzoom();
}

void TOrvexGDI::ZoomDouble()
{
    set_scale(4);
    Redraw();
    set_onzoom();
}

void TOrvexGDI::ZoomHalf()
{
    set_scale(3);
    Redraw();
    set_onzoom();
}

void TOrvexGDI::ZoomLast()
{
    set_scale(2);
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
    if (X1 == X2 || Y1 == Y2)
        return false;
    TSettings& s = *Settings;
    s.PrevHalfSize[View] = s.HalfSize[View];
    s.PrevCenterX[View] = s.CenterX[View];
    s.PrevCenterY[View] = s.CenterY[View];

    // The rectangle's longer pixel side decides which window side it fills.
    const double w = std::abs(static_cast<double>(X1) - X2);
    const double h = std::abs(static_cast<double>(Y1) - Y2);
    if (h < w)
        s.HalfSize[View] = s.HalfSize[View] * w / Width;
    else
        s.HalfSize[View] = s.HalfSize[View] * h / Height;
    if (s.HalfSize[View] < kMinHalfSize)
        s.HalfSize[View] = kMinHalfSize;

    // The rectangle's centre becomes the view centre, measured with the old scale.
    const int cx = view::nearest(X1 + (static_cast<double>(X2) - X1) / 2);
    const int cy = view::nearest(Y1 + (static_cast<double>(Y2) - Y1) / 2);
    s.CenterX[View] += (cx - Width / 2) / s.ScaleX[View];
    s.CenterY[View] += (cy - Height / 2) / s.ScaleY[View];

    view::set_scale_factor(s, View, Height);
    s.OriginX[View] = Width / 2 - view::nearest(s.CenterX[View] * s.ScaleX[View]);
    s.OriginY[View] = Height / 2 - view::nearest(s.CenterY[View] * s.ScaleY[View]);
    return true;
}

// ---------------------------------------------------------------- pan, centre and size

void TOrvexGDI::Pan(double DX, double DY)
{
    const int v = Settings->ViewNumber;
    Settings->CenterX[v] += DX;
    Settings->CenterY[v] += DY;
    restore_view_invariant(v);
    Redraw();
}

void TOrvexGDI::ViewCenter(double X, double Y)
{
    SetCenterX(X);
    SetCenterY(Y);
    set_scale(-1);
    Redraw();
}

double TOrvexGDI::GetViewSize() const
{
    return 2 * Settings->HalfSize[Settings->ViewNumber];
}

void TOrvexGDI::SetViewSize(double Size)
{
    Settings->HalfSize[Settings->ViewNumber] = Size / 2;
    set_scale(-1);
    set_onchangeview();
    Redraw();
}

double TOrvexGDI::GetCenterX() const
{
    return Settings->CenterX[Settings->ViewNumber];
}

double TOrvexGDI::GetCenterY() const
{
    return Settings->CenterY[Settings->ViewNumber];
}

void TOrvexGDI::SetCenterX(double X)
{
    TSettings& s = *Settings;
    const int v = s.ViewNumber;
    s.CenterX[v] = X;
    s.OriginX[v] = width() / 2 - view::nearest(X * s.ScaleX[v]);
}

void TOrvexGDI::SetCenterY(double Y)
{
    TSettings& s = *Settings;
    const int v = s.ViewNumber;
    s.CenterY[v] = Y;
    s.OriginY[v] = height() / 2 - view::nearest(Y * s.ScaleY[v]);
}

} // namespace orvex
