// Single-line text as strokes: places the glyphs of a string in the text
// plane by its style, insertion point and attachment point, and hands the
// strokes on as polylines.
#pragma once

#include "text/stroke_font.h"
#include "text/text_codes.h"

#include <array>
#include <functional>
#include <span>
#include <string_view>

namespace orvex::text {

/// A point of the text plane.
struct Vec2 {
    double x = 0, y = 0;
};

/// How a text is drawn. The height is that of a capital letter; the width
/// factor stretches advances and strokes in the text's direction; the
/// oblique angle slants the strokes to the right by that many degrees from
/// upright; the rotation turns the text anticlockwise about the insertion
/// point. Backwards mirrors the text in its own X direction and upside down
/// in its own Y direction, both about the insertion point, as CAD programs
/// mirror a TEXT entity.
struct TextStyle {
    double height = 1.0;
    double width_factor = 1.0;
    double oblique_deg = 0.0;
    double rotation_deg = 0.0;
    Font font = Font::Simplex;
    bool backwards = false;
    bool upside_down = false;
};

/// Which point of the text lies on the insertion point, numbered as the
/// attachment points of multi-line text. Top is the capital height, middle
/// half of it, bottom the baseline; left, centre and right divide the
/// text's advance.
enum class Attachment {
    TopLeft = 1,
    TopCentre,
    TopRight,
    MiddleLeft,
    MiddleCentre,
    MiddleRight,
    BottomLeft,
    BottomCentre,
    BottomRight,
};

/// Receives one stroke: two or more points joined by straight lines.
using StrokeSink = std::function<void(std::span<const Vec2> polyline)>;

/// Receives one round stroke as a circular arc of the text plane, turning
/// counterclockwise from the angle `start` to the angle `end` (radians,
/// from the plane's x axis).
using ArcSink = std::function<void(Vec2 centre, double radius, double start, double end)>;

/// Where a laid-out text lies: its advance from the baseline to the
/// capital height, as the corners left foot, right foot, right top, left top
/// (of the text before mirroring).
using TextBox = std::array<Vec2, 4>;

/// Lays out a text with its line marks (underlines at a fifth of the height
/// below the baseline, overlines as far above the capital height) and
/// passes every stroke to sink. Code points a face lacks draw as its
/// missing-glyph box. Returns the text's box. A height that is no positive
/// finite number, or any value of the style or the insertion point that is
/// not finite, draws nothing and gives a box shrunk to the insertion point.
/// With `arcs` given, the round runs of the glyphs' strokes go to it as
/// arcs, fitted within half a font unit, wherever the style keeps circles
/// round (width factor 1, upright); the rest of each stroke goes to sink.
TextBox layout_text(const DecodedText& text, const TextStyle& style, Vec2 insert, Attachment attachment,
                    const StrokeSink& sink, const ArcSink& arcs = {});

/// Lays out plain UTF-8 text, control codes and all as written.
TextBox layout_text(std::string_view utf8, const TextStyle& style, Vec2 insert, Attachment attachment,
                    const StrokeSink& sink);

} // namespace orvex::text
