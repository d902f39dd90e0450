// Helpers of the drawing-file tests: a staged drawing like the one a control
// reads into, and reading and writing through text.
#pragma once

#include "formats/common/drawing_sink.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

namespace orvex::testing_formats {

/// An empty drawing with the arc-view table of a read (only entry 1).
inline std::unique_ptr<formats::StagedDrawing> fresh(TColor background = 0x000000)
{
    formats::ArcViewTable views;
    formats::reset_arc_views(views);
    return std::make_unique<formats::StagedDrawing>(views, background, uINCH);
}

/// The arc-view table of a new control: entries 1 to 4 defined.
inline formats::ArcViewTable new_control_views()
{
    formats::ArcViewTable views;
    views[1] = {1, 0, 0, 0, 1, 0, 0, 0, 1, true};
    views[2] = {1, 0, 0, 0, 0, -1, 0, 1, 0, true};
    views[3] = {0, 0, 1, 1, 0, 0, 0, 1, 0, true};
    views[4].Defined = true;
    return views;
}

template <typename Read>
std::unique_ptr<formats::StagedDrawing> read_text(Read read, const std::string& text, TColor background = 0)
{
    auto drawing = fresh(background);
    std::istringstream in(text);
    read(in, *drawing);
    return drawing;
}

template <typename Write>
std::string write_text(Write write, const formats::StagedDrawing& drawing, std::string start = "test.igs")
{
    std::ostringstream out;
    write(out, formats::DrawingSource{drawing.Elements, drawing.ArcViews, drawing.Units, std::move(start)});
    return out.str();
}

inline std::string data_file(const std::string& name)
{
    std::ifstream in(std::string(ORVEX_TEST_DATA_DIR) + "/formats/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Lines joined with CR LF, one after each.
inline std::string crlf(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace orvex::testing_formats
