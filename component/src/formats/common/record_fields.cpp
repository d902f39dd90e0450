#include "formats/common/record_fields.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace orvex::formats {

std::optional<double> parse_decimal(std::string_view text)
{
    const char* const last = text.data() + text.size();
    DecimalDigits d;
    const char* p = scan_decimal(text.data(), last, d);
    if (d.digits == 0)
        return std::nullopt;
    bool exponent = false;
    int power = 0; // the exponent's value, while it stays small
    if (p < last && (*p == 'E' || *p == 'e')) {
        exponent = true;
        ++p;
        const bool below = p < last && *p == '-';
        if (p < last && (*p == '+' || *p == '-'))
            ++p;
        const char* const exponentDigits = p;
        while (p < last && static_cast<unsigned>(*p - '0') < 10) {
            power = std::min(power * 10 + (*p - '0'), 1000);
            ++p;
        }
        if (p == exponentDigits)
            return std::nullopt;
        power = below ? -power : power;
    }
    if (p != last)
        return std::nullopt;
    // Short plain decimals (the files' usual numbers) need no full conversion.
    if (!exponent && d.digits <= kExactDigits)
        return exact_value(d);
    // Nor do short ones with a small exponent: at most 15 digits and a
    // power of ten up to 22 are exact doubles, so the one multiplication or
    // division rounds correctly (Clinger's fast path).
    if (exponent && d.digits <= kExactDigits && std::abs(power - d.fraction) <= 22) {
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        const int shift = power - d.fraction;
        const double magnitude = static_cast<double>(d.mantissa);
        const double value = shift >= 0 ? magnitude * kPowers[shift] : magnitude / kPowers[-shift];
        return d.negative ? -value : value;
    }
    const char* const first = text.data() + (text.front() == '+' || text.front() == '-' ? 1 : 0);
    double value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: as the C library rounds it.
        const std::string copy(first, last);
        value = std::strtod(copy.c_str(), nullptr);
    }
    return d.negative ? -value : value;
}

int round_int(double value)
{
    const double r = std::nearbyint(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw ERangeError("value " + std::to_string(value) + " does not fit a 32-bit integer");
    return static_cast<int>(r);
}

int trunc_int(double value)
{
    const double r = std::trunc(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw ERangeError("value " + std::to_string(value) + " does not fit a 32-bit integer");
    return static_cast<int>(r);
}

void RecordFields::split(std::string_view text, char delimiter, char firstAlso)
{
    // One pass finds the delimiters and whether the record holds a space (to
    // be removed) or a "D" exponent (parsed apart); a record with spaces or a
    // delimiter to replace is cleaned into a copy and split again.
    auto scan = [&](std::string_view fields) {
        view_ = fields;
        commas_ = 0;
        overflow_ = false;
        hasExponentD_ = false;
        bool space = false, other = false;
        const char* data = fields.data();
        const std::size_t n = fields.size();
        for (std::size_t i = 0; i < n; ++i) {
            const char c = data[i];
            if (c == delimiter) {
                if (commas_ == kMaxCommas) {
                    overflow_ = true;
                    continue;
                }
                comma_[static_cast<std::size_t>(commas_++)] = static_cast<std::uint32_t>(i);
            } else if (c == ' ') {
                space = true;
            } else if (c == 'D') {
                hasExponentD_ = true;
            } else if (c == firstAlso) {
                other = true;
            }
        }
        return space || other;
    };
    if (!scan(text))
        return;
    text_.clear();
    bool replaced = firstAlso == delimiter;
    for (char c : text) {
        if (c == ' ')
            continue;
        if (!replaced && c == firstAlso) {
            c = delimiter;
            replaced = true;
        }
        text_.push_back(c);
    }
    scan(text_);
}

void RecordFields::split_plain(std::string_view line) { split(line, ',', ','); }

void RecordFields::split_ovx(std::string_view line)
{
    if (line.empty()) {
        view_ = {};
        commas_ = 0;
        overflow_ = false;
        return;
    }
    const std::size_t space = line.find(' ');
    if (space != std::string_view::npos) {
        line.remove_prefix(space);
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1); // removed with every other space anyway
    }
    split(line, ',', ',');
    if (!overflow_) {
        if (commas_ == kMaxCommas)
            overflow_ = true;
        else
            comma_[static_cast<std::size_t>(commas_++)] = static_cast<std::uint32_t>(view_.size());
    }
}

void RecordFields::split_iges(std::string_view data, char parameter, char record) { split(data, parameter, record); }

double RecordFields::value(int N) const
{
    if (overflow_ || N < 1 || N > commas_)
        return 0;
    const std::size_t begin = N == 1 ? 0 : comma_[static_cast<std::size_t>(N - 2)] + 1;
    const std::size_t end = comma_[static_cast<std::size_t>(N - 1)];
    const std::string_view field = view_.substr(begin, end - begin);
    return hasExponentD_ ? iges_number(field) : parse_decimal(field).value_or(0.0);
}

double iges_number(std::string_view field)
{
    const std::size_t d = field.find('D');
    if (d == std::string_view::npos)
        return parse_decimal(field).value_or(0.0);
    const std::string_view exponentText = field.substr(d + 1);
    const auto exponent = parse_decimal(exponentText);
    if (!exponent)
        throw EConvertError("'" + std::string(exponentText) + "' is not a valid exponent");
    const double mantissa = parse_decimal(field.substr(0, d)).value_or(0.0);
    return mantissa * std::pow(10.0, *exponent);
}

double item(int N, std::string_view Line, int CadType)
{
    RecordFields fields;
    if (CadType == 1)
        fields.split_ovx(Line);
    else if (CadType == 3)
        fields.split_iges(Line);
    else
        fields.split_plain(Line);
    return fields.value(N);
}

} // namespace orvex::formats
