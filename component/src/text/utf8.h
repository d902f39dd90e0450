// UTF-8 to code points for drawing text.
#pragma once

#include <string>
#include <string_view>

namespace orvex::text {

/// The code point drawn for bytes that are no UTF-8.
inline constexpr char32_t kReplacement = U'\uFFFD';

/// The code points of UTF-8 text. Each byte that does not belong to a well
/// formed sequence (a stray continuation byte, a cut-off sequence, an
/// overlong form, a surrogate or a value past U+10FFFF) becomes one
/// kReplacement, and decoding goes on with the next byte.
std::u32string decode_utf8(std::string_view bytes);

} // namespace orvex::text
