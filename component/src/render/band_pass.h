// A picture drawn in horizontal bands, each band on its own thread. Every
// band draws the elements in list order through the element index (or all
// of them), writes only its own rows, and so each pixel ends up as the
// single pass over the whole picture would leave it.
#pragma once

#include "render/element_index.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRect>

#include <optional>
#include <vector>

namespace orvex {

/// The bands a picture of this height is drawn in for a RenderThreads value
/// (0: one per core; at most 64); 1 means the single pass.
int band_count(int renderThreads, int height);

/// Whether a picture can be drawn in bands: a 32-bit image without a colour table.
bool banded_picture(const QImage& picture);

/// The rows of band k of n in a picture of this size.
QRect band_rect(int k, int n, int width, int height);

/// What a banded pass leaves for the control: the fill brush as last
/// recoloured (by the latest element of any band), the clip rectangle the
/// elements left on the whole picture, and, when every band drew the whole
/// list, the outline pen of the last figure.
struct BandPassResult {
    std::optional<QPen> pen;
    std::optional<QBrush> fill;
    int fillElement = -1;
    std::optional<QRect> clip;
};

/// Draws the visible elements (mode 1 of the element loop) into the parts
/// of picture (disjoint rectangles: bands, or the strips a pan uncovered),
/// each part on its own thread, writing no pixel outside it; graphics is the
/// painter on picture, whose pen, brush, hints and clip every part starts
/// from. With an index, each part visits only the elements near it (top view
/// only; the index must not inherit dash styles), else all elements.
BandPassResult paint_bands(QPainter& graphics, QImage& picture, const TSettings& s, const TElements& elements,
                           const ElementIndex* index, const std::vector<QRect>& parts);

/// Moves the pixels of picture by (dx, dy); what moves out is lost, what is
/// uncovered keeps its old pixels.
void shift_pixels(QImage& picture, int dx, int dy);

} // namespace orvex
