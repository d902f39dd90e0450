// The full DXF import's placing of entities into world coordinates: object
// coordinate systems, inserts of blocks (nested, arrays), polylines with
// bulges, meshes and polyface meshes, ellipses and splines; colours and
// layers resolved as AutoCAD resolves them.
#pragma once

#include "formats/common/world_shapes.h"
#include "formats/dxf/dxf_full_model.h"
#include "formats/dxf/dxf_line_styles.h"
#include "text/text_layout.h"

#include <array>
#include <map>
#include <unordered_set>

namespace orvex::formats::dxf::full {

class Placer {
public:
    Placer(DrawingSink& sink, const std::unordered_map<std::string, Layer>& layers,
           const std::unordered_map<std::string, Block>& blocks, const Tables& tables);

    /// Places an entity of the model space. False for kinds that make no
    /// element.
    bool place(const Entity& e);
    /// Makes the elements and names the layers.
    void finish();
    /// Gives the elements, in the order made, the colours that our own
    /// writer's colour numbers stand for: one element per number, else
    /// nothing changes.
    void colour_as_written(const std::vector<std::uint8_t>& numbers);
    /// An insert of the model space, directly or through other blocks,
    /// placed the block of this name key.
    bool reached(const std::string& key) const { return reached_.count(key) != 0; }

private:
    // What an insert hands down to the entities of its block.
    struct Context {
        Matrix toWorld;
        std::string layer; // the insert's layer, for entities on layer 0
        TColor colour;     // the insert's colour, for colour by block
        int depth = 0;
        int dash = kSolid;      // the insert's dash code, for line type by block
        int weight = -3;        // the insert's lineweight, for weight by block
        double repeat = 0;      // the length of the insert's dash pattern
        bool dimension = false; // inside a dimension's block
    };
    /// False for kinds that make no element.
    bool place(const Entity& e, const Context& c);
    /// The map from the entity's object coordinates to the world.
    static Matrix ocs_map(const Entity& e, const Context& c);
    void insert(const Entity& e, const Context& c);
    // A line type as the entities that name it use it: by layer, by block,
    // a number (our own writer's, kept as the code) or a dash pattern.
    struct LineTypeUse {
        enum class By : std::uint8_t { Own, Layer, Block } by = By::Own;
        bool numbered = false; // the pattern's code is the name's number
        DashPattern pattern;
    };
    // A layer as the entities on it use it: its number, colour, line type
    // and lineweight.
    struct LayerUse {
        int number = 1;
        TColor colour = 0;
        const LineTypeUse* lineType = nullptr;
        int lineWeight = -3;
        std::string key, name; // the name as first written
    };
    // An entity's look: its style and the dash code and lineweight an
    // insert hands to the entities of its block.
    struct Look {
        ShapeStyle style;
        int dash = kSolid;
        int weight = -3;
        double repeat = 0; // the dash pattern's length at its scale; 0 solid
    };
    Look look_of(const Entity& e, const Context& c);
    ShapeStyle style_of(const Entity& e, const Context& c) { return look_of(e, c).style; }
    /// The line type of this name as written.
    const LineTypeUse& line_type_use(const std::string& name);
    int dash_of(const LineTypeUse& use, double entityScale, double& repeat) const;
    /// The style of a piece `length` long of the entity being placed: solid
    /// when it cannot hold one repeat of its dash pattern, as CAD programs
    /// draw such pieces.
    ShapeStyle fitted(const ShapeStyle& s, double length) const
    {
        if (!(length < repeat_))
            return s;
        ShapeStyle solid = s;
        solid.LineType = without_dashes(s.LineType);
        return solid;
    }
    const LayerUse& layer_use(const std::string& name);
    int layer_number(const std::string& key);
    void settle_layer_numbers();
    std::vector<int> settled_layer_numbers() const;
    /// The first layer number neither taken nor kept for a layer of the
    /// table; 0 when there is none.
    int free_number(const std::vector<bool>& taken) const;
    TColor aci(int index) const;

    void ocs_arc(const Matrix& m, const Vec3& centre, double radius, double start, double end, bool full,
                 const ShapeStyle& s);
    void bulge_segment(const Matrix& m, const Vec3& a, const Vec3& b, double bulge, const ShapeStyle& s);
    void polyline(const Entity& e, const Context& c, const ShapeStyle& s);
    void ellipse(const Entity& e, const Context& c, const ShapeStyle& s);
    void spline(const Entity& e, const Context& c, const ShapeStyle& s);

    // Annotation and faces, each kind in a file of its own. Each returns
    // false when it does not draw the kind (yet), so the load report counts
    // it as skipped.
    bool annotation(const Entity& e, const Context& c, const ShapeStyle& s);
    bool text_entity(const Entity& e, const Context& c, const ShapeStyle& s); // dxf_full_text.cpp
    bool mtext(const Entity& e, const Context& c, const ShapeStyle& s);       // dxf_full_mtext.cpp
    bool hatch(const Entity& e, const Context& c, const ShapeStyle& s);       // dxf_full_hatch.cpp
    bool face(const Entity& e, const Context& c, const ShapeStyle& s);        // dxf_full_faces.cpp
    bool mesh(const Entity& e, const Context& c, const ShapeStyle& s);        // dxf_full_faces.cpp
    bool dimension(const Entity& e, const Context& c, const ShapeStyle& s);   // dxf_full_dimension.cpp
    bool leader(const Entity& e, const Context& c, const ShapeStyle& s);      // dxf_full_dimension.cpp
    bool multileader(const Entity& e, const Context& c, const ShapeStyle& s); // dxf_full_dimension.cpp

    // Dimensions and leaders (dxf_full_dimension.cpp).
    /// The dimension style an entity names (group 3), with its own
    /// overrides; the drawing's defaults when the table has no such style.
    DimStyleDef dimension_style(const Entity& e) const;
    /// Where lines of text go: the attachment point of the block of lines in
    /// the plane of a coordinate system, their height, rotation and style.
    struct TextPlacement {
        Vec3 point{0, 0, 0};
        double height = 0, rotationDeg = 0;
        int attachment = 5;
        std::string styleName;
    };
    /// Lines of text (TEXT strings) one under the other, in the plane z of
    /// the coordinate system `m`.
    void text_lines(const std::vector<std::string>& lines, const TextPlacement& at, const Matrix& m,
                    const ShapeStyle& s);
    /// A leader's path through its vertices (world coordinates): straight
    /// pieces, or a smooth curve through them.
    void leader_path(const std::vector<Vec3>& vertices, bool spline, const ShapeStyle& s);
    /// A filled arrowhead with its tip at `tip` pointing away from `next`,
    /// in the plane of `normal`, mapped by `m`.
    void leader_arrow(const Vec3& tip, const Vec3& next, const Vec3& normal, double size, const Matrix& m,
                      const ShapeStyle& s);

    // Text for every kind that writes some (dxf_full_text.cpp).
    /// The style of the STYLE table of this name; null when there is none.
    const TextStyleDef* text_style(std::string_view name) const;
    /// The stroke face for a style: the sans for TrueType fonts, else the simplex.
    static text::Font font_of(const TextStyleDef* style);
    /// A sink that makes the strokes of text laid out in the plane z of the
    /// coordinate system `m` into line chains of style `s`.
    text::StrokeSink text_sink(const Matrix& m, double z, const ShapeStyle& s);
    /// The round strokes of text in that plane as arcs; empty where the
    /// plane's map would not keep them round.
    text::ArcSink text_arcs(const Matrix& m, double z, const ShapeStyle& s);
    /// Places an insert of a block by name with a given placement (a
    /// dimension's or a table's anonymous block); false when there is none.
    bool place_block(const std::string& name, const Matrix& toWorld, const Entity& owner, const Context& c);

    /// Adds a line to the load report's notes (what the read cut short or
    /// left out), each line once.
    void note(const std::string& line);

    DrawingSink& sink_;
    const std::unordered_map<std::string, Layer>& layers_;
    const std::unordered_map<std::string, Block>& blocks_;
    const Tables& tables_;
    WorldShapes shapes_;
    TColor background_;
    std::unordered_map<std::string, LayerUse> layerUses_; // by name key
    std::vector<bool> numberTaken_;
    std::vector<bool> numberReserved_;
    std::vector<LayerUse*> layersMet_; // in the order met
    bool layersOverflow_ = false;      // more layers than numbers
    // Layers by the name as written: a small direct cache in front of a map.
    struct CachedUse {
        std::string name;
        const LayerUse* use = nullptr;
    };
    std::array<CachedUse, 256> cache_;
    std::unordered_map<std::string, const LayerUse*> writtenUses_;
    // Line types by the name as written, a small direct cache in front.
    std::unordered_map<std::string, LineTypeUse> lineTypeUses_;
    struct CachedLineType {
        std::string name;
        const LineTypeUse* use = nullptr;
    };
    std::array<CachedLineType, 16> lineTypeCache_;
    LineTypeUse continuous_;
    double drawingSize_ = 0; // from the header's extents; 0 when unknown
    double repeat_ = 0;      // the dash pattern's length of the entity being placed
    Context top_;
    long long placements_ = 0;
    std::unordered_set<std::string> reached_; // name keys of the blocks inserts placed
    std::unordered_set<std::string> notes_;   // the lines noted so far
};

} // namespace orvex::formats::dxf::full
