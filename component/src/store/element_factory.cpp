#include "element_factory.h"

#include <OrvexGDI/OpsView.h>

#include <cmath>
#include <string>

namespace orvex {

bool check_coordinates(TElement& Element)
{
    double c[6];
    for (int s = 0; s < 6; ++s)
        c[s] = Element.GetCoord(s + 1);
    if (!Ops::check_max_min(Element.GetEtype(), c[0], c[1], c[2], c[3], c[4], c[5]))
        return false;
    for (int s = 0; s < 6; ++s)
        Element.SetCoord(s + 1, c[s]);
    return true;
}

TElement* add_element(TElements& list, int Etype, double c1, double c2, double c3, double c4, double c5, double c6,
                      TColor Colour, int LineType, int Layer, int Highlight, int View)
{
    if (!Ops::check_max_min(Etype, c1, c2, c3, c4, c5, c6))
        return nullptr;
    if (Etype != etNone && (Highlight < 0 || Highlight > 255))
        throw ERangeError("highlight " + std::to_string(Highlight) + " outside 0..255");
    if (Etype == etArc && std::abs(c5 - c6) < 0.0001) {
        c5 = 0; // a full circle
        c6 = 360;
    }
    TElement& e = list.Add();
    e.SetEtype(Etype);
    if (Etype == etNone)
        return &e; // a placeholder: every other field stays zero
    e.SetCoord(1, c1);
    e.SetCoord(2, c2);
    e.SetCoord(3, c3);
    e.SetCoord(4, c4);
    e.SetCoord(5, c5);
    e.SetCoord(6, c6);
    e.SetColor(Colour);
    e.SetLineType(is_construction_line(LineType) ? LineType / 10 : LineType);
    e.SetLayer(Layer < 1 || Layer > 254 ? 252 : Layer);
    e.SetHighlight(static_cast<std::uint8_t>(Highlight));
    e.SetView(View < 1 ? 1 : View);
    return &e;
}

} // namespace orvex
