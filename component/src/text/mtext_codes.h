// The inline codes of multi-line CAD text (the MTEXT entity's string):
// paragraph and line breaks, groups in braces that scope formatting, font,
// height, width, slant, tracking, colour, text lines, vertical alignment
// within a line and stacked fractions. The string is resolved into a flat
// list of items, each pointing at the format in force at it.
#pragma once

#include "text/stroke_font.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::text {

/// The colour of a run of multi-line text: the entity's own, an index of
/// the CAD colour palette (1..255) or a true colour.
struct MTextColour {
    enum Kind : std::uint8_t { Entity, Index, Rgb };
    Kind kind = Entity;
    std::uint32_t value = 0; ///< the index, or the colour as 0xRRGGBB
    bool operator==(const MTextColour&) const = default;
};

/// Lines drawn along characters, as marks of MTextFormat.
enum MTextMark : std::uint8_t {
    kMTextUnderline = 1,
    kMTextOverline = 2,
    kMTextStrike = 4,
};

/// Where characters smaller than the tallest of their line stand (\A).
enum class MTextAlign : std::uint8_t { Bottom, Centre, Top };

/// The formatting in force at a character.
struct MTextFormat {
    double height = 1.0; ///< capital height in drawing units
    double width_factor = 1.0;
    double oblique_deg = 0.0;
    double tracking = 1.0; ///< factor on every character's advance
    Font font = Font::Simplex;
    MTextColour colour;
    std::uint8_t marks = 0; ///< MTextMark bits
    MTextAlign align = MTextAlign::Bottom;
    bool operator==(const MTextFormat&) const = default;
};

/// One item of resolved multi-line text.
struct MTextItem {
    enum Kind : std::uint8_t {
        Glyph, ///< a character to draw (a non-breaking space is the glyph ' ')
        Space, ///< a space where lines may wrap
        Tab,   ///< a tab: on to the next tab stop
        Break, ///< a line break or a new paragraph
        Stack, ///< a stacked fraction
    };
    Kind kind = Glyph;
    std::uint32_t format = 0; ///< index into MTextContent::formats
    char32_t code = 0;        ///< the character of a Glyph, the index into MTextContent::stacks of a Stack
};

/// A stacked fraction: numerator over denominator.
struct MTextStack {
    std::u32string top, bottom;
    char32_t type = U'/'; ///< '/' with a horizontal bar, '^' with none, '#' diagonal
};

/// Multi-line text resolved into items.
struct MTextContent {
    std::vector<MTextItem> items;
    std::vector<MTextFormat> formats;
    std::vector<MTextStack> stacks;
};

/// Resolves the inline codes of a UTF-8 MTEXT string, starting from the
/// format `initial`. Unknown codes and a lone backslash are drawn as
/// written; codes whose argument is missing or out of range leave the
/// format as it was; an unmatched closing brace is ignored.
MTextContent parse_mtext(std::string_view utf8, const MTextFormat& initial);

/// The stroke face for a font named by \f or \F: the sans for TrueType
/// faces (a .ttf, .ttc or .otf file, or a face with |b, |i or |p options),
/// the simplex for shape fonts (.shx, or only a |c code page) and unknown
/// names.
Font font_of_face(std::u32string_view face);

} // namespace orvex::text
