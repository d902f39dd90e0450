// Multi-line text as strokes: lays out resolved MTEXT lines one below the
// other, puts the block's attachment point on the origin of the text plane
// and hands every stroke on with its colour.
#pragma once

#include "text/mtext_codes.h"
#include "text/text_layout.h"

#include <functional>
#include <span>
#include <string_view>

namespace orvex::text {

/// How the lines of a multi-line text are set.
struct MTextBlock {
    double height = 1.0;        ///< the entity's capital height
    double width = 0.0;         ///< reference width; 0: lines break only where written
    double line_spacing = 1.0;  ///< factor on the standard 5/3 heights between baselines
    bool exact_spacing = false; ///< every line spaced by `height`, not by its tallest character
    /// The point of the block on the origin: top, middle or bottom (the last
    /// baseline) of the lines; left, centre or right of the reference width,
    /// else of the widest line. Lines align to the same side.
    Attachment attachment = Attachment::TopLeft;
};

/// Receives one stroke of multi-line text with its colour.
using MTextSink = std::function<void(std::span<const Vec2> polyline, MTextColour colour)>;

/// Where a multi-line text lies: its box (left foot of the last line, right
/// foot, right top, left top of the first line's capitals) and the number
/// of lines.
struct MTextPlaced {
    TextBox box{};
    std::size_t lines = 0;
};

/// The standard distance between baselines in capital heights.
inline constexpr double kLineSpacing = 5.0 / 3.0;

/// Lays out resolved multi-line text and passes every stroke to sink. A
/// block height that is no positive finite number draws nothing.
MTextPlaced layout_mtext(const MTextContent& content, const MTextBlock& block, const MTextSink& sink);

} // namespace orvex::text
