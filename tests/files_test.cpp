// The control's file operations: dispatch on CadType, loads that either
// complete or leave the drawing as it was, merges, and saves that replace
// the target only when everything was written.
#include <OrvexGDI/QOrvexGDI.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <csignal>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace orvex {
namespace {

class FilesTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray read(const QString& fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QByteArray data(const char* name) { return read(QString(ORVEX_TEST_DATA_DIR) + "/formats/" + name); }

    QTemporaryDir dir_;
    TOrvexGDI control_;
};

// Everything a failed read must leave alone.
struct Snapshot {
    explicit Snapshot(const TOrvexGDI& c)
        : views(c.Settings->ArcViews), fileName(c.Settings->DrawingFileName), units(c.GetUnits()),
          stop(c.Settings->StopReading)
    {
        for (const TElement* e : *c.Elements)
            elements.push_back(e);
        const TSettings& s = *c.Settings;
        extents = {s.ExtentMinX, s.ExtentMinY, s.ExtentMaxX, s.ExtentMaxY, s.ExtentMaxZ};
    }

    void expect_same(const TOrvexGDI& c) const
    {
        std::vector<const TElement*> now;
        for (const TElement* e : *c.Elements)
            now.push_back(e);
        EXPECT_EQ(now, elements); // the same element objects, in order
        for (int i = 1; i <= 90; ++i)
            EXPECT_EQ(std::memcmp(&c.Settings->ArcViews[i], &views[i], sizeof(TArcView)), 0) << "arc view " << i;
        const TSettings& s = *c.Settings;
        EXPECT_EQ((std::vector<double>{s.ExtentMinX, s.ExtentMinY, s.ExtentMaxX, s.ExtentMaxY, s.ExtentMaxZ}), extents);
        EXPECT_EQ(c.Settings->DrawingFileName, fileName);
        EXPECT_EQ(c.GetUnits(), units);
        EXPECT_EQ(c.Settings->StopReading, stop);
    }

    CheckedArray<TArcView, 1, 90> views;
    QString fileName;
    TDUnits units;
    bool stop;
    std::vector<const TElement*> elements;
    std::vector<double> extents;
};

TEST_F(FilesTest, FailedReadsLeaveTheDrawingAsItWas)
{
    control_.MakeLine(0, 0, 0, 3, 4, 0);
    control_.MakePoint(-7, 2, 0);
    control_.SetArcView(7, TDView3D{0, 0, 0, 1, 1, 0, 0, 0, 1, 0});
    control_.get_max_min();
    control_.SetUnits(uMM);
    control_.Settings->DrawingFileName = "before.dxf";

    write("bad.ovx", "POINT  1,2,3,12,1\r\nLINE   0,0,0,1,1,0,12,1,0\r\nVIEW   0,1,0,0,0,1,0,0,0,1\r\n");
    write("bad.dxf", "0\r\nLINE\r\n10\r\n5\r\n0\r\nPOINT\r\n8\r\n1e12\r\n");
    write("bad.igs", data("line.igs").replace("3P0000002", "9P0000002"));
    const struct {
        int cadType;
        const char* file;
        const char* where;
    } cases[] = {{1, "bad.ovx", "line 3:"}, {2, "bad.dxf", "line 8:"}, {3, "bad.igs", "line 9:"}};
    for (const auto& c : cases) {
        for (bool merge : {false, true}) {
            SCOPED_TRACE(std::string(c.file) + (merge ? " merged" : " loaded"));
            control_.SetCadType(c.cadType);
            const Snapshot before(control_);
            try {
                merge ? control_.MergeFile(path(c.file)) : control_.LoadFromFile(path(c.file));
                ADD_FAILURE() << "no error";
            } catch (const std::out_of_range& e) { // ERangeError or EListError
                EXPECT_NE(std::string(e.what()).find(c.where), std::string::npos) << e.what();
            }
            before.expect_same(control_);
            EXPECT_FALSE(control_.Settings->MergeMode);
        }
    }
}

TEST_F(FilesTest, CutFilesAreErrorsAndKeepTheDrawing)
{
    control_.MakeLine(0, 0, 0, 3, 4, 0);
    write("cut.dxf", "0\r\nLINE\r\n10\r\n5\r\n20");
    write("cut.igs", data("line.igs").left(7 * 82)); // up to the directory entries
    for (const auto& [cadType, file] : {std::pair{2, "cut.dxf"}, std::pair{3, "cut.igs"}}) {
        control_.SetCadType(cadType);
        const Snapshot before(control_);
        EXPECT_THROW(control_.LoadFromFile(path(file)), EFileError) << file;
        before.expect_same(control_);
    }
}

TEST_F(FilesTest, ImportModeReportAndLayerNames)
{
    EXPECT_EQ(control_.GetImportMode(), imBasic);
    EXPECT_EQ(control_.property("ImportMode").value<TImportMode>(), imBasic);
    write("named.dxf", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
                       "0\nLINE\n8\nWALLS\n10\n0\n20\n0\n11\n1\n21\n1\n0\nLINE\n8\n5\n10\n0\n20\n0\n11\n2\n21\n2\n"
                       "0\nREGION\n8\n5\n1\nhello\n0\nENDSEC\n0\nEOF\n");
    control_.SetCadType(2);
    control_.LoadFromFile(path("named.dxf"));
    // Basic: layer names that are not numbers give layer 1; the report
    // counts the elements made.
    EXPECT_EQ(control_.Elements->GetElement(0).GetLayer(), 1);
    EXPECT_EQ(control_.LastLoadReport().Format, "DXF");
    EXPECT_EQ(control_.LastLoadReport().Count("LINE").Read, 2);
    EXPECT_EQ(control_.LayerName(1), "");

    control_.SetImportMode(imFull);
    control_.LoadFromFile(path("named.dxf"));
    ASSERT_EQ(control_.Elements->Count(), 2);
    const int walls = control_.Elements->GetElement(0).GetLayer();
    EXPECT_EQ(control_.Elements->GetElement(1).GetLayer(), 5); // numeric names keep their number
    EXPECT_EQ(control_.LayerName(walls), "WALLS");
    EXPECT_EQ(control_.LayerName(5), "5");
    const TLoadReport& report = control_.LastLoadReport();
    EXPECT_EQ(report.Version, "AC1015");
    EXPECT_EQ(report.Count("REGION").Skipped, 1);
    EXPECT_EQ(report.Count("LINE").Read, 2);
    EXPECT_THROW(control_.LayerName(255), ERangeError);
    // A basic load names no layers.
    control_.SetImportMode(imBasic);
    control_.LoadFromFile(path("named.dxf"));
    EXPECT_EQ(control_.LayerName(walls), "");
}

// A full IGES import draws a surface (a 2 x 3 plane as a bilinear rational
// B-spline) by its edges, and IsoLines more lines across it.
TEST_F(FilesTest, IsoLinesReachTheFullIgesImport)
{
    EXPECT_EQ(control_.property("IsoLines").toInt(), 0);
    control_.SetIsoLines(25);
    EXPECT_EQ(control_.GetIsoLines(), 10);
    control_.setProperty("IsoLines", -3);
    EXPECT_EQ(control_.GetIsoLines(), 0);
    write("plane.igs", "plane                                                                   S0000001\n"
                       "1H,,1H;,,,,,,,,,,,1,2HMM;                                               G0000001\n"
                       "     128       1       0       1       0       0       0       000000000D0000001\n"
                       "     128       0       3       2       0                               0D0000002\n"
                       "128,1,1,1,1,1,1,0,0,0,0.,0.,1.,1.,0.,0.,1.,1.,1.,1.,1.,1.,0.,0.,       1P0000001\n"
                       "0.,2.,0.,0.,0.,3.,0.,2.,3.,0.,0.,1.,0.,1.;                             1P0000002\n"
                       "S0000001G0000001D0000002P0000002                                        T0000001\n");
    control_.SetCadType(3);
    control_.SetImportMode(imFull);
    for (const auto& [isoLines, length] : {std::pair{0, 10.0}, std::pair{2, 20.0}}) {
        control_.SetIsoLines(isoLines);
        control_.LoadFromFile(path("plane.igs"));
        double drawn = 0;
        for (const TElement* e : *control_.Elements)
            drawn += std::hypot(e->GetCoord(4) - e->GetCoord(1), e->GetCoord(5) - e->GetCoord(2));
        EXPECT_NEAR(drawn, length, 1e-9) << isoLines;
    }
}

TEST_F(FilesTest, FailedReadIntoAnEmptyControlLeavesItEmpty)
{
    write("bad.ovx",
          "POINT  1,2,3,12,1\r\nPOINT  50,60,0,12,1\r\nVIEW   1,1,0,0,0,1,0,0,0,1\r\nPOINT  1,2,3,3e10,1\r\n");
    control_.SetArcView(7, TDView3D{7, 0, 0, 1, 1, 0, 0, 0, 1, 0});
    control_.Settings->ExtentMaxZ = 3;
    for (bool merge : {false, true}) {
        const Snapshot before(control_);
        EXPECT_THROW(merge ? control_.MergeFile(path("bad.ovx")) : control_.LoadFromFile(path("bad.ovx")), ERangeError);
        before.expect_same(control_);
        EXPECT_EQ(control_.Elements->Count(), 0);
    }
}

TEST_F(FilesTest, FileThatCannotBeOpenedChangesNothing)
{
    control_.MakeLine(0, 0, 0, 3, 4, 0);
    control_.SetArcView(5, TDView3D{5, 0, 1, 0, 0, 0, 1, 1, 0, 0});
    for (int type : {1, 2, 3}) {
        control_.SetCadType(type);
        const Snapshot before(control_);
        control_.LoadFromFile(path("missing.file")); // quietly
        control_.MergeFile(path("missing.file"));
        before.expect_same(control_);
    }
    const Snapshot before(control_);
    control_.LoadFromFile(QString());
    before.expect_same(control_);

    // The arcs' planes are still saved, so arcs in them keep their plane.
    control_.SetCadType(1);
    control_.SaveToFile(path("after.ovx"));
    EXPECT_TRUE(read(path("after.ovx")).contains("VIEW   5,0,1,0,0,0,1,1,0,0\r\n"));
}

TEST_F(FilesTest, LoadsReplaceMergesAppend)
{
    write("line.igs", data("line.igs"));
    write("line.dxf", data("line.dxf"));
    write("house.ovx", read(QString(ORVEX_TEST_DATA_DIR) + "/../../samples/house.ovx"));
    control_.MakePoint(100, 100, 0);
    control_.MakePoint(-100, 0, 0);

    control_.SetCadType(3);
    control_.MergeFile(path("line.igs"));
    ASSERT_EQ(control_.Elements->Count(), 3);
    EXPECT_EQ(control_.GetElement(2).GetEtype(), etLine);
    EXPECT_EQ(control_.GetElement(2).GetCoord(5), 2);
    EXPECT_EQ(control_.GetUnits(), uINCH);
    EXPECT_EQ(control_.Settings->DrawingFileName, path("line.igs"));
    EXPECT_EQ(control_.Settings->ExtentMinX, -100); // recomputed over all elements
    EXPECT_EQ(control_.Settings->ExtentMaxY, 100);

    control_.SetCadType(2);
    control_.LoadFromFile(path("line.dxf"));
    ASSERT_EQ(control_.Elements->Count(), 1);
    EXPECT_EQ(control_.Settings->ExtentMaxX, 10);
    EXPECT_EQ(control_.Settings->ExtentMaxY, 5.5);
    EXPECT_EQ(control_.Settings->ExtentMaxZ, -100); // the reset of a load
    EXPECT_TRUE(control_.Settings->StopReading);
    EXPECT_EQ(control_.Settings->DrawingFileName, path("line.dxf"));

    control_.SetCadType(1);
    control_.LoadFromFile(path("house.ovx"));
    EXPECT_EQ(control_.Elements->Count(), 11);
    EXPECT_EQ(control_.Settings->DrawingFileName, path("line.dxf")); // OVX reading keeps it
    EXPECT_TRUE(control_.Settings->ArcViews[2].Defined);
    EXPECT_FALSE(control_.Settings->ArcViews[3].Defined);
}

// Whichever way a read is asked for, MergeMode is clear once it returns; a
// host that calls make_cad itself chooses a merge through MergeMode.
TEST_F(FilesTest, MergeModeIsClearAfterEveryRead)
{
    write("line.dxf", data("line.dxf"));
    control_.SetCadType(2);
    const struct {
        const char* how;
        bool mergeModeBefore;
        std::function<void(TOrvexGDI&, const QString&)> read;
        int elements;
    } rows[] = {
        {"LoadFromFile", true, [](TOrvexGDI& c, const QString& f) { c.LoadFromFile(f); }, 1},
        {"MergeFile", false, [](TOrvexGDI& c, const QString& f) { c.MergeFile(f); }, 3},
        {"make_cad, MergeMode set", true, [](TOrvexGDI& c, const QString& f) { EXPECT_EQ(c.make_cad(f), 1); }, 3},
        {"make_cad, MergeMode clear", false, [](TOrvexGDI& c, const QString& f) { EXPECT_EQ(c.make_cad(f), 1); }, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        control_.Elements->Clear();
        control_.MakePoint(100, 100, 0);
        control_.MakePoint(-100, 0, 0);
        control_.Settings->MergeMode = row.mergeModeBefore;
        row.read(control_, path("line.dxf"));
        EXPECT_EQ(control_.Elements->Count(), row.elements);
        EXPECT_FALSE(control_.Settings->MergeMode);
    }
}

// What a read gives an element, compared after later edits.
struct LoadedValues {
    explicit LoadedValues(const TElement& e)
        : type(e.GetEtype()), colour(e.GetColor()), lineType(e.GetLineType()), view(e.GetView()), layer(e.GetLayer())
    {
        for (int s = 1; s <= 6; ++s)
            coords[s - 1] = e.GetCoord(s);
    }
    bool operator==(const LoadedValues&) const = default;

    int type;
    TColor colour;
    int lineType;
    int view;
    int layer;
    std::array<double, 6> coords{};
};

std::vector<LoadedValues> values_of(const TOrvexGDI& c, int first, int count)
{
    std::vector<LoadedValues> values;
    for (int i = first; i < first + count; ++i)
        values.emplace_back(c.GetElement(i));
    return values;
}

void expect_distinct_objects(const TOrvexGDI& c)
{
    std::set<const TElement*> objects;
    for (const TElement* e : *c.Elements)
        EXPECT_TRUE(objects.insert(e).second) << "index " << e->Index() << " shares its object";
}

// A host loads (or merges into an empty list), then makes, inserts and
// edits: each new element is an object of its own and the loaded ones keep
// their values, in every format and import mode.
TEST_F(FilesTest, EditsAfterALoadKeepEveryLoadedElement)
{
    const QString samples = QString(ORVEX_TEST_DATA_DIR) + "/../../samples/";
    for (const char* name : {"bracket_plate.ovx", "bracket_plate.dxf", "bracket_plate.igs"})
        write(name, read(samples + name));
    enum How { Load, MergeIntoEmpty, MergeAfterClear };
    for (int cadType : {1, 2, 3}) {
        for (TImportMode mode : {imBasic, imFull}) {
            for (How how : {Load, MergeIntoEmpty, MergeAfterClear}) {
                const QString file =
                    path(QStringList{"bracket_plate.ovx", "bracket_plate.dxf", "bracket_plate.igs"}[cadType - 1]);
                SCOPED_TRACE(file.toStdString() + (mode == imFull ? " full" : " basic") + " how " +
                             std::to_string(how));
                TOrvexGDI c;
                c.SetCadType(cadType);
                c.SetImportMode(mode);
                if (how == MergeAfterClear) {
                    c.MakePoint(1, 2, 3);
                    c.ClearElements();
                }
                how == Load ? c.LoadFromFile(file) : c.MergeFile(file);
                const int loaded = c.Elements->Count();
                ASSERT_GT(loaded, 0);
                const std::vector<LoadedValues> before = values_of(c, 0, loaded);

                EXPECT_EQ(c.MakeLine(100, 100, 0, 200, 200, 0), loaded);
                c.Elements->Insert(0);
                expect_distinct_objects(c);
                EXPECT_EQ(values_of(c, 1, loaded), before);
                EXPECT_EQ(c.GetElement(loaded + 1).GetCoord(4), 200);

                int rotatable = 0;
                for (const TElement* e : *c.Elements)
                    rotatable += e->GetEtype() >= etPoint && e->GetEtype() <= etArc && !e->GetDeleted();
                c.AddToGroup(0);
                c.RotateGroup(30, 0, 0, 1, false);
                expect_distinct_objects(c);
                int live = 0;
                for (const TElement* e : *c.Elements)
                    live += !e->GetDeleted();
                EXPECT_EQ(live, rotatable);
                EXPECT_EQ(c.Elements->Count(), loaded + 2 + rotatable);

                c.ClearElements();
                EXPECT_EQ(c.MakePoint(1, 1, 1), 0);
                expect_distinct_objects(c);
            }
        }
    }
}

TEST_F(FilesTest, SavesDispatchOnTheFormat)
{
    control_.SetCurrentColor(0x0000FF);
    control_.MakePoint(0, 0, 0);
    control_.SetCadType(5); // stored as 1
    control_.SaveToFile(path("point.ovx"));
    EXPECT_EQ(read(path("point.ovx")), data("five_records.ovx"));
    EXPECT_EQ(control_.Settings->DrawingFileName, path("point.ovx"));

    // After a load only the top view and the file's views are written.
    write("views.ovx", "VIEW   7,0,0,1,1,0,0,0,1,0\r\n");
    control_.LoadFromFile(path("views.ovx"));
    EXPECT_TRUE(control_.save_cad(path("views2.ovx")));
    EXPECT_EQ(read(path("views2.ovx")), QByteArray("VIEW   1,1,0,0,0,1,0,0,0,1\r\nVIEW   7,0,0,1,1,0,0,0,1,0\r\n"));

    control_.SetCadType(2);
    EXPECT_TRUE(control_.save_cad(path("empty.dxf")));
    EXPECT_EQ(read(path("empty.dxf")), data("empty.dxf"));
    control_.SetCadType(3);
    EXPECT_FALSE(control_.save_cad(path("no/such/folder/x.igs")));
    EXPECT_EQ(control_.Settings->DrawingFileName, path("empty.dxf"));
}

TEST_F(FilesTest, FailedSaveLeavesTheTargetUntouched)
{
    for (int i = 0; i < 20000; ++i)
        control_.MakeLine(i, 0, 0, i, 1, 0);
    write("target.ovx", "old contents\r\n");
    const QString before = control_.Settings->DrawingFileName;

    // A file-size limit stands in for a full disk: writes past it fail.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved1 = true, saved2 = true;
    for (int type : {1, 2, 3}) {
        control_.SetCadType(type);
        (type == 1 ? saved1 : saved2) = control_.save_cad(path("target.ovx"));
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved1);
    EXPECT_FALSE(saved2);
    EXPECT_EQ(read(path("target.ovx")), QByteArray("old contents\r\n"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"target.ovx"}); // no temporary left
    EXPECT_EQ(control_.Settings->DrawingFileName, before);
    control_.SetCadType(1);
    EXPECT_TRUE(control_.save_cad(path("target.ovx")));
}

TEST_F(FilesTest, SaveOfAValueThatWouldNotReadBackWritesNothing)
{
    // Each row: how element 1 came to hold a value that would not read back
    // (or would read back as something else), and the formats that refuse
    // it (IGES writes arc end points, not angles; DXF keeps arcs of radius 0).
    const double nan = std::nan("");
    auto lineWithX = [](double x) {
        return [x](TOrvexGDI& c) { c.GetElement(c.MakeLine(0, 0, 0, 1, 1, 0)).SetCoord(1, x); }; // as a host may
    };
    const struct {
        const char* what;
        std::function<void(TOrvexGDI&)> make;
        std::vector<int> formats;
    } rows[] = {
        {"arc angle 1e20", [](TOrvexGDI& c) { c.MakeArc(1, 0, 0, 0, 5, 10, 1e20); }, {1, 2}},
        {"x set to 1e20", lineWithX(1e20), {1, 2, 3}},
        {"x set to -5e14", lineWithX(-5e14), {1, 2, 3}},
        {"x set to NaN", lineWithX(nan), {1, 2, 3}},
        {"x set beyond the factory's range", lineWithX(2e9), {1, 2, 3}},
        {"arc radius written as 0", [](TOrvexGDI& c) { c.MakeArc(1, 0, 0, 0, 1.7e-6, 10, 90); }, {1, 3}},
        {"layer set to 300", [](TOrvexGDI& c) { c.GetElement(c.MakePoint(3, 4, 0)).SetLayer(300); }, {1, 2, 3}},
        {"arc view set to 95", [](TOrvexGDI& c) { c.GetElement(c.MakeArc(1, 0, 0, 0, 5, 10, 90)).SetView(95); }, {1}},
    };
    for (const auto& row : rows) {
        for (int type : row.formats) {
            SCOPED_TRACE(std::string(row.what) + ", format " + std::to_string(type));
            TOrvexGDI c;
            c.MakePoint(1, 2, 0);
            row.make(c);
            c.SetCadType(type);
            write("target", "old contents\r\n");
            EXPECT_FALSE(c.save_cad(path("target")));
            try {
                c.SaveToFile(path("target"));
                ADD_FAILURE() << "no error";
            } catch (const EFileError& e) {
                const std::string text = e.what();
                EXPECT_NE(text.find(path("target").toStdString()), std::string::npos) << text;
                EXPECT_NE(text.find("element 1"), std::string::npos) << text;
            }
            EXPECT_EQ(read(path("target")), QByteArray("old contents\r\n"));
            EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"target"});
        }
    }
    // A view coefficient that is not a number cannot be written either.
    control_.SetArcView(5, TDView3D{5, nan, 0, 0, 0, 1, 0, 0, 0, 1});
    EXPECT_THROW(control_.SaveToFile(path("views.ovx")), EFileError);
    EXPECT_FALSE(QFile::exists(path("views.ovx")));
    // Whenever save_cad fails, SaveToFile raises.
    EXPECT_THROW(control_.SaveToFile(path("no/such/folder/x.ovx")), EFileError);
}

TEST_F(FilesTest, SavedDrawingsOpenWithTheirColoursAndLayersInEitherImport)
{
    // One line in each colour of the formats' tables, each on its own layer.
    const TColor colours[] = {0x000000, 0x008000, 0x000080, 0x008080, 0x00FFFF, 0x808000, 0x800080, 0x808080,
                              0x800000, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0xC0C0C0, 0xFFFFFF};
    for (int i = 0; i < 16; ++i) {
        control_.SetCurrentColor(colours[i]);
        control_.SetCurrentLayer(i == 15 ? 254 : 1 + 16 * i);
        control_.MakeLine(i, 0, 0, i, 1, 0);
    }
    // IGES has nine colour numbers for the sixteen colours; both imports
    // must still agree on them.
    const struct {
        int cadType;
        const char* file;
        bool keepsColours;
    } rows[] = {{1, "saved.ovx", true}, {2, "saved.dxf", true}, {3, "saved.igs", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        control_.SetCadType(row.cadType);
        control_.SaveToFile(path(row.file));
        TOrvexGDI basic, full;
        for (TOrvexGDI* c : {&basic, &full}) {
            c->SetBackgroundColor(0x202020); // neither black nor white: no colour stands in for another
            c->SetCadType(row.cadType);
        }
        full.SetImportMode(imFull);
        basic.LoadFromFile(path(row.file));
        full.LoadFromFile(path(row.file));
        ASSERT_EQ(basic.Elements->Count(), 16);
        ASSERT_EQ(full.Elements->Count(), 16);
        for (int i = 0; i < 16; ++i) {
            const TElement& saved = control_.GetElement(i);
            if (row.keepsColours) {
                EXPECT_EQ(basic.GetElement(i).GetColor(), saved.GetColor()) << i;
            }
            EXPECT_EQ(full.GetElement(i).GetColor(), basic.GetElement(i).GetColor()) << i;
            EXPECT_EQ(basic.GetElement(i).GetLayer(), saved.GetLayer()) << i;
            EXPECT_EQ(full.GetElement(i).GetLayer(), saved.GetLayer()) << i;
        }
    }
}

TEST_F(FilesTest, SavesReplaceOnlyRegularFiles)
{
    control_.MakePoint(1, 2, 0);
    ASSERT_EQ(mkfifo(path("fifo").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    for (const char* name : {"fifo", "folder"}) {
        for (int type : {1, 2, 3}) {
            SCOPED_TRACE(std::string(name) + ", format " + std::to_string(type));
            control_.SetCadType(type);
            EXPECT_FALSE(control_.save_cad(path(name)));
            EXPECT_THROW(control_.SaveToFile(path(name)), EFileError);
        }
    }
    struct stat st {};
    ASSERT_EQ(stat(path("fifo").toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"fifo", "folder"}));
}

TEST_F(FilesTest, ReadElementsObeyTheFactory)
{
    // A read makes its elements aside; they must come out as the control's
    // own factory makes them.
    write("edge.ovx", "LINE   1,2,3,4,5,6,12,0,10\r\nLINE   1,2,3,4,5,6,12,255,20\r\n"
                      "ARC    1,2,3,4,90,90.00005,1,12,1,0\r\nPOINT  2e9,0,0,12,1\r\nPOINT  1,2,5e9,12,1\r\n");
    control_.LoadFromFile(path("edge.ovx"));
    TOrvexGDI reference;
    reference.make_element(etLine, 1, 2, 3, 4, 5, 6, 0x0000FF, 10, 0, 0, 0);
    reference.make_element(etLine, 1, 2, 3, 4, 5, 6, 0x0000FF, 20, 255, 0, 0);
    reference.make_element(etArc, 1, 2, 3, 4, 90, 90.00005, 0x0000FF, 0, 1, 0, 1);
    reference.make_element(etPoint, 2e9, 0, 0, 0, 0, 0, 0x0000FF, 0, 1, 0, 0);
    reference.make_element(etPoint, 1, 2, 5e9, 0, 0, 0, 0x0000FF, 0, 1, 0, 0);
    ASSERT_EQ(control_.Elements->Count(), reference.Elements->Count());
    for (int i = 0; i < reference.Elements->Count(); ++i) {
        const TElement& a = control_.GetElement(i);
        const TElement& b = reference.GetElement(i);
        EXPECT_EQ(a.GetEtype(), b.GetEtype());
        EXPECT_EQ(a.GetLayer(), b.GetLayer());
        EXPECT_EQ(a.GetLineType(), b.GetLineType());
        EXPECT_EQ(a.GetView(), b.GetView());
        EXPECT_EQ(a.GetDeleted(), b.GetDeleted());
        for (int s = 1; s <= 6; ++s)
            EXPECT_EQ(a.GetCoord(s), b.GetCoord(s)) << "element " << i << " slot " << s;
    }
}

TEST_F(FilesTest, ReadersLeaveOutWhatTheFactoryRejects)
{
    // 1000000001 in each slot of a line: beyond 1e9 the element is left
    // out, but an out-of-range Z (start or end) becomes 0.
    const char* dxfCodes[] = {"10", "20", "30", "11", "21", "31"};
    for (int slot = 1; slot <= 6; ++slot) {
        std::string ovx = "LINE   ", dxf = "0\r\nLINE\r\n8\r\n1\r\n";
        for (int s = 1; s <= 6; ++s) {
            const std::string value = s == slot ? "1000000001" : std::to_string(s);
            ovx += value + ",";
            dxf += std::string(dxfCodes[s - 1]) + "\r\n" + value + "\r\n";
        }
        write("slot.ovx", QByteArray::fromStdString(ovx + "12,1,0\r\n"));
        write("slot.dxf", QByteArray::fromStdString(dxf + "0\r\nEOF\r\n"));
        for (int type : {1, 2}) {
            SCOPED_TRACE(std::string(type == 1 ? "OVX" : "DXF") + " slot " + std::to_string(slot));
            control_.SetCadType(type);
            control_.LoadFromFile(path(type == 1 ? "slot.ovx" : "slot.dxf"));
            if (slot == 3 || slot == 6) {
                ASSERT_EQ(control_.Elements->Count(), 1);
                EXPECT_EQ(control_.GetElement(0).GetCoord(slot), 0);
            } else {
                EXPECT_EQ(control_.Elements->Count(), 0);
            }
        }
    }
    // Infinite and not-a-number values: an arc's end angle, a point's X.
    write("edge.ovx", "ARC    0,0,0,5,0,1D400,1,12,1,0\r\nPOINT  0D400,0,0,12,1\r\n");
    write("edge.dxf", "0\r\nARC\r\n8\r\n1\r\n10\r\n0\r\n20\r\n0\r\n40\r\n5\r\n51\r\n1e400\r\n0\r\nEOF\r\n");
    for (int type : {1, 2}) {
        control_.SetCadType(type);
        control_.LoadFromFile(path(type == 1 ? "edge.ovx" : "edge.dxf"));
        EXPECT_EQ(control_.Elements->Count(), 0) << type;
    }
}

} // namespace
} // namespace orvex
