#include "text_writer.h"

#include <OrvexGDI/Ops.h>

namespace orvex::formats {

void TextWriter::real(double x)
{
    put(Ops::str_real(x));
}

void TextWriter::integer(int i)
{
    put(Ops::str_int(i));
}

} // namespace orvex::formats
