// The drawing control's private state: what it keeps between calls besides
// the drawing and the settings hosts see. Never installed; sources of the
// control include it to reach these through TOrvexGDI::d_.
#pragma once

#include "render/element_index.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>

namespace orvex {

/// The view and drawing a screen picture was drawn for.
struct PictureView {
    int view = 0, originX = 0, originY = 0, width = 0, height = 0;
    double scaleX = 0, scaleY = 0, xRotation = 0, yRotation = 0, zRotation = 0;
    std::uint64_t generation = 0;
    int count = 0;
    bool antialias = false;
    TColor background = 0;
    bool operator==(const PictureView&) const = default;
};

struct TOrvexGDI::Impl {
    /// Draws the first picture a second after creation; null once fired.
    QTimer* startupTimer = nullptr;
    /// Where the elements lie in the top view, built when first needed and
    /// rebuilt when the drawing changed.
    std::unique_ptr<ElementIndex> index;
    /// Wheel turn not yet a whole notch (fine-grained wheels).
    int wheelTurn = 0;
    /// What the screen picture shows after its last full drawing, so that a
    /// live pan can move it instead of drawing it again; empty when the
    /// picture holds anything else (a drag preview).
    std::optional<PictureView> shown;
    /// Draws and tells the zoom a turn of the wheel settles on (band threads).
    QTimer* wheelTimer = nullptr;
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
