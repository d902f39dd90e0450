#include "formats/common/text_writer.h"

#include <OrvexGDI/Ops.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace orvex::formats {

namespace {
std::string plain_text(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}
} // namespace

UnwritableValue::UnwritableValue(double value, std::string holder)
    : std::runtime_error(plain_text(value) + ", which cannot be written so that it reads back"), Value(value),
      Holder(std::move(holder))
{
}

bool writable_real(double x)
{
    return x >= 0 ? x < 1e15 : x > -1e14; // false for NaN
}

std::size_t real_text(double x, char* out)
{
    if (!writable_real(x))
        throw UnwritableValue(x);
    return Ops::str_real_to(x, out);
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
