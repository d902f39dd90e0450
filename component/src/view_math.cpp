#include "view_math.h"

#include "codes.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsView.h>

#include <algorithm>
#include <string>

namespace orvex::view {

using codes::kDegreesPerRadian;
using codes::kMinHalfSize;

int nearest(double value)
{
    if (!fits_int(value))
        throw ERangeError("pixel value " + std::to_string(value) + " does not fit in 32 bits");
    const double rounded = std::nearbyint(value); // the default rounding mode sends halves to even
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        throw ERangeError("pixel value " + std::to_string(value) + " does not fit in 32 bits");
    return static_cast<int>(rounded);
}

void set_coefficiants(TSettings& s)
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

void view_window_proc(TSettings& s)
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

void coord_to_pixel(const TSettings& s, int View, double a, double b, int& px, int& py)
{
    px = nearest(a * s.ScaleX[View] + s.OriginX[View]);
    py = nearest(b * s.ScaleY[View] + s.OriginY[View]);
}

void trans_pixel_coords(const TSettings& s, int View, int px, int py, double& x, double& y, double& z)
{
    if (View < 1 || View > 4)
        return;
    const double u = (px - s.OriginX[View]) / s.ScaleX[View];
    const double w = (py - s.OriginY[View]) / s.ScaleY[View];
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
    case 4: {
        double o1 = 0, o2 = 0, o3 = 0;
        Ops::get_3d_point(u, w, 0, o1, o2, o3);
        x = -o2, y = o1, z = 0;
        break;
    }
    }
}

void set_scale_factor(TSettings& s, int View, int Height)
{
    s.ScaleX[View] = (Height / 2.0) / s.HalfSize[View];
    s.ScaleY[View] = -s.ScaleX[View];
}

void set_origin(TSettings& s, int View, int Width, int Height)
{
    set_scale_factor(s, View, Height);
    s.OriginX[View] = centred_origin(s.CenterX[View], s.ScaleX[View], Width);
    s.OriginY[View] = centred_origin(s.CenterY[View], s.ScaleY[View], Height);
}

bool graphics_get_scale(TSettings& s, int View, int Width, int Height, int X1, int Y1, int X2, int Y2)
{
    if (X1 == X2 || Y1 == Y2)
        return false;
    s.PrevHalfSize[View] = s.HalfSize[View];
    s.PrevCenterX[View] = s.CenterX[View];
    s.PrevCenterY[View] = s.CenterY[View];

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
    s.CenterX[View] += (cx - Width / 2) / s.ScaleX[View];
    s.CenterY[View] += (cy - Height / 2) / s.ScaleY[View];

    set_origin(s, View, Width, Height);
    return true;
}

namespace {
void fit_to_extents(TSettings& s, int v, int Width, int Height)
{
    s.PrevHalfSize[v] = s.HalfSize[v];
    s.PrevCenterX[v] = s.CenterX[v];
    s.PrevCenterY[v] = s.CenterY[v];

    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    coord_to_pixel(s, v, s.ExtentMinX, s.ExtentMinY, x1, y1);
    coord_to_pixel(s, v, s.ExtentMaxX, s.ExtentMaxY, x2, y2);
    if (y1 == y2 || x1 == x2) {
        s.HalfSize[v] = s.ExtentMaxY - s.ExtentMinY;
        if (s.HalfSize[v] < kMinHalfSize) {
            s.HalfSize[v] = kMinHalfSize;
            s.ExtentMinX = s.ExtentMinY = -kMinHalfSize;
            s.ExtentMaxX = s.ExtentMaxY = kMinHalfSize;
        }
    } else {
        const double d = std::max(std::abs(static_cast<double>(x1) - x2), std::abs(static_cast<double>(y1) - y2));
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

void set_scale(TSettings& s, double Mode, int Width, int Height)
{
    const int v = s.ViewNumber;
    Width = std::max(Width, 4);
    Height = std::max(Height, 4);
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
void widen(TSettings& s, double px, double py)
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
} // namespace

void set_max_min(TSettings& s, const TElement& e)
{
    switch (e.GetEtype()) {
    case etPoint:
        widen(s, e.slot(0), e.slot(1));
        break;
    case etLine:
        widen(s, e.slot(0), e.slot(1));
        widen(s, e.slot(3), e.slot(4));
        break;
    case etArc:
        if (e.slot(5) - e.slot(4) > 180) {
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
    s.ExtentMinX = std::max(s.ExtentMinX, -10000.0);
    s.ExtentMinY = std::max(s.ExtentMinY, -10000.0);
    s.ExtentMaxX = std::min(s.ExtentMaxX, 10000.0);
    s.ExtentMaxY = std::min(s.ExtentMaxY, 10000.0);
}

void get_max_min(TSettings& s, const TElements& elements)
{
    s.ExtentMaxX = s.ExtentMaxY = -9000;
    s.ExtentMinX = s.ExtentMinY = 9000;
    for (const TElement* e : elements)
        if (!e->GetDeleted() && s.LayerVisible[e->GetLayer()])
            set_max_min(s, *e);
}

void reset_extents(TSettings& s)
{
    s.ExtentMaxX = s.ExtentMaxY = s.ExtentMaxZ = -100;
    s.ExtentMinX = s.ExtentMinY = 100;
}

} // namespace orvex::view
