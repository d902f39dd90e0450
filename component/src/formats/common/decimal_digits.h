// The digits of plain decimal texts ("-12.5", ".5", "5.") gathered into one
// integer, and their exact value for short numbers: the hot path of every
// reader.
#pragma once

#include <bit>
#include <cstdint>

namespace orvex::formats {

/// A plain decimal: its sign, all its digits as one integer and how many of
/// them follow the point.
struct DecimalDigits {
    std::uint64_t mantissa = 0; // meaningful up to 19 digits
    int digits = 0;
    int fraction = 0;
    bool negative = false;
};

/// Appends the run of digits at `p` to `mantissa` and counts them; returns
/// where the run stops.
inline const char* scan_digits(const char* p, const char* last, std::uint64_t& mantissa, int& count)
{
    while (p < last && static_cast<unsigned>(*p - '0') < 10) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++count, ++p;
    }
    return p;
}

/// Reads a plain decimal from `p` and returns where it stopped: at the end
/// or at the first character that is not part of one.
inline const char* scan_decimal(const char* p, const char* last, DecimalDigits& d)
{
    d = DecimalDigits{};
    // Without branches: the signs of coordinates follow no pattern.
    if (p < last) {
        d.negative = *p == '-';
        p += d.negative || *p == '+';
    }
    p = scan_digits(p, last, d.mantissa, d.digits);
    if (p < last && *p == '.') {
        p = scan_digits(p + 1, last, d.mantissa, d.fraction);
        d.digits += d.fraction;
    }
    return p;
}

/// Most digits whose value exact_value gives correctly rounded.
constexpr int kExactDigits = 15;

/// The value of at most kExactDigits digits (and at least one): the integer
/// and the power of ten are both exact doubles, so the one division rounds
/// correctly, as a full decimal conversion would.
inline double exact_value(const DecimalDigits& d)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(d.mantissa) / kPowers[d.fraction];
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(value) ^ (std::uint64_t{d.negative} << 63));
}

} // namespace orvex::formats
