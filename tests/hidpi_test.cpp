// The control on a scaled screen: its picture has device pixels, while every
// coordinate the interface takes or gives stays in logical pixels. CTest runs
// this suite at QT_SCALE_FACTOR 1, 1.5 and 2.
#include <OrvexGDI/QOrvexGDI.h>

#include <QDir>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using namespace orvex;

namespace {

double expected_ratio()
{
    return qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1.0;
}

// A 200 x 100 control showing 100 model units in its height about the
// origin: one logical pixel per unit, the origin at the centre (100, 50).
class ScaledControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        control.resize(200, 100);
        control.SetBackgroundColor(0x000000);
        control.SetCurrentColor(0x00FF00);
        control.MakeLine(-60, 20, 0, 60, 20, 0); // logical row 30
        control.SetViewSize(100);
        control.ViewCenter(0, 0);
        control.Redraw();
    }

    TOrvexGDI control;
};

TEST_F(ScaledControl, PictureHasDevicePixels)
{
    const double ratio = expected_ratio();
    ASSERT_DOUBLE_EQ(control.devicePixelRatioF(), ratio) << "QT_SCALE_FACTOR did not reach the widget";
    const QImage& picture = *control.GetBitmap();
    EXPECT_EQ(picture.size(), QSize(int(std::ceil(200 * ratio)), int(std::ceil(100 * ratio))));
    EXPECT_DOUBLE_EQ(picture.devicePixelRatio(), ratio);
    EXPECT_EQ(control.GetPictureSize(), QSize(200, 100));

    // The line at logical row 30 lies in device row 30 * ratio, as thin as
    // the pen in device pixels, not stretched from a logical-size picture.
    const int x = int(100 * ratio);
    int lit = 0, first = -1;
    for (int y = 0; y < picture.height(); ++y)
        if (QColor(picture.pixel(x, y)).green() > 128) {
            ++lit;
            first = first < 0 ? y : first;
        }
    EXPECT_NEAR(first, 30 * ratio, 1.0);
    EXPECT_GE(lit, 1);
    EXPECT_LE(lit, int(std::ceil(ratio)) + 1);
}

TEST_F(ScaledControl, MappingIsInLogicalPixels)
{
    EXPECT_EQ(control.CoordToPixel(10, 20, 0), QPoint(110, 30));
    const TDPoint p = control.PixelToCoord(150, 75);
    EXPECT_DOUBLE_EQ(p.X, 50);
    EXPECT_DOUBLE_EQ(p.Y, -25);

    // ZoomWindow takes logical corners: the window's centre moves to the
    // model point that was at the rectangle's centre.
    const TDPoint middle = control.PixelToCoord(50, 25);
    control.ZoomWindow(0, 0, 100, 50);
    const TDPoint centre = control.PixelToCoord(100, 50);
    EXPECT_NEAR(centre.X, middle.X, 1.0);
    EXPECT_NEAR(centre.Y, middle.Y, 1.0);
}

TEST_F(ScaledControl, MouseEventsArriveInLogicalPixels)
{
    int picked = -1, downX = -1, downY = -1;
    control.OnPick = [&](QObject*, int index, TDPoint, TDPoint, TDPoint, TDPoint) { picked = index; };
    control.OnMouseDown = [&](QObject*, Qt::MouseButton, TShiftState, int X, int Y) {
        downX = X;
        downY = Y;
    };
    control.Pick();
    QTest::mouseClick(&control, Qt::LeftButton, Qt::NoModifier, QPoint(130, 31));
    EXPECT_EQ(downX, 130);
    EXPECT_EQ(downY, 31);
    EXPECT_EQ(picked, 0);
}

TEST_F(ScaledControl, ExportedPictureHasTheLogicalSize)
{
    const QString file =
        QDir(QStringLiteral(ORVEX_TEST_OUTPUT_DIR)).filePath(QStringLiteral("hidpi_%1.bmp").arg(expected_ratio()));
    control.SaveBMP(file);
    const QImage saved(file);
    ASSERT_EQ(saved.size(), QSize(200, 100));
    EXPECT_GT(QColor(saved.pixel(100, 30)).green(), 100);
    EXPECT_EQ(QColor(saved.pixel(100, 60)).green(), 0);
}

} // namespace
