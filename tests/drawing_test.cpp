// The element factory and the Make / Draw methods of the drawing interface.
#include <OrvexGDI/QOrvexGDI.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace orvex;

namespace {
class Drawing : public TOrvexGDI {
public:
    Drawing() { resize(200, 150); }
    QColor at(int x, int y) const { return GetBitmap()->pixelColor(x, y); }
};
} // namespace

TEST(ElementFactory, FillsSlotsAttributesAndClamps)
{
    Drawing d;
    d.SetCurrentColor(0x123456);
    d.Settings->LineType = 3;
    const int index = d.MakeArc(7, 1, 2, 3, 4, 90, 90);
    const TElement& arc = d.GetElement(index);
    EXPECT_EQ(arc.GetEtype(), etArc);
    EXPECT_EQ(arc.GetView(), 7);
    EXPECT_EQ(arc.GetColor(), 0x123456);
    EXPECT_EQ(arc.GetLineType(), 3);
    EXPECT_EQ(arc.GetLayer(), 1);
    EXPECT_EQ(arc.GetCoord(5), 0); // equal angles make a full circle
    EXPECT_EQ(arc.GetCoord(6), 360);
    EXPECT_EQ(d.GetLastElement(), index);

    for (int layer : {0, 300, -5}) {
        d.SetCurrentLayer(layer);
        EXPECT_EQ(d.GetElement(d.MakePoint(0, 0, 0)).GetLayer(), 252) << layer;
    }
    d.SetCurrentLayer(254);
    EXPECT_EQ(d.GetElement(d.MakePoint(0, 0, 0)).GetLayer(), 254);
    EXPECT_EQ(d.GetElement(d.MakeCircle(-3, 0, 0, 0, 1)).GetView(), 1); // views below 1 become 1
}

TEST(ElementFactory, RejectedCoordinatesReturnMinusOneAndAddNothing)
{
    Drawing d;
    d.MakePoint(1, 1, 0);
    EXPECT_EQ(d.MakePoint(2e9, 0, 0), -1);
    EXPECT_EQ(d.MakeLine(0, 0, 0, -1.5e9, 0, 0), -1);
    EXPECT_EQ(d.MakeCircle(1, 0, 0, 0, std::nan("")), -1);
    EXPECT_EQ(d.Elements->Count(), 1);
    // An out-of-range Z alone is set to 0 instead.
    const int index = d.MakePoint(1, 2, 5e9);
    ASSERT_EQ(index, 1);
    EXPECT_EQ(d.GetElement(index).GetCoord(3), 0);
    // Ellipses, rectangles, images and clip rectangles are checked too.
    EXPECT_EQ(d.MakeEllipse(5e9, 0, 1, 1), -1);
}

TEST(ElementFactory, EverySlotOfEveryTypeIsChecked)
{
    // What the factory does with a bad value in one slot: reject the
    // element, set the slot to 0, keep it (a point's unused slots), or keep
    // it only when finite (angles).
    enum Outcome { R, Z, K, A };
    const struct {
        int etype;
        Outcome bySlot[6];
    } rules[] = {
        {etPoint, {R, R, Z, K, K, K}},     {etLine, {R, R, Z, R, R, Z}},     {etArc, {R, R, Z, R, A, A}},
        {etCircle, {R, R, Z, R, A, A}},    {etImage, {R, R, R, R, R, R}},    {etEllipse, {R, R, R, R, R, R}},
        {etRectangle, {R, R, R, R, R, R}}, {etClipRect, {R, R, R, R, R, R}},
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {std::nan(""), inf, -inf, 1e20, -1000000001.0}) {
        for (const auto& rule : rules) {
            for (int slot = 1; slot <= 6; ++slot) {
                SCOPED_TRACE("type " + std::to_string(rule.etype) + " slot " + std::to_string(slot) + " value " +
                             std::to_string(bad));
                Outcome expected = rule.bySlot[slot - 1];
                if (expected == A)
                    expected = std::isfinite(bad) ? K : R;
                double c[6] = {1, 2, 3, 4, 5, 6};
                c[slot - 1] = bad;
                Drawing d;
                const int index = d.make_element(rule.etype, c[0], c[1], c[2], c[3], c[4], c[5], 0, 0, 1, 0, 1);
                if (expected == R) {
                    EXPECT_EQ(index, -1);
                    EXPECT_EQ(d.Elements->Count(), 0);
                    continue;
                }
                ASSERT_EQ(index, 0);
                const double stored = d.GetElement(0).GetCoord(slot);
                if (expected == Z)
                    EXPECT_EQ(stored, 0);
                else if (std::isnan(bad))
                    EXPECT_TRUE(std::isnan(stored));
                else
                    EXPECT_EQ(stored, bad);
            }
        }
    }
}

TEST(ElementFactory, BadHighlightRaisesBeforeAnythingIsAppended)
{
    Drawing d;
    EXPECT_THROW(d.make_element(etLine, 0, 0, 0, 1, 1, 0, 0, 0, 1, 256, 1), ERangeError);
    EXPECT_THROW(d.make_element(etLine, 0, 0, 0, 1, 1, 0, 0, 0, 1, -1, 1), ERangeError);
    EXPECT_EQ(d.Elements->Count(), 0);
    EXPECT_EQ(d.make_element(etLine, 0, 0, 0, 1, 1, 0, 0, 0, 1, 255, 1), 0);
}

TEST(ElementFactory, ConstructionLinesDoNotWidenTheExtents)
{
    Drawing d;
    d.Settings->LineType = 20;
    const int dotted = d.MakeLine(-50, -50, 0, 80, 90, 0);
    EXPECT_EQ(d.GetElement(dotted).GetLineType(), 2);
    d.Settings->LineType = 10;
    EXPECT_EQ(d.GetElement(d.MakeLine(-60, 0, 0, 0, 0, 0)).GetLineType(), 1);
    EXPECT_EQ(d.Settings->ExtentMinX, 0);
    EXPECT_EQ(d.Settings->ExtentMaxY, 0);

    d.Settings->LineType = 0;
    d.MakeLine(0, 5, 0, 10, 5, 0);
    EXPECT_EQ(d.Settings->ExtentMaxX, 10); // a new control's extents hold the origin
    EXPECT_EQ(d.Settings->ExtentMinY, 0);
    EXPECT_EQ(d.Settings->ExtentMaxY, 5);
}

TEST(ElementFactory, RecordFormsAndImagesFillTheSameSlots)
{
    Drawing d;
    const TDLine line{{1, 2, 3}, {4, 5, 6}};
    const TElement& l = d.GetElement(d.MakeLineX(line));
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(l.GetCoord(i), i);
    d.Settings->DefaultArcView = 3;
    const TElement& a = d.GetElement(d.MakeArcX(TDArc{{1, 1, 0}, 2, 10, 20}));
    EXPECT_EQ(a.GetView(), 3);
    const TElement& p = d.GetElement(d.MakePointX(TDPoint{7, 8, 9}));
    EXPECT_EQ(p.GetCoord(3), 9);

    QImage picture(2, 2, QImage::Format_RGB32);
    const TElement& img = d.GetElement(d.MakeImage(&picture, 1, 2, 3, 4));
    EXPECT_EQ(img.GetEtype(), etImage);
    EXPECT_EQ(img.GetImage(), &picture);
    EXPECT_EQ(img.GetCoord(4), 4);
    const TElement& r = d.GetElement(d.MakeFilledRect(1, 2, 3, 4, 100));
    EXPECT_EQ(r.GetCoord(5), 3);
    EXPECT_EQ(r.GetCoord(6), 4);
    EXPECT_EQ(r.GetView(), 100);
}

TEST(DrawInterface, DrawFiguresShowAtOnceAndVanishAtTheNextRedraw)
{
    Drawing d;
    d.Settings->OriginY[1] = 150;
    d.SetCurrentColor(0x0000FF);
    d.Redraw();
    const int last = d.GetLastElement();
    d.DrawLine(10, 20, 0, 60, 20, 0);
    EXPECT_EQ(d.at(30, 130), QColor(255, 0, 0));
    EXPECT_EQ(d.GetLastElement(), last);
    d.DrawCircle(100, 75, 0, 20, true);
    EXPECT_EQ(d.at(100, 75), QColor(255, 0, 0));
    d.Redraw();
    EXPECT_EQ(d.at(30, 130), QColor(0, 0, 0));
    EXPECT_EQ(d.at(100, 75), QColor(0, 0, 0));
}

TEST(DrawInterface, DrawElementDrawsAnyIndexIncludingZero)
{
    Drawing d;
    d.Settings->OriginY[1] = 150;
    d.SetCurrentColor(0x0000FF);
    d.MakeLine(10, 20, 0, 60, 20, 0);
    d.Redraw();
    d.Clear();
    EXPECT_EQ(d.at(30, 130), QColor(0, 0, 0));
    d.DrawElement(0);
    EXPECT_EQ(d.at(30, 130), QColor(255, 0, 0));
    EXPECT_NO_THROW(d.DrawElement(1));
    EXPECT_NO_THROW(d.DrawElement(-1));
}

TEST(DrawInterface, ElementListAccessAndClearing)
{
    Drawing d;
    d.MakePoint(1, 1, 0);
    d.MakePoint(50, 60, 0);
    TElement& second = d.GetElement(1);
    TElements other;
    TElement& value = other.Add();
    value.SetEtype(etLine);
    value.SetCoord(4, 9);
    d.SetElement(1, value);
    EXPECT_EQ(&d.GetElement(1), &second);
    EXPECT_EQ(second.GetEtype(), etLine);
    EXPECT_THROW(d.GetElement(2), EListError);

    d.SetElements(other);
    EXPECT_EQ(d.Elements->Count(), 1);
    const double maxX = d.Settings->ExtentMaxX;
    d.ClearElements();
    EXPECT_EQ(d.GetLastElement(), -1);
    EXPECT_EQ(d.Settings->ExtentMaxX, maxX); // extents stay
}

TEST(ViewSelection, IsometricAnglesAreRestoredOrReset)
{
    Drawing d;
    std::vector<TDView> views;
    d.OnChangeView = [&](QObject*, TDView v) { views.push_back(v); };
    d.SetView(vISO);
    EXPECT_EQ(d.GetXRotation(), -70);
    d.RotateView(10, 20, 30);
    EXPECT_EQ(d.GetView(), vISO);
    EXPECT_EQ(d.Settings->IsoXRotation, -70); // RotateView leaves the saved angles
    d.Settings->IsoXRotation = 5;
    d.SetView(vTOP);
    EXPECT_EQ(d.GetXRotation(), 0);
    d.SetView(vISO); // from another view: the saved angles come back
    EXPECT_EQ(d.GetXRotation(), 5);
    d.SetView(vISO); // again while isometric: reset to the standard angles
    EXPECT_EQ(d.GetXRotation(), -70);
    EXPECT_EQ(d.Settings->IsoXRotation, -70);
    d.SetView(vSIDE);
    EXPECT_EQ(d.GetZRotation(), -90);
    EXPECT_EQ(views, (std::vector<TDView>{vISO, vISO, vTOP, vISO, vISO, vSIDE}));
}

TEST(ViewSelection, ArcViewTableAndPixelConversions)
{
    Drawing d;
    d.SetArcView(9, TDView3D{77, 0, 1, 0, 1, 0, 0, 0, 0, 1});
    const TDView3D back = d.GetArcView(9);
    EXPECT_EQ(back.View, 9);
    EXPECT_EQ(back.M12, 1);
    EXPECT_TRUE(d.Settings->ArcViews[9].Defined);
    EXPECT_THROW(d.SetArcView(91, TDView3D{}), ERangeError);
    EXPECT_EQ(d.GetArcView(0).View, 0);

    EXPECT_EQ(d.CoordToPixel(5, 3, 100), QPoint(15, 7));
    d.SetView(vFRONT);
    EXPECT_EQ(d.CoordToPixel(5, 3, 100), QPoint(15, 7)); // no rotation, Z unused
    const TDPoint p = d.PixelToCoord(15, 7);
    EXPECT_EQ(p.X, 5);
    EXPECT_EQ(p.Y, 0);
    EXPECT_EQ(p.Z, 3);
}
