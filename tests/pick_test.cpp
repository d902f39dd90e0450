// Picking through real mouse releases: hit tests per element type and view,
// nearest and tie rules, the filter, hidden and deleted elements, and the
// four characteristic points handed to OnPick.
#include <OrvexGDI/QOrvexGDI.h>

#include "record_printers.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace orvex;

namespace {

struct PickResult {
    int index = -1;
    TDPoint nearEnd, farEnd, mid, closest;
};

void expect_point(const TDPoint& actual, double x, double y, double z, double tolerance = 1e-6)
{
    EXPECT_NEAR(actual.X, x, tolerance);
    EXPECT_NEAR(actual.Y, y, tolerance);
    EXPECT_NEAR(actual.Z, z, tolerance);
}

// A 400 x 300 control showing 10 pixels per unit with model (0, 0) at the
// window centre, in whichever view is selected.
class PickTest : public ::testing::Test {
protected:
    PickTest()
    {
        c.resize(400, 300);
        show(vTOP, 30);
        c.OnPick = [this](QObject* sender, int index, TDPoint n, TDPoint f, TDPoint m, TDPoint cl) {
            EXPECT_EQ(sender, &c);
            ++events;
            last = PickResult{index, n, f, m, cl};
        };
    }

    void show(TDView view, double size)
    {
        c.SetView(view);
        c.SetViewSize(size);
        c.ViewCenter(0, 0);
    }

    void release_at(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), QPointF(c.mapToGlobal(p)), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(&c, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), QPointF(c.mapToGlobal(p)), button, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(&c, &release);
    }

    // Arms a pick and clicks at view-plane point (a, b); the index picked, if any.
    std::optional<int> pick_at(double a, double b, TDFilter filter = fAll)
    {
        c.SetPickFilter(filter);
        c.Pick();
        last.reset();
        release_at(c.CoordToPixel(a, b, 0));
        EXPECT_FALSE(c.Settings->PickPending) << "a release consumes the pick";
        if (!last)
            return std::nullopt;
        return last->index;
    }

    TOrvexGDI c;
    int events = 0;
    std::optional<PickResult> last;
};

} // namespace

// ---------------------------------------------------------------- hit tests per type and view

TEST_F(PickTest, TopViewApertures)
{
    c.MakeLine(-10, 0, 0, 10, 0, 0);
    c.MakePoint(0, 10, 0);
    EXPECT_EQ(pick_at(0, 0.5), 0);             // 5 px from the line
    EXPECT_EQ(pick_at(0, -0.7), std::nullopt); // 7 px
    EXPECT_EQ(pick_at(10.3, 0), std::nullopt); // beyond the end
    EXPECT_EQ(pick_at(1.1, 10), 1);            // points get 12 px
    EXPECT_EQ(pick_at(0, 11.3), std::nullopt);
}

TEST_F(PickTest, FrontAndSideViewsUseTheirPlanes)
{
    c.MakeLine(0, 50, 0, 10, 50, 0); // along X, far out in Y
    c.MakePoint(3, 7, 4);
    show(vFRONT, 30);
    EXPECT_EQ(pick_at(5, 0.4), 0); // (x, z)
    EXPECT_EQ(pick_at(3.5, 4), 1);
    show(vSIDE, 30);
    EXPECT_EQ(pick_at(7, 3.2), 1); // (y, z)
    EXPECT_EQ(pick_at(3, 4), std::nullopt);
}

TEST_F(PickTest, ArcsInTheirOwnViewOnly)
{
    c.MakeArc(1, 0, 0, 0, 5, 350, 10);
    c.MakeArc(2, 20, 0, 0, 5, 0, 180);
    EXPECT_EQ(pick_at(5, 0), 0);
    EXPECT_EQ(pick_at(-5, 0), std::nullopt);
    EXPECT_EQ(pick_at(20, 5), std::nullopt); // a front-view arc in the top view
    show(vFRONT, 60);
    EXPECT_EQ(pick_at(20, 5), 1);
}

TEST_F(PickTest, RotatedViewFindsLinesWhereTheyAreDrawnAndNeverPoints)
{
    c.MakeLine(-10, 0, 0, 10, 0, 0);
    c.MakePoint(0, 0, 0);
    show(vISO, 30);
    // A pixel the painter lit for the line, next to where the rotation puts (5, 0, 0).
    const TRotationMatrix& r = c.Settings->RotationMatrix;
    const QPoint projected(static_cast<int>(std::nearbyint(5 * r.R11 * 10 + c.Settings->OriginX[4])),
                           static_cast<int>(std::nearbyint(-5 * r.R21 * 10 + c.Settings->OriginY[4])));
    QPoint drawn(-1, -1);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (c.GetBitmap()->pixelColor(projected + QPoint(dx, dy)) == QColor(0, 255, 0))
                drawn = projected + QPoint(dx, dy);
    ASSERT_NE(drawn, QPoint(-1, -1)) << "the line is drawn where the rotation puts it";

    c.Pick();
    release_at(drawn);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->index, 0);
    c.Pick();
    last.reset();
    release_at(drawn + QPoint(0, 10)); // 10 px off the drawn line
    EXPECT_FALSE(last);
    // The window centre shows the point (and the line through it): the line wins.
    EXPECT_EQ(pick_at(0, 0, fPoints), std::nullopt);
}

// ---------------------------------------------------------------- choosing among hits

TEST_F(PickTest, NearestHitWinsAndTheEarlierOnATie)
{
    c.MakeLine(-10, -10, 0, 10, 10, 0); // y = x
    c.MakeLine(-10, 10, 0, 10, -10, 0); // y = -x
    EXPECT_EQ(pick_at(0.3, 0.1), 0);
    EXPECT_EQ(pick_at(0.3, -0.1), 1);
    c.MakeLine(-10, 10, 0, 10, -10, 0); // a duplicate of element 1, later
    EXPECT_EQ(pick_at(0.3, -0.1), 1);
}

TEST_F(PickTest, FarHitIsFoundWhenElementZeroIsNotHit)
{
    show(vTOP, 30000); // 0.01 px per unit: the aperture spans 600 units
    c.MakeLine(5000, 5000, 0, 6000, 5000, 0);
    c.MakeLine(-10000, 150, 0, 10000, 150, 0);
    EXPECT_EQ(pick_at(0, 0), 1);
}

TEST_F(PickTest, FilterChoosesAmongElementsUnderTheCursor)
{
    c.MakeLine(-10, 0, 0, 10, 0, 0);
    c.MakePoint(2, 0, 0);
    c.MakeArc(1, 2, 5, 0, 5, 180, 360);
    EXPECT_EQ(pick_at(2, 0, fLines), 0);
    EXPECT_EQ(pick_at(2, 0, fPoints), 1);
    EXPECT_EQ(pick_at(2, 0, fArcs), 2);
    EXPECT_EQ(pick_at(2, 0, fLineArc), 0);
    EXPECT_EQ(pick_at(2, 0, fPointArc), 1);
    EXPECT_EQ(pick_at(8, 0, fPoints), std::nullopt);
}

TEST_F(PickTest, HiddenDeletedAndUnpickableElementsFail)
{
    c.SetCurrentLayer(5);
    c.MakeLine(-10, 0, 0, 10, 0, 0);
    c.SetVisibleLayer(5, false);
    EXPECT_EQ(pick_at(0, 0), std::nullopt);
    c.SetVisibleLayer(5, true);
    EXPECT_EQ(pick_at(0, 0), 0);

    // A deleted element neither answers nor hides a live one behind it.
    c.MakeLine(-10, 0.2, 0, 10, 0.2, 0);
    c.SetIsDeleted(1, true);
    EXPECT_EQ(pick_at(0, 0.2), 0);
    c.SetIsDeleted(0, true);
    EXPECT_EQ(pick_at(0, 0.2), std::nullopt);

    // An arrow nearest to the cursor has no characteristic points: no event.
    c.SetIsDeleted(0, false);
    c.make_element(etArrow, 0, 0.1, 0, 0, 0, 0, 0xFF, 0, 1, 0, 1);
    EXPECT_EQ(pick_at(0, 0.1), std::nullopt);
    EXPECT_EQ(pick_at(0, 0.1, fLines), 0);
    EXPECT_EQ(events, 3);
}

TEST_F(PickTest, ArmedOnceCancelledByPickFalseAndAnyButtonCompletes)
{
    c.MakeLine(-10, 0, 0, 10, 0, 0);
    QSignalSpy spy(&c, &TOrvexGDI::picked);
    c.Pick();
    c.Pick(false);
    release_at(c.CoordToPixel(0, 0, 0));
    EXPECT_EQ(events, 0);

    c.Pick();
    release_at(c.CoordToPixel(0, 0, 0), Qt::RightButton);
    EXPECT_EQ(events, 1);
    release_at(c.CoordToPixel(0, 0, 0));
    EXPECT_EQ(events, 1) << "the pick is consumed by the first release";
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 0);
}

// ---------------------------------------------------------------- characteristic points

TEST_F(PickTest, LinePointsInTopAndFrontViews)
{
    c.MakeLine(0, 0, 1, 10, 0, 2);
    ASSERT_EQ(pick_at(8, 0.3), 0);
    expect_point(last->nearEnd, 10, 0, 2);
    expect_point(last->farEnd, 0, 0, 1);
    expect_point(last->mid, 5, 0, 1.5);
    expect_point(last->closest, 8, 0, 0, 1e-5);
    ASSERT_EQ(pick_at(1, -0.3), 0);
    expect_point(last->nearEnd, 0, 0, 1);
    expect_point(last->farEnd, 10, 0, 2);

    show(vFRONT, 30);
    ASSERT_EQ(pick_at(9.9, 1.9), 0);
    expect_point(last->nearEnd, 0, 0, 1); // the first end in the front view
    expect_point(last->farEnd, 10, 0, 2);
}

TEST_F(PickTest, ArcAndPointPoints)
{
    c.MakeArc(1, 0, 0, 4, 5, 0, 90);
    c.MakePoint(20, 0, 3);
    const double a = 80 / 57.2957795131;
    ASSERT_EQ(pick_at(5.2 * std::cos(a), 5.2 * std::sin(a)), 0);
    expect_point(last->nearEnd, 0, 5, 4);
    expect_point(last->farEnd, 5, 0, 0); // the far end's Z is not kept
    expect_point(last->mid, 5 * std::cos(45 / 57.2957795131), 5 * std::sin(45 / 57.2957795131), 4);
    const QPoint clicked = c.CoordToPixel(5.2 * std::cos(a), 5.2 * std::sin(a), 0);
    const TDPoint p = c.PixelToCoord(clicked.x(), clicked.y());
    const double k = 5 / std::hypot(p.X, p.Y);
    expect_point(last->closest, p.X * k, p.Y * k, 4, 1e-5);

    ASSERT_EQ(pick_at(20.4, 0.3), 1);
    for (const TDPoint& q : {last->nearEnd, last->farEnd, last->mid, last->closest})
        expect_point(q, 20, 0, 3);
}
