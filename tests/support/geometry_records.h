// Small record builders of the geometry tests: circles, elements with given
// slots, and the distance of a point from a line.
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <cmath>
#include <initializer_list>

namespace orvex::testing_geometry {

/// A full circle record of radius r about (x, y, z).
inline TDArc circle(double x, double y, double r, double z = 0) { return TDArc{{x, y, z}, r, 0, 0}; }

/// Distance of (x, y) from the infinite line through the segment.
inline double line_distance(const TDLine& l, double x, double y)
{
    const double dx = l.P2.X - l.P1.X, dy = l.P2.Y - l.P1.Y;
    return std::fabs((x - l.P1.X) * dy - (y - l.P1.Y) * dx) / std::hypot(dx, dy);
}

/// Appends an element of the type whose slots 1, 2, ... take the values.
inline TElement& add_element(TElements& list, int type, std::initializer_list<double> slots, int view = 1)
{
    TElement& e = list.Add();
    e.SetEtype(type);
    e.SetView(view);
    int i = 1;
    for (double v : slots)
        e.SetCoord(i++, v);
    return e;
}

/// Appends a line element (or another type with a line's slots).
inline TElement& line_element(TElements& list, const TDLine& l, int type = etLine)
{
    return add_element(list, type, {l.P1.X, l.P1.Y, l.P1.Z, l.P2.X, l.P2.Y, l.P2.Z});
}

} // namespace orvex::testing_geometry
