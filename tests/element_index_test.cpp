// The top view's element index against a pass over every element: the same
// picture and the same picks, after every kind of change to the drawing.
#include "picture_compare.h"
#include "render/element_index.h"
#include "view/view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace orvex;

namespace {
constexpr int kW = 300, kH = 200;

// A drawing twenty times wider and higher than the window, which shows
// about a 400th of it at one model unit a pixel.
class Drawing : public TOrvexGDI {
public:
    Drawing()
    {
        resize(kW, kH);
        std::mt19937 rng(3);
        std::uniform_real_distribution<double> x(0, 20 * kW), y(0, 20 * kH), d(-30, 30), r(3, 40), a(0, 360);
        std::uniform_int_distribution<int> kind(0, 9);
        for (int i = 0; i < 4000; ++i) {
            const double cx = x(rng), cy = y(rng);
            switch (kind(rng)) {
            case 0:
                MakePoint(cx, cy, 0);
                break;
            case 1:
                MakeArc(1, cx, cy, 0, r(rng), a(rng), a(rng));
                break;
            case 2:
                MakeArc(2, cx, 0, -cy, r(rng), a(rng), a(rng)); // in the X-Z plane
                break;
            case 3:
                MakeCircle(1, cx, cy, 0, r(rng));
                break;
            case 4:
                MakeEllipse(cx, cy, r(rng), r(rng));
                break;
            default:
                MakeLine(cx, cy, 0, cx + d(rng), cy + d(rng), 0);
                break;
            }
        }
        look_at(2000, 1500);
        Pick(false); // picks report their near ends
    }
    // One model unit a pixel, the window's bottom-left corner at (x, y).
    void look_at(double x, double y)
    {
        Settings->ScaleX[1] = 1;
        Settings->ScaleY[1] = -1;
        Settings->OriginX[1] = static_cast<int>(-x);
        Settings->OriginY[1] = static_cast<int>(kH + y);
        view::get_max_min(*Settings, *Elements);
    }
    QImage picture(bool indexed)
    {
        Settings->UseElementIndex = indexed;
        Redraw();
        return GetBitmap()->copy();
    }
    struct Hit {
        bool found;
        int index;
        dpoint nearEnd, farEnd, mid, closest;
    };
    Hit pick(bool indexed, int px, int py)
    {
        Settings->UseElementIndex = indexed;
        Hit h{};
        h.found = pick2(0, px, py, h.index, h.nearEnd, h.farEnd, h.mid, h.closest);
        return h;
    }
};

bool same_point(const dpoint& a, const dpoint& b) { return a.X == b.X && a.Y == b.Y && a.Z == b.Z; }

void expect_like_every_element(Drawing& d, const char* step)
{
    EXPECT_TRUE(testing_pictures::same_picture(d.picture(true), d.picture(false), QString("index-") + step)) << step;
    int found = 0;
    for (int py = 2; py < kH; py += 7)
        for (int px = 3; px < kW; px += 7) {
            const Drawing::Hit a = d.pick(true, px, py), b = d.pick(false, px, py);
            ASSERT_EQ(a.found, b.found) << step << " at " << px << ", " << py;
            if (!a.found)
                continue;
            ++found;
            EXPECT_EQ(a.index, b.index) << step << " at " << px << ", " << py;
            EXPECT_TRUE(same_point(a.nearEnd, b.nearEnd) && same_point(a.farEnd, b.farEnd) &&
                        same_point(a.mid, b.mid) && same_point(a.closest, b.closest))
                << step << " at " << px << ", " << py;
        }
    EXPECT_GT(found, 20) << step; // the picks did find elements
}
} // namespace

TEST(ElementIndex, QueriesHoldEveryElementWhoseBoxMeetsTheWindow)
{
    Drawing d;
    ElementIndex index;
    index.build(*d.Elements, *d.Settings);
    EXPECT_TRUE(index.current(*d.Elements, *d.Settings));
    std::mt19937 rng(8);
    std::uniform_real_distribution<double> x(-500, 6500), y(-500, 4500), size(0, 800);
    std::vector<int> found;
    for (int q = 0; q < 40; ++q) {
        const double x0 = x(rng), y0 = y(rng);
        const ModelBox window{x0, y0, x0 + size(rng), y0 + size(rng)};
        index.query(window, found);
        ASSERT_TRUE(std::is_sorted(found.begin(), found.end()));
        ASSERT_TRUE(std::adjacent_find(found.begin(), found.end()) == found.end());
        for (int i = 0; i < d.Elements->Count(); ++i) {
            ModelBox b{};
            if (top_view_box(d.GetElement(i), *d.Settings, b) &&
                (b.x1 < window.x0 || b.x0 > window.x1 || b.y1 < window.y0 || b.y0 > window.y1))
                continue;
            EXPECT_TRUE(std::binary_search(found.begin(), found.end(), i)) << "element " << i << ", query " << q;
        }
    }
    // A window on a small part visits a small part.
    index.query({2000, 1500, 2000 + kW, 1500 + kH}, found);
    EXPECT_LT(found.size(), 200u);
    // Another arc-view table, another index.
    d.Settings->ArcViews[2].M13 += 1;
    EXPECT_FALSE(index.current(*d.Elements, *d.Settings));
}

TEST(ElementIndex, RedrawsAndPicksMatchEveryElementAfterEachChange)
{
    Drawing d;
    expect_like_every_element(d, "built");

    for (int i = 0; i < 30; ++i) // adds inside the window
        d.MakeLine(2000 + i * 9, 1510, 0, 2010 + i * 9, 1690, 0);
    expect_like_every_element(d, "added");

    for (int i = d.Elements->Count() - 30; i < d.Elements->Count(); i += 2)
        d.SetIsDeleted(i, true);
    expect_like_every_element(d, "deleted");

    d.Elements->UndeleteLast();
    d.SetIsDeleted(d.Elements->Count() - 30, false);
    expect_like_every_element(d, "undeleted");

    // Elements from far away shifted into the window, and one moved by the host.
    for (int i = 0; i < 40; ++i) {
        const TElement& e = d.GetElement(i);
        d.ShiftElement(i, e.GetCoord(1) - 2100 - 2 * i, e.GetCoord(2) - 1600, 0);
    }
    d.GetElement(50).SetCoord(1, 2150);
    d.GetElement(50).SetCoord(2, 1550);
    expect_like_every_element(d, "shifted");

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("drawing.ovx");
    d.SaveToFile(file);
    d.LoadFromFile(file);
    d.look_at(2050, 1450);
    expect_like_every_element(d, "reloaded");
}
