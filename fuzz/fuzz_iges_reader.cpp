// Fuzz target of the IGES reader.
#include "fuzz_reader.h"

#include "formats/iges/iges.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Iso-parameter lines and trimming curves taken from parameter space on
    // inputs of some lengths, so that every way of drawing surfaces is reached.
    const int isoLines = static_cast<int>(size % 3);
    const bool parameterSpace = size % 2 == 1;
    orvex::fuzz::read_full(data, size, 0xFFFFFF, [&](std::istream& in, orvex::formats::DrawingSink& sink) {
        auto& staged = static_cast<orvex::formats::StagedDrawing&>(sink);
        staged.Surfaces.IsoLines = isoLines;
        staged.Surfaces.ParameterSpaceTrims = parameterSpace;
        orvex::formats::iges::read_full(in, sink);
    });
    return orvex::fuzz::read_then_write(data, size, 0x000000, orvex::formats::iges::read, orvex::formats::iges::write,
                                        orvex::fuzz::AngleText::EndPoints);
}
