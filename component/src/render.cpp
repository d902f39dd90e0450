// Painting the drawing into the off-screen picture.
#include "codes.h"
#include "element_painter.h"
#include "view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

namespace orvex {

void TOrvexGDI::Redraw()
{
    AllocateCanvas();
    if (Graphics->isActive())
        redraw2(*Graphics, Bitmap->width(), Bitmap->height());
    update();
}

void TOrvexGDI::redraw2(QPainter& Graphics, int Width, int Height)
{
    view::set_coefficiants(*Settings);
    clear_screen(Graphics, Width, Height);
    Graphics.setRenderHint(QPainter::Antialiasing, Settings->AntiAlias);
    plot_elements(Graphics, Settings->ViewNumber, codes::kPlotVisible);
}

void TOrvexGDI::clear_screen(QPainter& Graphics, int Width, int Height)
{
    Graphics.fillRect(QRect(0, 0, Width, Height), Settings->BackgroundBrush);
}

void TOrvexGDI::plot_elements(QPainter& Graphics, int View, int Mode)
{
    ElementPainter painter(Graphics, *Settings);
    painter.plot_elements(*Elements, View, Mode);
}

} // namespace orvex
