#include <OrvexGDI/Elements.h>

#include "formats/common/world_shapes.h"
#include "store/element_factory.h"
#include "store/fill_regions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace orvex;

TEST(ElementStore, NewElementsAreAllZeroWithUniqueIdsAndIndices)
{
    TElements list;
    TElement& a = list.Add();
    TElement& b = list.Add();
    EXPECT_EQ(a.GetEtype(), 0);
    EXPECT_EQ(a.GetColor(), 0);
    EXPECT_EQ(a.GetLayer(), 0);
    EXPECT_FALSE(a.GetDeleted());
    EXPECT_EQ(a.GetDeleteNumber(), 0);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(a.GetCoord(i), 0.0);
    EXPECT_NE(a.ID(), b.ID());
    EXPECT_EQ(a.Index(), 0);
    EXPECT_EQ(b.Index(), 1);
    EXPECT_EQ(a.Collection(), &list);
    EXPECT_EQ(list.FindItemID(b.ID()), &b);
    EXPECT_EQ(list.FindItemID(12345), nullptr);
}

TEST(ElementStore, ReferencesStayValidAcrossManyAddsAndInserts)
{
    TElements list;
    TElement& first = list.Add();
    first.SetTag(7);
    for (int i = 0; i < 10000; ++i)
        list.Add();
    TElement& inserted = list.Insert(1);
    EXPECT_EQ(first.GetTag(), 7);
    EXPECT_EQ(&list[0], &first);
    EXPECT_EQ(inserted.Index(), 1);
    EXPECT_EQ(list[2].Index(), 2);
    EXPECT_EQ(list[10001].Index(), 10001);
    EXPECT_EQ(list.Count(), 10002);
}

TEST(ElementStore, InsertShiftsLaterIndices)
{
    TElements list;
    TElement& a = list.Add();
    TElement& b = list.Add();
    TElement& c = list.Insert(1);
    EXPECT_EQ(a.Index(), 0);
    EXPECT_EQ(c.Index(), 1);
    EXPECT_EQ(b.Index(), 2);
    EXPECT_EQ(&list[2], &b);
    TElement& front = list.Insert(0);
    EXPECT_EQ(front.Index(), 0);
    EXPECT_EQ(b.Index(), 3);
    EXPECT_THROW(list.Insert(6), EListError);
}

TEST(ElementStore, SetElementCopiesValuesNotIdentity)
{
    TElements list;
    TElements other;
    list.Add();
    TElement& target = list.Add();
    TElement& source = other.Add();
    source.SetEtype(etLine);
    source.SetColor(0x0000FF);
    source.SetLayer(4);
    source.SetHighlight(5);
    source.SetTag(99);
    source.SetCoord(6, 3.5);
    const int id = target.ID();

    list.SetElement(1, source);
    EXPECT_EQ(&list[1], &target);
    EXPECT_EQ(target.ID(), id);
    EXPECT_EQ(target.Collection(), &list);
    EXPECT_EQ(target.GetEtype(), etLine);
    EXPECT_EQ(target.GetColor(), 0x0000FF);
    EXPECT_EQ(target.GetLayer(), 4);
    EXPECT_EQ(target.GetHighlight(), 5);
    EXPECT_EQ(target.GetTag(), 99);
    EXPECT_EQ(target.GetCoord(6), 3.5);

    source.SetCoord(6, -1); // a later change to the source does not reach the list
    EXPECT_EQ(target.GetCoord(6), 3.5);

    target.Assign(nullptr); // nothing happens
    EXPECT_EQ(target.GetEtype(), etLine);
}

TEST(ElementStore, IndexOutsideTheListRaisesAndChangesNothing)
{
    TElements list;
    list.Add();
    TElements other;
    TElement& source = other.Add();
    source.SetEtype(3);
    EXPECT_THROW(list.GetElement(1), EListError);
    EXPECT_THROW(list.GetElement(-1), EListError);
    EXPECT_THROW(list.SetElement(1, source), EListError);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0].GetEtype(), 0);
}

TEST(ElementStore, CoordSlotsOutsideOneToSixAreIgnored)
{
    TElements list;
    TElement& e = list.Add();
    e.SetCoord(0, 5);
    e.SetCoord(7, 5);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(e.GetCoord(i), 0.0);
    EXPECT_EQ(e.GetCoord(0), 0.0);
    EXPECT_EQ(e.GetCoord(7), 0.0);
}

TEST(ElementStore, AssignFromAnotherCollectionCopiesEveryElementInOrder)
{
    TElements source;
    for (int i = 0; i < 3; ++i)
        source.Add().SetTag(i + 10);
    source[1].SetDeleted(true);
    TElements list;
    list.Add();
    list.Assign(source);
    ASSERT_EQ(list.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list[i].GetTag(), i + 10);
        EXPECT_EQ(list[i].Collection(), &list);
        EXPECT_NE(&list[i], &source[i]);
    }
    EXPECT_TRUE(list[1].GetDeleted());
}

TEST(ElementStore, UndeleteLastRestoresDeletionsMostRecentFirst)
{
    TElements list;
    list.UndeleteLast(); // fresh collection: nothing happens
    EXPECT_EQ(list.DeleteCount(), 0);
    for (int i = 0; i < 3; ++i)
        list.Add();
    for (int i : {0, 2}) {
        list[i].SetDeleted(true);
        list.RecordDeletion(list[i]);
    }
    EXPECT_EQ(list.DeleteCount(), 2);
    EXPECT_EQ(list.Count(), 3); // deleting keeps indices
    list.UndeleteLast();
    EXPECT_FALSE(list[2].GetDeleted());
    EXPECT_TRUE(list[0].GetDeleted());
    list.UndeleteLast();
    EXPECT_FALSE(list[0].GetDeleted());
    list.UndeleteLast();
    EXPECT_EQ(list.DeleteCount(), 0);
}

TEST(ElementStore, UndeletePassesOverElementsRestoredMeanwhile)
{
    TElements list;
    for (int i = 0; i < 3; ++i) {
        list.Add().SetDeleted(true);
        list.RecordDeletion(list[i]);
    }
    list[2].SetDeleted(false); // restored by hand
    list.UndeleteLast();
    EXPECT_FALSE(list[1].GetDeleted());
    EXPECT_TRUE(list[0].GetDeleted());
}

TEST(ElementStore, ChangedFlagIsTheHostsAndStartsFalse)
{
    TElements list;
    EXPECT_FALSE(list.GetChanged());
    list.SetChanged(true);
    EXPECT_TRUE(list.GetChanged());
}

TEST(ElementStore, TakeFromMovesTheSameElementsToTheEnd)
{
    TElements list;
    list.Add().SetTag(1);
    TElements staged;
    for (int i = 0; i < 5000; ++i) // more than one block
        staged.Add().SetTag(100 + i);
    TElement* moved = &staged[4999];
    list.TakeFrom(staged);
    EXPECT_EQ(staged.Count(), 0);
    ASSERT_EQ(list.Count(), 5001);
    EXPECT_EQ(&list[5000], moved);
    EXPECT_EQ(moved->Index(), 5000);
    EXPECT_EQ(moved->Collection(), &list);
    EXPECT_EQ(list.FindItemID(moved->ID()), moved);
    EXPECT_NE(list[0].ID(), list[1].ID());
    // The list goes on filling its own block; the moved ones stay intact.
    for (int i = 0; i < 5000; ++i)
        list.Add().SetTag(-1);
    EXPECT_EQ(list[1].GetTag(), 100);
    EXPECT_EQ(moved->GetTag(), 5099);
}

// Whatever a list held before a TakeFrom (nothing, a part of a block, or
// blocks freed by Clear), the elements added and inserted afterwards are new
// objects: no index shares an object and every moved value stays.
TEST(ElementStore, ElementsMadeAfterATakeFromNeverReuseAMovedOne)
{
    struct Row {
        const char* before;
        int ownElements;
        bool clearFirst;
        int staged;
    };
    for (const Row& row : {Row{"empty list", 0, false, 11}, Row{"empty list, staged past a block", 0, false, 4100},
                           Row{"cleared list", 3, true, 11}, Row{"list with elements", 3, false, 11}}) {
        SCOPED_TRACE(row.before);
        TElements list;
        for (int i = 0; i < row.ownElements; ++i)
            list.Add().SetTag(-1);
        if (row.clearFirst)
            list.Clear();
        TElements staged;
        for (int i = 0; i < row.staged; ++i)
            staged.Add().SetTag(1000 + i);
        const int first = list.Count();
        list.TakeFrom(staged);
        for (int i = 0; i < 5000; ++i)
            list.Add().SetTag(-2);
        list.Insert(0).SetTag(-3);

        std::set<const TElement*> objects;
        for (const TElement* e : list)
            EXPECT_TRUE(objects.insert(e).second) << "index " << e->Index() << " shares its object";
        for (int i = 0; i < row.staged; ++i)
            ASSERT_EQ(list[first + 1 + i].GetTag(), 1000 + i) << "moved element " << i;
    }
}

TEST(ElementStore, CheckOfAnElementFilledLaterAppliesTheSameRules)
{
    // Readers that place values after the factory made the element.
    TElements list;
    TElement& line = list.Add();
    line.SetEtype(etLine);
    for (int s = 1; s <= 6; ++s)
        line.SetCoord(s, s);
    line.SetCoord(6, 1e20);
    EXPECT_TRUE(check_coordinates(line));
    EXPECT_EQ(line.GetCoord(6), 0);
    EXPECT_EQ(line.GetCoord(5), 5);
    line.SetCoord(5, std::nan(""));
    EXPECT_FALSE(check_coordinates(line));
}

// A read makes each filled region's edges under a number of its own; merged
// after a drawing whose last region has the same number, they must not
// continue it, and the read's own regions stay apart.
TEST(ElementStore, RegionsOfAMergedReadStayApartFromTheDrawingsAndEachOther)
{
    const std::vector<std::vector<formats::Vec3>> square{{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}};
    const std::vector<std::vector<formats::Vec3>> flat{{{0, 0, 0}, {1, 0, 0}}};
    formats::ArcViewTable views;
    formats::StagedDrawing staged(views, 0, uMM);
    formats::WorldShapes shapes(staged);
    shapes.fill(square, {});
    shapes.fill(flat, {}); // encloses nothing: no edges, no region
    shapes.fill(square, {0x0000FF, 1, 3});
    ASSERT_EQ(staged.Elements.Count(), 8);
    EXPECT_EQ(staged.Elements[0].GetEtype(), etFillEdge);
    EXPECT_EQ(staged.Elements[3].GetCoord(4), 0); // the last edge closes the loop
    EXPECT_EQ(staged.Elements[3].GetCoord(5), 0);
    EXPECT_EQ(staged.Elements[0].GetView(), 1);
    EXPECT_EQ(staged.Elements[4].GetView(), 2);
    EXPECT_EQ(staged.Elements[4].GetLayer(), 3);

    // The drawing ends with region 1, after a region numbered 5.
    TElements drawing;
    for (const int region : {5, 1})
        for (int i = 0; i < 3; ++i)
            add_element(drawing, etFillEdge, i, 0, 0, i + 1, 1, 0, 0, 1, 1, 0, region);
    renumber_regions_after(staged.Elements, drawing);
    drawing.TakeFrom(staged.Elements);
    ASSERT_EQ(drawing.Count(), 14);
    const EdgeRun before = fill_run(drawing, 5), first = fill_run(drawing, 6), second = fill_run(drawing, 13);
    EXPECT_EQ(before.Last, 5);
    EXPECT_EQ(first.First, 6);
    EXPECT_EQ(first.Last, 9);
    EXPECT_EQ(second.First, 10);
    EXPECT_GT(drawing[6].GetView(), 5);
}
