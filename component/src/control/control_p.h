// The drawing control's private state: what it keeps between calls besides
// the drawing and the settings hosts see. Never installed; sources of the
// control include it to reach these through TOrvexGDI::d_.
#pragma once

#include "render/element_index.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QTimer>

#include <memory>

namespace orvex {

struct TOrvexGDI::Impl {
    /// Draws the first picture a second after creation; null once fired.
    QTimer* startupTimer = nullptr;
    /// Where the elements lie in the top view, built when first needed and
    /// rebuilt when the drawing changed.
    std::unique_ptr<ElementIndex> index;
    /// Wheel turn not yet a whole notch (fine-grained wheels).
    int wheelTurn = 0;
};

/// The nearest element hit at a pixel, with what its hit test found.
struct TOrvexGDI::PickHit {
    TElement* Element = nullptr;
    int Index = -1;
    dpoint P;                  ///< The pixel's model point.
    dpoint Near;               ///< The near end the hit test found.
    double FarX = 0, FarY = 0; ///< An arc's far end.
};

} // namespace orvex
