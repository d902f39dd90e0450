// Fuzz target of the IGES reader.
#include "fuzz_reader.h"

#include "formats/iges/iges.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orvex::fuzz::read_full(data, size, 0xFFFFFF, orvex::formats::iges::read_full);
    return orvex::fuzz::read_then_write(data, size, 0x000000, orvex::formats::iges::read, orvex::formats::iges::write,
                                        orvex::fuzz::AngleText::EndPoints);
}
