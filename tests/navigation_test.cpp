// Zoom, pan, centre and view size, and the mouse drags driven by real Qt
// mouse events with exact button and key sets.
#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <tuple>
#include <vector>

using namespace orvex;

namespace {

// A 400 x 300 control at 10 pixels per unit with model (0, 0) at the centre;
// it counts OnZoom and OnChangeView and can tell whether a redraw happened.
class NavigationTest : public ::testing::Test {
protected:
    NavigationTest()
    {
        c.resize(400, 300);
        c.SetViewSize(30);
        c.ViewCenter(0, 0);
        c.OnZoom = [this](QObject*, double size, double, double) { zoomSizes.push_back(size); };
        c.OnChangeView = [this](QObject*, TDView) { ++viewChanges; };
    }

    const TSettings& s() const { return *c.Settings; }
    int v() const { return c.Settings->ViewNumber; }

    // Paints a marker into the picture; a redraw paints over it.
    void mark() { c.GetCanvas()->fillRect(0, 0, 400, 300, QColor(1, 2, 3)); }
    bool marked() const { return c.GetBitmap()->pixelColor(0, 0) == QColor(1, 2, 3); }

    void send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QMouseEvent e(type, QPointF(p), QPointF(c.mapToGlobal(p)), button, held, keys);
        QApplication::sendEvent(&c, &e);
    }
    // Press at `from`, move through `to` in `steps` equal moves, release there.
    void drag(QPoint from, QPoint to, Qt::MouseButton button, Qt::KeyboardModifiers keys, int steps = 1,
              Qt::MouseButtons extra = Qt::NoButton)
    {
        send(QEvent::MouseButtonPress, from, button, button | extra, keys);
        for (int i = 1; i <= steps; ++i)
            send(QEvent::MouseMove, from + (to - from) * i / steps, Qt::NoButton, button | extra, keys);
        send(QEvent::MouseButtonRelease, to, button, extra, keys);
    }

    TOrvexGDI c;
    std::vector<double> zoomSizes;
    int viewChanges = 0;
};

} // namespace

// ---------------------------------------------------------------- zoom operations

TEST_F(NavigationTest, DoubleAndHalfFireOnZoomWithHalfTheViewSize)
{
    c.ZoomDouble();
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 15);
    c.ZoomHalf();
    c.ZoomHalf();
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 60);
    EXPECT_EQ(zoomSizes, (std::vector<double>{7.5, 15, 30}));
    EXPECT_EQ(viewChanges, 0);
}

TEST_F(NavigationTest, ZoomWindowFitsItsLongerSideAndIgnoresCornerOrder)
{
    TOrvexGDI other;
    other.resize(400, 300);
    other.SetViewSize(30);
    other.ViewCenter(0, 0);

    // 100 x 40 px, wider than tall: the width fills the window's 400 px.
    c.ZoomWindow(250, 100, 350, 140);
    other.ZoomWindow(350, 140, 250, 100);
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 30 * 100.0 / 400);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), 10);
    EXPECT_DOUBLE_EQ(c.GetCenterY(), 3);
    EXPECT_DOUBLE_EQ(other.GetViewSize(), c.GetViewSize());
    EXPECT_DOUBLE_EQ(other.GetCenterX(), c.GetCenterX());
    EXPECT_DOUBLE_EQ(other.GetCenterY(), c.GetCenterY());
    EXPECT_EQ(c.CoordToPixel(10, 3, 0), QPoint(200, 150));

    // 40 x 40: not wider than tall, so the height fills the window's 300 px.
    other.ZoomWindow(0, 0, 40, 40);
    EXPECT_DOUBLE_EQ(other.GetViewSize(), 7.5 * 40 / 300);
}

TEST_F(NavigationTest, EmptyZoomWindowChangesNothingButRedrawsAndFires)
{
    mark();
    c.ZoomWindow(10, 10, 10, 50);
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 30);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), 0);
    EXPECT_FALSE(marked());
    EXPECT_EQ(zoomSizes.size(), 1u);
    EXPECT_FALSE(c.graphics_get_scale(1, 400, 300, 5, 7, 9, 7));
}

TEST_F(NavigationTest, ZoomLastGoesBackAndForth)
{
    c.ZoomWindow(250, 100, 350, 140);
    c.ZoomLast();
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 30);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), 0);
    c.ZoomLast();
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 7.5);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), 10);
    EXPECT_EQ(zoomSizes.size(), 3u);
}

TEST_F(NavigationTest, ZoomAllFitsTwiceAndRemembersTheFirstFit)
{
    // A twin control fitted once.
    TOrvexGDI once;
    once.resize(400, 300);
    once.SetViewSize(30);
    once.ViewCenter(0, 0);
    for (TOrvexGDI* control : {&c, &once}) {
        control->MakeLine(1000, 1000, 0, 1100, 1050, 0);
        control->SetExtents();
    }
    once.set_scale(0);
    const double firstFit = once.Settings->HalfSize[1];

    c.ZoomAll();
    EXPECT_DOUBLE_EQ(s().PrevHalfSize[1], firstFit) << "not the size shown before";
    EXPECT_NEAR(s().HalfSize[1], firstFit, firstFit * 0.01);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), 1050);
    EXPECT_DOUBLE_EQ(c.GetCenterY(), 1025);
    ASSERT_EQ(zoomSizes.size(), 1u);
    EXPECT_DOUBLE_EQ(zoomSizes[0], s().HalfSize[1]);
}

TEST_F(NavigationTest, SetViewSizeClampsAndFiresOnChangeViewNotOnZoom)
{
    c.SetViewSize(0);
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 0.08);
    c.SetViewSize(-5);
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 0.08);
    EXPECT_EQ(viewChanges, 2);
    EXPECT_TRUE(zoomSizes.empty());
}

TEST_F(NavigationTest, PanCentreAndViewCentre)
{
    const QPoint before = c.CoordToPixel(3, 4, 0);
    c.Pan(1, 0);
    EXPECT_EQ(c.CoordToPixel(3, 4, 0), before - QPoint(10, 0)); // the picture moves left
    c.Pan(0, -2);
    EXPECT_EQ(c.CoordToPixel(3, 4, 0), before + QPoint(-10, -20));

    // The centre setters move the origin but do not repaint.
    mark();
    c.SetCenterX(5);
    c.SetCenterY(-1);
    EXPECT_TRUE(marked());
    EXPECT_EQ(c.CoordToPixel(5, -1, 0), QPoint(200, 150));
    c.ViewCenter(-7, 2);
    EXPECT_FALSE(marked());
    EXPECT_EQ(c.CoordToPixel(-7, 2, 0), QPoint(200, 150));
    EXPECT_TRUE(zoomSizes.empty());
    EXPECT_EQ(viewChanges, 0);
}

TEST_F(NavigationTest, EachViewKeepsItsOwnZoom)
{
    c.ZoomDouble();
    c.SetView(vFRONT);
    c.SetViewSize(200);
    c.ViewCenter(50, 50);
    c.SetView(vTOP);
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 15);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), 0);
    c.ZoomLast(); // the top view's own memory
    c.SetView(vFRONT);
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 200);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), 50);
}

TEST_F(NavigationTest, NonFiniteViewInputRaisesBeforeAnythingChanges)
{
    c.ZoomDouble();
    zoomSizes.clear();
    const TSettings before = s();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {std::nan(""), inf, -inf}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(c.Pan(bad, 0), ERangeError);
        EXPECT_THROW(c.Pan(0, bad), ERangeError);
        EXPECT_THROW(c.ViewCenter(0, bad), ERangeError);
        EXPECT_THROW(c.SetViewSize(bad), ERangeError);
        EXPECT_THROW(c.SetCenterX(bad), ERangeError);
        EXPECT_THROW(c.SetCenterY(bad), ERangeError);
        EXPECT_THROW(c.RotateView(0, bad, 0), ERangeError);
    }
    for (int view = 1; view <= 4; ++view) {
        EXPECT_EQ(s().HalfSize[view], before.HalfSize[view]);
        EXPECT_EQ(s().CenterX[view], before.CenterX[view]);
        EXPECT_EQ(s().CenterY[view], before.CenterY[view]);
        EXPECT_EQ(s().OriginX[view], before.OriginX[view]);
        EXPECT_EQ(s().OriginY[view], before.OriginY[view]);
    }
    EXPECT_EQ(s().ViewNumber, before.ViewNumber);
    EXPECT_EQ(s().YRotation, before.YRotation);
    EXPECT_EQ(viewChanges, 0);
    c.MakeLine(0, 0, 0, 10, 5, 0);
    EXPECT_NO_THROW(c.ZoomAll());
    EXPECT_TRUE(std::isfinite(c.GetViewSize()));
}

TEST_F(NavigationTest, ZoomStopsAtItsLimitsAndComesBack)
{
    for (int i = 0; i < 1100; ++i)
        c.ZoomHalf();
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 2e10);
    c.ZoomDouble();
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 1e10);
    for (int i = 0; i < 1100; ++i)
        c.ZoomDouble();
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 0.08);
    c.ZoomHalf();
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 0.16);
    // A size a host wrote into the settings is brought back into range.
    c.Settings->HalfSize[1] = std::nan("");
    EXPECT_NO_THROW(c.ZoomHalf());
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 0.08);
}

TEST_F(NavigationTest, ZeroSizedControlZoomsAsAFourByFourOne)
{
    TOrvexGDI small;
    small.resize(4, 4);
    c.resize(0, 0);
    for (TOrvexGDI* control : {&c, &small}) {
        control->SetViewSize(30);
        control->ViewCenter(1, 2);
        control->ZoomWindow(0, 0, 3, 1);
        control->Pan(1, 1);
    }
    EXPECT_TRUE(std::isfinite(c.GetViewSize()));
    EXPECT_DOUBLE_EQ(c.GetViewSize(), small.GetViewSize());
    EXPECT_DOUBLE_EQ(c.GetCenterX(), small.GetCenterX());
    EXPECT_DOUBLE_EQ(c.GetCenterY(), small.GetCenterY());
}

TEST_F(NavigationTest, DeepZoomFarOutStopsWhereThePixelOriginFits)
{
    c.ViewCenter(1e9, -1e9);
    for (int i = 0; i < 40; ++i)
        ASSERT_NO_THROW(c.ZoomDouble()) << i;
    // The deepest zoom keeps 1e9 * scale within 32 bits, less a margin.
    EXPECT_NEAR(c.GetViewSize(), 2 * 1e9 * 150 / 2147483647.0, 0.01);
    EXPECT_EQ(c.CoordToPixel(1e9, -1e9, 0), QPoint(200, 150));
    // The centre setters and pans far out zoom out just as far as needed.
    c.SetViewSize(0);
    EXPECT_NO_THROW(c.SetCenterX(-1e12));
    EXPECT_EQ(c.CoordToPixel(-1e12, -1e9, 0).x(), 200);
    EXPECT_NO_THROW(c.Pan(1e300, 0));
    EXPECT_NO_THROW(c.Redraw());
}

TEST_F(NavigationTest, ZoomAllFitsDrawingsOutToTheFactoryRange)
{
    const struct {
        const char* what;
        double x1, y1, x2, y2;
    } drawings[] = {
        {"the whole range", -1e9, -1e9, 1e9, 1e9},
        {"a 20 m plan in millimetres", 0, 0, 20000, 15000},
        {"a survey far from the origin", 1.4e6, 5.2e6, 1.4e6 + 800, 5.2e6 + 300},
    };
    for (const auto& d : drawings) {
        SCOPED_TRACE(d.what);
        c.ClearElements();
        c.MakeLine(d.x1, d.y1, 0, d.x2, d.y2, 0);
        c.SetExtents();
        c.ZoomAll();
        for (const QPoint p : {c.CoordToPixel(d.x1, d.y1, 0), c.CoordToPixel(d.x2, d.y2, 0)}) {
            EXPECT_GE(p.x(), 0);
            EXPECT_LT(p.x(), 400);
            EXPECT_GE(p.y(), 0);
            EXPECT_LT(p.y(), 300);
        }
    }
}

// ---------------------------------------------------------------- drags

TEST_F(NavigationTest, MiddleAndCtrlLeftDragsPanWithThePicture)
{
    drag({100, 100}, {130, 80}, Qt::MiddleButton, Qt::NoModifier, 3);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), -3);
    EXPECT_DOUBLE_EQ(c.GetCenterY(), -2);
    EXPECT_EQ(c.CoordToPixel(0, 0, 0), QPoint(230, 130));

    drag({100, 100}, {90, 100}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), -2);
    EXPECT_FALSE(s().PanMoved);
    EXPECT_TRUE(zoomSizes.empty());
    EXPECT_EQ(viewChanges, 0);
}

TEST_F(NavigationTest, OnlyTheExactSetsPan)
{
    drag({100, 100}, {150, 100}, Qt::MiddleButton, Qt::ShiftModifier);
    drag({100, 100}, {150, 100}, Qt::LeftButton, Qt::NoModifier);
    drag({100, 100}, {150, 100}, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
    drag({100, 100}, {150, 100}, Qt::MiddleButton, Qt::NoModifier, 1, Qt::RightButton);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), 0);
    c.SetMousePan(false);
    drag({100, 100}, {150, 100}, Qt::MiddleButton, Qt::NoModifier);
    drag({100, 100}, {150, 100}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(c.GetCenterX(), 0);
}

TEST_F(NavigationTest, AltLeftDragRotatesEightPixelsADegree)
{
    c.SetView(vISO);
    viewChanges = 0;
    const double y0 = s().YRotation, x0 = s().XRotation;
    drag({100, 100}, {180, 100}, Qt::LeftButton, Qt::AltModifier, 4);
    EXPECT_DOUBLE_EQ(s().YRotation, y0 + 10);
    EXPECT_DOUBLE_EQ(s().XRotation, x0 + 360); // -70 brought into 0..360
    EXPECT_DOUBLE_EQ(s().IsoYRotation, s().YRotation);
    EXPECT_DOUBLE_EQ(s().IsoXRotation, s().XRotation);
    EXPECT_EQ(viewChanges, 4);
    EXPECT_FALSE(s().RotateMoved);

    drag({100, 100}, {100, 116}, Qt::LeftButton, Qt::AltModifier); // down: about X
    EXPECT_DOUBLE_EQ(s().XRotation, x0 + 360 + 2);
    // MousePan does not matter for rotating.
    c.SetMousePan(false);
    drag({100, 100}, {92, 100}, Qt::LeftButton, Qt::AltModifier);
    EXPECT_DOUBLE_EQ(s().YRotation, y0 + 9);
}

TEST_F(NavigationTest, RotateDragInTheTopViewDrawsNoPreview)
{
    c.MakeLine(-10, 0, 0, 10, 0, 0);
    mark();
    send(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton, Qt::AltModifier);
    send(QEvent::MouseMove, {140, 100}, Qt::NoButton, Qt::LeftButton, Qt::AltModifier);
    EXPECT_TRUE(marked());
    EXPECT_DOUBLE_EQ(s().YRotation, 5);
    EXPECT_EQ(viewChanges, 1);
    send(QEvent::MouseButtonRelease, {140, 100}, Qt::LeftButton, Qt::NoButton, Qt::AltModifier);
    EXPECT_FALSE(marked()) << "the release redraws after a rotate drag";
}

TEST_F(NavigationTest, PreviewDrawsTheFirst200VisibleElementsAndReleaseDrawsAll)
{
    // 200 points left of the centre, one on a hidden layer before them, one more right of it.
    c.SetCurrentLayer(9);
    c.MakePoint(-5, 5, 0);
    c.SetVisibleLayer(9, false);
    c.SetCurrentLayer(1);
    for (int i = 0; i < 200; ++i)
        c.MakePoint(-10, -5, 0);
    c.MakePoint(10, 0, 0);
    const auto lit = [this](double x, double y) {
        return c.GetBitmap()->pixelColor(c.CoordToPixel(x, y, 0)) != Qt::black;
    };

    send(QEvent::MouseButtonPress, {200, 150}, Qt::MiddleButton, Qt::MiddleButton);
    send(QEvent::MouseMove, {200, 150}, Qt::NoButton, Qt::MiddleButton); // a pan of nothing
    EXPECT_TRUE(s().PanMoved);
    EXPECT_TRUE(lit(-10, -5));
    EXPECT_FALSE(lit(10, 0)) << "element 201 is beyond the preview";
    EXPECT_FALSE(lit(-5, 5));
    send(QEvent::MouseButtonRelease, {200, 150}, Qt::MiddleButton, Qt::NoButton);
    EXPECT_TRUE(lit(10, 0));
}

TEST_F(NavigationTest, ClickWithoutDragNeitherRedrawsNorZooms)
{
    mark();
    send(QEvent::MouseButtonPress, {20, 30}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {20, 30}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(marked());
    EXPECT_EQ(s().MouseDownX, 20);
    EXPECT_EQ(s().MouseDownY, 30);
}

TEST_F(NavigationTest, PanBeyondThePixelRangeZoomsOutJustEnough)
{
    c.SetViewSize(0); // 3750 px per unit
    send(QEvent::MouseButtonPress, {0, 0}, Qt::MiddleButton, Qt::MiddleButton);
    c.Settings->CenterX[1] = 1e6;
    send(QEvent::MouseMove, {10, 0}, Qt::NoButton, Qt::MiddleButton);
    EXPECT_TRUE(s().PanMoved) << "the move pans and previews";
    EXPECT_GT(c.GetViewSize(), 0.08);
    EXPECT_EQ(c.CoordToPixel(c.GetCenterX(), 0, 0).x(), 200);
    send(QEvent::MouseButtonRelease, {10, 0}, Qt::MiddleButton, Qt::NoButton);
    EXPECT_FALSE(s().PanMoved);
}

// ---------------------------------------------------------------- the host's events

TEST_F(NavigationTest, HostEventsFollowTheControlsHandlingWithTheSameArguments)
{
    std::vector<std::string> seen;
    c.OnMouseDown = [&](QObject* sender, Qt::MouseButton b, TShiftState shift, int x, int y) {
        EXPECT_EQ(sender, &c);
        EXPECT_EQ(s().MouseDownX, x) << "the control has taken the press position";
        seen.push_back("down " + std::to_string(int(b)) + " " + std::to_string(shift.toInt()) + " " +
                       std::to_string(x) + "," + std::to_string(y));
    };
    c.OnMouseMove = [&](QObject*, TShiftState shift, int x, int y) {
        EXPECT_DOUBLE_EQ(c.GetCenterX(), 1) << "the pan has happened";
        seen.push_back("move " + std::to_string(shift.toInt()) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    c.OnMouseUp = [&](QObject*, Qt::MouseButton b, TShiftState shift, int x, int y) {
        EXPECT_FALSE(s().PanMoved) << "the release has redrawn";
        seen.push_back("up " + std::to_string(int(b)) + " " + std::to_string(shift.toInt()) + " " + std::to_string(x) +
                       "," + std::to_string(y));
    };
    QSignalSpy downs(&c, &TOrvexGDI::mouseDown), moves(&c, &TOrvexGDI::mouseMove), ups(&c, &TOrvexGDI::mouseUp);

    drag({50, 60}, {40, 60}, Qt::LeftButton, Qt::ControlModifier);
    const int ctrlLeft = (ssCtrl | ssLeft).toInt();
    EXPECT_EQ(seen, (std::vector<std::string>{"down 1 " + std::to_string(ctrlLeft) + " 50,60",
                                              "move " + std::to_string(ctrlLeft) + " 40,60",
                                              "up 1 " + std::to_string(int(ssCtrl)) + " 40,60"}));
    ASSERT_EQ(downs.count(), 1);
    ASSERT_EQ(moves.count(), 1);
    ASSERT_EQ(ups.count(), 1);
    EXPECT_EQ(moves.at(0).at(0).value<TShiftState>(), ssCtrl | ssLeft);
    EXPECT_EQ(ups.at(0).at(2).toInt(), 40);
}

TEST(ShiftState, IsTheExactSetOfKeysAndButtons)
{
    EXPECT_EQ(shift_state(Qt::NoModifier, Qt::NoButton), TShiftState());
    EXPECT_EQ(shift_state(Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier,
                          Qt::LeftButton | Qt::RightButton | Qt::MiddleButton),
              ssShift | ssAlt | ssCtrl | ssLeft | ssRight | ssMiddle);
    EXPECT_EQ(shift_state(Qt::MetaModifier | Qt::KeypadModifier, Qt::MiddleButton | Qt::BackButton),
              TShiftState(ssMiddle));
}

// A 3-D wireframe fits in every view: its ink keeps off the picture's edges
// and its larger side fills most of the smaller picture side; a second
// ZoomAll finds nothing to change.
TEST_F(NavigationTest, ZoomAllShowsAThreeDimensionalDrawingWholeInEveryView)
{
    c.SetCadType(1);
    c.LoadFromFile(QString(ORVEX_TEST_DATA_DIR) + "/../../samples/chamfered_block.ovx");
    ASSERT_GT(c.Elements->Count(), 0);
    const struct {
        const char* name;
        std::function<void()> select;
    } views[] = {{"top", [&] { c.SetView(vTOP); }},
                 {"front", [&] { c.SetView(vFRONT); }},
                 {"side", [&] { c.SetView(vSIDE); }},
                 {"isometric", [&] { c.SetView(vISO); }},
                 {"rotated", [&] { c.RotateView(30, -40, 115); }}};
    for (const auto& view : views) {
        SCOPED_TRACE(view.name);
        view.select();
        c.ZoomAll();
        const QImage& picture = *c.GetBitmap();
        const QRgb background = picture.pixel(0, 0);
        QRect ink;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixel(x, y) != background)
                    ink |= QRect(x, y, 1, 1);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(QRect(1, 1, 398, 298).contains(ink)) << "ink from (" << ink.left() << ", " << ink.top() << ") to ("
                                                         << ink.right() << ", " << ink.bottom() << ")";
        EXPECT_GE(std::max(ink.width(), ink.height()), 0.85 * 270);

        const double size = c.GetViewSize(), x = c.GetCenterX(), y = c.GetCenterY();
        c.ZoomAll();
        EXPECT_DOUBLE_EQ(c.GetViewSize(), size);
        EXPECT_DOUBLE_EQ(c.GetCenterX(), x);
        EXPECT_DOUBLE_EQ(c.GetCenterY(), y);
    }
}

// With WheelZoom on, each notch zooms by a fixed factor about the cursor,
// whose model point stays put, and fires OnZoom; off (the default), the
// wheel changes nothing.
TEST_F(NavigationTest, WheelNotchesZoomAboutTheCursorWhenTurnedOn)
{
    const auto turn = [&](int delta, QPoint at) {
        QWheelEvent wheel(QPointF(at), QPointF(c.mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&c, &wheel);
    };
    turn(120, {300, 75});
    EXPECT_DOUBLE_EQ(c.GetViewSize(), 30);
    EXPECT_TRUE(zoomSizes.empty());

    c.SetWheelZoom(true);
    for (const auto& [view, delta, size] :
         {std::tuple{vTOP, 120, 24.0}, std::tuple{vTOP, -240, 46.875}, std::tuple{vFRONT, 120, 24.0}}) {
        c.SetView(view);
        c.SetViewSize(30);
        zoomSizes.clear();
        const QPoint at(300, 75);
        const TDPoint before = c.PixelToCoord(at.x(), at.y());
        const int half = delta > 0 ? 60 : -60;
        turn(half, at); // half a notch waits for the rest
        EXPECT_TRUE(zoomSizes.empty());
        turn(delta - half, at);
        EXPECT_NEAR(c.GetViewSize(), size, 1e-9);
        EXPECT_EQ(zoomSizes.size(), 1u);
        const TDPoint after = c.PixelToCoord(at.x(), at.y());
        const double pixel = c.GetViewSize() / 300;
        EXPECT_NEAR(after.X, before.X, pixel);
        EXPECT_NEAR(view == vTOP ? after.Y : after.Z, view == vTOP ? before.Y : before.Z, pixel);
        c.ZoomLast();
        EXPECT_DOUBLE_EQ(c.GetViewSize(), 30);
    }
}

// With LivePan on, every frame of a pan drag shows the whole drawing: the
// moved picture plus the strips it uncovered equals a full redraw of the
// same view, in every direction, aliased and anti-aliased, on one band and
// on several; the release then draws nothing new.
TEST_F(NavigationTest, LivePanFramesEqualFullRedraws)
{
    const auto build = [](TOrvexGDI& d) {
        for (int i = 0; i < 60; ++i) {
            const double x = -25 + (i * 7) % 50, y = -19 + (i * 11) % 38;
            d.SetCurrentColor(i % 2 ? 0x00FF00 : 0xFF00FF);
            d.SetLineType(i % 5 == 0 ? 2 : (i % 7 == 0 ? 21 : 1));
            d.MakeLine(x, y, 0, x + 9 - i % 13, y + 5 - i % 9, 0);
            d.MakeArc(1, y, x, 0, 1 + i % 4, i * 17 % 360, i * 29 % 360);
            if (i % 6 == 0)
                d.MakeCircle(i % 12 ? 1 : 100, x, -y, 0, 2.5);
            if (i % 9 == 0)
                d.MakePoint(-x, y, 0);
        }
        const double tri[3][2] = {{-12, -9}, {14, -3}, {-4, 11}};
        for (int i = 0; i < 3; ++i)
            d.make_element(etFillEdge, tri[i][0], tri[i][1], 0, tri[(i + 1) % 3][0], tri[(i + 1) % 3][1], 0, 0x0000FF,
                           1, 1, 0, 1);
    };
    build(c);
    TOrvexGDI full; // lines drawn as a live pan draws them, from their own ends
    full.resize(400, 300);
    full.SetLivePan(true);
    build(full);
    const auto same_as_full_redraw = [&] {
        for (int view = 1; view <= 4; ++view) {
            full.Settings->CenterX[view] = s().CenterX[view];
            full.Settings->CenterY[view] = s().CenterY[view];
            full.Settings->ScaleX[view] = s().ScaleX[view];
            full.Settings->ScaleY[view] = s().ScaleY[view];
            full.Settings->OriginX[view] = s().OriginX[view];
            full.Settings->OriginY[view] = s().OriginY[view];
        }
        full.Settings->ViewNumber = v();
        full.Settings->AntiAlias = s().AntiAlias;
        full.Redraw();
        return *c.GetBitmap() == *full.GetBitmap();
    };
    c.SetLivePan(true);
    const QPoint moves[] = {{23, 0}, {-41, 0}, {0, 17}, {0, -29}, {13, 11}, {-7, 19}, {31, -5}, {-17, -23}};
    for (const int threads : {1, 3})
        for (const bool antialias : {false, true}) {
            c.SetRenderThreads(threads);
            c.SetAntiAlias(antialias); // redraws
            for (const QPoint& move : moves) {
                SCOPED_TRACE(testing::Message() << "threads " << threads << ", anti-aliased " << antialias << ", move "
                                                << move.x() << ", " << move.y());
                const QPoint from(200, 150);
                send(QEvent::MouseButtonPress, from, Qt::MiddleButton, Qt::MiddleButton);
                for (int step = 1; step <= 3; ++step) {
                    send(QEvent::MouseMove, from + move * step, Qt::NoButton, Qt::MiddleButton);
                    EXPECT_TRUE(same_as_full_redraw()) << "step " << step;
                }
                c.GetCanvas()->fillRect(0, 0, 1, 1, QColor(1, 2, 3));
                send(QEvent::MouseButtonRelease, from + move * 3, Qt::MiddleButton, Qt::NoButton);
                EXPECT_EQ(c.GetBitmap()->pixelColor(0, 0), QColor(1, 2, 3)) << "the release redrew";
                c.Redraw();
            }
        }
}

// On band threads a turn of several notches shows each notch at once as the
// picture scaled about the cursor, never a picture drawn in part, and draws
// the zoom it settles on in full, telling the host once.
TEST_F(NavigationTest, WheelTurnOnBandThreadsShowsEachNotchScaledAndTellsTheSettledZoomOnce)
{
    c.SetLineType(21); // two pixels wide: a scaled picture keeps them
    const double square[4][2] = {{-10, -10}, {10, -10}, {10, 10}, {-10, 10}};
    for (int i = 0; i < 4; ++i)
        c.MakeLine(square[i][0], square[i][1], 0, square[(i + 1) % 4][0], square[(i + 1) % 4][1], 0);
    c.SetWheelZoom(true);
    c.SetRenderThreads(2);
    c.Redraw();
    const auto lit_box = [&] {
        QRect box;
        const QImage& picture = *c.GetBitmap();
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixel(x, y) != picture.pixel(0, 0))
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    double half = 100; // the square's half side in pixels
    for (int notch = 1; notch <= 3; ++notch) {
        SCOPED_TRACE(notch);
        QWheelEvent wheel(QPointF(200, 150), QPointF(c.mapToGlobal(QPoint(200, 150))), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&c, &wheel);
        half /= 1.25;
        EXPECT_TRUE(zoomSizes.empty());
        const QRect box = lit_box();
        EXPECT_NEAR(box.left(), 200 - half, 2);
        EXPECT_NEAR(box.right(), 200 + half, 2);
        EXPECT_NEAR(box.top(), 150 - half, 2);
        EXPECT_NEAR(box.bottom(), 150 + half, 2);
    }
    auto* settle = c.findChild<QTimer*>(QStringLiteral("wheelZoomTimer"));
    ASSERT_NE(settle, nullptr);
    EXPECT_TRUE(settle->isActive());
    QMetaObject::invokeMethod(settle, "timeout");
    settle->stop();
    ASSERT_EQ(zoomSizes.size(), 1u);
    EXPECT_NEAR(zoomSizes[0], 15 * 1.25 * 1.25 * 1.25, 1e-9);

    const QImage settled = c.GetBitmap()->copy();
    c.SetRenderThreads(1);
    c.Redraw();
    EXPECT_EQ(settled, *c.GetBitmap()) << "the settled zoom is drawn in full";
}
