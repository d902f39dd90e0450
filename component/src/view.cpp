// View selection, projection and scaling.
#include <OrvexGDI/QOrvexGDI.h>

namespace orvex {

void TOrvexGDI::SetView(TDView Value)
{
    Settings->ViewNumber = view_number(Value);
    set_onchangeview();
    Redraw();
}

} // namespace orvex
