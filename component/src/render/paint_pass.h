// A paint pass as the control starts it: where it goes, decided once from
// the settings' output fields, and what it leaves behind. The painter itself
// takes its target and viewport as arguments and writes nothing into the
// settings; the control keeps the pen and fill colour the pass left as its
// current ones, so the next pass starts where this one stopped.
#pragma once

#include "render/element_painter.h"
#include "view/viewport.h"

#include <OrvexGDI/QOrvexGDI.h>

namespace orvex {

/// The painter and kind of a pass on graphics: the canvas of a clipboard
/// copy or of a print while the settings name one, else graphics itself.
struct PaintOutput {
    QPainter& painter;
    PaintTarget target;
};

inline PaintOutput paint_output(QPainter& graphics, const TSettings& s)
{
    if (s.CanvasMode && s.OutputCanvas != nullptr)
        return {*s.OutputCanvas, PaintTarget::Canvas};
    if (s.Printing && s.OutputCanvas != nullptr)
        return {*s.OutputCanvas, PaintTarget::Printer};
    return {graphics, PaintTarget::Picture};
}

/// Runs step(painter) in a pass on graphics through the current view, then
/// keeps the pen and fill colour the pass left as the control's.
template <typename Step>
void paint_pass(QPainter& graphics, TSettings& s, Step step)
{
    const PaintOutput out = paint_output(graphics, s);
    ElementPainter painter(out.painter, out.target, view::Viewport::current(s), s);
    step(painter);
    painter.finish();
    if (painter.last_pen())
        s.Pen = *painter.last_pen();
    if (painter.last_fill())
        s.FillBrush = *painter.last_fill();
}

} // namespace orvex
