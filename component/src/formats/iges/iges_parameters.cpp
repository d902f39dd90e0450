#include "formats/iges/iges_parameters.h"

#include "formats/common/record_fields.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace orvex::formats::iges {

namespace {

double field_value(std::string_view field, std::string& scratch)
{
    // The usual field, a plain number, is read at once; only the others are
    // searched for spaces and "D" exponents.
    if (const auto plain = parse_decimal(field))
        return *plain;
    if (field.find(' ') != std::string_view::npos) {
        scratch.clear();
        for (char c : field)
            if (c != ' ')
                scratch.push_back(c);
        field = scratch;
    }
    return iges_number(field);
}

// Hands each field of the record to `take(field, text)`, `text` holding the
// characters of a Hollerith text and `field` the field otherwise; stops when
// `take` returns false or at the record delimiter.
template <typename Take>
void for_each_field(std::string_view record, char parameter, char recordEnd, Take&& take)
{
    std::size_t i = 0;
    while (i <= record.size()) {
        // A Hollerith text: digits, "H", then that many characters.
        std::size_t j = i;
        while (j < record.size() && record[j] == ' ')
            ++j;
        std::size_t k = j;
        while (k < record.size() && record[k] >= '0' && record[k] <= '9')
            ++k;
        std::size_t end;
        std::string_view text;
        bool isText = false;
        if (k > j && k < record.size() && record[k] == 'H') {
            std::size_t length = 0;
            for (std::size_t n = j; n < k && length < record.size(); ++n)
                length = length * 10 + static_cast<std::size_t>(record[n] - '0');
            end = std::min(record.size(), k + 1 + length);
            text = record.substr(k + 1, end - (k + 1));
            while (end < record.size() && record[end] != parameter && record[end] != recordEnd)
                ++end;
            isText = true;
        } else {
            end = i;
            while (end < record.size() && record[end] != parameter && record[end] != recordEnd)
                ++end;
        }
        if (!take(record.substr(i, end - i), isText, text))
            return;
        if (end >= record.size() || record[end] == recordEnd)
            return;
        i = end + 1;
    }
}

} // namespace

void parameter_values(std::string_view record, char parameter, char recordEnd, std::vector<double>& values)
{
    values.clear();
    std::string scratch;
    bool first = true;
    for_each_field(record, parameter, recordEnd, [&](std::string_view field, bool isText, std::string_view) {
        const double value = isText ? 0.0 : field_value(field, scratch);
        if (!first)
            values.push_back(value);
        first = false;
        return true;
    });
}

std::string parameter_text(std::string_view record, char parameter, char recordEnd, std::size_t Index)
{
    std::string found;
    std::size_t n = 0;
    for_each_field(record, parameter, recordEnd, [&](std::string_view, bool isText, std::string_view text) {
        if (n++ != Index + 1)
            return true;
        if (isText)
            found.assign(text);
        return false;
    });
    return found;
}

void parameter_texts(std::string_view record, char parameter, char recordEnd, std::vector<std::string>& texts)
{
    texts.clear();
    bool first = true;
    for_each_field(record, parameter, recordEnd, [&](std::string_view, bool isText, std::string_view text) {
        if (!first)
            texts.emplace_back(isText ? text : std::string_view());
        first = false;
        return true;
    });
}

} // namespace orvex::formats::iges
