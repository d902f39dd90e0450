// The control codes of single-line CAD text (the TEXT entity's string):
// %%c diameter, %%d degree, %%p plus/minus, %%% percent, %%nnn the
// character of decimal code nnn, %%u and %%o underline and overline on or
// off, and \U+XXXX for a code point in hexadecimal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::text {

/// Lines drawn along a character, as marks of DecodedText.
enum TextLine : std::uint8_t {
    kUnderline = 1,
    kOverline = 2,
};

/// A text with its control codes resolved: the characters to draw and, for
/// each of them, the TextLine marks that are on at it (0 for none).
struct DecodedText {
    std::u32string chars;
    std::vector<std::uint8_t> lines;
};

/// The character of a %% code's letter (c, d, p or %, either case): the
/// diameter, degree, plus/minus or percent sign; 0 for any other letter.
char32_t percent_character(char32_t letter);

/// Plain text: the code points of UTF-8 with no lines.
DecodedText plain_text(std::string_view utf8);

/// Resolves the control codes of a UTF-8 TEXT string. The letters of the
/// %% codes may be either case. %%u and %%o toggle the underline and the
/// overline, which the layout draws as lines through every marked
/// character's advance; they are off at the start of each string. A %%
/// followed by anything else, and a \U+ without four hexadecimal digits,
/// are kept as written.
DecodedText decode_text_codes(std::string_view utf8);

} // namespace orvex::text
