// Classes of the ASCII code points that text control codes are made of.
#pragma once

namespace orvex::text {

/// The value of a hexadecimal digit, either case; -1 for any other code point.
inline int hex_digit(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A') + 10;
    if (c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a') + 10;
    return -1;
}

inline bool decimal_digit(char32_t c) { return c >= U'0' && c <= U'9'; }

/// An ASCII capital as its small letter; any other code point unchanged.
inline char32_t ascii_lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c; }

} // namespace orvex::text
