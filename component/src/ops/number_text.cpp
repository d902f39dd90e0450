// The number texts of the drawing files: reals with at most four decimals and
// no redundant zeros, integers in plain decimal.
#include <OrvexGDI/Ops.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace orvex::Ops {

namespace {
// x rounded to four decimals as an integer count of 1e-4 units, exactly as a
// correctly rounding formatted print does (halves to even). Only for
// |x| < 1e9, where the count fits a double with room to spare: the product's
// rounding error is recovered with a fused multiply-add and decides the
// cases where the rounded product lands on a half.
long long ten_thousandths(double x)
{
    const double p = x * 1e4;
    const double err = std::fma(x, 1e4, -p); // x * 1e4 == p + err exactly
    double n = std::nearbyint(p);
    const double d = p - n; // exact
    if (std::abs(d) == 0.5 && err != 0)
        n = (err > 0) == (d > 0) ? n + (d > 0 ? 1 : -1) : n;
    return static_cast<long long>(n);
}

// "%.4f" of x for |x| < 1e9, by integer arithmetic.
std::size_t fixed4(double x, char* text)
{
    const long long n = ten_thousandths(x);
    std::size_t length = 0;
    unsigned long long magnitude = static_cast<unsigned long long>(n < 0 ? -n : n);
    if (n < 0)
        text[length++] = '-';
    const auto whole = std::to_chars(text + length, text + 400, magnitude / 10000);
    length = static_cast<std::size_t>(whole.ptr - text);
    text[length++] = '.';
    unsigned long long fraction = magnitude % 10000;
    for (int k = 3; k >= 0; --k) {
        text[length + static_cast<std::size_t>(k)] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    return length + 4;
}
} // namespace

std::size_t str_real_to(double x, char* out)
{
    char text[400];
    std::size_t n = 0;
    if (std::abs(x) < 1e9) {
        n = fixed4(x, text);
    } else if (std::isfinite(x)) {
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

std::string str_int(int i) { return std::to_string(i); }

} // namespace orvex::Ops
