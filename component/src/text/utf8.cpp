#include "text/utf8.h"

namespace orvex::text {
namespace {

bool continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The code point of the sequence at bytes[i] and its length; length 0 when
// the bytes there are no well formed sequence.
char32_t decode_one(std::string_view bytes, std::size_t i, std::size_t& length)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    length = 0;
    std::size_t count = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80)
        return length = 1, lead;
    if ((lead & 0xE0) == 0xC0)
        count = 2, code = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        count = 3, code = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        count = 4, code = lead & 0x07, least = 0x10000;
    else
        return 0;
    if (i + count > bytes.size())
        return 0;
    for (std::size_t k = 1; k < count; ++k) {
        const auto byte = static_cast<unsigned char>(bytes[i + k]);
        if (!continuation(byte))
            return 0;
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    length = count;
    return code;
}

} // namespace

std::u32string decode_utf8(std::string_view bytes)
{
    std::u32string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t length = 0;
        const char32_t code = decode_one(bytes, i, length);
        if (length == 0) {
            out.push_back(kReplacement);
            ++i;
        } else {
            out.push_back(code);
            i += length;
        }
    }
    return out;
}

} // namespace orvex::text
