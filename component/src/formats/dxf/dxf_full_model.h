// The full DXF import's view of a file: entities as read (in their own
// coordinate systems), block definitions and the layer table.
#pragma once

#include "formats/common/model_space.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvex::formats::dxf::full {

enum class Kind : std::uint8_t { Line, Point, Circle, Arc, LwPolyline, Polyline, Ellipse, Spline, Insert, Other };

constexpr double kAbsent = std::numeric_limits<double>::quiet_NaN();
inline bool given(double v) { return !std::isnan(v); }

struct Vertex {
    Vec3 p{0, 0, 0};
    double bulge = 0;
    int flags = 0;
    int face[4] = {0, 0, 0, 0};
};

/// One entity with the groups the import uses. Lists hold repeated groups
/// (vertices, control points, knots, weights).
struct Entity {
    Kind kind = Kind::Other;
    std::string name; // the DXF name
    std::string layer = "0";
    std::string lineType;
    int colour = 256; // 256 by layer, 0 by block
    std::int32_t trueColour = -1;
    bool paperSpace = false;
    Vec3 extrusion{0, 0, 1};
    double elevation = 0;
    std::vector<Vertex> points;   // groups 10/20/30; vertices of polylines
    std::vector<Vec3> second;     // groups 11/21/31
    std::vector<double> g40, g41; // radius, ratio, knots; scale X, start parameter, weights
    double g42 = kAbsent, g43 = kAbsent, g44 = kAbsent, g45 = kAbsent, g50 = kAbsent, g51 = kAbsent;
    int g70 = 0, g71 = 0, g72 = 0;
    bool attributesFollow = false; // an INSERT's group 66
    std::string block;             // group 2 of an INSERT

    void clear()
    {
        kind = Kind::Other;
        layer.clear(); // layer "0", the default
        layer.push_back('0');
        lineType.clear();
        colour = 256;
        trueColour = -1;
        paperSpace = false;
        extrusion = {0, 0, 1};
        elevation = 0;
        points.clear();
        second.clear();
        g40.clear();
        g41.clear();
        g42 = g43 = g44 = g45 = g50 = g51 = kAbsent;
        g70 = g71 = g72 = 0;
        attributesFollow = false;
        block.clear();
    }
};

struct Block {
    Vec3 base{0, 0, 0};
    std::vector<Entity> entities;
};

struct Layer {
    int colour = 7;
    std::int32_t trueColour = -1;
    std::string lineType;
};

/// Names of blocks and layers compare without regard to case.
std::string name_key(std::string_view name);

} // namespace orvex::formats::dxf::full
