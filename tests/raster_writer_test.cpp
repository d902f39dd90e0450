// The raster writer against QPainter's raster engine on the same picture, and
// its anti-aliased light against the Wu line.
#include "line_floors.h"
#include "picture_compare.h"
#include "render/raster_writer.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace orvex;
using orvex::testing_pictures::same_picture;
using orvex::testing_pictures::similar_picture;

namespace {
constexpr int kW = 160, kH = 120;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

struct Segment {
    const char* name;
    double x1, y1, x2, y2;
};

QImage blank()
{
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// What the picture's painter draws: a solid pen with square caps, clipped to
// a rectangle (the whole picture unless given).
QImage painted(const std::vector<Segment>& lines, int width, bool antialias, QRect clip = QRect(0, 0, kW, kH))
{
    QImage image = blank();
    QPainter p(&image);
    p.setClipRect(clip);
    p.setRenderHint(QPainter::Antialiasing, antialias);
    p.setPen(QPen(QColor(255, 255, 255), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    for (const Segment& s : lines) {
        const QLineF line(s.x1, s.y1, s.x2, s.y2);
        p.drawLines(&line, 1);
    }
    return image;
}

RasterWriter writer_for(QImage& image, int width, bool antialias, QRect clip = QRect(0, 0, kW, kH))
{
    RasterWriter writer(reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, kW, kH);
    writer.set_clip(clip.left(), clip.top(), clip.right(), clip.bottom());
    writer.set_pen(kWhite, width, antialias);
    return writer;
}

QImage written(const std::vector<Segment>& lines, int width, bool antialias, QRect clip = QRect(0, 0, kW, kH))
{
    QImage image = blank();
    RasterWriter writer = writer_for(image, width, antialias, clip);
    for (const Segment& s : lines)
        writer.line(s.x1, s.y1, s.x2, s.y2);
    return image;
}

// Light of a white figure on black: the sum of one channel over the picture.
double light(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGreen(image.pixel(x, y));
    return sum;
}

long differing(const QImage& a, const QImage& b, long& lit)
{
    long n = 0;
    lit = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            n += a.pixel(x, y) != b.pixel(x, y);
            lit += qGreen(a.pixel(x, y)) != 0 || qGreen(b.pixel(x, y)) != 0;
        }
    return n;
}

const std::vector<Segment> kChosenLines = {
    {"horizontal", 10, 20, 150, 20},
    {"vertical", 30, 5, 30, 110},
    {"diagonal down", 5, 5, 105, 105},
    {"diagonal up", 20, 110, 120, 10},
    {"steep", 40, 5, 55, 115},
    {"shallow", 5, 60, 155, 75},
    {"backwards", 150, 100, 10, 70},
    {"zero length", 77, 33, 77, 33},
    {"one pixel long", 90, 40, 91, 40},
    {"off the left edge", -30, 40, 60, 50},
    {"off the right edge", 100, 30, kW + 40, 60},
    {"off the top edge", 70, -25, 90, 60},
    {"off the bottom edge", 20, 60, 50, kH + 30},
    {"through the top-left corner", -20, -10, 30, 40},
    {"through the bottom-right corner", kW - 30, kH - 40, kW + 20, kH + 10},
    {"along the top edge", 0, 0, kW - 1, 0},
    {"along the right edge", kW - 1, 0, kW - 1, kH - 1},
    {"wholly outside", -50, -40, -10, -60},
    {"beyond 32000 pixels", -40000, 10, 40000, 90},
    {"beyond 32000 pixels, steep", 60, -35000, 100, 35000},
};
} // namespace

TEST(RasterWriterLines, ThinLinesAreThoseOfThePainter)
{
    for (bool antialias : {false, true})
        for (const Segment& s : kChosenLines) {
            const QString name = QStringLiteral("writer-line-%1%2").arg(s.name).arg(antialias ? "-aa" : "");
            EXPECT_TRUE(same_picture(written({s}, 1, antialias), painted({s}, 1, antialias), name)) << s.name;
        }
}

TEST(RasterWriterLines, ClipRectangleCutsAsThePaintersDoes)
{
    const QRect clip(30, 20, 80, 70);
    for (bool antialias : {false, true})
        EXPECT_TRUE(same_picture(written(kChosenLines, 1, antialias, clip), painted(kChosenLines, 1, antialias, clip),
                                 antialias ? "writer-clipped-aa" : "writer-clipped"));
    EXPECT_TRUE(same_picture(written(kChosenLines, 1, false, QRect(10, 10, 0, 0)), blank(), "writer-empty-clip"));
}

TEST(RasterWriterLines, RandomLinesWithinTheTolerances)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> x(-20, kW + 20), y(-20, kH + 20);
    std::uniform_int_distribution<int> xi(0, kW - 2), yi(0, kH - 2);
    std::vector<Segment> lines;
    for (int i = 0; i < 150; ++i)
        lines.push_back({"random", x(rng), y(rng), x(rng), y(rng)});

    // Aliased thin lines light the painter's pixels, wide ones differ in at
    // most 1 % of the lit pixels.
    long lit = 0;
    EXPECT_EQ(differing(written(lines, 1, false), painted(lines, 1, false), lit), 0);
    EXPECT_LE(differing(written(lines, 2, false), painted(lines, 2, false), lit), lit / 100);
    // Anti-aliased wide lines give the painter's light within 3 %.
    EXPECT_NEAR(light(written(lines, 2, true)) / light(painted(lines, 2, true)), 1.0, 0.03);

    // Anti-aliased thin lines give the light of the Wu line within 3 %, one
    // line at a time so that overlaps do not count.
    double ours = 0, reference = 0;
    for (int i = 0; i < 150; ++i) {
        const int x1 = xi(rng), y1 = yi(rng), x2 = xi(rng), y2 = yi(rng);
        ours += light(written({{"random", double(x1), double(y1), double(x2), double(y2)}}, 1, true));
        QImage wu = blank();
        line_floors::wu(reinterpret_cast<std::uint32_t*>(wu.bits()), wu.bytesPerLine() / 4, x1, y1, x2, y2, kWhite);
        reference += light(wu);
    }
    EXPECT_NEAR(ours / reference, 1.0, 0.03);
}

TEST(RasterWriterArcs, CirclesArcsAndWideOutlinesAgainstThePainter)
{
    struct Arc {
        int left, top, width, height, start, span; // span in degrees, 360 = whole
    };
    std::vector<Arc> arcs;
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> radius(2, 50), at(-30, 130), angle(0, 359), span(-359, 359);
    for (int i = 0; i < 60; ++i) {
        const int r = radius(rng);
        arcs.push_back(
            {at(rng), at(rng) - 20, 2 * r, 2 * r + (i % 3 == 0 ? 2 : 0), angle(rng), i % 4 ? span(rng) : 360});
    }
    auto paint = [&](int width, bool antialias, bool whole) {
        QImage image = blank();
        QPainter p(&image);
        p.setClipRect(image.rect());
        p.setRenderHint(QPainter::Antialiasing, antialias);
        p.setPen(QPen(QColor(255, 255, 255), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        for (const Arc& a : arcs) {
            if (whole)
                p.drawEllipse(QRectF(a.left, a.top, a.width, a.height));
            else
                p.drawArc(QRectF(a.left, a.top, a.width, a.height), a.start * 16, a.span * 16);
        }
        return image;
    };
    auto write = [&](int width, bool antialias, bool whole) {
        QImage image = blank();
        RasterWriter writer = writer_for(image, width, antialias);
        for (const Arc& a : arcs) {
            if (whole && !antialias && width == 1)
                writer.ellipse(a.left, a.top, a.width, a.height);
            else
                writer.arc(a.left, a.top, a.width, a.height, whole ? 0 : a.start, whole ? 360 : a.span);
        }
        return image;
    };
    // Whole aliased ellipses of even sides light the painter's pixels.
    EXPECT_TRUE(same_picture(write(1, false, true), paint(1, false, true), "writer-ellipses"));
    // Arcs step along the true curve where the painter strokes short chords:
    // they may differ where the curve passes between pixel centres.
    EXPECT_TRUE(similar_picture(write(1, false, false), paint(1, false, false), "writer-arcs", 0.35));
    for (int width : {1, 2})
        for (bool whole : {false, true}) {
            const double ratio = light(write(width, true, whole)) / light(paint(width, true, whole));
            EXPECT_NEAR(ratio, 1.0, 0.03) << "width " << width << (whole ? ", whole" : ", arcs");
        }
    EXPECT_NEAR(light(write(2, false, false)) / light(paint(2, false, false)), 1.0, 0.03);
}
