// Dimensions drawn from their definition points, for DIMENSION entities
// without a block of their own: extension lines, the dimension line or arc,
// arrowheads and the measured text, in the dimension's object coordinate
// system.
#pragma once

#include "formats/dxf/dxf_full_model.h"

#include <array>
#include <string>
#include <vector>

namespace orvex::formats::dxf::full {

/// The definition of a DIMENSION, every point in its object coordinate
/// system (the points AutoCAD writes in world coordinates already moved
/// there).
struct DimensionPoints {
    int type = 0; // group 70 & 7: 0 linear, 1 aligned, 2 angular, 3 diameter, 4 radius, 5 angular 3-point, 6 ordinate
    bool ordinateX = false; // group 70 & 64: an ordinate dimension measures X
    Vec3 p10{0, 0, 0}, p13{0, 0, 0}, p14{0, 0, 0}, p15{0, 0, 0}, p16{0, 0, 0};
    Vec3 textAt{0, 0, 0}; // group 11
    bool hasTextAt = false;
    double angle = 0;              // group 50, degrees: a linear dimension's direction
    double textRotation = kAbsent; // group 53, degrees
    int attachment = 5;            // group 71
    std::string text;              // group 1: "<>" stands for the measurement
};

/// What a dimension draws.
struct DimensionDrawing {
    struct Arc {
        Vec3 centre;
        double radius, start, end; // degrees, counter-clockwise
    };
    struct Label {
        std::vector<std::string> lines; // as TEXT strings, "%%c" and the like unresolved
        Vec3 at{0, 0, 0};
        double height = 0, rotation = 0; // rotation in degrees
        int attachment = 5;
    };
    std::vector<std::array<Vec3, 2>> lines;
    std::vector<Arc> arcs;
    std::vector<std::vector<Vec3>> arrows; // closed, filled triangles
    double measurement = 0;                // length in drawing units or angle in degrees
    Label label;                           // no lines: no text
};

/// Draws a dimension by its style.
DimensionDrawing build_dimension(const DimensionPoints& d, const DimStyleDef& style);

/// A measurement with its decimal places and separator (a character code),
/// its zeros suppressed by the bits of DIMZIN (4 leading, 8 trailing).
std::string format_measurement(double value, int decimals, int zeros, int separator);

/// The text of a dimension: the written text with "<>" for the measured
/// text, the measured text alone when nothing is written, nothing for a
/// single space; the multi-line text codes of the string removed and its
/// paragraphs split into lines.
std::vector<std::string> dimension_text(const std::string& written, const std::string& measured);

/// A closed arrowhead with its tip at `tip`, its tail towards `back`
/// (length 1) in the plane of normal `normal`: a third as wide as long.
std::vector<Vec3> arrowhead(const Vec3& tip, const Vec3& back, const Vec3& normal, double size);

} // namespace orvex::formats::dxf::full
