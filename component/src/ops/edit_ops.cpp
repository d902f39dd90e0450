// Moving one element to a new origin.
#include <OrvexGDI/OpsEdit.h>

namespace orvex::Ops {

void shift_element(TElement& element, int Mode, double X, double Y, double Z)
{
    if ((Mode != 0 && Mode != 2) || element.GetDeleted())
        return;
    const auto move = [&element](int slot, double offset) { element.SetCoord(slot, element.GetCoord(slot) - offset); };
    switch (element.GetEtype()) {
    case etPoint:
    case etArc:
    case etArrow:
        move(1, X), move(2, Y), move(3, Z);
        break;
    case etLine:
    case etWitness:
    case etFillEdge:
        move(1, X), move(2, Y), move(3, Z);
        move(4, X), move(5, Y), move(6, Z);
        break;
    case 5:
        move(1, X), move(2, Y);
        break;
    case etLeader:
        move(1, X), move(2, Y);
        move(3, X), move(4, Y);
        break;
    default:
        break; // circles, images, ellipses, rectangles and clip rectangles stay
    }
}

} // namespace orvex::Ops
