// The number texts of the drawing files: reals with at most four decimals and
// no redundant zeros, integers in plain decimal.
#include <OrvexGDI/Ops.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace orvex::Ops {

std::size_t str_real_to(double x, char* out)
{
    char text[400];
    std::size_t n = 0;
    if (std::isfinite(x)) {
        const auto result = std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, 4);
        n = static_cast<std::size_t>(result.ptr - text);
    } else {
        n = static_cast<std::size_t>(std::snprintf(text, sizeof text, "%.4f", x));
    }
    char* begin = text;
    if (n == 7 && std::memcmp(text, "-0.0000", 7) == 0) {
        ++begin; // a value that rounds to zero is written without a sign
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

std::string str_real(double x)
{
    char text[16];
    return std::string(text, str_real_to(x, text));
}

std::string str_int(int i)
{
    return std::to_string(i);
}

} // namespace orvex::Ops
