// The full DXF import's reading of a file as sections: the version from the
// header, the layer table, the block definitions (kept once, placed per
// insert) and the entities of the model space, placed as they are read.
#include "formats/dxf/dxf_full.h"

#include "formats/common/read_error.h"
#include "formats/dxf/dxf.h"
#include "formats/dxf/dxf_full_place.h"
#include "formats/dxf/dxf_pairs.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <memory>

namespace orvex::formats::dxf {

namespace full {

std::string name_key(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

namespace {

Kind kind_of(std::string_view name)
{
    switch (name.size()) {
    case 3:
        return name == "ARC" ? Kind::Arc : Kind::Other;
    case 4:
        return name == "LINE" ? Kind::Line : name == "TEXT" ? Kind::Text : name == "MESH" ? Kind::Mesh : Kind::Other;
    case 5:
        return name == "POINT"   ? Kind::Point
               : name == "MTEXT" ? Kind::MText
               : name == "HATCH" ? Kind::Hatch
               : name == "SOLID" ? Kind::Solid
               : name == "TRACE" ? Kind::Trace
                                 : Kind::Other;
    case 6:
        return name == "CIRCLE"   ? Kind::Circle
               : name == "INSERT" ? Kind::Insert
               : name == "SPLINE" ? Kind::Spline
               : name == "ATTRIB" ? Kind::Attrib
               : name == "ATTDEF" ? Kind::Attdef
               : name == "LEADER" ? Kind::Leader
               : name == "3DFACE" ? Kind::Face3d
                                  : Kind::Other;
    case 7:
        return name == "ELLIPSE"   ? Kind::Ellipse
               : name == "WIPEOUT" ? Kind::Wipeout
               : name == "MLEADER" ? Kind::MultiLeader
                                   : Kind::Other;
    case 8:
        return name == "POLYLINE" ? Kind::Polyline : Kind::Other;
    case 9:
        return name == "DIMENSION" ? Kind::Dimension : Kind::Other;
    case 10:
        return name == "LWPOLYLINE" ? Kind::LwPolyline : Kind::Other;
    case 11:
        return name == "MULTILEADER" ? Kind::MultiLeader : Kind::Other;
    default:
        return Kind::Other;
    }
}

// Counts per entity kind, in the order kinds were first met.
class Counts {
public:
    void add(Kind kind, const std::string& name, bool read)
    {
        std::size_t& slot = known_[static_cast<std::size_t>(kind)];
        std::size_t at = kind == Kind::Other ? kNone : slot;
        if (at == kNone) {
            at = 0;
            while (at < kinds_.size() && kinds_[at].Kind != name)
                ++at;
            if (at == kinds_.size())
                kinds_.push_back({name, 0, 0});
            if (kind != Kind::Other)
                slot = at;
        }
        ++(read ? kinds_[at].Read : kinds_[at].Skipped);
    }
    std::vector<TLoadCount> take() { return std::move(kinds_); }

private:
    static constexpr std::size_t kNone = ~std::size_t{0};
    std::vector<TLoadCount> kinds_;
    std::array<std::size_t, static_cast<std::size_t>(Kind::Other) + 1> known_ = [] {
        std::array<std::size_t, static_cast<std::size_t>(Kind::Other) + 1> a{};
        a.fill(kNone);
        return a;
    }();
};

enum class Section { None, Header, Tables, Blocks, Entities, Other };

class Reader {
public:
    Reader(std::istream& in, DrawingSink& sink) : pairs_(in), sink_(sink) { pairs_.keep_code_text(true); }

    void run()
    {
        Pair pair;
        bool more = next(pair);
        Section section = Section::Entities; // files without sections hold entities only
        while (more) {
            if (!pair.StartsEntity) {
                if (section == Section::Header && pair.Code == 9 && pair.Text == "$ACADVER") {
                    more = next(pair);
                    if (more && pair.Code == 1)
                        version_.assign(pair.Text);
                    continue;
                }
                if (section == Section::Header && pair.Code == 9 && pair.Text == "$LTSCALE") {
                    more = next(pair);
                    if (more && pair.Code == 40) {
                        const double scale = pair.value();
                        if (std::isfinite(scale) && scale > 0)
                            tables_.lineTypeScale = scale;
                    }
                    continue;
                }
                if (section == Section::Header && pair.Code == 9 &&
                    (pair.Text == "$EXTMIN" || pair.Text == "$EXTMAX")) {
                    Vec3& corner = pair.Text == "$EXTMIN" ? extentMin_ : extentMax_;
                    while ((more = next(pair)) && !pair.StartsEntity && pair.Code != 9)
                        if (pair.Code == 10 || pair.Code == 20 || pair.Code == 30)
                            corner[static_cast<std::size_t>(pair.Code / 10 - 1)] = pair.value();
                    tables_.drawingSize = extent_size();
                    continue;
                }
                if (section == Section::Header && pair.Code == 9 && pair.Text == "$MEASUREMENT") {
                    more = next(pair);
                    if (more && pair.Code == 70)
                        tables_.metric = pair.value() == 1;
                    continue;
                }
                if (section == Section::Header && pair.Code == 9 && pair.Text == "$INSUNITS") {
                    more = next(pair);
                    if (more && pair.Code == 70)
                        on_line(pairs_.line_number(), [&] { units_ = units_name(trunc_int(pair.value())); });
                    continue;
                }
                more = next(pair);
                continue;
            }
            const std::string_view name = pair.Text;
            if (name == "SECTION") {
                more = next(pair);
                if (more && pair.Code == 2) {
                    section = pair.Text == "HEADER"     ? Section::Header
                              : pair.Text == "TABLES"   ? Section::Tables
                              : pair.Text == "BLOCKS"   ? Section::Blocks
                              : pair.Text == "ENTITIES" ? Section::Entities
                                                        : Section::Other;
                    more = next(pair);
                }
                continue;
            }
            if (name == "ENDSEC") {
                if (section == Section::Tables)
                    resolve_handles();
                section = Section::None;
                more = next(pair);
                continue;
            }
            if (name == "EOF") {
                sink_.stop_reading();
                afterEndMarker_ = true;
                more = next(pair);
                continue;
            }
            if (section == Section::Tables && name == "LAYER") {
                more = layer(pair);
            } else if (section == Section::Tables && name == "STYLE") {
                more = text_style(pair);
            } else if (section == Section::Tables && name == "BLOCK_RECORD") {
                more = block_record(pair);
            } else if (section == Section::Tables && name == "DIMSTYLE") {
                more = dimension_style(pair);
            } else if (section == Section::Tables && name == "LTYPE") {
                more = line_type(pair);
            } else if (section == Section::Blocks && name == "BLOCK") {
                more = block(pair);
            } else if (section == Section::Entities) {
                more = entity(pair, entity_);
                if (!placer_)
                    placer_ = std::make_unique<Placer>(sink_, layers_, blocks_, tables_);
                const bool paper = entity_.paperSpace;
                const bool read = !paper && placer_->place(entity_);
                counts_.add(entity_.kind, entity_.name, read);
            } else {
                more = skip_entity(pair);
            }
        }
        if (!placer_)
            placer_ = std::make_unique<Placer>(sink_, layers_, blocks_, tables_);
        placer_->finish();
        // Our own basic writer's files number their colours by its table, not
        // AutoCAD's: a drawing saved and opened again keeps its colours.
        if (written_.whole())
            placer_->colour_as_written(written_.colour_numbers());
        if (TLoadReport* report = sink_.report()) {
            report->Version = version_;
            report->Kinds = counts_.take();
            report->Units = units_;
            report->UnplacedBlockEntities = unplaced_block_entities();
        }
    }

private:
    // The blocks of the model space and of the paper layouts (R12 names them
    // with "$", later versions with "*").
    static bool layout_block(const std::string& key)
    {
        for (const char* layout : {"*MODEL_SPACE", "*PAPER_SPACE", "$MODEL_SPACE", "$PAPER_SPACE"})
            if (key.rfind(layout, 0) == 0)
                return true;
        return false;
    }

    // Entities of the blocks that no insert of the model space placed, the
    // layout blocks (*Model_Space, *Paper_Space...) aside: they give no
    // element although the report counts them as read.
    int unplaced_block_entities() const
    {
        long long n = 0;
        for (const auto& [key, b] : blocks_)
            if (!placer_->reached(key) && !layout_block(key))
                n += static_cast<long long>(b.entities.size());
        return static_cast<int>(std::min<long long>(n, std::numeric_limits<int>::max()));
    }

    // The largest side of the header's extents, when both corners are given
    // and make a box (a new drawing's extents are turned inside out).
    double extent_size() const
    {
        double size = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const double side = extentMax_[i] - extentMin_[i];
            if (!std::isfinite(side) || side < 0 || side > 1e100)
                return 0;
            size = std::max(size, side);
        }
        return size;
    }

    bool next(Pair& pair)
    {
        if (!pairs_.next_whole(pair, afterEndMarker_))
            return false;
        if (written_.holds()) {
            written_.see(pair);
            pairs_.keep_code_text(written_.holds());
        }
        return true;
    }

    // Passes over the pairs up to the next code 0.
    bool skip_entity(Pair& pair)
    {
        while (next(pair))
            if (pair.StartsEntity)
                return true;
        return false;
    }

    bool layer(Pair& pair)
    {
        std::string name;
        Layer l;
        while (next(pair)) {
            if (pair.StartsEntity) {
                layers_[name_key(name)] = l;
                return true;
            }
            on_line(pairs_.line_number(), [&] {
                switch (pair.Code) {
                case 2:
                    name.assign(pair.Text);
                    break;
                case 6:
                    l.lineType.assign(pair.Text);
                    break;
                case 62:
                    l.colour = std::abs(trunc_int(pair.value())); // negative: the layer is off
                    break;
                case 420:
                    l.trueColour = static_cast<std::int32_t>(trunc_int(pair.value()));
                    break;
                case 370:
                    l.lineWeight = trunc_int(pair.value());
                    break;
                default:
                    break;
                }
            });
        }
        return false;
    }

    bool text_style(Pair& pair)
    {
        std::string name, handle;
        TextStyleDef style;
        while (next(pair)) {
            if (pair.StartsEntity) {
                if (!name.empty()) {
                    tables_.styles[name_key(name)] = style;
                    if (!handle.empty())
                        styleNames_[name_key(handle)] = name;
                }
                return true;
            }
            on_line(pairs_.line_number(), [&] {
                switch (pair.Code) {
                case 2:
                    name.assign(pair.Text);
                    break;
                case 5:
                    handle.assign(pair.Text);
                    break;
                case 3:
                    style.fontFile.assign(pair.Text);
                    break;
                case 1000:
                    style.trueTypeFace.assign(pair.Text);
                    break;
                case 40:
                    style.fixedHeight = pair.value();
                    break;
                case 41:
                    style.widthFactor = pair.value();
                    break;
                case 50:
                    style.obliqueDeg = pair.value();
                    break;
                case 71:
                    style.generation = trunc_int(pair.value());
                    break;
                default:
                    break;
                }
            });
        }
        return false;
    }

    // A dimension style; what it leaves out keeps the default of the
    // drawing's measurement system. Its text style and arrowhead block are
    // named by handle (R12 names the block itself).
    bool dimension_style(Pair& pair)
    {
        std::string name;
        DimStyleDef style = DimStyleDef::defaults(tables_.metric);
        StyleHandles handles;
        while (next(pair)) {
            if (pair.StartsEntity) {
                if (!name.empty()) {
                    tables_.dimStyles[name_key(name)] = style;
                    dimStyleHandles_[name_key(name)] = std::move(handles);
                }
                return true;
            }
            on_line(pairs_.line_number(), [&] {
                if (pair.Code == 2)
                    name.assign(pair.Text);
                else if (pair.Code == 340)
                    handles.textStyle.assign(pair.Text);
                else if (pair.Code == 342)
                    handles.arrowBlock.assign(pair.Text);
                else if (pair.Code == 5)
                    style.arrowBlock.assign(pair.Text);
                else if (!text_code(pair.Code))
                    style.set(pair.Code, pair.value());
            });
        }
        return false;
    }

    // A block record: its handle names the block for the dimension styles.
    bool block_record(Pair& pair)
    {
        std::string name, handle;
        while (next(pair)) {
            if (pair.StartsEntity) {
                if (!name.empty() && !handle.empty())
                    blockNames_[name_key(handle)] = name;
                return true;
            }
            if (pair.Code == 2)
                name.assign(pair.Text);
            else if (pair.Code == 5)
                handle.assign(pair.Text);
        }
        return false;
    }

    // The tables a dimension style's handles point into may come after it.
    void resolve_handles()
    {
        auto name_of = [](const std::string& handle, const std::unordered_map<std::string, std::string>& names) {
            const auto found = names.find(name_key(handle));
            return found != names.end() ? found->second : std::string();
        };
        for (const auto& [key, handles] : dimStyleHandles_) {
            DimStyleDef& style = tables_.dimStyles[key];
            if (!handles.textStyle.empty())
                style.textStyle = name_of(handles.textStyle, styleNames_);
            if (!handles.arrowBlock.empty())
                style.arrowBlock = name_of(handles.arrowBlock, blockNames_);
        }
    }

    bool line_type(Pair& pair)
    {
        std::string name;
        LineTypeDef type;
        while (next(pair)) {
            if (pair.StartsEntity) {
                if (!name.empty())
                    tables_.lineTypes[name_key(name)] = std::move(type);
                return true;
            }
            on_line(pairs_.line_number(), [&] {
                if (pair.Code == 2)
                    name.assign(pair.Text);
                else if (pair.Code == 40)
                    type.patternLength = pair.value();
                else if (pair.Code == 49)
                    type.dashes.push_back(pair.value());
            });
        }
        return false;
    }

    bool block(Pair& pair)
    {
        const long long begun = pairs_.line_number();
        std::string name;
        Block b;
        bool more = true;
        while ((more = next(pair)) && !pair.StartsEntity) {
            const double v = pair.value();
            if (pair.Code == 2)
                name.assign(pair.Text);
            else if (pair.Code == 10)
                b.base[0] = v;
            else if (pair.Code == 20)
                b.base[1] = v;
            else if (pair.Code == 30)
                b.base[2] = v;
        }
        while (more && pair.Text != "ENDBLK") {
            if (pair.Text == "EOF" || pair.Text == "ENDSEC")
                break;
            Entity e;
            more = entity(pair, e);
            counts_.add(e.kind, e.name, e.kind != Kind::Other && !e.paperSpace);
            if (e.kind != Kind::Other && !e.paperSpace)
                b.entities.push_back(std::move(e));
        }
        if (!more && !afterEndMarker_)
            pairs_.ended_inside(begun);
        blocks_[name_key(name)] = std::move(b);
        return more && skip_entity(pair);
    }

    // Reads the entity whose name `pair` holds, with the vertices of a
    // POLYLINE and the attributes of an INSERT; leaves the code 0 after it
    // in `pair`.
    bool entity(Pair& pair, Entity& e)
    {
        e.clear();
        e.name.assign(pair.Text);
        e.kind = kind_of(e.name);
        const long long begun = pairs_.line_number();
        bool more = groups(pair, e);
        if (more && e.kind == Kind::Polyline) {
            // The header's point carries only the elevation.
            e.elevation = e.points.empty() ? 0 : e.points.front().p[2];
            e.points.clear();
            while (more && pair.Text == "VERTEX") {
                e.points.emplace_back();
                more = vertex(pair, e.points.back());
            }
        } else if (more && e.kind == Kind::Insert && e.attributesFollow) {
            while (more && pair.Text == "ATTRIB") {
                e.attributes.emplace_back();
                more = entity(pair, e.attributes.back());
                counts_.add(Kind::Attrib, "ATTRIB", true);
            }
        }
        if (more && (e.kind == Kind::Polyline || (e.kind == Kind::Insert && e.attributesFollow)) &&
            pair.Text == "SEQEND")
            more = skip_entity(pair);
        if (!more && !afterEndMarker_)
            pairs_.ended_inside(begun);
        return more;
    }

    bool vertex(Pair& pair, Vertex& v)
    {
        while (next(pair)) {
            if (pair.StartsEntity)
                return true;
            on_line(pairs_.line_number(), [&] {
                const double value = pair.value();
                switch (pair.Code) {
                case 10:
                case 20:
                case 30:
                    v.p[static_cast<std::size_t>(pair.Code / 10 - 1)] = value;
                    break;
                case 42:
                    v.bulge = value;
                    break;
                case 70:
                    v.flags = trunc_int(value);
                    break;
                case 71:
                case 72:
                case 73:
                case 74:
                    v.face[pair.Code - 71] = trunc_int(value);
                    break;
                default:
                    break;
                }
            });
        }
        return false;
    }

    bool groups(Pair& pair, Entity& e)
    {
        const bool keep = keeps_groups(e.kind);
        while (next(pair)) {
            if (pair.StartsEntity)
                return true;
            on_line(pairs_.line_number(), [&] {
                group(pair, e);
                if (keep)
                    keep_group(pair, e);
            });
        }
        return false;
    }

    static void keep_group(const Pair& pair, Entity& e)
    {
        Group& g = e.groups.emplace_back();
        g.code = pair.Code;
        if (text_code(pair.Code))
            g.text.assign(pair.Text);
        else
            g.number = pair.value();
    }

    static void group(const Pair& pair, Entity& e)
    {
        const int code = pair.Code;
        switch (code) {
        case 2:
            e.block.assign(pair.Text);
            return;
        case 6:
            e.lineType.assign(pair.Text);
            return;
        case 8:
            e.layer.assign(pair.Text);
            return;
        default:
            break;
        }
        const double v = pair.value();
        switch (code) {
        case 10:
            e.points.push_back({{v, 0, 0}});
            break;
        case 20:
        case 30:
            if (e.points.empty())
                e.points.emplace_back();
            e.points.back().p[static_cast<std::size_t>(code / 10 - 1)] = v;
            break;
        case 11:
            e.second.push_back({v, 0, 0});
            break;
        case 21:
        case 31:
            if (e.second.empty())
                e.second.push_back({0, 0, 0});
            e.second.back()[static_cast<std::size_t>(code / 10 - 1)] = v;
            break;
        case 38:
            e.elevation = v;
            break;
        case 40:
            e.g40.push_back(v);
            break;
        case 41:
            e.g41.push_back(v);
            break;
        case 42:
            if (e.kind == Kind::LwPolyline && !e.points.empty())
                e.points.back().bulge = v;
            else
                e.g42 = v;
            break;
        case 43:
            e.g43 = v;
            break;
        case 44:
            e.g44 = v;
            break;
        case 45:
            e.g45 = v;
            break;
        case 50:
            e.g50 = v;
            break;
        case 51:
            e.g51 = v;
            break;
        case 62:
            e.colour = trunc_int(v);
            break;
        case 66:
            e.attributesFollow = v == 1;
            break;
        case 67:
            e.paperSpace = v == 1;
            break;
        case 70:
            e.g70 = trunc_int(v);
            break;
        case 71:
            e.g71 = trunc_int(v);
            break;
        case 72:
            e.g72 = trunc_int(v);
            break;
        case 210:
        case 220:
        case 230:
            e.extrusion[static_cast<std::size_t>(code / 10 - 21)] = v;
            break;
        case 420:
            e.trueColour = static_cast<std::int32_t>(trunc_int(v));
            break;
        case 48:
            if (std::isfinite(v) && v > 0)
                e.lineTypeScale = v;
            break;
        case 370:
            e.lineWeight = trunc_int(v);
            break;
        default:
            break;
        }
    }

    PairReader pairs_;
    DrawingSink& sink_;
    bool afterEndMarker_ = false;
    WrittenLayout written_;
    std::string version_;
    std::string units_;
    std::unordered_map<std::string, Layer> layers_;
    std::unordered_map<std::string, Block> blocks_;
    Tables tables_;
    Vec3 extentMin_{kAbsent, kAbsent, 0}, extentMax_{kAbsent, kAbsent, 0}; // 2-D extents have no Z
    std::unordered_map<std::string, std::string> styleNames_;              // text style names by handle key
    std::unordered_map<std::string, std::string> blockNames_;              // block names by their record's handle key
    struct StyleHandles {
        std::string textStyle, arrowBlock;
    };
    std::unordered_map<std::string, StyleHandles> dimStyleHandles_; // by dimension style name key
    std::unique_ptr<Placer> placer_;
    Entity entity_;
    Counts counts_;
};

} // namespace

} // namespace full

void read_full(std::istream& in, DrawingSink& sink) { full::Reader(in, sink).run(); }

} // namespace orvex::formats::dxf
