#include <OrvexGDI/OpsView.h>

#include <cmath>

namespace orvex::Ops {

namespace {
// Angles of the fixed isometric mapping, in radians.
constexpr double kAlpha = 0.9553164380543135; // 54.7356 degrees
constexpr double kBeta = 1.0471975511962746;  // 60 degrees
constexpr double kGamma = 0.5235987755981373; // 30 degrees

bool in_range(double value)
{
    return value >= -1e9 && value <= 1e9; // false for NaN
}
} // namespace

void get_3d_point(double s1, double s2, double s3, double& o1, double& o2, double& o3)
{
    o1 = std::sin(kAlpha) * (s1 + s2) * std::sin(kBeta);
    o2 = (std::sin(kGamma) * (s2 - s1) + s3) * std::sin(kAlpha);
    o3 = s3;
}

bool check_max_min(int Etype, double& c1, double& c2, double& c3, double& c4, double& c5, double& c6)
{
    switch (Etype) {
    case 1: // point
        if (!in_range(c1) || !in_range(c2))
            return false;
        break;
    case 2: // line and fill edge: both ends like the start; the end Z like the start Z
    case 15:
        if (!in_range(c1) || !in_range(c2) || !in_range(c4) || !in_range(c5))
            return false;
        if (!in_range(c6))
            c6 = 0;
        break;
    case 3: // arc and circle: centre and radius in range, angles finite
    case 4:
        if (!in_range(c1) || !in_range(c2) || !in_range(c4) || !std::isfinite(c5) || !std::isfinite(c6))
            return false;
        break;
    case 10: // image, ellipse, rectangle, clip rectangle: every slot in range
    case 12:
    case 13:
    case 14:
        return in_range(c1) && in_range(c2) && in_range(c3) && in_range(c4) && in_range(c5) && in_range(c6);
    default:
        return true;
    }
    if (!in_range(c3))
        c3 = 0;
    return true;
}

} // namespace orvex::Ops
