#include "view/view_math.h"

#include "common/codes.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsView.h>

#include <algorithm>
#include <string>

namespace orvex::view {

using codes::kDegreesPerRadian;
using codes::kMaxExtent;
using codes::kMaxHalfSize;
using codes::kMinHalfSize;
using codes::kMinPictureSide;

int nearest(double value)
{
    if (!fits_int(value))
        throw ERangeError("pixel value " + std::to_string(value) + " does not fit in 32 bits");
    const double rounded = std::nearbyint(value); // the default rounding mode sends halves to even
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        throw ERangeError("pixel value " + std::to_string(value) + " does not fit in 32 bits");
    return static_cast<int>(rounded);
}

void set_coefficiants(TViewState& s)
{
    const double ax = s.XRotation / kDegreesPerRadian;
    const double ay = s.YRotation / kDegreesPerRadian;
    const double az = s.ZRotation / kDegreesPerRadian;
    const double sx = std::sin(ax), cx = std::cos(ax);
    const double sy = std::sin(ay), cy = std::cos(ay);
    const double sz = std::sin(az), cz = std::cos(az);
    TRotationMatrix& r = s.RotationMatrix;
    r.R11 = cy * cz;
    r.R12 = -cy * sz;
    r.R13 = sy;
    r.R21 = sx * sy * cz + cx * sz;
    r.R22 = -sx * sy * sz + cx * cz;
    r.R23 = -sx * cy;
    r.R31 = -cx * sy * cz + sx * sz;
    r.R32 = cx * sy * sz + sx * cz;
    r.R33 = cx * cy;
}

void view_window_proc(TViewState& s)
{
    switch (s.ViewNumber) {
    case 1:
        s.XRotation = 0, s.YRotation = 0, s.ZRotation = 0;
        break;
    case 2:
        s.XRotation = -90, s.YRotation = 0, s.ZRotation = 0;
        break;
    case 3:
        s.XRotation = -90, s.YRotation = 0, s.ZRotation = -90;
        break;
    case 4:
        s.XRotation = -70, s.YRotation = 0, s.ZRotation = -20;
        break;
    default:
        break;
    }
}

void coord_to_pixel(const TViewState& s, int View, double a, double b, int& px, int& py)
{
    const Viewport viewport = Viewport::of(s, View);
    px = nearest(viewport.pixel_x(a));
    py = nearest(viewport.pixel_y(b));
}

void trans_pixel_coords(const TViewState& s, int View, int px, int py, double& x, double& y, double& z)
{
    Viewport::of(s, View).to_model(px, py, x, y, z);
}

void set_scale_factor(TViewState& s, int View, int Height)
{
    s.ScaleX[View] = (Height / 2.0) / s.HalfSize[View];
    s.ScaleY[View] = -s.ScaleX[View];
}

namespace {
// Limits the half size to [kMinHalfSize, kMaxHalfSize] and then to the
// deepest zoom at which both centres still give a 32-bit pixel origin; a
// centre too far out even for the widest view is moved in to the farthest
// one that fits.
void limit_zoom(TViewState& s, int View, int Width, int Height)
{
    double& half = s.HalfSize[View];
    if (!(half >= kMinHalfSize)) // NaN too
        half = kMinHalfSize;
    half = std::min(half, kMaxHalfSize);
    const double pixelsPerHalf = Height / 2.0;
    const double room = 2147483647.0 - 4.0 * std::max(Width, Height);
    for (double* centre : {&s.CenterX[View], &s.CenterY[View]}) {
        if (!std::isfinite(*centre))
            *centre = 0;
        const double deepest = std::abs(*centre) * pixelsPerHalf / room;
        if (half < deepest)
            half = std::min(deepest, kMaxHalfSize);
        const double farthest = room * half / pixelsPerHalf;
        if (std::abs(*centre) > farthest)
            *centre = std::copysign(farthest, *centre);
    }
}
} // namespace

void remember_zoom(TViewState& s, int View)
{
    s.PrevHalfSize[View] = s.HalfSize[View];
    s.PrevCenterX[View] = s.CenterX[View];
    s.PrevCenterY[View] = s.CenterY[View];
}

void set_origin(TViewState& s, int View, int Width, int Height)
{
    Width = std::max(Width, kMinPictureSide);
    Height = std::max(Height, kMinPictureSide);
    limit_zoom(s, View, Width, Height);
    set_scale_factor(s, View, Height);
    s.OriginX[View] = centred_origin(s.CenterX[View], s.ScaleX[View], Width);
    s.OriginY[View] = centred_origin(s.CenterY[View], s.ScaleY[View], Height);
}

bool graphics_get_scale(TViewState& s, int View, int Width, int Height, int X1, int Y1, int X2, int Y2)
{
    if (X1 == X2 || Y1 == Y2)
        return false;
    Width = std::max(Width, kMinPictureSide);
    Height = std::max(Height, kMinPictureSide);
    remember_zoom(s, View);

    // The rectangle's longer pixel side decides which picture side it fills.
    const double w = std::abs(static_cast<double>(X1) - X2);
    const double h = std::abs(static_cast<double>(Y1) - Y2);
    if (h < w)
        s.HalfSize[View] = s.HalfSize[View] * w / Width;
    else
        s.HalfSize[View] = s.HalfSize[View] * h / Height;
    if (s.HalfSize[View] < kMinHalfSize)
        s.HalfSize[View] = kMinHalfSize;

    // The rectangle's centre becomes the view centre, measured with the old scale.
    const int cx = nearest(X1 + (static_cast<double>(X2) - X1) / 2);
    const int cy = nearest(Y1 + (static_cast<double>(Y2) - Y1) / 2);
    double du = 0, dw = 0;
    Viewport::of(s, View).pixel_shift(cx - Width / 2, cy - Height / 2, du, dw);
    pan(s, View, Width, Height, du, dw);
    return true;
}

void zoom_about(TViewState& s, int View, int Width, int Height, double Factor, int X, int Y)
{
    Width = std::max(Width, kMinPictureSide);
    Height = std::max(Height, kMinPictureSide);
    remember_zoom(s, View);
    // The view-plane point under the cursor, then the centre that puts it
    // under the cursor again at the new scale.
    double u = 0, w = 0;
    Viewport::of(s, View).to_plane(X, Y, u, w);
    s.HalfSize[View] = std::clamp(s.HalfSize[View] * Factor, kMinHalfSize, kMaxHalfSize);
    set_scale_factor(s, View, Height);
    double du = 0, dw = 0;
    Viewport::of(s, View).pixel_shift(Width / 2 - static_cast<double>(X), Height / 2 - static_cast<double>(Y), du, dw);
    s.CenterX[View] = u + du;
    s.CenterY[View] = w + dw;
    set_origin(s, View, Width, Height);
}

void pan(TViewState& s, int View, int Width, int Height, double du, double dw)
{
    s.CenterX[View] += du;
    s.CenterY[View] += dw;
    set_origin(s, View, Width, Height);
}

namespace {
void fit_to_extents(TViewState& s, int v, int Width, int Height)
{
    remember_zoom(s, v);

    // The extent corners in pixels of the current scale, as doubles: far
    // extents may lie beyond 32 bits before the fit brings them in.
    const Viewport viewport = Viewport::of(s, v);
    const double x1 = std::nearbyint(viewport.pixel_x(s.ExtentMinX));
    const double y1 = std::nearbyint(viewport.pixel_y(s.ExtentMinY));
    const double x2 = std::nearbyint(viewport.pixel_x(s.ExtentMaxX));
    const double y2 = std::nearbyint(viewport.pixel_y(s.ExtentMaxY));
    if (y1 == y2 || x1 == x2) {
        s.HalfSize[v] = s.ExtentMaxY - s.ExtentMinY;
        if (s.HalfSize[v] < kMinHalfSize) {
            s.HalfSize[v] = kMinHalfSize;
            s.ExtentMinX = s.ExtentMinY = -kMinHalfSize;
            s.ExtentMaxX = s.ExtentMaxY = kMinHalfSize;
        }
    } else {
        const double d = std::max(std::abs(x1 - x2), std::abs(y1 - y2));
        const int m = std::min(Width, Height);
        s.HalfSize[v] = s.HalfSize[v] * d / (m - nearest(0.1 * m));
    }
    if (s.HalfSize[v] < kMinHalfSize)
        s.HalfSize[v] = kMinHalfSize;
    s.CenterX[v] = s.ExtentMinX + (s.ExtentMaxX - s.ExtentMinX) / 2;
    s.CenterY[v] = s.ExtentMinY + (s.ExtentMaxY - s.ExtentMinY) / 2;
    if (v == 4) {
        double o1 = 0, o2 = 0, o3 = 0;
        Ops::get_3d_point(s.CenterX[v], s.CenterY[v], 0, o1, o2, o3);
        s.CenterX[v] = o1;
        s.CenterY[v] = o2;
    }
}
} // namespace

void set_scale(TViewState& s, double Mode, int Width, int Height)
{
    const int v = s.ViewNumber;
    Width = std::max(Width, kMinPictureSide);
    Height = std::max(Height, kMinPictureSide);
    auto is = [Mode](codes::ScaleMode mode) { return Mode == static_cast<double>(mode); };
    if (is(codes::kScaleFit)) {
        fit_to_extents(s, v, Width, Height);
    } else if (is(codes::kScalePrevious)) {
        std::swap(s.HalfSize[v], s.PrevHalfSize[v]);
        std::swap(s.CenterX[v], s.PrevCenterX[v]);
        std::swap(s.CenterY[v], s.PrevCenterY[v]);
    } else if (is(codes::kScaleShrink)) {
        s.HalfSize[v] = 2 * s.HalfSize[v];
    } else if (is(codes::kScaleMagnify)) {
        s.HalfSize[v] = s.HalfSize[v] / 2;
        s.PrevHalfSize[v] = s.HalfSize[v];
    }
    if (s.HalfSize[v] < kMinHalfSize)
        s.HalfSize[v] = kMinHalfSize;
    set_origin(s, v, Width, Height);
}

namespace {
void widen(TViewState& s, double px, double py)
{
    if (px > s.ExtentMaxX)
        s.ExtentMaxX = px;
    if (px < s.ExtentMinX)
        s.ExtentMinX = px;
    if (py > s.ExtentMaxY)
        s.ExtentMaxY = py;
    if (py < s.ExtentMinY)
        s.ExtentMinY = py;
}
// An arc in another plane widens the extents in model coordinates: its end
// points through the plane's matrix, or, when it sweeps more than 180
// degrees, the box around its whole circle in model X and Y.
void widen_arc_in_plane(TViewState& s, const TElement& e, const TArcView& m)
{
    const double u = e.slot(0), v = e.slot(1), w = e.slot(2), r = e.slot(3);
    const double cx = m.M11 * u + m.M12 * v + m.M13 * w;
    const double cy = m.M21 * u + m.M22 * v + m.M23 * w;
    if (e.slot(5) - e.slot(4) > 180) {
        const double hx = r * std::hypot(m.M11, m.M12), hy = r * std::hypot(m.M21, m.M22);
        widen(s, cx + hx, cy + hy);
        widen(s, cx - hx, cy - hy);
        return;
    }
    for (const double degrees : {e.slot(4), e.slot(5)}) {
        const double a = degrees / kDegreesPerRadian;
        const double du = r * std::cos(a), dv = r * std::sin(a);
        widen(s, cx + m.M11 * du + m.M12 * dv, cy + m.M21 * du + m.M22 * dv);
    }
}
} // namespace

void set_max_min(TViewState& s, const TElement& e)
{
    switch (e.GetEtype()) {
    case etPoint:
        widen(s, e.slot(0), e.slot(1));
        break;
    case etLine:
    case etFillEdge:
        widen(s, e.slot(0), e.slot(1));
        widen(s, e.slot(3), e.slot(4));
        break;
    case etArc:
        if (e.GetView() > 1 && e.GetView() <= 90 && s.ArcViews[e.GetView()].Defined) {
            widen_arc_in_plane(s, e, s.ArcViews[e.GetView()]);
        } else if (e.slot(5) - e.slot(4) > 180) {
            const double cx = e.slot(0), cy = e.slot(1), r = e.slot(3);
            widen(s, cx + r, cy + r);
            widen(s, cx - r, cy - r);
        } else {
            // The arc's end points, in double precision: the extents only
            // steer zoom fits, and loads compute them for every arc.
            const double cx = e.slot(0), cy = e.slot(1), r = e.slot(3);
            const double start = e.slot(4) / kDegreesPerRadian, end = e.slot(5) / kDegreesPerRadian;
            widen(s, cx + r * std::cos(start), cy + r * std::sin(start));
            widen(s, cx + r * std::cos(end), cy + r * std::sin(end));
        }
        break;
    default:
        return;
    }
    s.ExtentMinX = std::max(s.ExtentMinX, -kMaxExtent);
    s.ExtentMinY = std::max(s.ExtentMinY, -kMaxExtent);
    s.ExtentMaxX = std::min(s.ExtentMaxX, kMaxExtent);
    s.ExtentMaxY = std::min(s.ExtentMaxY, kMaxExtent);
}

void get_max_min(TViewState& s, const TElements& elements)
{
    s.ExtentMaxX = s.ExtentMaxY = -9000;
    s.ExtentMinX = s.ExtentMinY = 9000;
    for (const TElement* e : elements)
        if (!e->GetDeleted() && s.LayerVisible[e->GetLayer()])
            set_max_min(s, *e);
}

void reset_extents(TViewState& s)
{
    s.ExtentMaxX = s.ExtentMaxY = s.ExtentMaxZ = -100;
    s.ExtentMinX = s.ExtentMinY = 100;
}

} // namespace orvex::view
