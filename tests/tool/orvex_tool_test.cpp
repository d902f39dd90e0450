// The orvex tool as a user runs it: info on the samples in every format,
// conversions read back by the library, ezdxf and Open CASCADE, renders in
// every output format and size, every failure with its one line, --help,
// and the progress line for large files on a terminal.
#include "tool_runner.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>

#ifdef ORVEX_HAVE_OCCT
#include <IFSelect_ReturnStatus.hxx>
#include <IGESControl_Reader.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <TopExp_Explorer.hxx>
#endif

using orvex::test::run_tool;
using orvex::test::ToolRun;

namespace {

QString sample(const QString& name) { return QStringLiteral(ORVEX_SAMPLES_DIR "/") + name; }

QString output(const QString& name) { return QStringLiteral(ORVEX_TOOL_OUTPUT_DIR "/") + name; }

std::string str(const QString& s) { return s.toStdString(); }

// The samples and what their generator put in them.
struct Sample {
    const char* stem;
    int lines, arcs, points;
    const char* layers;
    const char* extents;
    const char* igesUnits; // IGES is the format that stores units
};
const Sample kSamples[] = {
    {"bracket_plate", 17, 12, 4, "1, 2, 3", "X 0 .. 120, Y 0 .. 80", "mm"},
    {"floor_plan", 35, 4, 4, "1, 2, 3, 4", "X 0 .. 480, Y 0 .. 312", "inch"},
    {"chamfered_block", 26, 7, 0, "1, 2, 3, 4", "X 0 .. 110, Y -10 .. 60", "mm"},
};
const char* const kExtensions[] = {".ovx", ".dxf", ".igs"};

// "key: value" lines of one info block.
std::map<QString, QString> info_fields(const QString& block)
{
    std::map<QString, QString> fields;
    for (const QString& line : block.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int colon = line.indexOf(QLatin1String(": "));
        if (colon > 0)
            fields[line.left(colon)] = line.mid(colon + 2);
    }
    return fields;
}

// Writes a file of the test's own into the output folder; returns its path.
QString write_output(const QString& name, const QByteArray& bytes)
{
    const QString path = output(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << str(path);
    return path;
}

void expect_clean_success(const ToolRun& run)
{
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty()) << str(run.err);
}

TEST(OrvexInfo, CountsLayersExtentsAndUnitsOfEverySampleInEveryFormat)
{
    QStringList files;
    for (const Sample& s : kSamples)
        for (const char* ext : kExtensions)
            files << sample(QLatin1String(s.stem) + QLatin1String(ext));
    const ToolRun run = run_tool(QStringList{"info"} + files);
    expect_clean_success(run);

    const QStringList blocks = run.out.split(QStringLiteral("\n\n"));
    ASSERT_EQ(blocks.size(), files.size()) << str(run.out);
    int b = 0;
    for (const Sample& s : kSamples) {
        for (const char* ext : kExtensions) {
            SCOPED_TRACE(std::string(s.stem) + ext);
            auto f = info_fields(blocks[b]);
            EXPECT_EQ(f["file"], files[b++]);
            EXPECT_EQ(f["format"], ext == kExtensions[0] ? "OVX" : ext == kExtensions[1] ? "DXF" : "IGES");
            EXPECT_EQ(f["lines"], QString::number(s.lines));
            EXPECT_EQ(f["arcs"], QString::number(s.arcs));
            EXPECT_EQ(f["points"], QString::number(s.points));
            EXPECT_EQ(f["elements"], QString::number(s.lines + s.arcs + s.points));
            EXPECT_EQ(f["layers"], s.layers);
            EXPECT_EQ(f["extents"], s.extents);
            EXPECT_EQ(f["units"], ext == kExtensions[2] ? s.igesUnits : "not stated");
            EXPECT_EQ(f["import"], "full");
            EXPECT_TRUE(f["read"].contains(QStringLiteral("LINE %1").arg(s.lines))) << str(f["read"]);
            EXPECT_EQ(f["skipped"], "nothing");
        }
    }
    // The wireframe's chamfer plane is arc view 5, which OVX keeps.
    EXPECT_EQ(info_fields(blocks[6])["arc views"], "1, 2, 3, 4, 5");
}

TEST(OrvexInfo, FullImportByDefaultBasicOnRequest)
{
    // A closed light-weight polyline (three sides) that only the full import
    // reads, beside a plain line.
    const QString dxf = write_output(
        "polyline.dxf",
        "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLWPOLYLINE\r\n8\r\n0\r\n90\r\n3\r\n70\r\n1\r\n10\r\n0\r\n"
        "20\r\n0\r\n10\r\n10\r\n20\r\n0\r\n10\r\n10\r\n20\r\n5\r\n0\r\nLINE\r\n8\r\n0\r\n10\r\n0\r\n20\r\n0\r\n"
        "30\r\n0\r\n11\r\n1\r\n21\r\n1\r\n31\r\n0\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
    const ToolRun full = run_tool({"info", dxf});
    const ToolRun basic = run_tool({"info", "--import", "basic", dxf});
    expect_clean_success(full);
    expect_clean_success(basic);
    EXPECT_EQ(info_fields(full.out)["lines"], "4");
    EXPECT_TRUE(info_fields(full.out)["read"].contains("LWPOLYLINE 1")) << str(full.out);
    EXPECT_EQ(info_fields(basic.out)["lines"], "1");
    EXPECT_EQ(info_fields(basic.out)["import"], "basic");

    // convert reads the same way.
    const QString ovx = output("polyline.ovx");
    expect_clean_success(run_tool({"convert", dxf, ovx}));
    EXPECT_EQ(info_fields(run_tool({"info", ovx}).out)["lines"], "4");
    expect_clean_success(run_tool({"convert", "--import=basic", dxf, ovx}));
    EXPECT_EQ(info_fields(run_tool({"info", ovx}).out)["lines"], "1");
}

TEST(OrvexInfo, VersionsTheFilesDeclare)
{
    // A DXF header with $ACADVER, and an IGES global section with version flag 11.
    const QString dxf = write_output(
        "declared.dxf",
        "0\r\nSECTION\r\n2\r\nHEADER\r\n9\r\n$ACADVER\r\n1\r\nAC1009\r\n0\r\nENDSEC\r\n0\r\nSECTION\r\n2\r\n"
        "ENTITIES\r\n0\r\nLINE\r\n8\r\n1\r\n10\r\n0\r\n20\r\n0\r\n30\r\n0\r\n11\r\n1\r\n21\r\n1\r\n31\r\n0\r\n"
        "0\r\nENDSEC\r\n0\r\nEOF\r\n");

    QFile source(sample("bracket_plate.igs"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QString global = "1H,,1H;,4HPART,8Hpart.igs,6HQUOREL,1H1,32,38,6,308,15,4HPART,1.,2,2HMM,1,0.01,"
                           "15H20261210.100000,1.0E-04,100.,4HTEST,4HTEST,11,0;";
    QByteArray iges;
    bool globalWritten = false;
    for (const QByteArray& line : source.readAll().split('\n')) {
        if (line.size() > 72 && line[72] == 'G') {
            for (int i = 0; !globalWritten && i * 72 < global.size(); ++i)
                iges += global.mid(i * 72, 72).leftJustified(72).toLatin1() + "G" +
                        QByteArray::number(i + 1).rightJustified(7, '0') + "\r\n";
            globalWritten = true;
        } else if (!line.isEmpty()) {
            iges += line + "\n";
        }
    }
    const QString igs = write_output("declared.igs", iges);

    const ToolRun run = run_tool({"info", dxf, igs, sample("bracket_plate.ovx")});
    expect_clean_success(run);
    const QStringList blocks = run.out.split(QStringLiteral("\n\n"));
    ASSERT_EQ(blocks.size(), 3);
    EXPECT_EQ(info_fields(blocks[0])["version"], "AC1009 (R11/R12)");
    EXPECT_EQ(info_fields(blocks[1])["version"], "5.3 (flag 11)");
    EXPECT_EQ(info_fields(blocks[1])["lines"], "17"); // the rest of the file still reads
    EXPECT_EQ(info_fields(blocks[2])["version"], "none declared");
}

// What a DXF file states beyond its elements: the units of $INSUNITS, the
// names of its layers and entities that only block definitions hold.
TEST(OrvexInfo, UnitsLayerNamesAndUnplacedBlocksAsTheDxfStatesThem)
{
    auto header = [](const char* insunits) {
        return QByteArray("0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n") + insunits + "\n0\nENDSEC\n";
    };
    auto line = [](const char* layer, const char* x) {
        return QByteArray("0\nLINE\n8\n") + layer + "\n10\n" + x + "\n20\n0\n30\n0\n11\n5\n21\n5\n31\n0\n";
    };
    const QByteArray entities = QByteArray("0\nSECTION\n2\nENTITIES\n") + line("1", "0") + "0\nENDSEC\n0\nEOF\n";
    const QByteArray block = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nDOOR\n10\n0\n20\n0\n30\n0\n" + line("0", "0") +
                             line("0", "1") + "0\nENDBLK\n0\nENDSEC\n";
    const QByteArray insert = "0\nINSERT\n2\nDOOR\n8\n0\n10\n0\n20\n0\n30\n0\n";
    // A square of 100 hatched by 1000 lines of 200 dashes each.
    const QByteArray capped_hatch = "0\nHATCH\n5\n2A\n8\nWALLS\n100\nAcDbHatch\n2\nFINE\n70\n0\n91\n1\n92\n3\n72\n0\n"
                                    "73\n1\n93\n4\n10\n0\n20\n0\n10\n100\n20\n0\n10\n100\n20\n100\n10\n0\n20\n100\n"
                                    "97\n0\n75\n0\n76\n1\n78\n1\n53\n0\n43\n0\n44\n0.05\n45\n0\n46\n0.1\n79\n2\n"
                                    "49\n0.25\n49\n-0.25\n98\n0\n";
    const struct {
        const char* name;
        QByteArray dxf;
        const char* field;
        const char* full;
        const char* basic;
    } cases[] = {
        {"mm", header("4") + entities, "units", "mm", "mm"},
        {"feet", header("2") + entities, "units", "feet", "feet"},
        {"unitless", header("0") + entities, "units", "unitless", "unitless"},
        {"unstated", entities, "units", "not stated", "not stated"},
        {"named",
         "0\nSECTION\n2\nENTITIES\n" + line("WALLS", "0") + line("DOORS", "1") + line("WALLS", "2") +
             "0\nENDSEC\n0\nEOF\n",
         "layers", "1 (WALLS), 2 (DOORS)", "1"},
        {"uninserted", block + "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n", "note",
         "2 entities lie in block definitions that nothing inserts", ""},
        {"inserted", block + "0\nSECTION\n2\nENTITIES\n" + insert + "0\nENDSEC\n0\nEOF\n", "note", "", ""},
        {"capped-hatch", "0\nSECTION\n2\nENTITIES\n" + capped_hatch + "0\nENDSEC\n0\nEOF\n", "note",
         "HATCH 2A \"FINE\" on layer WALLS: stopped at 100000 segments", ""},
    };
    for (const auto& c : cases) {
        const QString dxf = write_output(QStringLiteral("states-%1.dxf").arg(c.name), c.dxf);
        for (const char* mode : {"full", "basic"}) {
            SCOPED_TRACE(std::string(c.name) + " " + mode);
            const ToolRun run = run_tool({"info", "--import", mode, dxf});
            expect_clean_success(run);
            auto f = info_fields(run.out);
            EXPECT_EQ(f[c.field], QString(mode) == "full" ? c.full : c.basic) << str(run.out);
        }
    }
}

// The elements of a drawing file, read by the library.
struct Drawing {
    orvex::TOrvexGDI control;
    explicit Drawing(const QString& ovx)
    {
        control.SetCadType(1);
        control.LoadFromFile(ovx);
    }
};

TEST(OrvexConvert, RoundTripsThroughDxfAndIgesKeepTheDrawing)
{
    // Reading back with the basic import is reading the exchange subset the
    // library writes, colour table included; the full import reads DXF
    // colour numbers as the AutoCAD palette, so there only geometry counts.
    const struct {
        const char* via;
        const char* import;
        bool colours;
    } legs[] = {{"dxf", "basic", true}, {"dxf", "full", false}, {"igs", "full", true}};
    for (const Sample& s : kSamples) {
        for (const auto& leg : legs) {
            SCOPED_TRACE(std::string(s.stem) + " via " + leg.via + ", " + leg.import + " import");
            const QString via = QLatin1String(leg.via);
            const QString original = sample(QLatin1String(s.stem) + ".ovx");
            const QString between = output(QLatin1String(s.stem) + "_round." + via.toUpper()); // any case
            const QString back = output(QLatin1String(s.stem) + "_round_" + via + ".ovx");
            expect_clean_success(run_tool({"convert", original, between}));
            expect_clean_success(run_tool({"convert", "--import", leg.import, between, back}));

            Drawing a(original), b(back);
            ASSERT_EQ(a.control.Elements->Count(), b.control.Elements->Count());
            for (int i = 0; i < a.control.Elements->Count(); ++i) {
                const orvex::TElement& x = a.control.GetElement(i);
                const orvex::TElement& y = b.control.GetElement(i);
                ASSERT_EQ(x.GetEtype(), y.GetEtype()) << "element " << i;
                EXPECT_EQ(x.GetLayer(), y.GetLayer()) << "element " << i;
                if (leg.colours) {
                    EXPECT_EQ(x.GetColor(), y.GetColor()) << "element " << i;
                }
                // Both exchange formats keep an arc in its own plane
                // coordinates but not the plane (its arc view) itself.
                if (x.GetEtype() != orvex::etArc) {
                    EXPECT_EQ(x.GetView(), y.GetView()) << "element " << i;
                }
                for (int slot = 1; slot <= 6; ++slot) {
                    const bool angle = x.GetEtype() == orvex::etArc && slot >= 5;
                    const double u = angle ? std::fmod(x.GetCoord(slot), 360) : x.GetCoord(slot);
                    const double v = angle ? std::fmod(y.GetCoord(slot), 360) : y.GetCoord(slot);
                    EXPECT_NEAR(u, v, 1e-9 * std::max(1.0, std::abs(u))) << "element " << i << " slot " << slot;
                }
            }
        }
    }
}

TEST(OrvexConvert, FormatsForcedAgainstTheExtension)
{
    const QString out = output("forced.txt");
    QFile::remove(out);
    expect_clean_success(run_tool({"convert", "--to", "dxf", sample("floor_plan.igs"), out}));
    const ToolRun info = run_tool({"info", "--from=dxf", out});
    expect_clean_success(info);
    EXPECT_EQ(info_fields(info.out)["format"], "DXF");
    EXPECT_EQ(info_fields(info.out)["lines"], "35");
}

std::map<std::string, int> ezdxf_entity_counts(const QString& file, int& errors)
{
    std::map<std::string, int> counts;
    errors = -1;
    const std::string command =
        std::string(ORVEX_PYTHON) + " " + ORVEX_EZDXF_CHECK + " read '" + str(file) + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return counts;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        char kind[64] = {};
        int n = 0;
        if (std::sscanf(line, "errors %d", &n) == 1)
            errors = n;
        else if (std::sscanf(line, "%63s", kind) == 1)
            ++counts[kind];
    }
    pclose(pipe);
    return counts;
}

TEST(OrvexConvert, OutsideReadersOpenWhatItWrites)
{
    const bool haveEzdxf = std::system(ORVEX_PYTHON " -c 'import ezdxf' 2>/dev/null") == 0;
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.stem);
        const QString dxf = output(QLatin1String(s.stem) + "_outside.dxf");
        const QString igs = output(QLatin1String(s.stem) + "_outside.iges");
        expect_clean_success(run_tool({"convert", sample(QLatin1String(s.stem) + ".ovx"), dxf}));
        expect_clean_success(run_tool({"convert", sample(QLatin1String(s.stem) + ".ovx"), igs}));
        if (haveEzdxf) {
            int errors = 0;
            auto counts = ezdxf_entity_counts(dxf, errors);
            EXPECT_EQ(errors, 0);
            EXPECT_EQ(counts["LINE"], s.lines);
            EXPECT_EQ(counts["ARC"] + counts["CIRCLE"], s.arcs);
            EXPECT_EQ(counts["POINT"], s.points);
        }
#ifdef ORVEX_HAVE_OCCT
        IGESControl_Reader reader;
        ASSERT_EQ(reader.ReadFile(igs.toLocal8Bit().constData()), IFSelect_RetDone);
        reader.TransferRoots();
        int edges = 0, vertices = 0;
        for (int i = 1; i <= reader.NbShapes(); ++i) {
            for (TopExp_Explorer e(reader.Shape(i), TopAbs_EDGE); e.More(); e.Next())
                ++edges;
            if (reader.Shape(i).ShapeType() == TopAbs_VERTEX)
                ++vertices;
        }
        EXPECT_EQ(edges, s.lines + s.arcs);
        EXPECT_EQ(vertices, s.points);
#endif
    }
    if (!haveEzdxf)
        GTEST_SKIP() << "python3-ezdxf is not installed";
}

TEST(OrvexRender, EveryFormatAtTheAskedSize)
{
    const struct {
        const char* extension;
        const char* readerFormat; // QImageReader's name; "" for the vector formats
    } outputs[] = {{"png", "png"}, {"bmp", "bmp"}, {"gif", "gif"}, {"jpg", "jpeg"}, {"svg", ""}, {"pdf", ""}};
    for (const auto& o : outputs) {
        SCOPED_TRACE(o.extension);
        const QString file = output(QStringLiteral("sized.") + o.extension);
        QFile::remove(file);
        expect_clean_success(run_tool({"render", "--size", "640x360", sample("bracket_plate.dxf"), file}));
        if (*o.readerFormat != 0) {
            QImageReader reader(file);
            EXPECT_EQ(reader.format(), QByteArray(o.readerFormat));
            EXPECT_EQ(reader.size(), QSize(640, 360));
        } else if (QLatin1String(o.extension) == QLatin1String("svg")) {
            QSvgRenderer svg(file);
            ASSERT_TRUE(svg.isValid());
            EXPECT_EQ(svg.viewBoxF(), QRectF(0, 0, 640, 360));
        } else {
            QFile pdf(file);
            ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
            const QByteArray bytes = pdf.readAll();
            EXPECT_TRUE(bytes.startsWith("%PDF-"));
            // A page of 640 x 360 pixels at 96 dpi.
            EXPECT_TRUE(bytes.contains("/MediaBox [0 0 480.000000 270.000000]"));
        }
    }
    EXPECT_EQ(QImage(output("sized.png")).size(), QSize(640, 360));
    const ToolRun fallback = run_tool({"render", sample("bracket_plate.ovx"), output("default.png")});
    expect_clean_success(fallback);
    EXPECT_EQ(QImage(output("default.png")).size(), QSize(1200, 900));
}

// Pixels of a picture that differ from its top-left corner (the background).
QRect drawn_box(const QImage& image, int* count = nullptr)
{
    const QRgb background = image.pixel(0, 0);
    QRect box;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                box |= QRect(x, y, 1, 1);
                ++n;
            }
    if (count != nullptr)
        *count = n;
    return box;
}

int distinct_colours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

TEST(OrvexRender, OptionsShapeThePicture)
{
    const QString in = sample("chamfered_block.ovx");
    auto render = [&](const QString& name, QStringList options) {
        const QString file = output(name + ".png");
        expect_clean_success(run_tool(QStringList{"render", "--size", "400x300"} + options + QStringList{in, file}));
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    };
    const QImage top = render("top", {});
    const QImage front = render("front", {"--view", "front"});
    const QImage rotated = render("rotated", {"--rotate", "30,20,10"});
    const QImage white = render("white", {"--background", "white"});
    const QImage smooth = render("smooth", {"--aa"});

    // ZoomAll fits the drawing: it spans most of the picture's width or height.
    const QRect box = drawn_box(top);
    EXPECT_TRUE(box.width() > 200 || box.height() > 150) << box.width() << " x " << box.height();
    EXPECT_NE(top, front);
    EXPECT_NE(top, rotated);
    EXPECT_NE(front, rotated);
    EXPECT_EQ(white.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(top.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_GT(distinct_colours(smooth), 2 * distinct_colours(top)) << "smoothing blends edge pixels";
}

// Every real file that gives elements shows them on a white and on a black
// background: nothing is drawn in the background's own colour.
TEST(OrvexRender, RealFilesShowInkOnWhiteAndOnBlack)
{
    const QDir folder(QStringLiteral(ORVEX_REALWORLD_DIR));
    if (!folder.exists())
        GTEST_SKIP() << "no shared real files";
    int files = 0;
    for (const char* kind : {"dxf", "iges"}) {
        for (const QFileInfo& file : QDir(folder.filePath(kind)).entryInfoList(QDir::Files)) {
            orvex::TOrvexGDI control;
            control.SetCadType(QString(kind) == "dxf" ? 2 : 3);
            control.SetImportMode(orvex::imFull);
            control.LoadFromFile(file.filePath());
            if (control.Elements->Count() == 0)
                continue;
            ++files;
            for (const char* background : {"white", "black"}) {
                SCOPED_TRACE(str(file.fileName()) + " on " + background);
                const QString out = output(file.completeBaseName() + "-" + background + ".png");
                expect_clean_success(
                    run_tool({"render", "--size", "300x200", "--background", background, file.filePath(), out}));
                const QImage picture = QImage(out).convertToFormat(QImage::Format_RGB32);
                const QRgb paper = QString(background) == "white" ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                long ink = 0;
                for (int y = 0; y < picture.height(); ++y)
                    for (int x = 0; x < picture.width(); ++x)
                        ink += picture.pixel(x, y) != paper;
                EXPECT_GT(ink, 0);
            }
        }
    }
    EXPECT_GT(files, 20);
}

TEST(OrvexFailures, ExitOneWithOneLineNamingTheFileAndTheReason)
{
    const QString ovx = sample("bracket_plate.ovx");
    const QString broken =
        write_output("broken.ovx", "LINE   0,0,0,1,1,0,12,1,0,1\r\nLINE   0,0,0,1,1,0,12,1,1e20,1\r\n");
    const QString missingFolder = output("no/such/folder/out.dxf");
    const struct {
        QStringList args;
        const char* says;
        const char* leavesNoFile = nullptr;
    } failures[] = {
        {{}, "no command given"},
        {{"draw", ovx}, "unknown command 'draw'"},
        {{"info"}, "needs at least one FILE"},
        {{"info", output("missing.ovx")}, "missing.ovx: no such file"},
        {{"info", "--from", "ovx", ORVEX_TOOL_OUTPUT_DIR}, "output: not a regular file"},
        {{"info", broken}, "broken.ovx: line 2: "},
        {{"info", sample("house.txt")}, "house.txt: unknown extension '.txt'"},
        {{"info", "--from", "step", ovx}, "unknown format 'step'"},
        {{"info", "--colour", ovx}, "unknown option --colour for info"},
        {{"info", "--import", "everything", ovx}, "invalid --import 'everything'"},
        {{"convert", ovx}, "convert needs IN and OUT"},
        {{"convert", ovx, output("out.step")}, "out.step: unknown extension '.step'"},
        {{"convert", ovx, missingFolder}, "out.dxf: cannot be written (no such folder", "no/such/folder/out.dxf"},
        {{"convert", "--to", "step", ovx, output("x.out")}, "unknown format 'step'", "x.out"},
        {{"render", ovx, output("out.tiff")}, "out.tiff: unknown extension '.tiff'"},
        {{"render", ovx, output("no/such/folder/out.png")}, "out.png: cannot be written", "no/such/folder/out.png"},
        {{"render", ovx, output("no/such/folder/out.bmp")}, "out.bmp", "no/such/folder/out.bmp"},
        {{"render", "--size", "12x", ovx, output("bad.png")}, "invalid --size '12x'", "bad.png"},
        {{"render", "--size", "0x10", ovx, output("bad.png")}, "invalid --size '0x10'", "bad.png"},
        {{"render", "--view", "under", ovx, output("bad.png")}, "invalid --view 'under'", "bad.png"},
        {{"render", "--rotate", "1,2", ovx, output("bad.png")}, "invalid --rotate '1,2'", "bad.png"},
        {{"render", "--rotate", "1,nan,2", ovx, output("bad.png")}, "invalid --rotate", "bad.png"},
        {{"render", "--background", "#12", ovx, output("bad.png")}, "invalid --background '#12'", "bad.png"},
        {{"render", "--view", "top", "--rotate", "1,2,3", ovx, output("bad.png")}, "exclude each other", "bad.png"},
        {{"render", "--size"}, "option --size needs a value"},
        {{"render", broken, output("bad.png")}, "broken.ovx: line 2: ", "bad.png"},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(str(f.args.join(' ')));
        if (f.leavesNoFile != nullptr)
            QFile::remove(output(f.leavesNoFile));
        const ToolRun run = run_tool(f.args);
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty()) << str(run.out);
        EXPECT_TRUE(run.err.startsWith("orvex: ")) << str(run.err);
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << str(run.err);
        EXPECT_TRUE(run.err.endsWith('\n'));
        EXPECT_TRUE(run.err.contains(QLatin1String(f.says))) << str(run.err);
        if (f.leavesNoFile != nullptr) {
            EXPECT_FALSE(QFile::exists(output(f.leavesNoFile)));
        }
    }
}

// A file that no reader recognises fails as a wrong file does, whatever the
// command; a recognised file without elements is an empty drawing.
TEST(OrvexFailures, NoDrawingFoundInFilesNoReaderRecognises)
{
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    QFile iges(sample("floor_plan.igs"));
    ASSERT_TRUE(iges.open(QIODevice::ReadOnly));
    const struct {
        QString file;
        const char* says;
    } files[] = {
        {write_output("junk.dxf", "this is not a drawing\nnor is this\n"), "junk.dxf: no drawing found (no DXF"},
        {write_output("empty.ovx", ""), "empty.ovx: no drawing found (empty file)"},
        {write_output("noise.igs", noise), "noise.igs: no drawing found (no IGES records)"},
        {write_output("iges-named.dxf", iges.readAll()), "it reads as IGES (use --from iges)"},
    };
    for (const auto& f : files)
        for (const char* command : {"info", "render", "convert"}) {
            SCOPED_TRACE(str(f.file) + " " + command);
            QStringList args{command, f.file};
            if (QString(command) == "render")
                args << output("nothing.png");
            if (QString(command) == "convert")
                args << output("nothing.ovx");
            const ToolRun run = run_tool(args);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.out.isEmpty()) << str(run.out);
            EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << str(run.err);
            EXPECT_TRUE(run.err.contains(QLatin1String(f.says))) << str(run.err);
        }

    // Lines end as the readers end them, a lone CR included.
    for (const QByteArray end : {"\n", "\r\n", "\r"}) {
        const QString emptyDxf = write_output(
            "no-elements.dxf", QByteArray("0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n").replace("\n", end));
        const ToolRun run = run_tool({"info", emptyDxf});
        expect_clean_success(run);
        EXPECT_EQ(info_fields(run.out)["elements"], "0");
    }
}

TEST(OrvexHelp, EveryCommandDescribesItsOptions)
{
    const struct {
        QStringList args;
        QStringList mentions;
    } helps[] = {
        {{"--help"}, {"info", "convert", "render", "Exit status"}},
        {{"info", "--help"}, {"usage: orvex info", "--from", "--import"}},
        {{"convert", "--help"}, {"usage: orvex convert", "--from", "--to", "--import", ".iges"}},
        {{"render", "-h"},
         {"usage: orvex render", "--size", "1200x900", "--view", "--rotate", "--aa", "--background", "--from",
          "--import", ".png", ".bmp", ".gif", ".jpg", ".svg", ".pdf"}},
    };
    for (const auto& h : helps) {
        SCOPED_TRACE(str(h.args.join(' ')));
        const ToolRun run = run_tool(h.args);
        expect_clean_success(run);
        EXPECT_TRUE(run.out.startsWith("usage: orvex")) << str(run.out);
        for (const QString& word : h.mentions)
            EXPECT_TRUE(run.out.contains(word)) << str(word);
    }
}

TEST(OrvexProgress, ShownForLargeFilesOnlyWhenStderrIsATerminal)
{
    if (!QFile::exists("/usr/bin/script"))
        GTEST_SKIP() << "script(1) is not installed";
    const QString big = output("large.ovx");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray line = "LINE   10.0,20.0,.0,40.0,30.0,.0,12,1,0,1\r\n";
        const QByteArray block = line.repeated(4096);
        while (f.size() < 11 * 1024 * 1024)
            f.write(block);
    }
    const ToolRun plain = run_tool({"info", big});
    expect_clean_success(plain);

    QProcess terminal;
    const QString command = QStringLiteral(ORVEX_TOOL " info '%1' >/dev/null").arg(big);
    terminal.start("/usr/bin/script", {"-qec", command, "/dev/null"});
    ASSERT_TRUE(terminal.waitForFinished(60000));
    const QString shown = QString::fromUtf8(terminal.readAllStandardOutput());
    EXPECT_EQ(terminal.exitCode(), 0);
    EXPECT_TRUE(shown.contains("orvex: reading") && shown.contains("%")) << str(shown);
}

} // namespace
