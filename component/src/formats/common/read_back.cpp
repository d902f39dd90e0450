#include "formats/common/read_back.h"

#include "formats/common/record_fields.h"
#include "formats/common/text_writer.h"

#include <cmath>

namespace orvex::formats {

namespace {
bool in_factory_range(double x)
{
    return x >= -1e9 && x <= 1e9; // false for NaN
}
} // namespace

double read_back(double x)
{
    char text[16];
    return parse_decimal(std::string_view(text, real_text(x, text))).value_or(0.0);
}

bool whole_turn(double start, double end)
{
    const double sweep = std::fabs(end - start);
    return std::fabs(sweep - 360 * std::nearbyint(sweep / 360)) < 0.0001;
}

void refuse(const TElement& e, const std::string& what, double value)
{
    throw UnwritableValue(value, "element " + std::to_string(e.Index()) + " (" + what + ")");
}

bool require_placed_as_written(const TElement& e)
{
    int checked = 0; // the slots the factory checks
    switch (e.GetEtype()) {
    case etPoint:
        checked = 3;
        break;
    case etLine:
        checked = 6;
        break;
    case etArc:
    case etCircle:
        checked = 4; // the angles need only be finite
        break;
    default:
        return false;
    }
    for (int s = 1; s <= checked; ++s) {
        const double x = e.GetCoord(s);
        if (!in_factory_range(x) && !in_factory_range(read_back(x)))
            refuse(e, "slot " + std::to_string(s), x);
    }
    if (e.GetLayer() < 1 || e.GetLayer() > 254)
        refuse(e, "layer", e.GetLayer());
    return true;
}

void require_arc_stays_an_arc(const TElement& e, double startReadBack, double endReadBack)
{
    if (whole_turn(startReadBack, endReadBack) && !whole_turn(e.GetCoord(5), e.GetCoord(6)))
        refuse(e, "slot 6", e.GetCoord(6));
}

} // namespace orvex::formats
