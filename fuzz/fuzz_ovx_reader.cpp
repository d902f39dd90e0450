// Fuzz target of the OVX reader.
#include "fuzz_reader.h"

#include "formats/ovx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return orvex::fuzz::read_then_write(data, size, 0x000000, orvex::formats::ovx::read, orvex::formats::ovx::write);
}
