#include <OrvexGDI/OrvexControl.h>

#include <QPainter>
#include <gtest/gtest.h>

using namespace orvex;

namespace {
// Exposes the protected picture management for the tests.
class Surface : public TGDIPCanvas {
public:
    using TGDIPCanvas::AllocateCanvas;
    using TGDIPCanvas::Bitmap;
    using TGDIPCanvas::Graphics;
};
} // namespace

TEST(PaintSurface, PictureHasTheControlSizeAndIsRemadeEmptyAfterAResize)
{
    Surface surface;
    surface.resize(120, 80);
    surface.AllocateCanvas();
    ASSERT_NE(surface.GetBitmap(), nullptr);
    EXPECT_EQ(surface.GetBitmap()->size(), QSize(120, 80));
    surface.GetCanvas()->fillRect(QRect(0, 0, 120, 80), Qt::red);
    QPainter* before = surface.GetCanvas();

    surface.AllocateCanvas(); // same size: same picture, drawing kept
    EXPECT_EQ(surface.GetCanvas(), before);
    EXPECT_EQ(surface.GetBitmap()->pixelColor(5, 5), QColor(Qt::red));

    surface.resize(60, 40);
    const QImage shown = surface.grab().toImage(); // a paint makes the new picture
    EXPECT_EQ(surface.GetBitmap()->size(), QSize(60, 40));
    EXPECT_EQ(surface.GetBitmap()->pixel(5, 5), 0u); // holds no drawing
    EXPECT_EQ(shown.size(), QSize(60, 40));
}

TEST(PaintSurface, TransparentChoosesTheFormatOfTheNextPictureOnly)
{
    Surface surface;
    surface.resize(50, 50);
    surface.AllocateCanvas();
    EXPECT_TRUE(surface.GetTransparent());
    EXPECT_TRUE(surface.GetBitmap()->hasAlphaChannel());

    surface.SetTransparent(false);
    surface.AllocateCanvas();
    EXPECT_TRUE(surface.GetBitmap()->hasAlphaChannel()); // same size: kept

    surface.resize(51, 50);
    surface.AllocateCanvas();
    EXPECT_FALSE(surface.GetBitmap()->hasAlphaChannel());
}

TEST(PaintSurface, PaintShowsThePictureAndCallsOnPaintWithTheOffScreenGraphics)
{
    Surface surface;
    surface.resize(40, 30);
    surface.AllocateCanvas();
    surface.GetCanvas()->fillRect(QRect(0, 0, 40, 30), QColor(10, 20, 30));
    EXPECT_EQ(surface.grab().toImage().pixelColor(20, 15), QColor(10, 20, 30)); // no OnPaint handler

    QPainter* handed = nullptr;
    surface.OnPaint = [&](QPainter& canvas) {
        handed = &canvas;
        canvas.fillRect(QRect(0, 0, 10, 10), QColor(200, 0, 0));
    };
    const QImage shown = surface.grab().toImage();
    EXPECT_EQ(handed, surface.GetCanvas());
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(200, 0, 0));
    EXPECT_EQ(shown.pixelColor(20, 15), QColor(10, 20, 30));
}

TEST(PaintSurface, RenderCheckedFillsTwoColourCheckerboard)
{
    Surface surface;
    surface.resize(32, 32);
    surface.AllocateCanvas();
    surface.RenderChecked(*surface.GetCanvas(), 0xFFFF0000u, 0xFF0000FFu);
    const QImage& picture = *surface.GetBitmap();
    EXPECT_EQ(picture.pixelColor(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(9, 1), QColor(0, 0, 255));
    EXPECT_EQ(picture.pixelColor(9, 9), QColor(255, 0, 0));
}
