#include "text_writer.h"

#include <OrvexGDI/Ops.h>

#include <charconv>
#include <cmath>
#include <cstring>

namespace orvex::formats {

// The drawing files' number text written straight into the buffer; the text
// is the one Ops::str_real gives (a test compares the two), made without a
// formatted-print call per number.
std::size_t real_text(double x, char* out)
{
    if (!std::isfinite(x)) {
        const std::string t = Ops::str_real(x);
        const std::size_t n = t.size() < 15 ? t.size() : 15;
        std::memcpy(out, t.data(), n);
        return n;
    }
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, 4);
    char* begin = text;
    std::size_t n = static_cast<std::size_t>(result.ptr - text);
    if (n == 7 && std::memcmp(text, "-0.0000", 7) == 0) {
        ++begin; // a value that rounds to zero has no sign
        --n;
    }
    if (n > 15)
        n = 15;
    if (std::memchr(begin, '.', n) != nullptr) {
        while (n > 0 && begin[n - 1] == '0')
            --n;
        if (n > 0 && begin[n - 1] == '.')
            begin[n++] = '0';
        if (begin[0] == '0') {
            ++begin;
            --n;
        } else if (n >= 2 && begin[0] == '-' && begin[1] == '0') {
            begin[1] = '-';
            ++begin;
            --n;
        }
    }
    std::memcpy(out, begin, n);
    return n;
}

void TextWriter::real(double x)
{
    char text[16];
    put(std::string_view(text, real_text(x, text)));
}

void TextWriter::integer(int i)
{
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, i);
    put(std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

} // namespace orvex::formats
