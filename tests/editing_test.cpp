// Editing: the group, rotated and shifted copies, deleting and restoring,
// and moving the origin.
#include <OrvexGDI/QOrvexGDI.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace orvex;

namespace {

class EditingTest : public ::testing::Test {
protected:
    EditingTest()
    {
        c.resize(400, 300);
        c.SetViewSize(30);
        c.ViewCenter(0, 0);
    }

    const TElement& at(int i) const { return c.GetElement(i); }
    int count() const { return c.Elements->Count(); }
    bool grouped(int i) const { return !at(i).GetDeleted() && at(i).GetHighlight() == 2; }

    void expect_slots(int i, std::initializer_list<double> values, double tolerance = 1e-6) const
    {
        int slot = 1;
        for (double v : values) {
            EXPECT_NEAR(at(i).GetCoord(slot), v, tolerance) << "element " << i << " slot " << slot;
            ++slot;
        }
    }

    TOrvexGDI c;
};

} // namespace

// ---------------------------------------------------------------- rotation

TEST_F(EditingTest, RotateGroupReplacesTheSourceInTheTopView)
{
    c.MakePoint(10, 0, 3);
    c.MakePoint(1, 1, 1); // not in the group
    c.AddToGroup(0);
    c.SetIsDeleted(1, false); // leaves the group
    c.RotateGroup(90, 0, 0, 1, false);
    ASSERT_EQ(count(), 3);
    EXPECT_TRUE(at(0).GetDeleted());
    EXPECT_EQ(at(0).GetHighlight(), 0);
    expect_slots(2, {0, 10, 3});
    EXPECT_TRUE(grouped(2));
}

TEST_F(EditingTest, RotateCopiesWrapTheirAngleOnce)
{
    c.MakeLine(10, 0, 0, 20, 0, 0);
    c.AddToGroup(0);
    c.RotateGroup(120, 0, 0, 3, true);
    ASSERT_EQ(count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(grouped(i)) << i;
    expect_slots(1, {10 * std::cos(120 / 57.2957795131), 10 * std::sin(120 / 57.2957795131), 0});
    expect_slots(3, {10, 0, 0, 20, 0, 0}); // 360 is not above 360

    c.ClearGroup();
    c.MakeLine(10, 0, 0, 20, 0, 0);
    c.AddToGroup(4);
    c.RotateGroup(200, 0, 0, 2, true);
    ASSERT_EQ(count(), 7);
    const double a200 = 200 / 57.2957795131, a40 = 40 / 57.2957795131;
    expect_slots(5, {10 * std::cos(a200), 10 * std::sin(a200)});
    expect_slots(6, {10 * std::cos(a40), 10 * std::sin(a40)}); // 400 - 360
}

TEST_F(EditingTest, ZeroAngleGroupRotationDoesNothingButRotateElementCopies)
{
    c.MakeLine(1, 2, 3, 4, 5, 6);
    c.AddToGroup(0);
    c.RotateGroup(0, 0, 0, 3, false);
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(grouped(0));

    c.SetIsDeleted(0, true);
    c.RotateElement(0, 0, 7, 7);
    ASSERT_EQ(count(), 2);
    expect_slots(1, {1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(grouped(1));
    EXPECT_FALSE(at(0).GetDeleted()) << "rotating an element restores it";
    EXPECT_THROW(c.RotateElement(2, 10, 0, 0), EListError);
    EXPECT_THROW(c.ShiftElement(-1, 1, 0, 0), EListError);
}

TEST_F(EditingTest, FrontAndSideViewsRotateInTheirPlanes)
{
    c.MakePoint(10, 7, 0);
    c.MakeArc(2, 10, 7, 0, 2, 30, 60);
    c.SetView(vFRONT);
    c.RotateElement(0, 90, 0, 0);
    expect_slots(2, {0, 7, 10});
    c.RotateElement(1, 90, 0, 0);
    expect_slots(3, {0, 7, 10, 2, 30, 60}); // angles stay outside the top plane
    c.SetView(vSIDE);
    c.RotateElement(0, 90, 0, 0);
    expect_slots(4, {10, 0, 7});
}

TEST_F(EditingTest, TopViewArcAnglesTurnWithTheCopy)
{
    c.MakeArc(1, 5, 0, 0, 2, 300, 350);
    c.MakeArc(1, 5, 0, 0, 2, 200, 350);
    c.SetView(vISO); // turns about Z like the top view
    c.RotateElement(0, 90, 0, 0);
    c.RotateElement(1, 90, 0, 0);
    expect_slots(2, {0, 5, 0, 2, 30, 80});
    expect_slots(3, {0, 5, 0, 2, 290, 440});
    EXPECT_EQ(at(3).GetView(), 1);
}

TEST_F(EditingTest, CopiesOutOfRangeAreSkippedAndTheRestContinue)
{
    c.MakePoint(9e8, 0, 0);
    c.MakePoint(1, 0, 0);
    c.AddToGroup(0);
    c.RotateGroup(90, -9e8, 0, 1, false); // the first copy would land at y = 1.8e9
    ASSERT_EQ(count(), 3);
    expect_slots(2, {-9e8, 9e8 + 1, 0}, 1e-2);
    EXPECT_TRUE(at(0).GetDeleted()); // the source goes even without its copy
}

// ---------------------------------------------------------------- shifting

TEST_F(EditingTest, ShiftCopiesDoNotJoinTheGroup)
{
    c.SetLineType(2);
    c.SetCurrentLayer(7);
    c.MakePoint(0, 0, 0);
    c.MakeLine(0, 0, 0, 1, 0, 0);
    c.MakeArc(1, 0, 0, 0, 1, 10, 20);
    c.MakeCircle(1, 0, 0, 0, 1);
    c.AddToGroup(0);
    c.ShiftGroup(2, 2, 1, 3, true);
    ASSERT_EQ(count(), 4 + 9);
    expect_slots(4, {2, 2, 1});
    expect_slots(7, {4, 4, 2});
    expect_slots(10, {6, 6, 3});
    expect_slots(5, {2, 2, 1, 3, 2, 1});
    expect_slots(6, {2, 2, 1, 1, 10, 20});
    EXPECT_EQ(at(4).GetLineType(), 0); // points lose their line type
    EXPECT_EQ(at(5).GetLineType(), 2);
    for (int i = 4; i < 13; ++i) {
        EXPECT_FALSE(grouped(i)) << i;
        EXPECT_EQ(at(i).GetLayer(), 7) << i;
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(grouped(i)) << "sources stay with KeepSource";
}

// Every edge of a region in the group moves with it, and each copy of the
// region is a region of its own: copies that shared the source's number
// would run on from it and fill as one region with it.
TEST_F(EditingTest, GroupCopiesOfARegionMoveEveryEdgeAndMakeARegionEach)
{
    struct Row {
        const char* what;
        void (*edit)(TOrvexGDI&);
        double cosine[2], sine[2]; // of each copy's turn
        double dx[2], dy[2];       // each copy's shift
    };
    const Row rows[] = {
        {"rotate", [](TOrvexGDI& g) { g.RotateGroup(90, 0, 0, 2, true); }, {0, -1}, {1, 0}, {0, 0}, {0, 0}},
        {"shift", [](TOrvexGDI& g) { g.ShiftGroup(20, 0, 0, 2, true); }, {1, 1}, {0, 0}, {20, 40}, {0, 0}},
    };
    const double corners[3][2] = {{0, 0}, {10, 0}, {10, 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        c.Elements->Clear();
        for (int i = 0; i < 3; ++i)
            c.make_element(etFillEdge, corners[i][0], corners[i][1], 0, corners[(i + 1) % 3][0],
                           corners[(i + 1) % 3][1], 0, 0x0000FF, 1, 1, 0, 1);
        c.AddToGroup(0);
        row.edit(c);
        ASSERT_EQ(count(), 9);
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < 3; ++i) {
                // Rotation: (x, y) turns to (x cos - y sin, x sin + y cos).
                const auto moved = [&](const double(&p)[2], int axis) {
                    const double cs = row.cosine[k], sn = row.sine[k];
                    return axis == 0 ? p[0] * cs - p[1] * sn + row.dx[k] : p[0] * sn + p[1] * cs + row.dy[k];
                };
                const double(&a)[2] = corners[i];
                const double(&b)[2] = corners[(i + 1) % 3];
                const int copy = 3 + 3 * k + i;
                EXPECT_EQ(at(copy).GetEtype(), etFillEdge);
                expect_slots(copy, {moved(a, 0), moved(a, 1), 0, moved(b, 0), moved(b, 1), 0});
                EXPECT_EQ(at(copy).GetView(), at(3 + 3 * k).GetView()) << copy;
            }
        EXPECT_NE(at(3).GetView(), at(2).GetView());
        EXPECT_NE(at(6).GetView(), at(5).GetView());
    }
}

TEST_F(EditingTest, TimesThatMakeNoCopiesChangeNothing)
{
    // A group edit never deletes without copying.
    c.MakePoint(0, 0, 0);
    c.MakePoint(1, 0, 0);
    c.AddToGroup(1);
    for (int times : {0, -1}) {
        c.ShiftGroup(1, 1, 1, times, false);
        EXPECT_EQ(count(), 2) << times;
        EXPECT_TRUE(grouped(1)) << times;
    }
    c.RotateGroup(90, 0, 0, -1, false);
    EXPECT_EQ(count(), 2);
    EXPECT_TRUE(grouped(1));
    c.RotateGroup(90, 0, 0, 0, false); // 0 still means one copy
    ASSERT_EQ(count(), 3);
    EXPECT_TRUE(at(1).GetDeleted());
    expect_slots(2, {0, 1, 0});
}

TEST_F(EditingTest, CopiesPastFiftyMillionElementsRaiseBeforeAnyIsMade)
{
    c.MakePoint(0, 0, 0);
    c.MakeLine(0, 0, 0, 1, 1, 0);
    c.MakeCircle(1, 0, 0, 0, 1); // not copied, so not counted
    c.AddToGroup(0);
    // 3 + 2 * 24,999,998 copies would still fit; one more of each passes the limit.
    EXPECT_THROW(c.ShiftGroup(1, 0, 0, 24'999'999, false), ERangeError);
    EXPECT_THROW(c.RotateGroup(1, 0, 0, 24'999'999, false), ERangeError);
    EXPECT_THROW(c.ShiftGroup(1, 0, 0, std::numeric_limits<int>::max(), true), ERangeError);
    EXPECT_EQ(count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(grouped(i)) << i;
}

TEST_F(EditingTest, NonFiniteInputRaisesBeforeAnythingChanges)
{
    c.MakeLine(5, 4, 0, 6, 4, 0);
    c.MakePoint(5, 0, 0);
    c.AddToGroup(0);
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {std::nan(""), inf, -inf}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(c.NewOrigin(bad, 0, 0), ERangeError);
        EXPECT_THROW(c.NewOrigin(0, 0, bad), ERangeError);
        EXPECT_THROW(c.ShiftElement(1, 0, bad, 0), ERangeError);
        EXPECT_THROW(c.ShiftGroup(0, 0, bad, 1, false), ERangeError);
        EXPECT_THROW(c.RotateGroup(bad, 0, 0, 1, false), ERangeError);
        EXPECT_THROW(c.RotateGroup(90, 0, bad, 1, false), ERangeError);
        EXPECT_THROW(c.RotateElement(0, 90, bad, 0), ERangeError);
    }
    ASSERT_EQ(count(), 2);
    expect_slots(0, {5, 4, 0, 6, 4, 0}, 0);
    expect_slots(1, {5, 0, 0}, 0);
    EXPECT_TRUE(grouped(0) && grouped(1));
}

TEST_F(EditingTest, NewOriginAndShiftElementSubtract)
{
    c.MakeLine(5, 4, 0, 6, 4, 0);
    c.MakePoint(5, 0, 0);
    c.MakePoint(9, 9, 9);
    c.SetIsDeleted(2, true);
    c.NewOrigin(5, 4, 0);
    expect_slots(0, {0, 0, 0, 1, 0, 0});
    expect_slots(1, {0, -4, 0});
    expect_slots(2, {9, 9, 9});
    c.ShiftElement(1, 1, 0, 0);
    expect_slots(1, {-1, -4, 0});
}

// ---------------------------------------------------------------- the group and the deleted state

TEST_F(EditingTest, AddToGroupIndicesAndTheDrawnColour)
{
    c.MakePoint(-10, 0, 0);
    c.MakePoint(10, 0, 0);
    c.MakePoint(0, 10, 0);
    c.SetIsDeleted(2, true);
    c.AddToGroup(3);
    c.AddToGroup(-1);
    c.AddToGroup(2);
    EXPECT_FALSE(grouped(0) || grouped(1) || grouped(2));
    EXPECT_EQ(at(2).GetHighlight(), 0);

    c.AddToGroup(1); // drawn at once in the group colour
    EXPECT_TRUE(grouped(1));
    EXPECT_FALSE(grouped(0));
    EXPECT_EQ(c.GetBitmap()->pixelColor(c.CoordToPixel(10, 0, 0)), QColor(255, 0, 0));
    c.AddToGroup(0); // every live element
    EXPECT_TRUE(grouped(0) && grouped(1));
    EXPECT_EQ(c.GetBitmap()->pixelColor(c.CoordToPixel(-10, 0, 0)), QColor(255, 0, 0));

    c.GetElement(0).SetHighlight(5);
    c.ClearGroup();
    EXPECT_EQ(at(0).GetHighlight(), 0);
    EXPECT_EQ(at(1).GetHighlight(), 0);
    EXPECT_EQ(c.GetBitmap()->pixelColor(c.CoordToPixel(10, 0, 0)), QColor(0, 255, 0));
}

TEST_F(EditingTest, DeletedStateCoversEveryIndex)
{
    c.MakePoint(0, 0, 0);
    c.MakePoint(1, 0, 0);
    EXPECT_FALSE(c.GetIsDeleted(0));
    EXPECT_TRUE(c.GetIsDeleted(2));
    EXPECT_TRUE(c.GetIsDeleted(-1));
    c.GetElement(0).SetHighlight(2);
    c.SetIsDeleted(0, true);
    EXPECT_TRUE(c.GetIsDeleted(0));
    EXPECT_EQ(at(0).GetHighlight(), 0);
    c.SetIsDeleted(5, true); // nothing
    c.SetIsDeleted(0, false);
    EXPECT_FALSE(c.GetIsDeleted(0));
}

TEST_F(EditingTest, UndeleteLastRestoresDeletionsMostRecentFirst)
{
    for (int i = 0; i < 5; ++i)
        c.MakePoint(i, 0, 0);
    c.AddToGroup(1);
    c.AddToGroup(2);
    c.DeleteGroup(); // records 1, then 2
    c.SetIsDeleted(4, true);
    c.SetIsDeleted(4, true); // already deleted: not recorded again
    c.AddToGroup(3);
    c.RotateGroup(90, 0, 0, 1, false); // records 3
    ASSERT_EQ(c.Elements->DeleteCount(), 4);
    EXPECT_FALSE(at(1).GetHighlight() == 2 || at(2).GetHighlight() == 2);

    const auto live = [this] {
        std::string s;
        for (int i = 0; i < 5; ++i)
            s += c.GetIsDeleted(i) ? '-' : 'x';
        return s;
    };
    EXPECT_EQ(live(), "x----");
    c.Elements->UndeleteLast();
    EXPECT_EQ(live(), "x--x-");
    c.Elements->UndeleteLast();
    EXPECT_EQ(live(), "x--xx");
    c.Elements->UndeleteLast();
    EXPECT_EQ(live(), "x-xxx");
    c.Elements->UndeleteLast();
    c.Elements->UndeleteLast();
    EXPECT_EQ(live(), "xxxxx");
    EXPECT_EQ(c.Elements->DeleteCount(), 0);

    c.AddToGroup(0);
    c.ShiftGroup(1, 0, 0, 1, false);
    EXPECT_EQ(c.Elements->DeleteCount(), 6); // the five sources and the rotated copy
}
