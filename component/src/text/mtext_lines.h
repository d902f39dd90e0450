// Measuring resolved multi-line text and breaking it into lines: at every
// line break, and where a word would run past the reference width.
#pragma once

#include "text/mtext_codes.h"

#include <cstdint>
#include <vector>

namespace orvex::text {

/// Stacked fractions draw their numerator and denominator this many times
/// the height of the text around them.
inline constexpr double kStackScale = 0.7;

/// One line: the items [begin, end), with the spaces after its last word
/// left out, its advance and the height of its tallest character.
struct MTextLine {
    std::uint32_t begin = 0, end = 0;
    double width = 0;
    double height = 0;
};

/// The lines of a text, and the advance of every item in drawing units
/// (tabs as far as they reach on their line, breaks 0).
struct MTextLines {
    std::vector<double> advances;
    std::vector<MTextLine> lines;
};

/// The advance of a stacked fraction in the given format.
double stack_advance(const MTextStack& stack, const MTextFormat& format);

/// Breaks a text into lines. With a width above 0, a word that would end
/// past it starts a new line unless it is the first of its line, so words
/// longer than the width stand on a line of their own; spaces before a
/// line's first word are dropped when the word would not fit after them. Tab stops lie every
/// four times base_height; empty lines are base_height tall unless the
/// break that ends them is in another height.
MTextLines break_mtext_lines(const MTextContent& content, double width, double base_height);

} // namespace orvex::text
