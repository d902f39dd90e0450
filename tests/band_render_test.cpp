// A picture drawn in bands on several threads equals the single pass, pixel
// for pixel, aliased and anti-aliased, and leaves the same pen, fill and
// clip behind.
#include "picture_compare.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QPainter>
#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace orvex;

namespace {
constexpr int kW = 200, kH = 150;

QImage texture_image()
{
    QImage texture(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            texture.setPixel(x, y, qRgb(30 * x, 40 * y, 200));
    return texture;
}
const QImage kTexture = texture_image();

// Figures of every kind, most of them crossing the band edges of 2, 3 and 7
// bands (rows 75; 50, 100; 21, 42, 64, 85, 107, 128).
void figures(TOrvexGDI& d)
{
    d.Settings->DrawColor = 0x00FF00;
    for (int i = 0; i < 12; ++i)
        d.MakeLine(5 + i * 15, 5, 0, 195 - i * 9, 140, 0);
    d.MakeLine(3, 20, 0, 197, 23, 0); // nearly flat across a band edge
    d.Settings->LineType = 21;        // two pixels wide
    d.MakeLine(10, 100, 0, 190, 130, 0);
    d.MakeArc(1, 60, 75, 0, 33, 10, 300);
    d.Settings->LineType = 2; // dotted
    d.MakeLine(10, 90, 0, 190, 60, 0);
    d.Settings->LineType = 3; // dash-dot
    d.MakeCircle(1, 100, 80, 0, 45);
    d.Settings->LineType = 1;
    d.MakePoint(100, 75, 0);
    d.MakePoint(40, 64, 0);
    d.MakeArc(1, 100, 75, 0, 40, 30, 250);
    d.MakeArc(1, 60, 40, 0, 25, 300, 120);
    d.MakeCircle(1, 150, 50, 0, 30);
    d.MakeCircle(100, 40, 110, 0, 12);
    d.MakeEllipse(120, 110, 41, 23);
    d.MakeEllipse(60, 75, 33, 61);
    d.Settings->DrawColor = static_cast<TColor>(0x80FF0000); // translucent
    d.MakeLine(0, 0, 0, 199, 149, 0);
}

void fills(TOrvexGDI& d)
{
    d.Settings->DrawColor = 0xFF0000;
    d.MakeCircle(100, 30, 75, 0, 28);  // solid
    d.MakeCircle(230, 80, 75, 0, 28);  // linear gradient
    d.MakeCircle(101, 140, 75, 0, 28); // radial
    d.Settings->LineType = 0x40;
    d.Settings->DrawColor = static_cast<TColor>(0xC000FF00);
    d.MakeCircle(310, 170, 110, 0, 26); // translucent gradient
    d.Settings->DrawColor = 0x00FFFF;
    const int textured = d.MakeCircle(600, 150, 30, 0, 24);
    d.GetElement(textured).SetImage(&kTexture);
    d.MakeFilledRect(60, 40, 70, 45, 1);
    d.MakeFilledRect(150, 100, 61, 33, 0);
    d.MakeImage(&kTexture, 20, 140, 97, 131); // scaled across every band edge
    d.MakeImage(&kTexture, 130, 90, 7, 5);
}

// Two regions of fill edges: a ring, and a triangle, across band edges.
void regions(TOrvexGDI& d)
{
    const double loops[2][4][2] = {{{40, 20}, {160, 20}, {160, 130}, {40, 130}},
                                   {{80, 55}, {120, 55}, {120, 95}, {80, 95}}};
    for (const auto& loop : loops)
        for (int i = 0; i < 4; ++i)
            d.make_element(etFillEdge, loop[i][0], loop[i][1], 0, loop[(i + 1) % 4][0], loop[(i + 1) % 4][1], 0,
                           0x0000FF, 1, 1, 0, 1);
    const double tri[3][2] = {{5, 3}, {195, 71.3}, {17, 147}};
    for (int i = 0; i < 3; ++i)
        d.make_element(etFillEdge, tri[i][0], tri[i][1], 0, tri[(i + 1) % 3][0], tri[(i + 1) % 3][1], 0, 0x00FF00, 1, 1,
                       0, 2);
    d.MakeLine(0, 75, 0, 199, 75, 0);
}

// Clip rectangles that start, change and end within the list, one left in
// force at the end of the pass.
void clips(TOrvexGDI& d)
{
    d.MakeClipRect(13, 137, 111, 93);
    figures(d);
    d.MakeClipRect(-999, -999, 0, 0);
    d.MakeCircle(100, 170, 30, 0, 25);
    d.MakeClipRect(90, 120, 100, 57);
    d.MakeFilledRect(140, 90, 120, 120, 1);
    d.MakeImage(&kTexture, 70, 140, 90, 130);
}

// Unlisted line types keep the dash style of the outline before them.
void inherited_dashes(TOrvexGDI& d)
{
    d.Settings->LineType = 2;
    d.MakeLine(5, 140, 0, 195, 10, 0);
    d.Settings->LineType = 7;
    d.MakeLine(5, 10, 0, 195, 140, 0);
    d.Settings->LineType = 4;
    d.MakeCircle(1, 100, 75, 0, 60);
    d.Settings->LineType = 9;
    d.MakeArc(1, 100, 75, 0, 40, 30, 250);
}

// Highlights, a hidden layer, the axis.
void highlights(TOrvexGDI& d)
{
    figures(d);
    d.GetElement(1).SetHighlight(2);
    d.GetElement(4).SetHighlight(5);
    d.GetElement(7).SetLayer(9);
    d.SetVisibleLayer(9, false);
    d.SetShowAxis(true);
    d.Settings->OriginX[1] = 70;
    d.Settings->OriginY[1] = 90;
}

// The list is much larger than the view: a redraw visits elements through the
// element index, and each band through its own part of it.
void zoomed(TOrvexGDI& d)
{
    for (int i = 0; i < 3000; ++i) {
        const double x = (i * 37) % 1000, y = (i * 53) % 800;
        d.Settings->DrawColor = (i / 100) % 2 ? 0x00FF00 : 0xFF00FF;
        if (i % 3 == 0)
            d.MakeLine(x, y, 0, x + 13 - (i % 27), y + 9 - (i % 19), 0);
        else if (i % 3 == 1)
            d.MakeArc(1, x, y, 0, 3 + i % 11, i % 360, (i * 7) % 360);
        else
            d.MakeCircle(i % 2 ? 1 : 100, x, y, 0, 2 + i % 7);
    }
    regions(d);
    d.Settings->ScaleX[1] = 2;
    d.Settings->ScaleY[1] = -2;
    d.Settings->OriginX[1] = -300;
    d.Settings->OriginY[1] = 700;
}

// Arcs and circles in the isometric view: polylines, no index.
void isometric(TOrvexGDI& d)
{
    figures(d);
    d.MakeArc(2, 50, 0, 40, 30, 0, 270);
    d.SetView(vISO);
    d.Settings->OriginX[4] = 100;
    d.Settings->OriginY[4] = 75;
}

void polyline_arcs(TOrvexGDI& d)
{
    figures(d);
    d.Settings->PolylineArcs = true;
}

struct Fixture {
    const char* name;
    std::function<void(TOrvexGDI&)> build;
};

const Fixture kFixtures[] = {
    {"figures", figures},
    {"fills", fills},
    {"regions", regions},
    {"clips", clips},
    {"dashes", inherited_dashes},
    {"highlights", highlights},
    {"zoomed", zoomed},
    {"isometric", isometric},
    {"polyline-arcs", polyline_arcs},
};

struct Result {
    QImage first, second; // two redraws in a row: a clip left in force reaches the second
    QPen pen;
    QColor fill;
    QRectF clip;
};

Result draw(const Fixture& fixture, int threads, bool antialias)
{
    TOrvexGDI d;
    d.resize(kW, kH);
    d.Settings->OriginX[1] = 0;
    d.Settings->OriginY[1] = kH;
    d.Settings->AntiAlias = antialias;
    d.Settings->RenderThreads = threads;
    fixture.build(d);
    d.Redraw();
    Result r;
    r.first = d.GetBitmap()->copy();
    d.Redraw();
    r.second = d.GetBitmap()->copy();
    r.pen = d.Settings->Pen;
    r.fill = d.Settings->FillBrush.color();
    r.clip = d.GetCanvas()->clipBoundingRect();
    return r;
}
} // namespace

TEST(BandRender, BandsEqualTheSinglePass)
{
    for (const bool antialias : {false, true})
        for (const Fixture& fixture : kFixtures) {
            const Result single = draw(fixture, 1, antialias);
            for (const int threads : {2, 3, 7}) {
                const std::string name =
                    std::string(fixture.name) + (antialias ? "-aa-" : "-") + std::to_string(threads);
                SCOPED_TRACE(name);
                const Result bands = draw(fixture, threads, antialias);
                EXPECT_TRUE(testing_pictures::same_picture(bands.first, single.first, QString::fromStdString(name)));
                EXPECT_TRUE(testing_pictures::same_picture(bands.second, single.second,
                                                           QString::fromStdString(name + "-again")));
                EXPECT_EQ(bands.pen, single.pen);
                EXPECT_EQ(bands.fill, single.fill);
                EXPECT_EQ(bands.clip, single.clip);
            }
        }
}
