// The full DXF import's view of a file: entities as read (in their own
// coordinate systems), block definitions and the layer table.
#pragma once

#include "formats/common/model_space.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvex::formats::dxf::full {

enum class Kind : std::uint8_t {
    Line,
    Point,
    Circle,
    Arc,
    LwPolyline,
    Polyline,
    Ellipse,
    Spline,
    Insert,
    // Annotation and faces: read from their groups as written (Entity::groups).
    Text,
    Attrib,
    Attdef,
    MText,
    Hatch,
    Dimension,
    Leader,
    MultiLeader,
    Solid,
    Trace,
    Face3d,
    Mesh,
    Wipeout,
    Other
};

/// Kinds whose groups are kept as written, in order: their meaning depends
/// on the order (hatch boundary paths, leader vertices) or on codes the
/// common entity fields do not hold (texts, styles, justification).
inline bool keeps_groups(Kind k) { return k >= Kind::Text && k < Kind::Other; }

constexpr double kAbsent = std::numeric_limits<double>::quiet_NaN();
inline bool given(double v) { return !std::isnan(v); }

struct Vertex {
    Vec3 p{0, 0, 0};
    double bulge = 0;
    int flags = 0;
    int face[4] = {0, 0, 0, 0};
};

/// The integer part of a group's value; `otherwise` when it is not a number
/// or does not fit in 32 bits (flags and counts of a damaged file).
inline int whole_number(double v, int otherwise = 0)
{
    return v >= -2147483648.0 && v <= 2147483647.0 ? static_cast<int>(v) : otherwise;
}

/// One group as written: its code, the value as a number (0 for texts) and
/// the text of codes that hold texts.
struct Group {
    int code = 0;
    double number = 0;
    std::string text;
};

/// Whether a group code holds a text rather than a number.
inline bool text_code(int code)
{
    return (code >= 0 && code <= 9) || code == 100 || code == 102 || (code >= 300 && code <= 309) ||
           (code >= 410 && code <= 419) || (code >= 430 && code <= 439) || (code >= 470 && code <= 479) ||
           (code >= 999 && code <= 1009);
}

/// One entity with the groups the import uses. Lists hold repeated groups
/// (vertices, control points, knots, weights).
struct Entity {
    Kind kind = Kind::Other;
    std::string name; // the DXF name
    std::string layer = "0";
    std::string lineType;
    int colour = 256; // 256 by layer, 0 by block
    std::int32_t trueColour = -1;
    int lineWeight = -1;      // hundredths of a millimetre; -1 by layer, -2 by block, -3 the default
    double lineTypeScale = 1; // group 48
    bool paperSpace = false;
    Vec3 extrusion{0, 0, 1};
    double elevation = 0;
    std::vector<Vertex> points;   // groups 10/20/30; vertices of polylines
    std::vector<Vec3> second;     // groups 11/21/31
    std::vector<double> g40, g41; // radius, ratio, knots; scale X, start parameter, weights
    double g42 = kAbsent, g43 = kAbsent, g44 = kAbsent, g45 = kAbsent, g50 = kAbsent, g51 = kAbsent;
    int g70 = 0, g71 = 0, g72 = 0;
    bool attributesFollow = false;  // an INSERT's group 66
    std::string block;              // group 2 of an INSERT
    std::vector<Group> groups;      // every group after the name, for the kinds that keep them
    std::vector<Entity> attributes; // the ATTRIBs that follow an INSERT

    /// The first group of this code, or null.
    const Group* find(int code) const
    {
        for (const Group& g : groups)
            if (g.code == code)
                return &g;
        return nullptr;
    }
    double number(int code, double otherwise) const
    {
        const Group* g = find(code);
        return g ? g->number : otherwise;
    }
    /// The first group of this code as an integer (its integer part);
    /// `otherwise` when there is none or the value does not fit.
    int integer(int code, int otherwise) const { return whole_number(number(code, otherwise), otherwise); }
    std::string_view text(int code) const
    {
        const Group* g = find(code);
        return g ? std::string_view(g->text) : std::string_view();
    }

    void clear()
    {
        kind = Kind::Other;
        layer.clear(); // layer "0", the default
        layer.push_back('0');
        lineType.clear();
        colour = 256;
        trueColour = -1;
        lineWeight = -1;
        lineTypeScale = 1;
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
        groups.clear();
        attributes.clear();
    }
};

struct Block {
    Vec3 base{0, 0, 0};
    std::vector<Entity> entities;
};

struct Layer {
    int colour = 7;
    int lineWeight = -3; // hundredths of a millimetre; -3 the default
    std::int32_t trueColour = -1;
    std::string lineType;
};

/// A text style of the STYLE table.
struct TextStyleDef {
    double fixedHeight = 0; // 0: each text gives its own
    double widthFactor = 1;
    double obliqueDeg = 0;
    int generation = 0;       // 2 backwards, 4 upside down
    std::string fontFile;     // the shape or TrueType font the style names
    std::string trueTypeFace; // the face of an extended (1071/1000) style
};

/// A line type of the LTYPE table: its dash lengths (positive draws,
/// negative skips, zero a dot) and the sum of their lengths.
struct LineTypeDef {
    std::vector<double> dashes;
    double patternLength = 0;
};

/// A dimension style of the DIMSTYLE table, or the defaults of a drawing
/// without one. Lengths are drawing units before the overall scale.
struct DimStyleDef {
    double scale = 1;              // DIMSCALE 40 (0: the scale of a paper space viewport, taken as 1)
    double arrowSize = 0.18;       // DIMASZ 41
    double extOffset = 0.0625;     // DIMEXO 42: the gap between the object and an extension line
    double extBeyond = 0.18;       // DIMEXE 44: an extension line's reach past the dimension line
    double textHeight = 0.18;      // DIMTXT 140
    double tickSize = 0;           // DIMTSZ 142: ticks instead of arrowheads when above 0
    double linearFactor = 1;       // DIMLFAC 144
    double textGap = 0.09;         // DIMGAP 147
    int decimals = 4;              // DIMDEC 271
    int angleDecimals = 0;         // DIMADEC 179 (-1: DIMDEC)
    int zeros = 0;                 // DIMZIN 78: 4 drops leading, 8 trailing zeros
    int angleZeros = 0;            // DIMAZIN 79: 1 drops leading, 2 trailing zeros of angles
    int separator = '.';           // DIMDSEP 278, a character code
    bool horizontalInside = true;  // DIMTIH 73: text between the extension lines stays horizontal
    bool horizontalOutside = true; // DIMTOH 74: and so does text outside them
    std::string textStyle;         // DIMTXSTY 340: the text style's name
    std::string arrowBlock;        // DIMBLK 5 (R12) or 342: the arrowhead block's name; empty for closed filled

    /// The defaults of AutoCAD's STANDARD (imperial) or ISO-25 (metric) style.
    static DimStyleDef defaults(bool metric)
    {
        DimStyleDef d;
        if (metric) {
            d.arrowSize = 2.5;
            d.extOffset = 0.625;
            d.extBeyond = 1.25;
            d.textHeight = 2.5;
            d.textGap = 0.625;
            d.decimals = 2;
            d.horizontalInside = d.horizontalOutside = false;
        }
        return d;
    }
    /// Sets the variable of a DIMSTYLE group code (or of the same code in an
    /// entity's DSTYLE overrides); false for codes it does not keep.
    bool set(int code, double value)
    {
        if (!std::isfinite(value))
            return false;
        switch (code) {
        case 40:
            scale = value;
            return true;
        case 41:
            arrowSize = value;
            return true;
        case 42:
            extOffset = value;
            return true;
        case 44:
            extBeyond = value;
            return true;
        case 140:
            textHeight = value;
            return true;
        case 142:
            tickSize = value;
            return true;
        case 144:
            linearFactor = value;
            return true;
        case 147:
            textGap = value;
            return true;
        case 271:
            decimals = static_cast<int>(value);
            return true;
        case 179:
            angleDecimals = static_cast<int>(value);
            return true;
        case 78:
            zeros = static_cast<int>(value);
            return true;
        case 73:
            horizontalInside = value != 0;
            return true;
        case 74:
            horizontalOutside = value != 0;
            return true;
        case 79:
            angleZeros = static_cast<int>(value);
            return true;
        case 278:
            separator = static_cast<int>(value);
            return true;
        default:
            return false;
        }
    }
    /// The arrowhead block is an oblique stroke (a tick), drawn DIMASZ long.
    bool tick_block() const
    {
        std::string key;
        for (const char c : arrowBlock)
            key += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        return key == "_OBLIQUE" || key == "_ARCHTICK" || key == "_INTEGRAL" || key == "OBLIQUE" || key == "ARCHTICK";
    }
    /// No arrowheads at all.
    bool no_arrows() const { return arrowBlock == "_NONE" || arrowBlock == "_None" || arrowBlock == "_none"; }
    /// DIMSCALE as lengths use it.
    double overall() const { return scale > 0 ? scale : 1; }
};

/// The tables the placing reads besides layers.
struct Tables {
    std::unordered_map<std::string, TextStyleDef> styles;   // by name key
    std::unordered_map<std::string, LineTypeDef> lineTypes; // by name key
    std::unordered_map<std::string, DimStyleDef> dimStyles; // by name key
    double lineTypeScale = 1;                               // $LTSCALE
    double drawingSize = 0;                                 // the largest side of the header's extents; 0 when unknown
    bool metric = false;                                    // $MEASUREMENT 1
};

/// Names of blocks and layers compare without regard to case.
std::string name_key(std::string_view name);

} // namespace orvex::formats::dxf::full
