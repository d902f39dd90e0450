// Shared body of the reader fuzz targets: read the bytes as a drawing file
// into a staged drawing, then write that drawing out again. Reading may end
// in one of the readers' own errors; anything else is a finding.
#pragma once

#include "formats/drawing_sink.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <streambuf>

namespace orvex::fuzz {

// An input stream buffer over the fuzzer's bytes, without a copy.
class MemoryBuffer : public std::streambuf {
public:
    MemoryBuffer(const std::uint8_t* data, std::size_t size)
    {
        char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
        setg(begin, begin, begin + size);
    }
};

// An output stream buffer that only counts.
class CountingBuffer : public std::streambuf {
public:
    std::size_t count = 0;

protected:
    int_type overflow(int_type c) override
    {
        ++count;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        count += static_cast<std::size_t>(n);
        return n;
    }
};

template <typename Read, typename Write>
int read_then_write(const std::uint8_t* data, std::size_t size, TColor background, Read read, Write write)
{
    formats::ArcViewTable views;
    formats::reset_arc_views(views);
    formats::StagedDrawing drawing(views, background, uINCH);
    MemoryBuffer buffer(data, size);
    std::istream in(&buffer);
    try {
        read(in, drawing);
    } catch (const ERangeError&) {
        return 0;
    } catch (const EListError&) {
        return 0;
    } catch (const EConvertError&) {
        return 0;
    } catch (const EFileError&) {
        return 0;
    }
    CountingBuffer counter;
    std::ostream out(&counter);
    const formats::DrawingSource source{drawing.Elements, drawing.ArcViews, drawing.Units, "fuzz.igs"};
    write(out, source);
    return 0;
}

} // namespace orvex::fuzz
