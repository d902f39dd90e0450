#include "text/text_codes.h"

#include "text/code_points.h"
#include "text/utf8.h"

namespace orvex::text {
namespace {

// The code point of "\U+XXXX" at s[i]; false when s[i] starts no such code.
bool unicode_escape(std::u32string_view s, std::size_t i, char32_t& code)
{
    if (s.substr(i, 3) != U"\\U+" || i + 7 > s.size())
        return false;
    code = 0;
    for (std::size_t k = i + 3; k < i + 7; ++k) {
        const int digit = hex_digit(s[k]);
        if (digit < 0)
            return false;
        code = code * 16 + static_cast<char32_t>(digit);
    }
    return true;
}

} // namespace

char32_t percent_character(char32_t letter)
{
    switch (ascii_lower(letter)) {
    case U'c':
        return U'\u2300';
    case U'd':
        return U'\u00B0';
    case U'p':
        return U'\u00B1';
    case U'%':
        return U'%';
    default:
        return 0;
    }
}

DecodedText plain_text(std::string_view utf8)
{
    DecodedText out{decode_utf8(utf8), {}};
    out.lines.assign(out.chars.size(), 0);
    return out;
}

DecodedText decode_text_codes(std::string_view utf8)
{
    const std::u32string s = decode_utf8(utf8);
    DecodedText out;
    std::uint8_t lines = 0;
    auto put = [&](char32_t c) {
        out.chars.push_back(c);
        out.lines.push_back(lines);
    };
    for (std::size_t i = 0; i < s.size();) {
        char32_t code = 0;
        if (unicode_escape(s, i, code)) {
            put(code);
            i += 7;
            continue;
        }
        if (s[i] != U'%' || i + 2 >= s.size() || s[i + 1] != U'%') {
            put(s[i++]);
            continue;
        }
        const char32_t what = ascii_lower(s[i + 2]);
        if (const char32_t special = percent_character(what)) {
            put(special);
            i += 3;
        } else if (what == U'u' || what == U'o') {
            lines ^= what == U'u' ? kUnderline : kOverline;
            i += 3;
        } else if (i + 4 < s.size() && decimal_digit(s[i + 2]) && decimal_digit(s[i + 3]) && decimal_digit(s[i + 4])) {
            put((s[i + 2] - U'0') * 100 + (s[i + 3] - U'0') * 10 + (s[i + 4] - U'0'));
            i += 5;
        } else {
            put(s[i++]);
        }
    }
    return out;
}

} // namespace orvex::text
