// A drawing read aside from the control, and the arc-view reset of a read.
#include "drawing_sink.h"

#include <OrvexGDI/OpsView.h>

#include <cmath>
#include <string>

namespace orvex::formats {

StagedDrawing::StagedDrawing(const ArcViewTable& Views, TColor BackgroundColour, TDUnits DrawingUnits)
    : ArcViews(Views), Background(BackgroundColour), Units(DrawingUnits)
{
}

int StagedDrawing::make_element(int Etype, double c1, double c2, double c3, double c4, double c5, double c6,
                                TColor Colour, int LineType, int Layer, int Highlight, int View)
{
    if (!Ops::check_max_min(Etype, c1, c2, c3, c4, c5, c6))
        return -1;
    if (Etype != etNone && (Highlight < 0 || Highlight > 255))
        throw ERangeError("highlight " + std::to_string(Highlight) + " outside 0..255");
    if (Etype == etArc && std::fabs(c5 - c6) < 0.0001) {
        c5 = 0;
        c6 = 360;
    }
    TElement& e = Elements.Add();
    e.SetEtype(Etype);
    if (Etype != etNone) {
        e.SetCoord(1, c1);
        e.SetCoord(2, c2);
        e.SetCoord(3, c3);
        e.SetCoord(4, c4);
        e.SetCoord(5, c5);
        e.SetCoord(6, c6);
        e.SetColor(Colour);
        e.SetLineType(LineType == 10 || LineType == 20 ? LineType / 10 : LineType);
        e.SetLayer(Layer < 1 || Layer > 254 ? 252 : Layer);
        e.SetHighlight(static_cast<std::uint8_t>(Highlight));
        e.SetView(View < 1 ? 1 : View);
        e.SetDeleted(false);
    }
    return e.Index();
}

void reset_arc_views(ArcViewTable& ArcViews)
{
    for (TArcView& v : ArcViews)
        v.Defined = false;
    ArcViews[1] = TArcView{1, 0, 0, 0, 1, 0, 0, 0, 1, true};
}

} // namespace orvex::formats
