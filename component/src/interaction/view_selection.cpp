// View selection, rotation, the arc-view table, pixel conversions and extents.
#include "common/finite_input.h"
#include "view/view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

namespace orvex {

TDView TOrvexGDI::GetView() const
{
    switch (Settings->ViewNumber) {
    case 2:
        return vFRONT;
    case 3:
        return vSIDE;
    case 4:
        return vISO;
    default:
        return vTOP;
    }
}

void TOrvexGDI::SetView(TDView Value)
{
    TSettings& s = *Settings;
    if (Value == vISO) {
        if (s.ViewNumber == 4) {
            view::view_window_proc(s); // back to the standard isometric angles
            s.IsoXRotation = s.XRotation;
            s.IsoYRotation = s.YRotation;
            s.IsoZRotation = s.ZRotation;
        } else {
            s.XRotation = s.IsoXRotation;
            s.YRotation = s.IsoYRotation;
            s.ZRotation = s.IsoZRotation;
        }
    }
    s.ViewNumber = Value <= vISO ? view_number(Value) : 1;
    if (Value != vISO)
        view::view_window_proc(s);
    set_onchangeview();
    Redraw();
}

void TOrvexGDI::RotateView(double X, double Y, double Z)
{
    require_finite("RotateView", {X, Y, Z});
    Settings->XRotation = X;
    Settings->YRotation = Y;
    Settings->ZRotation = Z;
    Settings->ViewNumber = 4;
    set_onchangeview();
    Redraw();
}

void TOrvexGDI::SetArcView(int Index, const TDView3D& View)
{
    TArcView& entry = Settings->ArcViews[Index]; // ERangeError outside 1..90
    entry = {View.M11, View.M12, View.M13, View.M21, View.M22, View.M23, View.M31, View.M32, View.M33, true};
}

TDView3D TOrvexGDI::GetArcView(int Index) const
{
    if (Index < 1 || Index > 90)
        return TDView3D{Index};
    const TArcView& e = Settings->ArcViews[Index];
    return {Index, e.M11, e.M12, e.M13, e.M21, e.M22, e.M23, e.M31, e.M32, e.M33};
}

QPoint TOrvexGDI::CoordToPixel(double X, double Y, double /*Z*/) const
{
    int px = 0, py = 0;
    view::coord_to_pixel(*Settings, Settings->ViewNumber, X, Y, px, py);
    return {px, py};
}

TDPoint TOrvexGDI::PixelToCoord(int X, int Y) const
{
    TDPoint p;
    view::trans_pixel_coords(*Settings, Settings->ViewNumber, X, Y, p.X, p.Y, p.Z);
    return p;
}

void TOrvexGDI::get_max_min() { view::get_max_min(*Settings, *Elements); }

void TOrvexGDI::reset_extents() { view::reset_extents(*Settings); }

void TOrvexGDI::set_scale(double Mode) { view::set_scale(*Settings, Mode, width(), height()); }

} // namespace orvex
