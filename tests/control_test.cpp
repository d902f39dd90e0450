#include <OrvexGDI/QOrvexGDI.h>

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvex;

namespace {
// Counts the picture's repaints (Redraw fills the background) through a
// background colour change observed in the picture.
class Control : public TOrvexGDI {
public:
    Control() { resize(64, 48); }
    // Paints a marker so a later Redraw can be seen to have happened.
    void mark()
    {
        AllocateCanvas();
        GetCanvas()->fillRect(QRect(0, 0, width(), height()), QColor(1, 2, 3));
    }
    bool marked() const { return GetBitmap()->pixelColor(3, 3) == QColor(1, 2, 3); }
};
} // namespace

TEST(ControlSpine, NewControlHasTheDefaultSettings)
{
    TOrvexGDI control;
    EXPECT_EQ(control.GetView(), vTOP);
    EXPECT_EQ(control.GetCurrentColor(), 0x00FF00);
    EXPECT_EQ(control.GetCurrentLayer(), 1);
    EXPECT_EQ(control.GetCadType(), 1);
    EXPECT_EQ(control.GetUnits(), uINCH);
    EXPECT_TRUE(control.GetMousePan());
    EXPECT_FALSE(control.GetAntiAlias());
    EXPECT_EQ(control.GetPickFilter(), fAll);
    EXPECT_EQ(control.GetVersion(), QStringLiteral("2.1"));
    EXPECT_EQ(control.Elements->Count(), 0);

    const TSettings& s = *control.Settings;
    EXPECT_EQ(s.BackgroundColor, 0);
    EXPECT_EQ(s.Pen.color(), QColor(0, 0x80, 0));
    EXPECT_EQ(s.FillBrush.color(), QColor(0, 255, 255));
    EXPECT_EQ(s.XRotation, -70);
    EXPECT_EQ(s.ZRotation, -20);
    EXPECT_EQ(s.IsoXRotation, -70);
    EXPECT_EQ(s.ScaleX[4], 1.0);
    EXPECT_EQ(s.ScaleY[1], -1.0);
    EXPECT_EQ(s.OriginX[2], 10);
    EXPECT_EQ(s.HalfSize[3], 10.0);
    EXPECT_EQ(s.PickAperture, 6.0);
    EXPECT_TRUE(s.LayerVisible[254]);
    EXPECT_EQ(s.DefaultArcView, 1);

    // Arc views 1 to 4 are defined, the rest not.
    EXPECT_TRUE(s.ArcViews[1].Defined && s.ArcViews[4].Defined);
    EXPECT_FALSE(s.ArcViews[5].Defined);
    EXPECT_EQ(s.ArcViews[2].M23, -1);
    EXPECT_EQ(s.ArcViews[2].M32, 1);
    EXPECT_EQ(s.ArcViews[3].M13, 1);
    EXPECT_EQ(s.ArcViews[3].M21, 1);
    EXPECT_EQ(s.ArcViews[3].M32, 1);
    EXPECT_EQ(s.ArcViews[4].M11, 0);
}

TEST(ControlSpine, PropertyRoundTripsAndClamps)
{
    TOrvexGDI control;
    control.SetVersion(QStringLiteral("9.9"));
    EXPECT_EQ(control.GetVersion(), QStringLiteral("2.1"));

    const TDFilter filters[] = {fAll, fPoints, fLines, fArcs, fPointLine, fPointArc, fLineArc};
    const int codes[] = {0, 1, 2, 3, 10, 11, 8};
    for (int i = 0; i < 7; ++i) {
        control.SetPickFilter(filters[i]);
        EXPECT_EQ(control.Settings->PickFilterCode, codes[i]);
        EXPECT_EQ(control.GetPickFilter(), filters[i]);
    }
    control.Settings->PickFilterCode = 5; // an unknown code reads as fAll
    EXPECT_EQ(control.GetPickFilter(), fAll);

    control.SetCadType(3);
    EXPECT_EQ(control.GetCadType(), 3);
    control.SetCadType(5);
    EXPECT_EQ(control.GetCadType(), 1);
    control.SetCadType(0);
    EXPECT_EQ(control.GetCadType(), 1);

    control.SetUnits(uMM);
    EXPECT_TRUE(control.Settings->Millimetres);
    EXPECT_EQ(control.GetUnits(), uMM);

    control.SetCurrentLayer(300); // stored unchecked
    EXPECT_EQ(control.GetCurrentLayer(), 300);

    // Through the meta-object, as Designer's property editor does.
    EXPECT_TRUE(control.setProperty("DrawColor", 0x123456));
    EXPECT_EQ(control.property("DrawColor").toInt(), 0x123456);
    EXPECT_EQ(control.property("Version").toString(), QStringLiteral("2.1"));
}

TEST(ControlSpine, LayerAccessorsRaiseRangeErrorsOutsideTheTable)
{
    TOrvexGDI control;
    control.SetVisibleLayer(0, false);
    control.SetVisibleLayer(254, false);
    EXPECT_FALSE(control.GetVisibleLayer(0));
    EXPECT_FALSE(control.GetVisibleLayer(254));
    EXPECT_THROW(control.SetVisibleLayer(255, false), ERangeError);
    EXPECT_THROW(control.GetVisibleLayer(-1), ERangeError);
}

TEST(ControlSpine, SettersThatRepaintAndSettersThatDoNot)
{
    Control control;
    struct Case {
        const char* name;
        std::function<void(Control&)> set;
        bool repaints;
    };
    const Case cases[] = {
        {"BackgroundColor", [](Control& c) { c.SetBackgroundColor(0x0000FF); }, true},
        {"LineType", [](Control& c) { c.SetLineType(2); }, true},
        {"MousePan", [](Control& c) { c.SetMousePan(false); }, true},
        {"AntiAlias", [](Control& c) { c.SetAntiAlias(true); }, true},
        {"View", [](Control& c) { c.SetView(vFRONT); }, true},
        {"DrawColor", [](Control& c) { c.SetCurrentColor(0xFF); }, false},
        {"PickFilter", [](Control& c) { c.SetPickFilter(fLines); }, false},
        {"CurrentLayer", [](Control& c) { c.SetCurrentLayer(3); }, false},
        {"CadType", [](Control& c) { c.SetCadType(2); }, false},
        {"Units", [](Control& c) { c.SetUnits(uMM); }, false},
        {"ShowAxis", [](Control& c) { c.SetShowAxis(true); }, false},
        {"XRotation", [](Control& c) { c.SetXRotation(10); }, false},
        {"VisibleLayer", [](Control& c) { c.SetVisibleLayer(3, false); }, false},
    };
    for (const Case& c : cases) {
        control.mark();
        c.set(control);
        EXPECT_EQ(!control.marked(), c.repaints) << c.name;
        // The same value again changes nothing, so nothing is repainted.
        if (std::string(c.name) != "View") {
            control.mark();
            c.set(control);
            EXPECT_TRUE(control.marked()) << c.name << " set twice";
        }
    }
}

TEST(ControlSpine, NegativeBackgroundColourIsRejectedBeforeAnythingIsStored)
{
    Control control;
    control.SetBackgroundColor(0x00FF00);
    control.mark();
    EXPECT_THROW(control.SetBackgroundColor(-16), ERangeError);
    EXPECT_EQ(control.GetBackgroundColor(), 0x00FF00);
    EXPECT_EQ(control.Settings->BackgroundBrush.color(), QColor(0, 255, 0));
    EXPECT_TRUE(control.marked());
}

TEST(ControlSpine, RedrawFillsTheBackgroundAndRequestsAWindowPaint)
{
    Control control;
    control.show();
    QCoreApplication::processEvents();
    control.SetBackgroundColor(0x0000FF); // red
    EXPECT_EQ(control.GetBitmap()->pixelColor(10, 10), QColor(255, 0, 0));
    EXPECT_EQ(control.grab().toImage().pixelColor(10, 10), QColor(255, 0, 0));
}

TEST(ControlSpine, RotationSettersFireOnChangeViewWithTheCurrentView)
{
    Control control;
    QSignalSpy spy(&control, &TOrvexGDI::viewChanged);
    std::vector<TDView> seen;
    QObject* sender = nullptr;
    control.OnChangeView = [&](QObject* s, TDView v) {
        sender = s;
        seen.push_back(v);
    };
    control.mark();
    control.SetXRotation(15);
    control.SetYRotation(5);
    control.SetZRotation(-5);
    control.SetXRotation(15); // unchanged: no event
    EXPECT_EQ(seen, (std::vector<TDView>{vTOP, vTOP, vTOP}));
    EXPECT_EQ(sender, &control);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(control.GetXRotation(), 15);
    EXPECT_TRUE(control.marked()); // no repaint
}

TEST(ControlSpine, StartupTimerRedrawsOnceAndIsGone)
{
    Control control;
    auto* timer = control.findChild<QTimer*>(QStringLiteral("startupTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 1000);

    control.SetBackgroundColor(0x00FF00);
    control.mark();
    QPointer<QTimer> watch(timer);
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_FALSE(control.marked()); // redrawn
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(control.findChild<QTimer*>(QStringLiteral("startupTimer")), nullptr);
}

TEST(ControlSpine, StartupTimerReallyFiresAfterOneSecond)
{
    Control control;
    QSignalSpy spy(control.findChild<QTimer*>(QStringLiteral("startupTimer")), &QTimer::timeout);
    control.mark();
    EXPECT_TRUE(spy.wait(5000));
    EXPECT_FALSE(control.marked());
}

TEST(ControlSpine, DestroyingTheControlEarlyLeavesNoTimerBehind)
{
    QPointer<QTimer> timer;
    {
        TOrvexGDI control;
        timer = control.findChild<QTimer*>(QStringLiteral("startupTimer"));
        ASSERT_FALSE(timer.isNull());
    }
    EXPECT_TRUE(timer.isNull());
    QTest::qWait(10); // nothing left to fire into a destroyed control
}
