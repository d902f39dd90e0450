// The paint pass: figures, colours, pens, fills, clipping and the element loop.
#include "picture_compare.h"
#include "recording_device.h"
#include "render/element_painter.h"
#include "view/view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

using namespace orvex;

namespace {
constexpr int kW = 200, kH = 150;

// A control whose top view maps model units one to one onto pixels with the
// model origin at the bottom-left corner: pixel (x, 150 - y).
class Drawing : public TOrvexGDI {
public:
    Drawing()
    {
        resize(kW, kH);
        Settings->OriginX[1] = 0;
        Settings->OriginY[1] = kH;
        Settings->DrawColor = 0x0000FF; // red
    }
    QColor at(double x, double y) const
    {
        return GetBitmap()->pixelColor(static_cast<int>(x), kH - static_cast<int>(y));
    }
    // Whether a pixel next to the one nearest the model point has the colour:
    // where a curve crosses between pixel centres either neighbour may be lit.
    bool lit_near(double x, double y, const QColor& colour) const
    {
        const int px = static_cast<int>(std::lround(x)), py = kH - static_cast<int>(std::lround(y));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (GetBitmap()->pixelColor(px + dx, py + dy) == colour)
                    return true;
        return false;
    }
    // Records one element-loop pass instead of rasterising it.
    RecordingEngine& record(int Mode = 1)
    {
        view::set_coefficiants(*Settings);
        QPainter painter(&device_);
        plot_elements(painter, Settings->ViewNumber, Mode);
        painter.end();
        return device_.engine;
    }

private:
    RecordingDevice device_{kW, kH};
};

const QColor kRed(255, 0, 0), kBlack(0, 0, 0);
} // namespace

TEST(RenderFigures, LineAndPointPixels)
{
    Drawing d;
    d.MakeLine(10, 20, 0, 60, 20, 0);
    d.MakePoint(100, 100, 0);
    d.Redraw();
    EXPECT_EQ(d.at(10, 20), kRed);
    EXPECT_EQ(d.at(35, 20), kRed);
    EXPECT_EQ(d.at(60, 20), kRed);
    EXPECT_EQ(d.at(35, 21), kBlack);
    // A point is a plus sign with arms of 5 pixels.
    for (int k = -5; k <= 5; ++k) {
        EXPECT_EQ(d.at(100 + k, 100), kRed) << k;
        EXPECT_EQ(d.at(100, 100 + k), kRed) << k;
    }
    EXPECT_EQ(d.at(106, 100), kBlack);
    EXPECT_EQ(d.at(101, 101), kBlack);
}

TEST(RenderFigures, HighlightsReplaceTheColourExceptForRectanglesAndEllipses)
{
    Drawing d;
    d.Settings->BackgroundColor = 0x404040;
    d.Settings->BackgroundBrush.setColor(QColor(0x40, 0x40, 0x40));
    const struct {
        int highlight;
        QColor expected;
    } rows[] = {{0, kRed},
                {1, QColor(255, 255, 0)},
                {2, kRed},
                {3, QColor(64, 64, 64)},
                {5, QColor(255, 0, 255)},
                {7, QColor(99, 0, 0)},
                {9, kRed}};
    d.Settings->DrawColor = 0x0000FF;
    for (int i = 0; i < 7; ++i) {
        const int index = d.MakeLine(10, 10 + 10 * i, 0, 50, 10 + 10 * i, 0);
        d.GetElement(index).SetHighlight(static_cast<std::uint8_t>(rows[i].highlight));
    }
    d.Settings->DrawColor = 0x00FF00;
    d.GetElement(d.MakeFilledRect(150, 30, 20, 20, 100)).SetHighlight(1);
    d.Redraw();
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(d.at(30, 10 + 10 * i), rows[i].expected) << "highlight " << rows[i].highlight;
    EXPECT_EQ(d.at(150, 30), QColor(0, 255, 0)); // own colour, not yellow
}

// White is the foreground colour: drawn black on light backgrounds, white on
// dark ones; other colours and highlights (the background of highlight 3
// too) are drawn as they are.
TEST(RenderFigures, WhiteStandsOutOnEveryBackground)
{
    const struct {
        TColor background, colour;
        int highlight;
        QColor expected;
    } rows[] = {{0x000000, 0xFFFFFF, 0, QColor(255, 255, 255)},
                {0x303030, 0xFFFFFF, 0, QColor(255, 255, 255)},
                {0xFFFFFF, 0xFFFFFF, 0, kBlack},
                {0xC0C0C0, 0xFFFFFF, 0, kBlack},
                {0xFFFFFF, 0xFEFFFF, 0, QColor(255, 255, 254)},
                {0xFFFFFF, 0xFFFFFF, 1, QColor(255, 255, 0)},
                {0xFFFFFF, 0x0000FF, 3, QColor(255, 255, 255)}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.background << " " << row.colour << " " << row.highlight);
        Drawing d;
        d.SetBackgroundColor(row.background);
        d.Settings->DrawColor = row.colour;
        d.GetElement(d.MakeLine(10, 20, 0, 60, 20, 0)).SetHighlight(static_cast<std::uint8_t>(row.highlight));
        d.MakeEllipse(120, 50, 30, 20);
        d.Redraw();
        EXPECT_EQ(d.at(35, 20), row.expected);
        if (row.highlight == 0) {
            EXPECT_EQ(d.at(120, 60), row.expected) << "the ellipse";
        }
    }
}

TEST(RenderPens, UnlistedLineTypesKeepTheDashStyleOfThePreviousOutline)
{
    Drawing d;
    // 20, the last of the narrow codes, is stored as it stands when set on an element.
    for (int lineType : {3, 5, 25, 21, 2, 20})
        d.GetElement(d.MakeLine(0, 0, 0, 10, 10, 0)).SetLineType(lineType);
    const RecordingEngine& rec = d.record();
    ASSERT_EQ(rec.lines.size(), 6u);
    const struct {
        Qt::PenStyle style;
        double width;
    } expected[] = {{Qt::DashDotLine, 1}, {Qt::DashDotLine, 1}, {Qt::DashDotLine, 2},
                    {Qt::SolidLine, 2},   {Qt::DotLine, 1},     {Qt::DotLine, 1}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rec.lines[i].pen.style(), expected[i].style) << i;
        EXPECT_EQ(rec.lines[i].pen.widthF(), expected[i].width) << i;
    }
    // The style stays in force into the next paint pass.
    EXPECT_EQ(d.Settings->Pen.style(), Qt::DotLine);
}

TEST(RenderPens, NegativeColourGoesToThePenUnchangedAsArgb)
{
    Drawing d;
    d.Settings->DrawColor = static_cast<TColor>(0x80FF0000u); // half-transparent red in ARGB
    d.MakeLine(0, 0, 0, 10, 0, 0);
    d.Settings->DrawColor = 0x00FF00;
    d.MakeLine(0, 0, 0, 10, 0, 0);
    const RecordingEngine& rec = d.record();
    ASSERT_EQ(rec.lines.size(), 2u);
    EXPECT_EQ(rec.lines[0].pen.color().rgba(), 0x80FF0000u);
    EXPECT_EQ(rec.lines[1].pen.color().rgba(), 0xFF00FF00u);
}

TEST(RenderArcs, TopViewArcFrom350To10PassesThroughZero)
{
    Drawing d;
    d.MakeArc(1, 100, 75, 0, 40, 350, 10);
    d.Redraw();
    EXPECT_EQ(d.at(140, 75), kRed);  // 0 degrees
    EXPECT_EQ(d.at(60, 75), kBlack); // 180 degrees
    EXPECT_EQ(d.at(100, 115), kBlack);
    EXPECT_EQ(d.at(100, 35), kBlack);
}

TEST(RenderArcs, QuarterArcCoversItsQuadrantOnly)
{
    Drawing d;
    d.MakeArc(1, 100, 75, 0, 40, 0, 90);
    d.Redraw();
    const double r = 40 / std::sqrt(2.0);
    EXPECT_TRUE(d.lit_near(100 + r, 75 + r, kRed));                     // 45 degrees
    EXPECT_EQ(d.at(std::lround(100 - r), std::lround(75 - r)), kBlack); // 225 degrees
    EXPECT_EQ(d.at(std::lround(100 + r), std::lround(75 - r)), kBlack); // 315 degrees
}

TEST(RenderArcs, PolylineSegmentCountFollowsArcLength)
{
    const struct {
        double radius, start, end;
        std::size_t lines;
    } rows[] = {
        {50, 0, 0, 32},     // 314 px of arc: 31 segments, then the closing line
        {10, 0, 90, 11},    // short arcs get at least 10 segments
        {10000, 0, 0, 360}, // long arcs at most 360, no closing line
    };
    for (const auto& row : rows) {
        Drawing d;
        d.Settings->PolylineArcs = true;
        d.MakeArc(1, 0, 0, 0, row.radius, row.start, row.end);
        EXPECT_EQ(d.record().lines.size(), row.lines) << "radius " << row.radius;
    }
}

TEST(RenderArcs, ArcViewTwoDrawsInTheModelXZPlane)
{
    Drawing d;
    d.MakeArc(2, 100, 75, 30, 40, 0, 180); // plane point (u, v, w) -> model (u, -w, v)
    const RecordingEngine& rec = d.record();
    ASSERT_FALSE(rec.lines.empty());
    for (const RecordedLine& l : rec.lines) {
        EXPECT_EQ(l.line.y1(), kH + 30); // model Y = -30 everywhere
        EXPECT_EQ(l.line.y2(), kH + 30);
    }
    // Arc views naming no plane draw nothing.
    Drawing none;
    none.MakeArc(91, 0, 0, 0, 40, 0, 180);
    EXPECT_TRUE(none.record().lines.empty());
}

TEST(RenderCircles, FillCodes)
{
    QImage texture(4, 4, QImage::Format_RGB32);
    texture.fill(QColor(10, 200, 30));
    Drawing d;
    d.Settings->DrawColor = 0xFF0000;  // blue
    d.MakeCircle(100, 30, 30, 0, 20);  // solid
    d.MakeCircle(200, 80, 30, 0, 20);  // linear gradient at 0 degrees, colour to white
    d.MakeCircle(101, 130, 30, 0, 20); // radial
    d.MakeCircle(1, 170, 30, 0, 20);   // outline
    const int textured = d.MakeCircle(600, 30, 100, 0, 20);
    d.GetElement(textured).SetImage(&texture);
    d.Redraw();

    EXPECT_EQ(d.at(30, 30), QColor(0, 0, 255));
    const QColor left = d.at(64, 30), right = d.at(96, 30);
    EXPECT_LT(left.red(), right.red()); // whiter to the right
    EXPECT_GT(left.blue(), 200);
    const QColor rim = d.at(111, 30), middle = d.at(130, 30);
    EXPECT_LT(rim.red(), middle.red()); // bell-shaped: coloured at the rim, pale at the centre
    EXPECT_EQ(d.at(170, 30), kBlack);   // outline only
    EXPECT_EQ(d.at(190, 30), QColor(0, 0, 255));
    EXPECT_EQ(d.at(30, 100), QColor(10, 200, 30));
}

TEST(RenderCircles, TranslucentGradientTakesItsAlphasFromLineTypeAndColour)
{
    Drawing d;
    d.Settings->BackgroundColor = 0x0000FF;
    d.Settings->BackgroundBrush.setColor(kRed);
    d.Settings->LineType = 0;                                 // black fully transparent at the start
    d.Settings->DrawColor = static_cast<TColor>(0xFF000000u); // white fully opaque at the end
    d.MakeCircle(601, 100, 75, 0, 40);
    d.Redraw();
    // Transparent black at the left rim leaves the background, opaque white
    // at the right rim covers it.
    EXPECT_EQ(d.at(62, 75).red(), 255);
    EXPECT_LT(d.at(62, 75).green(), 16);
    EXPECT_GT(d.at(138, 75).green(), 230);
}

TEST(RenderCircles, CirclesBelowHalfAPixelAndFarOffScreenAreSkipped)
{
    Drawing d;
    d.MakeCircle(1, 50, 50, 0, 0.4);
    d.MakeCircle(100, 5e5, 50, 0, 10);
    const RecordingEngine& rec = d.record();
    EXPECT_TRUE(rec.ellipses.empty());
    EXPECT_TRUE(rec.paths.empty());
}

TEST(RenderClip, ClipPersistsIntoTheNextPassUntilReset)
{
    Drawing d;
    d.MakeClipRect(0, 150, 100, 150); // left half of the picture
    d.MakeLine(0, 50, 0, 199, 50, 0);
    d.Redraw();
    EXPECT_EQ(d.at(50, 50), kRed);
    EXPECT_EQ(d.at(150, 50), kBlack);

    // The next pass, background fill included, is still clipped.
    d.SetBackgroundColor(0xFF0000);
    EXPECT_EQ(d.at(50, 10), QColor(0, 0, 255));
    EXPECT_EQ(d.at(150, 10), kBlack);

    d.MakeClipRect(-999, -999, 0, 0);
    d.Redraw(); // still clipped while the background is filled
    d.Redraw(); // the reset at the end of the last pass lets this one fill everything
    EXPECT_EQ(d.at(150, 10), QColor(0, 0, 255));
}

TEST(RenderClip, WithoutAClipElementThePictureKeepsAClipOfItsOwnSize)
{
    // A rectangle clip lets the raster engine write pixels directly; the
    // picture's own rectangle changes none of them.
    Drawing d;
    d.MakeLine(0, 50, 0, 199, 50, 0);
    d.Redraw();
    const QPainter& g = *d.GetCanvas();
    EXPECT_TRUE(g.hasClipping());
    EXPECT_EQ(g.clipBoundingRect(), QRectF(0, 0, kW, kH));
    d.MakeClipRect(0, 150, 100, 150);
    d.Redraw();
    EXPECT_EQ(g.clipBoundingRect(), QRectF(0, 0, 100, kH));
    d.MakeClipRect(-999, -999, 0, 0);
    d.Redraw();
    EXPECT_EQ(g.clipBoundingRect(), QRectF(0, 0, kW, kH));
}

TEST(RenderLoop, DragModeDrawsTheFirst200VisibleElements)
{
    Drawing d;
    d.SetVisibleLayer(9, false);
    d.SetCurrentLayer(9);
    d.MakeLine(1, 1, 0, 2, 2, 0); // hidden: does not count
    d.SetCurrentLayer(1);
    for (int i = 0; i < 250; ++i)
        d.MakeLine(i, 0, 0, i, 10, 0);
    const RecordingEngine& rec = d.record(4);
    ASSERT_EQ(rec.lines.size(), 200u);
    EXPECT_EQ(rec.lines.front().line.x1(), 0);
    EXPECT_EQ(rec.lines.back().line.x1(), 199);
}

TEST(RenderLoop, GroupAndHighlightModesAndUnknownViews)
{
    Drawing d;
    for (int h : {0, 2, 5, 2})
        d.GetElement(d.MakePoint(10, 10, 0)).SetHighlight(static_cast<std::uint8_t>(h));
    d.GetElement(d.MakePoint(10, 10, 0)).SetDeleted(true);
    EXPECT_EQ(Drawing().record(2).lines.size(), 0u);
    const auto countFor = [&](int mode) {
        view::set_coefficiants(*d.Settings);
        RecordingDevice device;
        QPainter painter(&device);
        d.plot_elements(painter, 1, mode);
        painter.end();
        return device.engine.lines.size() / 2; // two strokes per point
    };
    EXPECT_EQ(countFor(0), 4u);
    EXPECT_EQ(countFor(2), 2u);
    EXPECT_EQ(countFor(3), 1u);
    EXPECT_EQ(countFor(7), 0u);
    RecordingDevice device;
    QPainter painter(&device);
    d.plot_elements(painter, 5, 0);
    painter.end();
    EXPECT_TRUE(device.engine.lines.empty());
}

TEST(RenderLoop, AxisRunsThroughTheOriginOverTheVisibleSize)
{
    Drawing d;
    d.Settings->CenterX[1] = 3;
    d.Settings->CenterY[1] = -8;
    d.Settings->HalfSize[1] = 10;
    d.SetShowAxis(true);
    const RecordingEngine& rec = d.record();
    ASSERT_EQ(rec.lines.size(), 3u);
    EXPECT_EQ(rec.lines[0].line, QLineF(-18, kH, 18, kH));
    EXPECT_EQ(rec.lines[1].line, QLineF(0, kH + 18, 0, kH - 18));
    EXPECT_EQ(rec.lines[2].line, QLineF(0, kH, 0, kH)); // the Z axis is a point from above
    EXPECT_EQ(rec.lines[0].pen.color(), kRed);
}

TEST(RenderLoop, LinesBeyondTheRasterAreLeftOutAndThePassGoesOn)
{
    Drawing d;
    d.MakeLine(0, 0, 0, 1e9, 1e9, 0);
    d.MakePoint(1e9, 0, 0);
    d.MakeLine(10, 20, 0, 60, 20, 0);
    d.Settings->ScaleX[1] = 1e3;
    d.Settings->ScaleY[1] = -1e3;
    EXPECT_NO_THROW(d.Redraw());
    d.Settings->ScaleX[1] = 1;
    d.Settings->ScaleY[1] = -1;
    d.Redraw();
    EXPECT_EQ(d.at(35, 20), kRed);
}

TEST(RenderBatching, OneCallPerSolidRunGivesTheSamePictureAsOneCallPerLine)
{
    for (bool antialias : {false, true}) {
        Drawing d;
        d.SetAntiAlias(antialias);
        for (int i = 0; i < 60; ++i) {
            d.Settings->DrawColor = (i / 20) % 2 ? 0x00FF00 : 0x0000FF;
            d.MakeLine(i * 3, 0, 0, 199 - i * 2, 149 - i, 0);
        }
        d.Redraw();
        const QImage batched = d.GetBitmap()->copy();

        QImage single(kW, kH, batched.format());
        single.fill(Qt::black);
        QPainter p(&single);
        p.setRenderHint(QPainter::Antialiasing, antialias);
        for (const TElement* e : *d.Elements) {
            p.setPen(QPen(opaque_color(e->GetColor()), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
            p.drawLine(QPoint(int(e->slot(0)), kH - int(e->slot(1))), QPoint(int(e->slot(3)), kH - int(e->slot(4))));
        }
        p.end();
        EXPECT_TRUE(
            testing_pictures::same_picture(batched, single, antialias ? "batched-lines-antialiased" : "batched-lines"));
        EXPECT_LE(d.record().calls, 3); // three colour runs
    }
}

TEST(RenderRaster, WholeDrawingAtAliasingOffMatchesThePainter)
{
    // The picture's own pixel writer against the same pass through QPainter
    // alone (a picture format the writer does not take).
    Drawing d;
    d.Settings->DrawColor = 0x00FF00;
    for (int i = 0; i < 12; ++i)
        d.MakeLine(5 + i * 15, 5, 0, 195 - i * 9, 140, 0);
    d.Settings->LineType = 21; // two pixels wide
    d.MakeLine(10, 100, 0, 190, 130, 0);
    d.Settings->LineType = 2; // dotted: QPainter
    d.MakeLine(10, 90, 0, 190, 60, 0);
    d.Settings->LineType = 1;
    d.MakePoint(100, 75, 0);
    d.MakeArc(1, 100, 75, 0, 40, 30, 250);
    d.MakeArc(1, 60, 40, 0, 25, 300, 120);
    d.MakeCircle(1, 150, 50, 0, 30);
    d.MakeCircle(100, 40, 110, 0, 12);
    d.MakeEllipse(120, 110, 41, 23);
    d.Settings->DrawColor = static_cast<TColor>(0x80FF0000); // translucent: QPainter
    d.MakeLine(0, 0, 0, 199, 149, 0);
    d.Redraw();

    QImage expected(kW, kH, QImage::Format_ARGB32);
    expected.fill(Qt::black);
    QPainter painter(&expected);
    view::set_coefficiants(*d.Settings);
    d.plot_elements(painter, 1, 1);
    painter.end();
    EXPECT_TRUE(testing_pictures::similar_picture(*d.GetBitmap(), expected, "whole-drawing", 0.05));
}

TEST(RenderFigures, RectanglesEllipsesAndImagesAreDrawnFlatFromTheirCentreOrCorner)
{
    QImage picture(10, 6, QImage::Format_RGB32);
    picture.fill(QColor(1, 2, 3));
    Drawing d;
    d.MakeFilledRect(30, 30, 20, 10, 1); // outline from (20, 25) to (40, 35)
    d.MakeEllipse(100, 30, 40, 20);
    d.MakeImage(&picture, 150, 100, 10, 6); // top-left corner at the model point
    d.Redraw();
    EXPECT_EQ(d.at(20, 30), kRed);
    EXPECT_EQ(d.at(40, 30), kRed);
    EXPECT_EQ(d.at(30, 35), kRed);
    EXPECT_EQ(d.at(30, 30), kBlack); // not filled
    EXPECT_EQ(d.at(80, 30), kRed);   // ellipse ends at cx -+ 20
    EXPECT_EQ(d.at(120, 30), kRed);
    EXPECT_EQ(d.at(100, 30), kBlack);
    EXPECT_EQ(d.at(150, 100), QColor(1, 2, 3));
    EXPECT_EQ(d.at(159, 95), QColor(1, 2, 3));
    EXPECT_EQ(d.at(160, 100), kBlack);
    EXPECT_EQ(d.at(150, 101), kBlack);
}

TEST(RenderCanvas, MetafileCanvasGetsOutlinesWithItsOwnPenRules)
{
    Drawing d;
    d.MakePoint(50, 50, 0);
    d.MakeCircle(100, 100, 75, 0, 20); // fill ignored on a canvas
    d.GetElement(d.MakeLine(0, 0, 0, 10, 0, 0)).SetHighlight(1);
    d.GetElement(d.Elements->Count() - 1).SetLineType(3);
    d.MakeArc(1, 100, 75, 0, 30, 0, 90);

    RecordingDevice canvas;
    QPainter canvasPainter(&canvas);
    d.Settings->CanvasMode = true;
    d.Settings->OutputCanvas = &canvasPainter;
    RecordingDevice picture;
    QPainter picturePainter(&picture);
    view::set_coefficiants(*d.Settings);
    d.plot_elements(picturePainter, 1, 1);
    canvasPainter.end();
    picturePainter.end();
    d.Settings->CanvasMode = false;
    d.Settings->OutputCanvas = nullptr;

    const RecordingEngine& rec = canvas.engine;
    ASSERT_EQ(rec.lines.size(), 3u);
    EXPECT_EQ(rec.lines[1].line, QLineF(50, kH - 50 + 5, 50, kH - 50 - 5)); // vertical arm drawn upwards
    EXPECT_EQ(rec.lines[2].pen.color(), kRed);                              // highlights do not apply to the metafile
    EXPECT_EQ(rec.lines[2].pen.style(), Qt::DashDotLine);
    EXPECT_EQ(rec.ellipses.size() + rec.paths.size(), 2u); // the circle outline and the arc
    EXPECT_TRUE(picture.engine.lines.empty());
}

TEST(RenderCanvas, PrinterInMonochromeDrawsEverythingBlack)
{
    Drawing d;
    d.MakeLine(0, 0, 0, 10, 0, 0);
    RecordingDevice page;
    QPainter pagePainter(&page);
    pagePainter.setPen(QPen(Qt::black, 3.0));
    d.Settings->Printing = true;
    d.Settings->PrintMonochrome = true;
    d.Settings->OutputCanvas = &pagePainter;
    QImage unused(10, 10, QImage::Format_RGB32);
    QPainter other(&unused);
    d.plot_elements(other, 1, 1);
    pagePainter.end();
    d.Settings->Printing = false;
    d.Settings->OutputCanvas = nullptr;
    ASSERT_EQ(page.engine.lines.size(), 1u);
    EXPECT_EQ(page.engine.lines[0].pen.color(), kBlack);
    EXPECT_EQ(page.engine.lines[0].pen.widthF(), 3.0); // the printer's own pen width stays
}

// ---------------------------------------------------------------- filled regions

namespace {
// The square 40..160 x 20..130 less the square 80..120 x 55..95: one region
// of two loops.
void add_ring(TOrvexGDI& d, TColor colour)
{
    const double loops[2][4][2] = {{{40, 20}, {160, 20}, {160, 130}, {40, 130}},
                                   {{80, 55}, {120, 55}, {120, 95}, {80, 95}}};
    for (const auto& loop : loops)
        for (int i = 0; i < 4; ++i)
            d.make_element(etFillEdge, loop[i][0], loop[i][1], 0, loop[(i + 1) % 4][0], loop[(i + 1) % 4][1], 0, colour,
                           1, 1, 0, 1);
}
} // namespace

// The ring is filled and its hole is not, on the whole view and on views
// close enough that no edge is in sight (a redraw through the element index
// visits only what lies near the window there).
TEST(RenderRegions, RingIsFilledButNotItsHoleAlsoWhenNoEdgeIsInView)
{
    struct Row {
        const char* what;
        double scale, left, bottom; // pixels a unit, model point at the bottom-left corner
        double x, y;                // a model point probed
        bool filled;
    };
    const Row rows[] = {
        {"whole: band", 1, 0, 0, 60, 75, true},      {"whole: hole", 1, 0, 0, 100, 75, false},
        {"whole: outside", 1, 0, 0, 20, 75, false},  {"close: band", 10, 45, 25, 55, 32, true},
        {"close: hole", 10, 90, 65, 100, 72, false}, {"close: outside", 10, 5, 5, 15, 12, false},
    };
    for (const bool indexed : {true, false})
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (indexed ? ", indexed" : ""));
            Drawing d;
            add_ring(d, 0x0000FF);
            d.Settings->UseElementIndex = indexed;
            d.Settings->ScaleX[1] = row.scale;
            d.Settings->ScaleY[1] = -row.scale;
            d.Settings->OriginX[1] = static_cast<int>(-row.left * row.scale);
            d.Settings->OriginY[1] = static_cast<int>(kH + row.bottom * row.scale);
            d.Redraw();
            const int px = static_cast<int>((row.x - row.left) * row.scale),
                      py = kH - static_cast<int>((row.y - row.bottom) * row.scale);
            EXPECT_EQ(d.GetBitmap()->pixelColor(px, py), row.filled ? kRed : kBlack);
        }
}

TEST(RenderRegions, RegionsTakeTheHighlightOfTheirFirstEdgeAndHideWithTheirLayer)
{
    Drawing d;
    add_ring(d, 0x00FF00);
    d.GetElement(0).SetHighlight(2); // a group member: red
    d.Redraw();
    EXPECT_EQ(d.at(60, 75), kRed);
    d.SetVisibleLayer(1, false);
    d.Redraw();
    EXPECT_EQ(d.at(60, 75), kBlack);
}
