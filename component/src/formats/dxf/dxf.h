// ASCII DXF: points, lines, arcs, circles and polylines in; a minimal
// ENTITIES section of points, lines, arcs and circles out.
#pragma once

#include "formats/common/drawing_sink.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::formats::dxf {

struct Pair;

/// Reads the entities into the sink (the basic import; read_full in
/// dxf_full.h is the full one). Errors (ERangeError, EFileError) name the
/// line.
void read(std::istream& in, DrawingSink& sink);

/// Writes the drawing's points, lines, arcs and circles. False when the
/// stream reported an error.
bool write(std::ostream& out, const DrawingSource& drawing);

/// The drawing units a $INSUNITS code stands for ("inch", "mm", "feet",
/// "unitless", ...); "units code N" for a code without a name.
std::string units_name(int Code);

/// Colour of a DXF colour number (the integer part of group 62) on this
/// background; numbers outside 0..16 give lime.
TColor colour_from_number(int Number, TColor Background);
/// DXF colour number of a colour; 3 for colours not in the table.
int number_from_colour(TColor Colour);

/// Follows a file pair by pair and tells whether it is laid out exactly as
/// `write` lays out its files: the padded codes of its head, only points,
/// lines, arcs and circles with their groups in the writer's order, colour
/// numbers of the writer's table, and nothing after the end marker. The
/// full import reads the colours of such a file as the writer meant them.
class WrittenLayout {
public:
    void see(const Pair& pair);
    /// Every pair so far stood where the writer puts it.
    bool holds() const { return holds_; }
    /// The whole file was the writer's, up to its end marker.
    bool whole() const { return holds_ && stage_ == Stage::Ended; }
    /// The colour number of each entity, in order.
    const std::vector<std::uint8_t>& colour_numbers() const { return colours_; }

private:
    enum class Stage : std::uint8_t { Section, Entities, Name, Groups, EndMarker, Ended };
    bool expected(const Pair& pair);
    bool entity_name(const Pair& pair);
    bool group(const Pair& pair);

    bool holds_ = true;
    Stage stage_ = Stage::Section;
    std::string_view nameCode_ = "  0";       // the head pads its codes, the entities do not
    const std::string_view* codes_ = nullptr; // the groups of the entity being read
    std::size_t codeCount_ = 0, nextCode_ = 0;
    std::vector<std::uint8_t> colours_;
};

} // namespace orvex::formats::dxf
