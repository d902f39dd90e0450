#include "iges_parameters.h"

#include "record_fields.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <cmath>
#include <string>

namespace orvex::formats::iges {

namespace {

double field_value(std::string_view field, std::string& scratch)
{
    if (field.find(' ') != std::string_view::npos) {
        scratch.clear();
        for (char c : field)
            if (c != ' ')
                scratch.push_back(c);
        field = scratch;
    }
    return iges_number(field);
}

} // namespace

void parameter_values(std::string_view record, char parameter, char recordEnd, std::vector<double>& values)
{
    values.clear();
    std::string scratch;
    std::size_t i = 0;
    bool first = true;
    while (i <= record.size()) {
        // A Hollerith text: digits, "H", then that many characters.
        std::size_t j = i;
        while (j < record.size() && record[j] == ' ')
            ++j;
        std::size_t k = j;
        while (k < record.size() && record[k] >= '0' && record[k] <= '9')
            ++k;
        std::size_t end;
        bool text = false;
        if (k > j && k < record.size() && record[k] == 'H') {
            std::size_t length = 0;
            for (std::size_t n = j; n < k && length < record.size(); ++n)
                length = length * 10 + static_cast<std::size_t>(record[n] - '0');
            end = std::min(record.size(), k + 1 + length);
            while (end < record.size() && record[end] != parameter && record[end] != recordEnd)
                ++end;
            text = true;
        } else {
            end = i;
            while (end < record.size() && record[end] != parameter && record[end] != recordEnd)
                ++end;
        }
        const double value = text ? 0.0 : field_value(record.substr(i, end - i), scratch);
        if (!first)
            values.push_back(value);
        first = false;
        if (end >= record.size() || record[end] == recordEnd)
            return;
        i = end + 1;
    }
}

} // namespace orvex::formats::iges
