// Painting the drawing into the off-screen picture.
#include <OrvexGDI/QOrvexGDI.h>

namespace orvex {

void TOrvexGDI::Redraw()
{
    AllocateCanvas();
    if (Graphics->isActive()) {
        Graphics->setRenderHint(QPainter::Antialiasing, Settings->AntiAlias);
        Graphics->fillRect(QRect(0, 0, Bitmap->width(), Bitmap->height()), Settings->BackgroundBrush);
    }
    update();
}

} // namespace orvex
