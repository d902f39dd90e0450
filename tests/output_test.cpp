// The drawing's ways out of the program: picture files, the clipboard and the
// printer (a PDF file here), driven through the control's public methods.
#include "output/print_layout.h"
#include "picture_compare.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>

using namespace orvex;

namespace {
constexpr int kW = 200, kH = 150;
constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// A control whose top view maps model units one to one onto pixels, the model
// origin at the bottom-left corner, holding a red line at y = 100 and a white
// one at y = 75 that show, a green line on a hidden layer at y = 50, a deleted
// blue line at y = 30 and a yellow rectangle around (100, 125).
class Drawing : public TOrvexGDI {
public:
    Drawing()
    {
        resize(kW, kH);
        Settings->OriginX[1] = 0;
        Settings->OriginY[1] = kH;
        line(100, kRed);
        line(75, kWhite);
        line(50, kGreen, 7);
        SetVisibleLayer(7, false);
        SetIsDeleted(line(30, kBlue), true);
        Settings->DrawColor = 0x00FFFF;
        MakeFilledRect(100, 125, 60, 10, 0);
        Redraw();
    }
    int line(double y, TColor colour, int layer = 1)
    {
        Settings->DrawColor = colour;
        Settings->CurrentLayer = layer;
        const int n = MakeLine(20, y, 0, 180, y, 0);
        Settings->CurrentLayer = 1;
        return n;
    }
    QImage picture() const { return GetBitmap()->convertToFormat(QImage::Format_RGB32); }
};

bool is(const QColor& c, int r, int g, int b)
{
    return std::abs(c.red() - r) < 60 && std::abs(c.green() - g) < 60 && std::abs(c.blue() - b) < 60;
}

QImage read_by_content(const QString& file)
{
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

bool reddish(const QColor& c) { return c.red() - std::max(c.green(), c.blue()) > 60; }

int web_level(int v) { return (v + 3) / 51 * 51; }

class PictureFiles : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(PictureFiles, EachKindWritesThePictureWhateverTheName)
{
    Drawing d;
    const QImage shown = d.picture();
    struct Row {
        void (TOrvexGDI::*save)(const QString&);
        QByteArray magic;
    };
    const Row rows[] = {
        {&TOrvexGDI::SaveBMP, "BM"}, {&TOrvexGDI::SaveGIF, "GIF87a"}, {&TOrvexGDI::SaveJPEG, "\xFF\xD8"}};
    for (const Row& row : rows) {
        const QString file = path("x.png"); // the name decides nothing
        (d.*row.save)(file);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        ASSERT_TRUE(f.readAll().startsWith(row.magic)) << row.magic.toStdString();
        const QImage back = read_by_content(file);
        ASSERT_EQ(back.size(), QSize(kW, kH));
        if (row.magic == "BM") {
            EXPECT_TRUE(testing_pictures::same_picture(back, shown, "bmp-file"));
        } else if (row.magic == "GIF87a") {
            int wrong = 0;
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) {
                    const QColor c = shown.pixelColor(x, y);
                    wrong +=
                        back.pixelColor(x, y) != QColor(web_level(c.red()), web_level(c.green()), web_level(c.blue()));
                }
            EXPECT_EQ(wrong, 0);
        } else {
            EXPECT_TRUE(is(back.pixelColor(100, kH - 100), 255, 0, 0)); // the red line keeps its colour
            EXPECT_TRUE(is(back.pixelColor(100, kH - 90), 0, 0, 0));
        }
    }
}

TEST_F(PictureFiles, AFailedWriteNamesTheFileAndLeavesItAsItWas)
{
    Drawing d;
    const QString kept = path("kept.jpg");
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    d.resize(70000, 1); // wider than a JPEG can be
    d.Redraw();
    try {
        d.SaveJPEG(kept);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(QString(e.what()).indexOf(kept), -1) << e.what();
    }
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "old");

    const QString missingFolder = path("no/such/folder/x.bmp");
    EXPECT_THROW(d.SaveBMP(missingFolder), EFileError);

    const QString fifo = path("fifo.bmp");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_THROW(d.SaveBMP(fifo), EFileError); // never replaced by a regular file
    struct stat st {};
    ASSERT_EQ(stat(fifo.toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// ---------------------------------------------------------------- clipboard

TEST(Clipboard, BitmapIsThePicture)
{
    Drawing d;
    d.BmpToClipboard();
    EXPECT_TRUE(testing_pictures::same_picture(
        QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), d.picture(), "clipboard-bitmap"));
}

TEST(Clipboard, VectorDrawingShowsWhatTheScreenShowsAndLeavesThePicture)
{
    Drawing d;
    const QImage before = d.picture();
    d.WmfToClipboard();
    EXPECT_FALSE(d.Settings->CanvasMode);
    EXPECT_EQ(d.Settings->OutputCanvas, nullptr);
    EXPECT_TRUE(testing_pictures::same_picture(d.picture(), before, "picture-after-vector-copy"));

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat("image/svg+xml"));
    QSvgRenderer svg(data->data("image/svg+xml"));
    ASSERT_TRUE(svg.isValid());
    QImage drawn(kW, kH, QImage::Format_RGB32);
    drawn.fill(Qt::black);
    {
        QPainter p(&drawn);
        svg.render(&p);
    }
    const QImage png = qvariant_cast<QImage>(data->imageData()).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(png.size(), QSize(kW, kH));
    struct Probe {
        int y;
        bool shown;
    };
    // Lines at y = 100 (red) and 75 (white) show; the hidden (50) and the
    // deleted (30) one do not; the rectangle's lower edge lies at y = 120.
    for (const Probe& probe :
         {Probe{100, true}, Probe{75, true}, Probe{50, false}, Probe{30, false}, Probe{120, true}}) {
        const int row = kH - probe.y;
        EXPECT_EQ(drawn.pixelColor(100, row) != QColor(Qt::black), probe.shown) << "svg, y = " << probe.y;
        EXPECT_EQ(qAlpha(png.pixel(100, row)) != 0, probe.shown) << "png, y = " << probe.y;
    }
    // The vector line is smoothed across the two rows its pen straddles.
    EXPECT_TRUE(reddish(drawn.pixelColor(100, kH - 100)) || reddish(drawn.pixelColor(100, kH - 101)));
}

// ---------------------------------------------------------------- printing

// A page of the printed PDF rendered at 40 dots per inch, or a null image
// when poppler's pdftoppm is not installed.
QImage rendered_page(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable("pdftoppm");
    if (tool.isEmpty())
        return {};
    const QString stem = pdf + "-page";
    QProcess::execute(tool, {"-r", "40", "-png", "-singlefile", pdf, stem});
    return QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
}

int pages_of(const QString& pdf)
{
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = f.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page/") +
                            bytes.count("/Type /Page>"));
}

class Printing : public ::testing::Test {
protected:
    void SetUp() override { TOrvexGDI::Printer().setOutputFileName(dir_.filePath("page.pdf")); }
    void TearDown() override { TOrvexGDI::Printer().setOutputFileName(QString()); }
    QString pdf() const { return dir_.filePath("page.pdf"); }
    QTemporaryDir dir_;
};

// Rows of the rendered page holding any pixel of the colour.
std::vector<int> rows_with(const QImage& page, bool (*match)(const QColor&))
{
    std::vector<int> rows;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (match(page.pixelColor(x, y))) {
                rows.push_back(y);
                break;
            }
    return rows;
}

bool coloured(const QColor& c)
{
    return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 60;
}
bool dark(const QColor& c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; }

TEST_F(Printing, VectorPageShowsTheVisibleElementsAndTheViewComesBack)
{
    Drawing d;
    d.Settings->BackgroundColor = 0xFFFFFF;
    const double sx = d.Settings->ScaleX[1], sy = d.Settings->ScaleY[1];
    const int ox = d.Settings->OriginX[1], oy = d.Settings->OriginY[1];
    d.PrintCad();
    EXPECT_FALSE(d.Settings->Printing);
    EXPECT_EQ(d.Settings->ScaleX[1], sx);
    EXPECT_EQ(d.Settings->ScaleY[1], sy);
    EXPECT_EQ(d.Settings->OriginX[1], ox);
    EXPECT_EQ(d.Settings->OriginY[1], oy);
    EXPECT_EQ(pages_of(pdf()), 1);

    const QImage page = rendered_page(pdf());
    if (page.isNull())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    // The control's 200 pixels span the printable width: model y steps of 25
    // are 25 * width / 200 page pixels apart.
    const double step = 25.0 * TOrvexGDI::Printer().width() / kW * 40 / TOrvexGDI::Printer().resolution();
    const std::vector<int> red = rows_with(page, reddish);
    ASSERT_FALSE(red.empty());
    const int redRow = red.front();
    const std::vector<int> darkRows = rows_with(page, dark);
    auto has_dark_near = [&](double row) {
        return std::any_of(darkRows.begin(), darkRows.end(), [&](int r) { return std::abs(r - row) <= 1.5; });
    };
    EXPECT_TRUE(has_dark_near(redRow + step));        // the white line prints black
    EXPECT_FALSE(has_dark_near(redRow + 2 * step));   // the hidden line is absent
    EXPECT_FALSE(has_dark_near(redRow + 2.8 * step)); // and so is the deleted one
    // Apart from the red line and the yellow rectangle nothing is coloured.
    for (const int row : rows_with(page, coloured))
        EXPECT_TRUE(std::abs(row - redRow) <= 1 || row < redRow) << row;
}

TEST_F(Printing, MonochromePrintsEveryOutlineBlack)
{
    Drawing d;
    d.SetPrintMonochrome(true);
    d.PrintCad();
    const QImage page = rendered_page(pdf());
    if (page.isNull())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    EXPECT_TRUE(rows_with(page, coloured).empty());
    EXPECT_GE(rows_with(page, dark).size(), 3u); // rectangle edges and two lines
}

TEST_F(Printing, PictureIsPrintedInvertedOnlyOnABlackBackground)
{
    for (const TColor background : {0x000000, 0x202020}) {
        Drawing d;
        d.SetBackgroundColor(background);
        d.Redraw();
        d.PrintBMP();
        EXPECT_EQ(pages_of(pdf()), 1);
        const QImage page = rendered_page(pdf());
        if (page.isNull())
            GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
        // The red line of the picture is cyan when inverted.
        bool cyan = false, red = false;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                cyan |= std::min(c.green(), c.blue()) - c.red() > 60;
                red |= reddish(c);
            }
        EXPECT_EQ(cyan, background == 0) << background;
        EXPECT_EQ(red, background != 0) << background;
    }
}

// A square ring (40..160 x 20..130 less 80..120 x 55..95) as one filled
// region, on a white background, is filled in the vector copy and on the
// printed page, its hole is not.
TEST_F(Printing, RegionsAreFilledInTheVectorCopyAndOnThePage)
{
    TOrvexGDI d;
    d.resize(kW, kH);
    d.Settings->OriginX[1] = 0;
    d.Settings->OriginY[1] = kH;
    d.SetBackgroundColor(kWhite);
    const double loops[2][4][2] = {{{40, 20}, {160, 20}, {160, 130}, {40, 130}},
                                   {{80, 55}, {120, 55}, {120, 95}, {80, 95}}};
    for (const auto& loop : loops)
        for (int i = 0; i < 4; ++i)
            d.make_element(etFillEdge, loop[i][0], loop[i][1], 0, loop[(i + 1) % 4][0], loop[(i + 1) % 4][1], 0, kRed,
                           1, 1, 0, 1);
    d.Redraw();

    d.WmfToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    QSvgRenderer svg(data->data("image/svg+xml"));
    ASSERT_TRUE(svg.isValid());
    QImage drawn(kW, kH, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter p(&drawn);
        svg.render(&p);
    }
    EXPECT_TRUE(reddish(drawn.pixelColor(60, kH - 75)));   // the band
    EXPECT_FALSE(reddish(drawn.pixelColor(100, kH - 75))); // the hole

    d.PrintCad();
    const QImage page = rendered_page(pdf());
    if (page.isNull())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    // The red box on the page is the ring's outer square.
    int left = page.width(), right = -1, top = page.height(), bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (reddish(page.pixelColor(x, y))) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GT(right, left + 10);
    const auto on_page = [&](double x, double y) {
        return page.pixelColor(static_cast<int>(left + (x - 40) / 120 * (right - left)),
                               static_cast<int>(top + (130 - y) / 110 * (bottom - top)));
    };
    EXPECT_TRUE(reddish(on_page(60, 75)));
    EXPECT_TRUE(reddish(on_page(100, 40)));
    EXPECT_FALSE(reddish(on_page(100, 75)));
}

TEST(PrintingWithoutPrinter, RaisesAndChangesNothing)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    TOrvexGDI::Printer().setOutputFileName(QString());
    Drawing d;
    const double sx = d.Settings->ScaleX[1];
    EXPECT_THROW(d.PrintCad(), EPrinterError);
    EXPECT_THROW(d.PrintBMP(), EPrinterError);
    EXPECT_FALSE(d.Settings->Printing);
    EXPECT_EQ(d.Settings->ScaleX[1], sx);
}

TEST(PrintLayout, ResolutionPenAndStretchedPicture)
{
    EXPECT_EQ(output::printer_dpi(4800, 203), 601); // 4800 / (203 / 25.4) = 600.6
    EXPECT_EQ(output::print_pen_width(601), 3);
    EXPECT_EQ(output::printer_dpi(4800, 0), 0);
    // 4800 x 369 / 337 = 5255.79, truncated; on a portrait and a landscape
    // page alike, since the side is the page's smaller extent.
    EXPECT_EQ(output::stretched_height(std::min(4800, 6600), 337, 369), 5255);
    EXPECT_EQ(output::stretched_height(std::min(6600, 4800), 337, 369), 5255);
    EXPECT_EQ(output::stretched_height(4800, 0, 369), 0);
}

} // namespace
