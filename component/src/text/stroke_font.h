// The stroke faces of drawing text and their metrics. CAD text heights are
// capital heights, so every face is scaled here to make its capital H
// exactly one text height tall; advances follow in the same units.
#pragma once

#include "text/font_table.h"

#include <string_view>

namespace orvex::text {

/// The stroke faces: a roman simplex for text styles of shape fonts and a
/// sans for those of TrueType fonts. Both draw the same Greek, Cyrillic,
/// accented Latin letters and signs.
enum class Font { Simplex, Sans };

/// A face's measures in text heights (the capital H is 1 tall).
struct FontMetrics {
    double cap_height;      ///< top of the capital H, 1
    double x_height;        ///< top of the small letters
    double descender;       ///< foot of the small p, below the baseline (negative)
    double capital_advance; ///< advance of the capital H, also that of the missing-glyph box
};

/// The measures of a face.
FontMetrics font_metrics(Font font);

/// Font units per text height: the height of the face's capital H.
double units_per_height(Font font);

/// The face's own glyph for a code point; null when the face has none.
const table::Glyph* find_glyph(Font font, char32_t code);

/// The glyph drawn for a code point: the face's own, else the missing-glyph
/// box, a capital-high rectangle with a capital's advance.
const table::Glyph& drawn_glyph(Font font, char32_t code);

/// Advance of a string in text heights: the sum of its glyphs' advances,
/// times the width factor.
double text_advance(Font font, std::u32string_view text, double width_factor = 1.0);

} // namespace orvex::text
