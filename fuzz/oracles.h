// What every read must give, whatever the bytes: the fuzz targets check it
// after each input and crash on a breach, so the fuzzer reports it like a
// sanitizer finding.
//  - Every staged element is one the element factory accepts unchanged:
//    every slot finite, coordinates within +-1e9.
//  - What the writer writes reads back to the same elements, within the
//    four decimals the writers keep.
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsView.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// The input being replayed, when the replay main runs the target.
extern "C" const char* orvex_replay_input __attribute__((weak));

namespace orvex::fuzz {

[[noreturn]] inline void finding(const std::string& what)
{
    const char* input = &orvex_replay_input != nullptr ? orvex_replay_input : nullptr;
    std::fprintf(stderr, "oracle: %s%s%s\n", what.c_str(), input ? " in " : "", input ? input : "");
    std::abort();
}

inline std::string element_name(int index, const TElement& e)
{
    return "element " + std::to_string(index) + " (type " + std::to_string(e.GetEtype()) + ")";
}

/// Every slot finite, and the factory's check passes without changing any.
inline void expect_factory_range(const TElements& elements)
{
    for (int i = 0; i < elements.Count(); ++i) {
        const TElement& e = elements.GetElement(i);
        double c[6], checked[6];
        for (int s = 0; s < 6; ++s) {
            c[s] = checked[s] = e.GetCoord(s + 1);
            if (!std::isfinite(c[s]))
                finding(element_name(i, e) + " slot " + std::to_string(s + 1) + " is not finite");
        }
        bool same =
            Ops::check_max_min(e.GetEtype(), checked[0], checked[1], checked[2], checked[3], checked[4], checked[5]);
        for (int s = 0; s < 6; ++s)
            same = same && checked[s] == c[s];
        if (!same)
            finding(element_name(i, e) + " lies outside the factory's range");
    }
}

/// How far a value may move through the writers' text: four decimals, and
/// beyond 1e9 what the 15 characters of the text keep.
inline double text_tolerance(double x) { return std::abs(x) < 1e9 ? 1.01e-4 : std::abs(x) * 1e-12 + 1; }

inline bool near_in_text(double a, double b, double tolerance) { return std::abs(a - b) <= tolerance; }

// An arc's end point at slot `angle`.
inline void arc_point(const TElement& e, int angle, double& x, double& y)
{
    const double t = e.GetCoord(angle) / static_cast<double>(Ops::DegreesPerRadian);
    x = e.GetCoord(1) + e.GetCoord(4) * std::cos(t);
    y = e.GetCoord(2) + e.GetCoord(4) * std::sin(t);
}

inline bool full_circle(const TElement& e) { return e.GetCoord(5) == 0 && e.GetCoord(6) == 360; }

/// Arcs compared by their end points, for a format that writes end points
/// instead of angles: ends that the text cannot tell apart read back as a
/// full circle.
inline bool same_arc_ends(const TElement& a, const TElement& b)
{
    // Three points of four decimals each, and the rounded degrees per radian:
    // a turn of 360 degrees is 2e-12 radians short of a whole turn, so angles
    // a turn apart, and the angle routine's quadrant offsets of 180 and 360
    // degrees, point that much apart per turn, which far from the centre
    // (radius 3e8) moves an end point by 6e-4.
    const double turns = 1 + (std::abs(a.GetCoord(5)) + std::abs(a.GetCoord(6))) / 360;
    const double radius = std::max(std::abs(a.GetCoord(4)), std::abs(b.GetCoord(4)));
    const double tolerance = 3e-4 + 2e-12 * turns * radius;
    double ax1, ay1, ax2, ay2, bx1, by1, bx2, by2;
    arc_point(a, 5, ax1, ay1);
    arc_point(a, 6, ax2, ay2);
    arc_point(b, 5, bx1, by1);
    arc_point(b, 6, bx2, by2);
    if (full_circle(b) && !full_circle(a))
        return std::hypot(ax1 - ax2, ay1 - ay2) <= tolerance;
    return std::hypot(ax1 - bx1, ay1 - by1) <= tolerance && std::hypot(ax2 - bx2, ay2 - by2) <= tolerance;
}

/// Arcs compared by their angles: angles that the text cannot tell apart
/// read back as a full circle.
inline bool same_arc_angles(const TElement& a, const TElement& b)
{
    if (full_circle(b) && !full_circle(a))
        return std::abs(a.GetCoord(5) - a.GetCoord(6)) <= 2.02e-4;
    return near_in_text(a.GetCoord(5), b.GetCoord(5), text_tolerance(a.GetCoord(5))) &&
           near_in_text(a.GetCoord(6), b.GetCoord(6), text_tolerance(a.GetCoord(6)));
}

enum class AngleText { Angles, EndPoints };

/// Whether a format's text holds an element so that its reader makes it
/// again; null for a format that holds every element.
using KeptByText = bool (*)(const TElement&);

/// The elements read back from what was written are those written, less
/// those that `kept` says the text cannot hold.
inline void expect_same_elements(const TElements& written, const TElements& read, AngleText angles,
                                 KeptByText kept = nullptr)
{
    std::vector<int> expected;
    for (int i = 0; i < written.Count(); ++i)
        if (kept == nullptr || kept(written.GetElement(i)))
            expected.push_back(i);
    if (static_cast<int>(expected.size()) != read.Count())
        finding(std::to_string(written.Count()) + " elements written (" + std::to_string(expected.size()) +
                " the text holds), " + std::to_string(read.Count()) + " read back");
    for (int j = 0; j < read.Count(); ++j) {
        const int i = expected[static_cast<std::size_t>(j)];
        const TElement& a = written.GetElement(i);
        const TElement& b = read.GetElement(j);
        if (a.GetEtype() != b.GetEtype() || a.GetLayer() != b.GetLayer())
            finding(element_name(i, a) + " reads back as " + element_name(i, b) + " or on another layer");
        const bool arc = a.GetEtype() == etArc;
        const int compared = arc ? 4 : 6;
        for (int s = 1; s <= compared; ++s) {
            // A radius from end points carries the rounding of three points.
            const bool radius = arc && s == 4 && angles == AngleText::EndPoints;
            const double tolerance = radius ? 3e-4 : text_tolerance(a.GetCoord(s));
            if (!near_in_text(a.GetCoord(s), b.GetCoord(s), tolerance))
                finding(element_name(i, a) + " slot " + std::to_string(s) + " reads back as " +
                        std::to_string(b.GetCoord(s)) + ", written " + std::to_string(a.GetCoord(s)));
        }
        if (!arc)
            continue;
        const bool same = angles == AngleText::EndPoints ? same_arc_ends(a, b) : same_arc_angles(a, b);
        if (!same)
            finding(element_name(i, a) + " angles read back changed");
    }
}

} // namespace orvex::fuzz
