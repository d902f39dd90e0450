// The demonstration program's windows driven as a user drives them: widgets
// found by their component names, real mouse events on the drawing control,
// modal dialogs answered from a timer.
#include "DemoFileDialog.h"
#include "DemoNumbers.h"
#include "DemoWindows.h"
#include "ZoomBandOverlay.h"
#include "modal_answers.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace orvex::demo {
namespace {

using namespace orvex::demo::testing;

constexpr double kPi = 3.14159265358979323846;

class DemoWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        windows_ = std::make_unique<TDemoWindows>();
        form().show();
        QApplication::processEvents();
        // The controls' one-second start-up repaint, now rather than in the
        // middle of a test.
        for (TOrvexGDI* control : {form().OrvexGDI1, form().OrvexGDI2})
            if (auto* timer = control->findChild<QTimer*>(QStringLiteral("startupTimer"))) {
                timer->stop();
                QMetaObject::invokeMethod(timer, "timeout");
            }
    }

    TForm1& form() { return windows_->Form1; }
    TOrvexGDI& gdi() { return *form().OrvexGDI1; }

    template <typename T>
    T* find(const char* name)
    {
        T* w = form().centralWidget()->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction* action(const char* name) { return form().menuBar()->findChild<QAction*>(QLatin1String(name)); }
    void trigger(const char* name) { action(name)->trigger(); }
    void click(const char* name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    void check(const char* name, bool on) { find<QCheckBox>(name)->setChecked(on); }
    void type(const char* name, const QString& text) { find<QLineEdit>(name)->setText(text); }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    QString edit(const char* name) { return find<QLineEdit>(name)->text(); }
    QImage picture() { return gdi().GetBitmap()->copy(); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(gdi().mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&gdi(), &event);
    }
    void press(QPoint at) { mouse(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void drag(QPoint to) { mouse(QEvent::MouseMove, to, Qt::LeftButton); }
    void hover(QPoint to) { mouse(QEvent::MouseMove, to, Qt::NoButton); }
    void release(QPoint at) { mouse(QEvent::MouseButtonRelease, at, Qt::NoButton); }
    void click_on(QPoint at)
    {
        press(at);
        release(at);
    }
    QPoint pixel_of(double x, double y) { return gdi().CoordToPixel(x, y, 0); }

    // A small drawing: a rectangle, its diagonal and a point.
    static void draw_sample(TOrvexGDI& control)
    {
        control.MakeLine(0, 0, 0, 40, 0, 0);
        control.MakeLine(40, 0, 0, 40, 30, 0);
        control.MakeLine(40, 30, 0, 0, 30, 0);
        control.MakeLine(0, 30, 0, 0, 0, 0);
        control.MakePoint(20, 15, 0);
    }
    void load_sample()
    {
        draw_sample(gdi());
        gdi().ZoomAll();
    }

    std::unique_ptr<TDemoWindows> windows_;
    QTemporaryDir dir_;
};

// ---------------------------------------------------------------- start state

TEST_F(DemoWindow, StartsWithTheDesignedWindowPagesAndCaptions)
{
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Orvex Demo"));
    EXPECT_EQ(form().minimumSize(), form().maximumSize()) << "fixed size";
    EXPECT_FALSE(form().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form().palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(gdi().geometry(), QRect(2, 3, 337, 369));
    EXPECT_EQ(gdi().GetCurrentColor(), 0x00FF00);
    EXPECT_EQ(gdi().GetCadType(), 1);
    EXPECT_FALSE(gdi().GetAntiAlias());
    EXPECT_TRUE(form().OrvexGDI2->GetAntiAlias());

    auto* pages = find<QTabWidget>("PageControl1");
    ASSERT_EQ(pages->count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(pages->tabText(i), QStringLiteral("Demo%1").arg(i + 1));
    EXPECT_EQ(pages->currentIndex(), 5);

    const struct {
        const char* name;
        const char* text;
    } texts[] = {{"Label20", "0"},
                 {"Label1", "0.0"},
                 {"Label10", " is X"},
                 {"Label9", "Inches"},
                 {"Label33", "--"},
                 {"Label36", "---"},
                 {"Edit4", "45"},
                 {"Edit1", ""},
                 {"Edit7", "30"},
                 {"Edit10", "1"},
                 {"Edit12", "2"},
                 {"Edit11", "5"},
                 {"Edit15", "4"},
                 {"Button18", "Button18"},
                 {"Button3", "Pick Element"},
                 {"CheckBox9", "Linearcs"},
                 {"Label31", "More than one control"}};
    for (const auto& t : texts) {
        QWidget* w = find<QWidget>(t.name);
        const QVariant shown = w->property("text");
        EXPECT_EQ(shown.toString(), QString::fromUtf8(t.text)) << t.name;
    }
    EXPECT_TRUE(find<QCheckBox>("CheckBox1")->isChecked());
    const struct {
        const char* name;
        const char* caption;
    } items[] = {{"LoadCAD", "Load CAD"},
                 {"PrintCad1", "PrintCAD"},
                 {"Metafile1", "Metafile"},
                 {"ISOView1", "ISO View"},
                 {"BackgroundColor1", "Background Color..."},
                 {"ZoomWindow1", "Zoom Window"},
                 {"Arc1", "Arc..."},
                 {"CurrentColor1", "Current Color..."}};
    for (const auto& item : items)
        EXPECT_EQ(action(item.name)->text(), QString::fromUtf8(item.caption)) << item.name;
    EXPECT_TRUE(action("Axis1")->isCheckable());
    EXPECT_FALSE(action("Axis1")->isChecked());
}

// ---------------------------------------------------------------- drawing files

TEST_F(DemoWindow, LoadCadChoosesTheReaderFromTheUpperCasedExtension)
{
    // Each file holds what its reader expects, so a wrong CadType shows as
    // a failed read as well as in the property.
    TOrvexGDI writer;
    draw_sample(writer);
    const auto save = [&](int cadType, const QString& name) {
        writer.SetCadType(cadType);
        writer.SaveToFile(path(name));
    };
    save(3, QStringLiteral("a.igs"));
    save(3, QStringLiteral("b.IGS"));
    save(2, QStringLiteral("c.Dxf"));
    save(3, QStringLiteral("a.iges"));
    save(1, QStringLiteral("noextension"));
    save(1, QStringLiteral("typed.ovx"));
    const struct {
        const char* chosen; // as typed into the dialog
        int cadType;
    } rows[] = {{"a.igs", 3}, {"b.IGS", 3}, {"c.Dxf", 2}, {"a.iges", 3}, {"noextension", 1}, {"typed", 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.chosen);
        gdi().SetCadType(2);
        gdi().ClearElements();
        EXPECT_EQ(Answering({ChooseFile(path(QLatin1String(row.chosen)))}, [&] { trigger("LoadCAD"); }), 0u);
        EXPECT_EQ(gdi().GetCadType(), row.cadType);
        EXPECT_EQ(gdi().Elements->Count(), 5);
        EXPECT_FALSE(edit("Edit1").isEmpty()) << "ZoomAll follows the load";
    }
    EXPECT_EQ(CadTypeOfFile(QStringLiteral("/drawings.igs/plan")), 1) << "the point of a folder is no extension";
}

TEST_F(DemoWindow, CancelledDialogsChangeNothing)
{
    load_sample();
    gdi().SetCadType(2);
    const double size = gdi().GetViewSize();
    const QImage before = picture();
    for (const char* item : {"LoadCAD", "MergeCAD1", "SaveCAD", "SaveBMP1", "SaveGIF1", "SaveJPEG1", "BackgroundColor1",
                             "CurrentColor1", "PrintCad1", "PrintBitmap1"}) {
        SCOPED_TRACE(item);
        EXPECT_EQ(Answering({Cancel()}, [&] { trigger(item); }), 0u);
        EXPECT_EQ(gdi().Elements->Count(), 5);
        EXPECT_EQ(gdi().GetCadType(), 2);
        EXPECT_EQ(gdi().GetViewSize(), size);
        EXPECT_EQ(gdi().GetBackgroundColor(), 0);
        EXPECT_EQ(gdi().GetCurrentColor(), 0x00FF00);
        EXPECT_EQ(picture(), before);
    }
    EXPECT_EQ(Answering({Cancel()}, [&] { click("Button13"); }), 0u);
    EXPECT_EQ(form().OrvexGDI2->Elements->Count(), 0);
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(DemoWindow, ColourDialogSetsBackgroundAndDrawingColour)
{
    EXPECT_EQ(Answering({ChooseColour(QColor(10, 20, 30))}, [&] { trigger("BackgroundColor1"); }), 0u);
    EXPECT_EQ(gdi().GetBackgroundColor(), 10 | 20 << 8 | 30 << 16) << "red in the low byte";
    EXPECT_EQ(Answering({ChooseColour(QColor(255, 0, 0))}, [&] { trigger("CurrentColor1"); }), 0u);
    EXPECT_EQ(gdi().GetCurrentColor(), 0x0000FF);
}

TEST_F(DemoWindow, PictureNamesTypedWithoutExtensionGetTheCommandsOwn)
{
    load_sample();
    const struct {
        const char* item;
        const char* file;
        const char* filter; // the entry chosen at the start
        QByteArray magic;
    } rows[] = {{"SaveBMP1", "shot.bmp", "BMP Files (*.bmp)", "BM"},
                {"SaveGIF1", "shot.gif", "GIF Files (*.gif)", "GIF8"},
                {"SaveJPEG1", "shot.jpg", "JPEG Files {*.jpg)", "\xFF\xD8\xFF"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.item);
        QString filter;
        Answer typeShot = [&](QWidget* w) {
            filter = qobject_cast<QFileDialog*>(w)->selectedNameFilter();
            ChooseFile(path(QStringLiteral("shot")))(w);
        };
        EXPECT_EQ(Answering({typeShot}, [&] { trigger(row.item); }), 0u);
        EXPECT_EQ(filter, QLatin1String(row.filter));
        QFile file(path(QLatin1String(row.file)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(row.magic.size()) == row.magic);
    }
}

TEST_F(DemoWindow, PrintCommandsPrintOnTheChosenPrinter)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "printers are installed: the dialog would choose one of them";
    load_sample();
    for (const char* item : {"PrintCad1", "PrintBitmap1"}) {
        SCOPED_TRACE(item);
        const QString pdf = path(QLatin1String(item) + QStringLiteral(".pdf"));
        TOrvexGDI::Printer().setOutputFileName(pdf); // the dialog offers it as its choice
        Answer print = [](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); };
        EXPECT_EQ(Answering({print}, [&] { trigger(item); }), 0u);
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.read(5), QByteArray("%PDF-"));
    }
    TOrvexGDI::Printer().setOutputFileName(QString());
}

TEST_F(DemoWindow, ReaderErrorIsShownAndTheDrawingAndZoomStay)
{
    load_sample();
    QFile bad(path(QStringLiteral("bad.ovx")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("POINT  1,2,3,12,1\r\nPOINT  1,2,3,3e10,1\r\n");
    bad.close();
    type("Edit1", QString());
    QString message;
    EXPECT_EQ(Answering({ChooseFile(bad.fileName()), ReadMessage(message)}, [&] { trigger("LoadCAD"); }), 0u);
    EXPECT_TRUE(message.contains(QStringLiteral("2"))) << message.toStdString() << " names the line";
    EXPECT_EQ(gdi().Elements->Count(), 5);
    EXPECT_TRUE(edit("Edit1").isEmpty()) << "no ZoomAll after a failed read";
}

// Drawings open with the full import; a file that gives no element is named
// in a message rather than shown as an empty picture.
TEST_F(DemoWindow, FilesOpenWholeAndAnEmptyReadIsNamed)
{
    EXPECT_EQ(gdi().GetImportMode(), imFull);
    EXPECT_TRUE(gdi().GetWheelZoom());
    EXPECT_TRUE(gdi().GetLivePan());
    EXPECT_EQ(gdi().GetRenderThreads(), 0);
    QFile junk(path(QStringLiteral("junk.dxf")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is no drawing\n");
    junk.close();
    for (const char* item : {"LoadCAD", "MergeCAD1"}) {
        SCOPED_TRACE(item);
        QString message;
        EXPECT_EQ(Answering({ChooseFile(junk.fileName()), ReadMessage(message)}, [&] { trigger(item); }), 0u);
        EXPECT_TRUE(message.contains(QStringLiteral("junk.dxf"))) << message.toStdString();
    }
}

// ---------------------------------------------------------------- zoom window

class ZoomWindowTest : public DemoWindow {
protected:
    // The zoom a control of the same size and drawing gets from the call.
    void expect_zoom_of(int x1, int y1, int x2, int y2)
    {
        TOrvexGDI reference;
        reference.resize(gdi().size());
        draw_sample(reference);
        reference.ZoomAll();
        reference.ZoomWindow(x1, y1, x2, y2);
        EXPECT_DOUBLE_EQ(gdi().GetViewSize(), reference.GetViewSize());
        EXPECT_DOUBLE_EQ(gdi().GetCenterX(), reference.GetCenterX());
        EXPECT_DOUBLE_EQ(gdi().GetCenterY(), reference.GetCenterY());
        EXPECT_EQ(edit("Edit1"), FormatFloat(QStringLiteral("%8.3f"), {reference.GetViewSize()}));
        EXPECT_EQ(edit("Edit2"), FormatFloat(QStringLiteral("%8.3f"), {reference.GetCenterX()}));
    }
};

TEST_F(ZoomWindowTest, DragDrawsAnInvertedOutlineOverTheControlAndZoomsInDragOrder)
{
    load_sample();
    check("CheckBox1", false); // the coordinate read-out stays as it is
    trigger("ZoomWindow1");
    EXPECT_EQ(gdi().cursor().shape(), Qt::PointingHandCursor);
    const QImage before = picture();
    const QImage plain = form().centralWidget()->grab().toImage();
    press({200, 220});
    drag({120, 100});
    drag({60, 80});
    TZoomBandOverlay* band = form().ZoomBand;
    ASSERT_TRUE(band->OutlineShown());
    EXPECT_EQ(band->Outline(), QRect(QPoint(200, 220), QPoint(60, 80)));
    EXPECT_EQ(picture(), before) << "the outline is not drawn into the control's picture";
    // On the window the outline inverts what lies below it, on its border only.
    const QImage banded = form().centralWidget()->grab().toImage();
    const QRect outer = QRect(QPoint(60, 80), QPoint(200, 220)).adjusted(-1, -1, 1, 1);
    const QRect inner = outer.adjusted(3, 3, -3, -3);
    int changed = 0, notInverted = 0, offBorder = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb was = plain.pixel(x, y), now = banded.pixel(x, y);
            if (was == now)
                continue;
            ++changed;
            notInverted += now != (~was | 0xFF000000u) ? 1 : 0;
            offBorder += !outer.contains(x, y) || inner.contains(x, y) ? 1 : 0;
        }
    EXPECT_GT(changed, 150) << "a dotted outline around 140 x 140 pixels";
    EXPECT_EQ(notInverted, 0);
    EXPECT_EQ(offBorder, 0);

    release({60, 80});
    EXPECT_FALSE(band->OutlineShown());
    EXPECT_EQ(gdi().cursor().shape(), Qt::ArrowCursor);
    expect_zoom_of(200, 220, 60, 80);
}

TEST_F(ZoomWindowTest, ClickWithoutMovingZoomsToAnEmptyRectangle)
{
    load_sample();
    trigger("ZoomWindow1");
    click_on({100, 120});
    expect_zoom_of(100, 120, 100, 120);
}

TEST_F(ZoomWindowTest, ChosenTwiceActsOnceAndAReleaseAloneDoesNotZoom)
{
    load_sample();
    trigger("ZoomWindow1");
    trigger("ZoomWindow1");
    press({50, 50});
    drag({150, 200});
    release({150, 200});
    expect_zoom_of(50, 50, 150, 200);
    const double size = gdi().GetViewSize();
    press({10, 10});
    drag({300, 300});
    release({300, 300});
    release({20, 20});
    EXPECT_EQ(gdi().GetViewSize(), size) << "no zoom window is armed any more";
}

TEST_F(DemoWindow, MouseCoordinatesFollowTheMouseOnlyWhileShown)
{
    load_sample();
    hover({100, 150});
    const TDPoint p = gdi().PixelToCoord(100, 150);
    EXPECT_EQ(label("Label1"), FormatFloat(QStringLiteral("X%8.3f Y%8.3f Z%8.3f"), {p.X, p.Y, p.Z}));
    check("CheckBox1", false);
    hover({10, 10});
    EXPECT_EQ(label("Label1"), FormatFloat(QStringLiteral("X%8.3f Y%8.3f Z%8.3f"), {p.X, p.Y, p.Z}));
}

TEST_F(DemoWindow, AxisTogglesBetweenDrawnAndRedrawnWithout)
{
    load_sample();
    const QImage without = picture();
    trigger("Axis1");
    EXPECT_TRUE(action("Axis1")->isChecked());
    EXPECT_TRUE(gdi().GetShowAxis());
    EXPECT_NE(picture(), without);
    trigger("Axis1");
    EXPECT_FALSE(action("Axis1")->isChecked());
    EXPECT_FALSE(gdi().GetShowAxis());
    EXPECT_EQ(picture(), without);
}

TEST_F(DemoWindow, ViewMenuAndSwitchesReachTheControl)
{
    load_sample();
    const struct {
        const char* item;
        TDView view;
    } views[] = {{"FrontView1", vFRONT}, {"SideView1", vSIDE}, {"ISOView1", vISO}, {"TopView1", vTOP}};
    for (const auto& v : views) {
        trigger(v.item);
        EXPECT_EQ(gdi().GetView(), v.view) << v.item;
    }
    const double size = gdi().GetViewSize();
    trigger("ZoomDouble1");
    EXPECT_DOUBLE_EQ(gdi().GetViewSize(), size / 2);
    trigger("ZoomHalf1");
    EXPECT_DOUBLE_EQ(gdi().GetViewSize(), size);
    check("CheckBox8", true);
    EXPECT_TRUE(gdi().GetAntiAlias());
    check("CheckBox9", true);
    EXPECT_TRUE(gdi().Settings->PolylineArcs);
    EXPECT_FALSE(form().OrvexGDI2->Settings->PolylineArcs);
}

TEST_F(DemoWindow, GroupPagesPassTheirBoxesInOrder)
{
    gdi().MakeLine(1, 0, 0, 2, 0, 0);
    gdi().ZoomAll();
    click("Button4"); // Make Group
    type("Edit7", QStringLiteral("90"));
    type("Edit8", QStringLiteral("1"));
    type("Edit9", QStringLiteral("0"));
    click("Button5"); // a quarter turn about (1, 0); the source goes
    ASSERT_EQ(gdi().Elements->Count(), 2);
    EXPECT_TRUE(gdi().GetIsDeleted(0));
    const TElement& turned = gdi().GetElement(1);
    EXPECT_NEAR(turned.GetCoord(4), 1, 1e-6); // the control's degrees per radian are rounded
    EXPECT_NEAR(turned.GetCoord(5), 1, 1e-6);

    check("CheckBox7", true); // leave the original
    type("Edit12", QStringLiteral("10"));
    type("Edit13", QStringLiteral("20"));
    type("Edit14", QStringLiteral("2"));
    click("Button11");
    ASSERT_EQ(gdi().Elements->Count(), 4);
    EXPECT_FALSE(gdi().GetIsDeleted(1));
    EXPECT_NEAR(gdi().GetElement(3).GetCoord(1), 21, 1e-6) << "second copy at twice the shift";
    EXPECT_NEAR(gdi().GetElement(3).GetCoord(2), 40, 1e-6);

    click("Button14"); // Delete Group: the turned line, still in the group
    EXPECT_TRUE(gdi().GetIsDeleted(1));
    EXPECT_FALSE(gdi().GetIsDeleted(2));
    EXPECT_NEAR(gdi().Settings->ExtentMinX, 11, 1e-6) << "the extents follow the deletion";
}

// ---------------------------------------------------------------- Demo6 and the common read-outs

TEST_F(DemoWindow, ScaleUpdateShowsTheLastElementIndexNotTheCount)
{
    type("Edit1", QStringLiteral("12"));
    click("Button6");
    EXPECT_EQ(label("Label20"), QStringLiteral("-1"));
    EXPECT_DOUBLE_EQ(gdi().GetViewSize(), 12);
    load_sample();
    type("Edit1", QStringLiteral("12"));
    click("Button6");
    EXPECT_EQ(label("Label20"), QStringLiteral("4"));
}

TEST_F(DemoWindow, NumbersAreReadAndWrittenInTheUsersLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    type("Edit4", QStringLiteral("12,5"));
    type("Edit5", QStringLiteral(" -1000 "));
    type("Edit6", QStringLiteral("0"));
    click("Button2");
    EXPECT_EQ(gdi().GetXRotation(), 12.5);
    EXPECT_EQ(edit("Edit4"), QStringLiteral("  12,500")) << "the view-change event writes the angles back";
    EXPECT_EQ(edit("Edit5"), QStringLiteral("-1000,000"));
    QString message;
    type("Edit4", QStringLiteral("1.000"));
    EXPECT_EQ(Answering({ReadMessage(message)}, [&] { click("Button2"); }), 0u);
    EXPECT_FALSE(message.isEmpty()) << "a group separator is no part of a number";
    QLocale::setDefault(saved);
}

TEST_F(DemoWindow, ConversionErrorIsShownBeforeTheControlIsCalled)
{
    load_sample();
    click("Button4"); // every element joins the group
    const struct {
        const char* edit;
        const char* text;
        const char* button;
        const char* message;
    } rows[] = {
        {"Edit4", "abc", "Button2", "'abc' is not a valid floating point value"},
        {"Edit3", "1.5x", "Button7", "'1.5x' is not a valid floating point value"},
        {"Edit1", "", "Button6", "'' is not a valid floating point value"},
        {"Edit10", "1.5", "Button5", "'1.5' is not a valid integer value"},
        {"Edit13", " ", "Button11", "' ' is not a valid floating point value"},
        {"Edit16", "inf", "Button12", "'inf' is not a valid floating point value"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        const QString kept = edit(row.edit);
        type(row.edit, QLatin1String(row.text));
        const QImage before = picture();
        const double size = gdi().GetViewSize();
        const double x = gdi().GetXRotation();
        const double left = gdi().GetElement(0).GetCoord(1);
        QString message;
        EXPECT_EQ(Answering({ReadMessage(message)}, [&] { click(row.button); }), 0u);
        EXPECT_EQ(message, QLatin1String(row.message));
        EXPECT_EQ(picture(), before);
        EXPECT_EQ(gdi().Elements->Count(), 5);
        EXPECT_EQ(gdi().GetViewSize(), size);
        EXPECT_EQ(gdi().GetXRotation(), x);
        EXPECT_EQ(gdi().GetElement(0).GetCoord(1), left);
        EXPECT_EQ(label("Label20"), QStringLiteral("0"));
        type(row.edit, kept);
    }
}

// ---------------------------------------------------------------- Demo1: picking

TEST_F(DemoWindow, PickFilterComesFromTheThreeBoxes)
{
    const struct {
        bool points, lines, arcs;
        TDFilter filter;
    } rows[] = {{false, false, false, fAll},   {true, false, false, fPoints},   {false, true, false, fLines},
                {false, false, true, fArcs},   {true, true, false, fPointLine}, {true, false, true, fPointArc},
                {false, true, true, fLineArc}, {true, true, true, fAll}};
    for (const auto& row : rows) {
        check("CheckBox2", row.points);
        check("CheckBox3", row.lines);
        check("CheckBox4", row.arcs);
        gdi().SetPickFilter(fPoints == row.filter ? fLines : fPoints);
        click("Button3");
        EXPECT_EQ(gdi().GetPickFilter(), row.filter) << row.points << row.lines << row.arcs;
        EXPECT_EQ(gdi().cursor().shape(), Qt::CrossCursor);
        EXPECT_TRUE(gdi().Settings->PickPending);
    }
}

int count_pixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) | 0xFF000000u) == colour ? 1 : 0;
    return n;
}

TEST_F(DemoWindow, TangroLinePickStoresOneArcOfTheLinesLengthThroughBothEnds)
{
    gdi().MakeLine(0, 0, 0, 10, 0, 0);
    gdi().ZoomAll();
    check("CheckBox5", true);
    click("Button3");
    click_on(pixel_of(3, 0));
    ASSERT_EQ(gdi().Elements->Count(), 2);
    const TElement& arc = gdi().GetElement(1);
    EXPECT_EQ(arc.GetEtype(), etArc);
    EXPECT_DOUBLE_EQ(arc.GetCoord(4), 10);
    for (double endX : {0.0, 10.0})
        EXPECT_NEAR(std::hypot(arc.GetCoord(1) - endX, arc.GetCoord(2)), 10, 1e-9);
    EXPECT_EQ(label("Label17"), QStringLiteral("Line[0]"));
    EXPECT_EQ(label("Label13"), FormatFloat(QStringLiteral("X%8.3fY%8.3fZ%8.3f"), {0, 0, 0}));
    EXPECT_EQ(gdi().GetCurrentColor(), 0x0000FF) << "red after the Tangro line demonstration";
    EXPECT_GT(count_pixels(picture(), qRgb(255, 255, 0)), 20) << "the yellow circle";
    EXPECT_GT(count_pixels(picture(), qRgb(255, 0, 0)), 40) << "the two red circles";
    EXPECT_EQ(gdi().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(DemoWindow, TangroPointPickStoresFiveRayEndsAtHalfTheViewSize)
{
    gdi().MakePoint(1, 2, 0);
    gdi().MakeLine(-20, -20, 0, 20, 20, 0);
    gdi().ZoomAll();
    check("CheckBox5", true);
    click("Button3");
    click_on(pixel_of(1, 2));
    ASSERT_EQ(gdi().Elements->Count(), 7);
    const double reach = gdi().GetViewSize() / 2;
    for (int i = 1; i <= 5; ++i) {
        const TElement& end = gdi().GetElement(1 + i);
        EXPECT_EQ(end.GetEtype(), etPoint);
        EXPECT_NEAR(end.GetCoord(1), 1 + reach * std::cos(i * 72 * kPi / 180), 1e-6) << i;
        EXPECT_NEAR(end.GetCoord(2), 2 + reach * std::sin(i * 72 * kPi / 180), 1e-6) << i;
    }
    EXPECT_EQ(label("Label17"), QStringLiteral("Point[0]"));
    EXPECT_EQ(gdi().GetCurrentColor(), 0x00FFFF) << "yellow after a pick";
}

TEST_F(DemoWindow, ArcPickShowsItsAnglesAndTheNextPickClearsThem)
{
    gdi().MakeArc(1, 0, 0, 0, 10, 30, 120.5);
    gdi().MakePoint(-10, -10, 0);
    gdi().ZoomAll();
    click("Button3");
    click_on(pixel_of(10 * std::cos(60 * kPi / 180), 10 * std::sin(60 * kPi / 180)));
    EXPECT_EQ(label("Label17"), QStringLiteral("Arc[0]"));
    EXPECT_EQ(label("Label34"), QStringLiteral("Start Angle =   30.000"));
    EXPECT_EQ(label("Label35"), QStringLiteral("End Angle =  120.500"));
    EXPECT_EQ(gdi().Elements->Count(), 2) << "no Tangro demonstration";
    click("Button3");
    click_on(pixel_of(-10, -10));
    EXPECT_EQ(label("Label17"), QStringLiteral("Point[1]"));
    EXPECT_TRUE(label("Label34").isEmpty());
    EXPECT_TRUE(label("Label35").isEmpty());
}

// ---------------------------------------------------------------- Demo4 and Demo5

TEST_F(DemoWindow, GetOnANewControlShowsZeroExtentsRightAligned)
{
    click("Button16");
    EXPECT_EQ(label("Label33"), QStringLiteral("Max=X   0.000Y   0.000"));
    EXPECT_EQ(label("Label36"), QStringLiteral("Min=X   0.000Y   0.000"));
}

TEST_F(DemoWindow, ClearOnDemo5EmptiesTheMainControlOnly)
{
    load_sample();
    draw_sample(*form().OrvexGDI2);
    click("Button17");
    EXPECT_EQ(gdi().Elements->Count(), 0);
    EXPECT_EQ(form().OrvexGDI2->Elements->Count(), 5);
}

TEST_F(DemoWindow, LoadFileOnDemo5ReadsIntoTheSecondControl)
{
    TOrvexGDI writer;
    draw_sample(writer);
    writer.SetCadType(2);
    writer.SaveToFile(path(QStringLiteral("second.dxf")));
    EXPECT_EQ(Answering({ChooseFile(path(QStringLiteral("second.dxf")))}, [&] { click("Button13"); }), 0u);
    EXPECT_EQ(form().OrvexGDI2->Elements->Count(), 5);
    EXPECT_EQ(form().OrvexGDI2->GetCadType(), 2);
    EXPECT_EQ(gdi().Elements->Count(), 0);
    EXPECT_EQ(gdi().GetCadType(), 1);
}

// ---------------------------------------------------------------- entry dialogs

Answer fill_dialog(const QStringList& values, bool save)
{
    return [values, save](QWidget* w) {
        for (int i = 0; i < values.size(); ++i)
            w->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(i + 1))->setText(values[i]);
        w->findChild<QRadioButton*>(save ? QStringLiteral("RadioButton2") : QStringLiteral("RadioButton1"))
            ->setChecked(true);
        QTest::mouseClick(w->findChild<QAbstractButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    };
}

TEST_F(DemoWindow, EntryDialogsDrawThenStoreAndKeepTheirValues)
{
    const struct {
        const char* item;
        QStringList values;
        int etype;
    } rows[] = {{"Point1", {"1", "2", "3"}, etPoint},
                {"Line1", {"1", "2", "0", "-4", "5.5", "0"}, etLine},
                {"Arc1", {"3", "4", "0", "2.5", "10", "200"}, etArc}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.item);
        const int count = gdi().Elements->Count();
        QImage before = picture();
        EXPECT_EQ(Answering({fill_dialog(row.values, false)}, [&] { trigger(row.item); }), 0u);
        EXPECT_EQ(gdi().Elements->Count(), count) << "Draw Only stores nothing";
        EXPECT_NE(picture(), before) << "but draws";

        EXPECT_EQ(Answering({fill_dialog(row.values, true)}, [&] { trigger(row.item); }), 0u);
        ASSERT_EQ(gdi().Elements->Count(), count + 1);
        const TElement& made = gdi().GetElement(count);
        EXPECT_EQ(made.GetEtype(), row.etype);
        for (int i = 0; i < row.values.size(); ++i)
            EXPECT_DOUBLE_EQ(made.GetCoord(i + 1), row.values[i].toDouble()) << "slot " << i + 1;

        // Shown again: the values and the choice of the last use; Cancel draws nothing.
        QStringList shown;
        bool saveChosen = false;
        before = picture();
        Answer look = [&](QWidget* w) {
            for (int i = 0; i < row.values.size(); ++i)
                shown << w->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(i + 1))->text();
            saveChosen = w->findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->isChecked();
            QTest::mouseClick(w->findChild<QAbstractButton*>(QStringLiteral("BitBtn2")), Qt::LeftButton);
        };
        EXPECT_EQ(Answering({look}, [&] { trigger(row.item); }), 0u);
        EXPECT_EQ(shown, row.values);
        EXPECT_TRUE(saveChosen);
        EXPECT_EQ(gdi().Elements->Count(), count + 1);
        EXPECT_EQ(picture(), before);
    }
}

TEST_F(DemoWindow, EntryDialogWithEmptyBoxesReportsAConversionErrorAndDrawsNothing)
{
    const QImage before = picture();
    QString message;
    bool stillOpen = false;
    Answer pressOk = [](QWidget* w) {
        w->findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->setChecked(true);
        QTest::mouseClick(w->findChild<QAbstractButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    };
    Answer closeAgain = [&](QWidget* w) {
        stillOpen = w == &windows_->Form3;
        qobject_cast<QDialog*>(w)->reject();
    };
    EXPECT_EQ(Answering({pressOk, ReadMessage(message), closeAgain}, [&] { trigger("Line1"); }), 0u);
    EXPECT_EQ(message, QStringLiteral("'' is not a valid floating point value"));
    EXPECT_TRUE(stillOpen) << "the dialog stays open to correct the value";
    EXPECT_EQ(gdi().Elements->Count(), 0);
    EXPECT_EQ(picture(), before);
}

// ---------------------------------------------------------------- standard exception handling

TEST_F(DemoWindow, ExceptionLeavingAnEventIsShownAndTheProgramGoesOn)
{
    struct Throwing : QObject {
        bool event(QEvent* e) override
        {
            if (e->type() == QEvent::User)
                throw EListError("index 7 outside the list");
            return QObject::event(e);
        }
    } receiver;
    QString message;
    EXPECT_EQ(Answering({ReadMessage(message)},
                        [&] {
                            QEvent event(QEvent::User);
                            QApplication::sendEvent(&receiver, &event);
                        }),
              0u);
    EXPECT_EQ(message, QStringLiteral("index 7 outside the list"));
}

} // namespace
} // namespace orvex::demo
