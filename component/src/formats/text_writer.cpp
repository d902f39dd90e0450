#include "text_writer.h"

#include <OrvexGDI/Ops.h>

#include <charconv>
#include <cmath>
#include <cstring>

namespace orvex::formats {

std::size_t real_text(double x, char* out)
{
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
