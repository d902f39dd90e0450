// Shared body of the reader fuzz targets: read the bytes as a drawing file
// into a staged drawing, check it, write it out and read that back. Reading
// the bytes may end in one of the readers' own errors; anything else, and
// any breach of the oracles, is a finding.
#pragma once

#include "formats/common/drawing_sink.h"
#include "formats/common/text_writer.h"
#include "oracles.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

namespace orvex::fuzz {

// An input stream buffer over the fuzzer's bytes, without a copy. It seeks
// like a file does, since a reader may look ahead and go back (the DXF
// reader does, to tell binary files from text).
class MemoryBuffer : public std::streambuf {
public:
    MemoryBuffer(const std::uint8_t* data, std::size_t size)
    {
        char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
        setg(begin, begin, begin + size);
    }

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir dir, std::ios_base::openmode which) override
    {
        if (!(which & std::ios_base::in))
            return pos_type(off_type(-1));
        off_type from = 0;
        if (dir == std::ios_base::cur)
            from = gptr() - eback();
        else if (dir == std::ios_base::end)
            from = egptr() - eback();
        // Offsets past either end fail and leave the position as it was.
        if (offset < -from || offset > (egptr() - eback()) - from)
            return pos_type(off_type(-1));
        setg(eback(), eback() + from + offset, egptr());
        return pos_type(from + offset);
    }

    pos_type seekpos(pos_type position, std::ios_base::openmode which) override
    {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }
};

template <typename Read>
bool read_drawing(const char* data, std::size_t size, Read read, formats::StagedDrawing& drawing)
{
    MemoryBuffer buffer(reinterpret_cast<const std::uint8_t*>(data), size);
    std::istream in(&buffer);
    try {
        read(in, drawing);
    } catch (const ERangeError&) {
        return false;
    } catch (const EListError&) {
        return false;
    } catch (const EConvertError&) {
        return false;
    } catch (const EFileError&) {
        return false;
    }
    return true;
}

inline formats::StagedDrawing fresh_drawing(TColor background)
{
    formats::ArcViewTable views;
    formats::reset_arc_views(views);
    return formats::StagedDrawing(views, background, uINCH);
}

/// Reads the bytes with a full import reader and checks what was staged.
template <typename Read>
void read_full(const std::uint8_t* data, std::size_t size, TColor background, Read read)
{
    formats::StagedDrawing drawing = fresh_drawing(background);
    if (read_drawing(reinterpret_cast<const char*>(data), size, read, drawing))
        expect_factory_range(drawing.Elements);
}

/// Reads the bytes, checks what was staged, writes it, reads that back and
/// checks that the same elements came back. `angles` says how the format
/// keeps arc angles (IGES writes end points); `kept`, which elements its
/// text holds.
template <typename Read, typename Write>
int read_then_write(const std::uint8_t* data, std::size_t size, TColor background, Read read, Write write,
                    AngleText angles = AngleText::Angles, KeptByText kept = nullptr)
{
    formats::StagedDrawing drawing = fresh_drawing(background);
    if (!read_drawing(reinterpret_cast<const char*>(data), size, read, drawing))
        return 0;
    expect_factory_range(drawing.Elements);

    std::ostringstream out;
    const formats::DrawingSource source{drawing.Elements, drawing.ArcViews, drawing.Units, "fuzz.igs"};
    try {
        if (!write(out, source))
            finding("the writer failed on a stream that cannot fail");
    } catch (const formats::UnwritableValue&) {
        return 0; // a value no file can hold (an angle of 1e15 or more): the save refuses it
    }
    const std::string text = out.str();
    formats::StagedDrawing again = fresh_drawing(background);
    if (!read_drawing(text.data(), text.size(), read, again))
        finding("what the writer wrote does not read back");
    expect_same_elements(drawing.Elements, again.Elements, angles, kept);
    return 0;
}

} // namespace orvex::fuzz
