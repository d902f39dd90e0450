// Fuzz target of the DXF reader.
#include "fuzz_reader.h"

#include "formats/dxf/dxf.h"
#include "formats/dxf/dxf_full.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orvex::fuzz::read_full(data, size, 0xFFFFFF, orvex::formats::dxf::read_full);
    return orvex::fuzz::read_then_write(data, size, 0xFFFFFF, orvex::formats::dxf::read, orvex::formats::dxf::write);
}
