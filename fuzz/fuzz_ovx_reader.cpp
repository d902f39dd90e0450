// Fuzz target of the OVX reader.
#include "fuzz_reader.h"

#include "formats/ovx/ovx.h"

#include <cstdlib>
#include <string>

namespace {

// An arc whose radius the four decimals of the text write as zero (below
// 0.00005) is written, and the reader passes over an arc of radius zero.
bool kept_by_text(const orvex::TElement& e)
{
    if (e.GetEtype() != orvex::etArc)
        return true;
    char text[16];
    const std::size_t n = orvex::formats::real_text(e.GetCoord(4), text);
    return std::strtod(std::string(text, n).c_str(), nullptr) > 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return orvex::fuzz::read_then_write(data, size, 0x000000, orvex::formats::ovx::read, orvex::formats::ovx::write,
                                        orvex::fuzz::AngleText::Angles, kept_by_text);
}
