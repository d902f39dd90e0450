#include "view/viewport.h"

#include "view/view_math.h"

#include <OrvexGDI/OpsView.h>

namespace orvex::view {

Viewport Viewport::of(const TViewState& s, int View, int Width, int Height)
{
    Viewport p;
    p.View = View;
    p.Rotation = s.RotationMatrix;
    p.Width = Width;
    p.Height = Height;
    if (View >= 1 && View <= 4) {
        p.ScaleX = s.ScaleX[View];
        p.ScaleY = s.ScaleY[View];
        p.OriginX = s.OriginX[View];
        p.OriginY = s.OriginY[View];
    }
    return p;
}

bool Viewport::to_model(double px, double py, double& x, double& y, double& z) const
{
    if (View < 1 || View > 4)
        return false;
    double u = 0, w = 0;
    to_plane(px, py, u, w);
    switch (View) {
    case 1:
        x = u, y = w, z = 0;
        break;
    case 2:
        x = u, y = 0, z = w;
        break;
    case 3:
        x = 0, y = u, z = w;
        break;
    default: {
        double o1 = 0, o2 = 0, o3 = 0;
        Ops::get_3d_point(u, w, 0, o1, o2, o3);
        x = -o2, y = o1, z = 0;
        break;
    }
    }
    return true;
}

Viewport Viewport::scaled(double f) const
{
    Viewport p = *this;
    p.ScaleX *= f;
    p.ScaleY *= f;
    p.OriginX = nearest(OriginX * f);
    p.OriginY = nearest(OriginY * f);
    return p;
}

} // namespace orvex::view
