// A drawing read aside from the control, and the arc-view reset of a read.
#include "formats/common/drawing_sink.h"
#include "store/element_factory.h"

namespace orvex::formats {

StagedDrawing::StagedDrawing(const ArcViewTable& Views, TColor BackgroundColour, TDUnits DrawingUnits)
    : ArcViews(Views), Background(BackgroundColour), Units(DrawingUnits)
{
}

int StagedDrawing::make_element(int Etype, double c1, double c2, double c3, double c4, double c5, double c6,
                                TColor Colour, int LineType, int Layer, int Highlight, int View)
{
    // Extents are recomputed once the whole drawing is read.
    const TElement* e = add_element(Elements, Etype, c1, c2, c3, c4, c5, c6, Colour, LineType, Layer, Highlight, View);
    return e == nullptr ? -1 : e->Index();
}

void reset_arc_views(ArcViewTable& ArcViews)
{
    for (TArcView& v : ArcViews)
        v.Defined = false;
    ArcViews[1] = TArcView{1, 0, 0, 0, 1, 0, 0, 0, 1, true};
}

} // namespace orvex::formats
