// Projection, scale computation and extents as plain functions of the view state.
#include "view/view_math.h"

#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>

using namespace orvex;

namespace {
TViewState fresh() { return TViewState(); }

using Pixel = std::pair<int, int>;

// The pixel the painter puts a model point at in view v.
Pixel pixel(TViewState& s, int v, double x, double y, double z)
{
    s.ViewNumber = v;
    view::view_window_proc(s);
    view::set_coefficiants(s);
    Pixel p{-1, -1};
    EXPECT_TRUE(view::Viewport::current(s).to_pixel(x, y, z, p.first, p.second));
    return p;
}
} // namespace

TEST(ViewNearest, RoundsHalvesToEvenAndRejectsValuesBeyond32Bits)
{
    EXPECT_EQ(view::nearest(2.5), 2);
    EXPECT_EQ(view::nearest(3.5), 4);
    EXPECT_EQ(view::nearest(-2.5), -2);
    EXPECT_EQ(view::nearest(-0.4), 0);
    EXPECT_EQ(view::nearest(2147483647.0), 2147483647);
    EXPECT_THROW(view::nearest(2147483648.0), ERangeError);
    EXPECT_THROW(view::nearest(-2147483649.0), ERangeError);
    EXPECT_THROW(view::nearest(std::nan("")), ERangeError);
}

TEST(ViewProjection, StandardViewsShowTheirTwoModelAxes)
{
    TViewState s = fresh();
    EXPECT_EQ(pixel(s, 1, 0, 0, 0), Pixel(10, 10));
    EXPECT_EQ(pixel(s, 1, 5, 3, 0), Pixel(15, 7));
    EXPECT_EQ(pixel(s, 1, 5, 3, 99), Pixel(15, 7)); // top view ignores Z
    EXPECT_EQ(pixel(s, 2, 2, 7, 3), Pixel(12, 7));  // front view: (x, z)
    EXPECT_EQ(pixel(s, 3, 2, 7, 3), Pixel(17, 7));  // side view: (y, z)

    // Default isometric view: u = 0.9397x + 0.3420y, w = -0.1170x + 0.3214y + 0.9397z.
    s.ViewNumber = 4;
    view::view_window_proc(s);
    view::set_coefficiants(s);
    double u = 0, w = 0;
    view::project(s, 4, 1, 1, 1, u, w);
    EXPECT_NEAR(u, 0.9397 + 0.3420, 1e-4);
    EXPECT_NEAR(w, -0.1170 + 0.3214 + 0.9397, 1e-4);
}

TEST(ViewProjection, PixelsMapBackToModelPointsPerView)
{
    TViewState s = fresh();
    s.ScaleX.fill(2.0);
    s.ScaleY.fill(-2.0);
    double x = 7, y = 7, z = 7;
    view::trans_pixel_coords(s, 1, 30, 4, x, y, z);
    EXPECT_DOUBLE_EQ(x, 10);
    EXPECT_DOUBLE_EQ(y, 3);
    EXPECT_DOUBLE_EQ(z, 0);
    view::trans_pixel_coords(s, 2, 30, 4, x, y, z);
    EXPECT_EQ(TDPoint({x, y, z}).Y, 0);
    EXPECT_DOUBLE_EQ(z, 3);
    view::trans_pixel_coords(s, 3, 30, 4, x, y, z);
    EXPECT_DOUBLE_EQ(x, 0);
    EXPECT_DOUBLE_EQ(y, 10);
    // The isometric inverse is fixed: x = K2 (u - w), y = K1 (u + w).
    view::trans_pixel_coords(s, 4, 30, 4, x, y, z);
    EXPECT_NEAR(x, 0.4082482 * (10 - 3), 1e-6);
    EXPECT_NEAR(y, 0.7071067 * (10 + 3), 1e-6);
    // Other view numbers leave the outputs alone.
    x = y = z = 42;
    view::trans_pixel_coords(s, 5, 30, 4, x, y, z);
    EXPECT_EQ(x, 42);
    EXPECT_EQ(z, 42);
}

TEST(ViewScale, FitToExtentsUsesTheLargerPixelExtentOfTheSmallerSide)
{
    TViewState s = fresh();
    s.ExtentMinX = 0, s.ExtentMaxX = 200; // 200 pixels wide at scale 1
    s.ExtentMinY = 0, s.ExtentMaxY = 100; // 100 pixels high
    view::set_scale(s, 0, 400, 300);
    EXPECT_DOUBLE_EQ(s.HalfSize[1], 10.0 * 200 / (300 - 30));
    EXPECT_DOUBLE_EQ(s.PrevHalfSize[1], 10.0);
    EXPECT_DOUBLE_EQ(s.CenterX[1], 100);
    EXPECT_DOUBLE_EQ(s.CenterY[1], 50);
    EXPECT_DOUBLE_EQ(s.ScaleX[1], 150 / s.HalfSize[1]);
    EXPECT_DOUBLE_EQ(s.ScaleY[1], -s.ScaleX[1]);
    // The centre lands on the window centre.
    EXPECT_EQ(view::nearest(100 * s.ScaleX[1] + s.OriginX[1]), 200);
    EXPECT_EQ(view::nearest(50 * s.ScaleY[1] + s.OriginY[1]), 150);
}

TEST(ViewScale, FlatExtentsCollapseToTheMinimumBox)
{
    TViewState s = fresh();
    s.ExtentMinX = 0, s.ExtentMaxX = 10;
    s.ExtentMinY = 5, s.ExtentMaxY = 5; // a horizontal line
    view::set_scale(s, 0, 400, 300);
    EXPECT_DOUBLE_EQ(s.HalfSize[1], 0.04);
    EXPECT_DOUBLE_EQ(s.ExtentMinX, -0.04);
    EXPECT_DOUBLE_EQ(s.ExtentMaxY, 0.04);
    EXPECT_DOUBLE_EQ(s.CenterX[1], 0);
    EXPECT_DOUBLE_EQ(s.CenterY[1], 0);
}

TEST(ViewScale, IsometricFitCentresThroughTheFixedMapping)
{
    TViewState s = fresh();
    s.ViewNumber = 4;
    s.ExtentMinX = 0, s.ExtentMaxX = 20;
    s.ExtentMinY = 0, s.ExtentMaxY = 10;
    view::set_scale(s, 0, 400, 300);
    EXPECT_NEAR(s.CenterX[4], 0.7071067 * (10 + 5), 1e-6);
    EXPECT_NEAR(s.CenterY[4], 0.4082482 * (5 - 10), 1e-6);
    EXPECT_DOUBLE_EQ(s.HalfSize[1], 10.0); // other views keep their zoom
}

TEST(ViewScale, ZoomModesAndTheirMemory)
{
    TViewState s = fresh();
    s.CenterX[1] = 3, s.PrevCenterX[1] = -3;
    view::set_scale(s, 3, 400, 300);
    EXPECT_DOUBLE_EQ(s.HalfSize[1], 20);
    view::set_scale(s, 4, 400, 300);
    EXPECT_DOUBLE_EQ(s.HalfSize[1], 10);
    EXPECT_DOUBLE_EQ(s.PrevHalfSize[1], 10);
    // Back after a half: the centres swap, the size does not change.
    view::set_scale(s, 2, 400, 300);
    EXPECT_DOUBLE_EQ(s.HalfSize[1], 10);
    EXPECT_DOUBLE_EQ(s.CenterX[1], -3);
    EXPECT_DOUBLE_EQ(s.PrevCenterX[1], 3);
    // Any other mode keeps size and centre; tiny sizes are raised to 0.04.
    s.HalfSize[1] = 0.001;
    view::set_scale(s, -1, 2, 2); // window below 4 pixels is taken as 4
    EXPECT_DOUBLE_EQ(s.HalfSize[1], 0.04);
    EXPECT_DOUBLE_EQ(s.ScaleX[1], 2 / 0.04);
    EXPECT_EQ(s.OriginX[1], 2 - view::nearest(-3 * s.ScaleX[1]));
}

TEST(ViewScale, OriginBeyond32BitsIsLimitedToTheDeepestZoomThatFits)
{
    TViewState s = fresh();
    s.HalfSize[1] = 1;
    s.CenterX[1] = 1e12;
    ASSERT_NO_THROW(view::set_scale(s, -1, 400, 300));
    EXPECT_DOUBLE_EQ(s.CenterX[1], 1e12);
    EXPECT_GT(s.HalfSize[1], 1e12 * 150 / 2147483647.0);
    EXPECT_LT(s.HalfSize[1], 1e12 * 150 / 2147000000.0);
    EXPECT_EQ(s.OriginX[1], 200 - view::nearest(1e12 * s.ScaleX[1]));
    // Beyond what even the widest view can show, the centre moves in.
    s.CenterY[1] = -1e300;
    ASSERT_NO_THROW(view::set_scale(s, -1, 400, 300));
    EXPECT_DOUBLE_EQ(s.HalfSize[1], 1e10);
    EXPECT_LT(s.CenterY[1], -1e16);
}

TEST(ViewExtents, ArcsWidenByFullSquareOnlyBeyondHalfATurn)
{
    TElements list;
    TViewState s = fresh();
    TElement& wide = list.Add();
    wide.SetEtype(etArc);
    for (int i = 1; i <= 6; ++i)
        wide.SetCoord(i, std::array<double, 6>{0, 0, 0, 5, 10, 200}[i - 1]);
    view::set_max_min(s, wide);
    EXPECT_DOUBLE_EQ(s.ExtentMaxX, 5);
    EXPECT_DOUBLE_EQ(s.ExtentMinY, -5);

    TViewState t = fresh();
    t.ExtentMinX = t.ExtentMinY = 100; // so the end points alone decide
    t.ExtentMaxX = t.ExtentMaxY = -100;
    wide.SetCoord(6, 100);
    view::set_max_min(t, wide);
    EXPECT_NEAR(t.ExtentMaxX, 5 * std::cos(10 / 57.2957795131), 1e-9);
    EXPECT_NEAR(t.ExtentMinX, 5 * std::cos(100 / 57.2957795131), 1e-9);
    EXPECT_NEAR(t.ExtentMaxY, 5 * std::sin(100 / 57.2957795131), 1e-9);
}

TEST(ViewExtents, ArcsInOtherPlanesWidenInModelCoordinates)
{
    // An arc of radius 2 centred at plane point (1, 3, 4), in the plane of
    // the DXF front view (x = u, y = -w, z = v) and in a plane turned a
    // quarter about Z (x = -v, y = u).
    struct Case {
        TArcView plane;
        double a1, a2;
        double minX, maxX, minY, maxY;
    };
    const Case cases[] = {
        // A quarter arc in the front plane: its ends at model (3, -4) and (1, -4).
        {{1, 0, 0, 0, 0, -1, 0, 1, 0, true}, 0, 90, 1, 3, -4, -4},
        // Beyond half a turn: the whole circle's box, in model X only.
        {{1, 0, 0, 0, 0, -1, 0, 1, 0, true}, 0, 270, -1, 3, -4, -4},
        // The turned plane: ends at model (-3, 3) and (-5, 1).
        {{0, -1, 0, 1, 0, 0, 0, 0, 1, true}, 0, 90, -5, -3, 1, 3},
    };
    for (const Case& c : cases) {
        TElements list;
        TViewState s = fresh();
        s.ExtentMinX = s.ExtentMinY = 100;
        s.ExtentMaxX = s.ExtentMaxY = -100;
        s.ArcViews[5] = c.plane;
        TElement& arc = list.Add();
        arc.SetEtype(etArc);
        arc.SetView(5);
        for (int i = 1; i <= 6; ++i)
            arc.SetCoord(i, std::array<double, 6>{1, 3, 4, 2, c.a1, c.a2}[i - 1]);
        view::set_max_min(s, arc);
        EXPECT_NEAR(s.ExtentMinX, c.minX, 1e-9) << c.a2;
        EXPECT_NEAR(s.ExtentMaxX, c.maxX, 1e-9) << c.a2;
        EXPECT_NEAR(s.ExtentMinY, c.minY, 1e-9) << c.a2;
        EXPECT_NEAR(s.ExtentMaxY, c.maxY, 1e-9) << c.a2;
    }
}

TEST(ViewExtents, ClampedAtTheFactoryRangeAndRecomputedFromVisibleLiveElements)
{
    TElements list;
    TViewState s = fresh();
    auto line = [&](double x1, double y1, double x2, double y2) -> TElement& {
        TElement& e = list.Add();
        e.SetEtype(etLine);
        e.SetLayer(1);
        e.SetCoord(1, x1), e.SetCoord(2, y1), e.SetCoord(4, x2), e.SetCoord(5, y2);
        return e;
    };
    view::set_max_min(s, line(-50000, 0, 50000, 3));
    EXPECT_DOUBLE_EQ(s.ExtentMinX, -50000);
    EXPECT_DOUBLE_EQ(s.ExtentMaxX, 50000);
    TElement& far = line(-3e9, -2e9, 2e9, 5e9); // beyond what the factory makes
    view::set_max_min(s, far);
    EXPECT_DOUBLE_EQ(s.ExtentMinX, -1e9);
    EXPECT_DOUBLE_EQ(s.ExtentMaxY, 1e9);
    far.SetDeleted(true);

    line(1, 2, 3, 4).SetDeleted(true);
    line(5, 6, 7, 8).SetLayer(7);
    s.LayerVisible[7] = false;
    list[0].SetCoord(1, 2), list[0].SetCoord(4, 9);
    view::get_max_min(s, list);
    EXPECT_DOUBLE_EQ(s.ExtentMinX, 2);
    EXPECT_DOUBLE_EQ(s.ExtentMaxX, 9);
    EXPECT_DOUBLE_EQ(s.ExtentMaxY, 3);

    list[0].SetLayer(300); // a layer outside the table ends the recomputation
    EXPECT_THROW(view::get_max_min(s, list), ERangeError);

    view::reset_extents(s);
    EXPECT_EQ(s.ExtentMaxX, -100);
    EXPECT_EQ(s.ExtentMinY, 100);
    EXPECT_EQ(s.ExtentMaxZ, -100);
}
