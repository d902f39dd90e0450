#include "formats/dxf/dxf_full_place.h"

#include "formats/common/curve_math.h"
#include "formats/common/record_fields.h"
#include "formats/dxf/dxf.h"
#include "formats/dxf/dxf_palette.h"

#include <OrvexGDI/Ops.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace orvex::formats::dxf::full {

namespace {

constexpr double kDegreesPerRadian = static_cast<double>(Ops::DegreesPerRadian);
constexpr double kTurn = 6.283185307179586;
constexpr int kMaxNesting = 16;
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr long long kMaxPlacements = 10'000; // see WorldShapes::kMaxElements
#else
constexpr long long kMaxPlacements = 2'000'000; // 100,000,000 elements of a block of 50
#endif

double or_default(double v, double otherwise) { return given(v) ? v : otherwise; }
double first_or(const std::vector<double>& v, double otherwise) { return v.empty() ? otherwise : v.front(); }

double degrees_of(double y, double x)
{
    double a = std::atan2(y, x) * kDegreesPerRadian;
    if (a < 0)
        a += 360;
    return a;
}

// An attribute definition in a block shows only when it is constant: the
// others are templates for the ATTRIBs that inserts carry.
bool shown_in_block(const Entity& attdef) { return (attdef.integer(70, 0) & 2) != 0; }

bool numeric_name(const std::string& name, int& number)
{
    if (name.empty() || name.size() > 3)
        return false;
    number = 0;
    for (char c : name) {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + (c - '0');
    }
    return number >= 1 && number <= 254;
}

} // namespace

Placer::Placer(DrawingSink& sink, const std::unordered_map<std::string, Layer>& layers,
               const std::unordered_map<std::string, Block>& blocks, const Tables& tables)
    : sink_(sink), layers_(layers), blocks_(blocks), tables_(tables), shapes_(sink),
      background_(sink.background_color()), numberTaken_(255), numberReserved_(255), drawingSize_(tables.drawingSize)
{
    top_ = Context{Matrix{}, "0", aci(7), 0};
    // Layers named by a number keep it; the others take free numbers.
    for (const auto& [name, layer] : layers_) {
        int number = 0;
        if (numeric_name(name, number))
            numberReserved_[static_cast<std::size_t>(number)] = true;
    }
}

TColor Placer::aci(int index) const
{
    // Colour 7 is stored as white whatever the background; the drawing shows
    // white in black on a light background.
    if (index < 1 || index > 255)
        index = 7;
    return colour_of_rgb(kAciPalette[static_cast<std::size_t>(index)]);
}

// A number for the while: a layer named by a number takes it when it is
// free, any other the first number that is neither taken nor in the layer
// table under its own name. settle_layer_numbers decides at the end.
int Placer::layer_number(const std::string& key)
{
    int number = 0;
    if (!numeric_name(key, number) || numberTaken_[static_cast<std::size_t>(number)]) {
        number = free_number(numberTaken_);
        if (number == 0) {
            layersOverflow_ = true;
            return 252; // more layers than numbers: the factory's catch-all
        }
    }
    numberTaken_[static_cast<std::size_t>(number)] = true;
    return number;
}

// Layers named by a number keep it, even when a name met before them took
// it for the while (no layer table told of them): that name moves to a
// free number, and so do its elements. Then the layers are named.
void Placer::settle_layer_numbers()
{
    const std::vector<int> settled = settled_layer_numbers();
    std::array<int, 255> moved{};
    bool anyMoved = false;
    for (std::size_t i = 0; i < layersMet_.size(); ++i) {
        LayerUse& use = *layersMet_[i];
        if (settled[i] != use.number) {
            moved[static_cast<std::size_t>(use.number)] = settled[i];
            use.number = settled[i];
            anyMoved = true;
        }
        if (!layersOverflow_ || use.number != 252)
            sink_.set_layer_name(use.number, use.name);
    }
    if (anyMoved)
        shapes_.for_each_made([&](TElement& e) {
            const int layer = e.GetLayer();
            if (layer >= 1 && layer <= 254 && moved[static_cast<std::size_t>(layer)] != 0)
                e.SetLayer(moved[static_cast<std::size_t>(layer)]);
        });
}

// The final number of each layer met: numbered names first (the first of
// two names for one number wins), then the others, each keeping its number
// for the while when it is still free. With more layers than numbers the
// numbers stay as they are.
std::vector<int> Placer::settled_layer_numbers() const
{
    std::vector<int> settled;
    for (const LayerUse* use : layersMet_)
        settled.push_back(use->number);
    if (layersOverflow_)
        return settled;
    std::vector<bool> taken(255);
    std::vector<bool> numbered(layersMet_.size());
    for (std::size_t i = 0; i < layersMet_.size(); ++i) {
        int number = 0;
        if (numeric_name(layersMet_[i]->key, number) && !taken[static_cast<std::size_t>(number)]) {
            settled[i] = number;
            taken[static_cast<std::size_t>(number)] = numbered[i] = true;
        }
    }
    for (std::size_t i = 0; i < layersMet_.size(); ++i) {
        if (numbered[i])
            continue;
        const int free = taken[static_cast<std::size_t>(settled[i])] ? free_number(taken) : 0;
        if (free != 0)
            settled[i] = free;
        taken[static_cast<std::size_t>(settled[i])] = true;
    }
    return settled;
}

int Placer::free_number(const std::vector<bool>& taken) const
{
    for (int n = 1; n <= 254; ++n)
        if (!taken[static_cast<std::size_t>(n)] && !numberReserved_[static_cast<std::size_t>(n)])
            return n;
    return 0;
}

const Placer::LayerUse& Placer::layer_use(const std::string& name)
{
    // By the name as written, before the name's key is made.
    std::size_t slot = name.size();
    for (std::size_t i = 0; i < name.size() && i < 4; ++i)
        slot = slot * 31 + static_cast<unsigned char>(name[i]);
    CachedUse& cached = cache_[slot & 255];
    if (cached.use != nullptr && cached.name == name)
        return *cached.use;
    if (const auto written = writtenUses_.find(name); written != writtenUses_.end()) {
        cached = {name, written->second};
        return *written->second;
    }
    const std::string key = name_key(name);
    auto found = layerUses_.find(key);
    if (found == layerUses_.end()) {
        LayerUse use;
        use.number = layer_number(key);
        use.key = key;
        use.name = name;
        const auto layer = layers_.find(key);
        if (layer == layers_.end()) {
            use.colour = aci(7);
        } else {
            use.colour = layer->second.trueColour >= 0
                             ? colour_of_rgb(static_cast<std::uint32_t>(layer->second.trueColour))
                             : aci(layer->second.colour);
            // A layer's line type names a pattern: BYLAYER or BYBLOCK there
            // mean nothing and draw solid.
            const LineTypeUse& type = line_type_use(layer->second.lineType);
            use.lineType = type.by == LineTypeUse::By::Own ? &type : &continuous_;
            use.lineWeight = layer->second.lineWeight >= 0 ? layer->second.lineWeight : -3;
        }
        if (use.lineType == nullptr)
            use.lineType = &continuous_;
        found = layerUses_.emplace(key, std::move(use)).first;
        layersMet_.push_back(&found->second);
    }
    writtenUses_.emplace(name, &found->second);
    cached = {name, &found->second};
    return found->second;
}

Placer::Look Placer::look_of(const Entity& e, const Context& c)
{
    const std::string& layerName = (c.depth > 0 && e.layer == "0") ? c.layer : e.layer;
    const LayerUse& layer = layer_use(layerName);
    Look look;
    ShapeStyle& s = look.style;
    s.Layer = layer.number;
    if (e.trueColour >= 0)
        s.Colour = colour_of_rgb(static_cast<std::uint32_t>(e.trueColour) & 0xFFFFFF);
    else if (e.colour == 0)
        s.Colour = c.colour;
    else if (e.colour < 1 || e.colour > 255)
        s.Colour = layer.colour;
    else
        s.Colour = aci(e.colour);
    // No line type is by layer.
    const LineTypeUse& type = e.lineType.empty() ? *layer.lineType : line_type_use(e.lineType);
    switch (type.by) {
    case LineTypeUse::By::Layer:
        look.dash = dash_of(*layer.lineType, e.lineTypeScale, look.repeat);
        break;
    case LineTypeUse::By::Block:
        look.dash = c.dash;
        look.repeat = c.repeat;
        break;
    case LineTypeUse::By::Own:
        look.dash = dash_of(type, e.lineTypeScale, look.repeat);
        break;
    }
    look.weight = e.lineWeight == -1 ? layer.lineWeight : e.lineWeight == -2 ? c.weight : e.lineWeight;
    s.LineType = line_type_code(look.dash, look.weight);
    return look;
}

const Placer::LineTypeUse& Placer::line_type_use(const std::string& name)
{
    // Files name few line types: a small direct cache by the name as
    // written keeps them from being hashed entity after entity.
    std::size_t slot = name.size();
    for (std::size_t i = 0; i < name.size() && i < 4; ++i)
        slot = slot * 31 + static_cast<unsigned char>(name[i]);
    CachedLineType& cached = lineTypeCache_[slot % lineTypeCache_.size()];
    if (cached.use != nullptr && cached.name == name)
        return *cached.use;
    auto found = lineTypeUses_.find(name);
    if (found == lineTypeUses_.end()) {
        LineTypeUse use;
        int number = 0;
        const std::string key = name_key(name);
        if (key.empty() || key == "BYLAYER") {
            use.by = LineTypeUse::By::Layer;
        } else if (key == "BYBLOCK") {
            use.by = LineTypeUse::By::Block;
        } else if (numeric_name(name, number)) {
            use.numbered = true;
            use.pattern.code = number;
        } else if (const auto type = tables_.lineTypes.find(key); type != tables_.lineTypes.end()) {
            use.pattern = dash_pattern(type->second.dashes);
        } // else a line type the file does not define: solid
        found = lineTypeUses_.emplace(name, use).first;
    }
    cached = {name, &found->second};
    return found->second;
}

int Placer::dash_of(const LineTypeUse& use, double entityScale, double& repeat) const
{
    if (use.numbered || use.pattern.code == kSolid)
        return use.pattern.code;
    const double scale = tables_.lineTypeScale * entityScale;
    const int code = dash_code(use.pattern, scale, drawingSize_);
    if (code != kSolid)
        repeat = use.pattern.period * scale;
    return code;
}

bool Placer::place(const Entity& e)
{
    if (e.kind == Kind::Other)
        return false;
    if (e.kind == Kind::Insert && blocks_.find(name_key(e.block)) == blocks_.end())
        return false;
    return place(e, top_);
}

Matrix Placer::ocs_map(const Entity& e, const Context& c)
{
    const Vec3& n = e.extrusion;
    if (n[0] == 0 && n[1] == 0 && n[2] > 0)
        return c.toWorld;
    return c.toWorld.after(ocs_to_world(n));
}

bool Placer::place(const Entity& e, const Context& c)
{
    if (e.kind == Kind::Other)
        return false;
    if (e.kind == Kind::Insert) {
        insert(e, c);
        return true;
    }
    const Look look = look_of(e, c);
    const ShapeStyle& s = look.style;
    repeat_ = look.repeat;
    if (keeps_groups(e.kind))
        return annotation(e, c, s);
    const Vec3 first = e.points.empty() ? Vec3{0, 0, 0} : e.points.front().p;
    switch (e.kind) {
    case Kind::Line: {
        const Vec3 second = e.second.empty() ? Vec3{0, 0, 0} : e.second.front();
        shapes_.line(c.toWorld.apply(first), c.toWorld.apply(second), fitted(s, norm(second - first)));
        break;
    }
    case Kind::Point:
        // A dimension's definition points (layer DEFPOINTS) mark where it
        // measures; they are not part of its picture.
        if (!c.dimension || name_key(e.layer) != "DEFPOINTS")
            shapes_.point(c.toWorld.apply(first), s);
        break;
    case Kind::Circle:
    case Kind::Arc: {
        const Matrix m = ocs_map(e, c);
        const bool full = e.kind == Kind::Circle;
        const double radius = first_or(e.g40, 0), start = full ? 0 : or_default(e.g50, 0),
                     end = full ? 360 : or_default(e.g51, 0);
        double sweep = std::fmod(end - start, 360.0);
        if (full || !(sweep > 0))
            sweep += 360;
        ocs_arc(m, first, radius, start, end, full, fitted(s, std::fabs(radius) * sweep / kDegreesPerRadian));
        break;
    }
    case Kind::LwPolyline: {
        const Matrix m = ocs_map(e, c);
        const std::size_t n = e.points.size();
        const std::size_t segments = (e.g70 & 1) && n > 2 ? n : (n > 0 ? n - 1 : 0);
        for (std::size_t i = 0; i < segments; ++i) {
            Vec3 a = e.points[i].p, b = e.points[(i + 1) % n].p;
            a[2] = b[2] = e.elevation;
            bulge_segment(m, a, b, e.points[i].bulge, s);
        }
        break;
    }
    case Kind::Polyline:
        polyline(e, c, s);
        break;
    case Kind::Ellipse:
        ellipse(e, c, s);
        break;
    case Kind::Spline:
        spline(e, c, s);
        break;
    default:
        break;
    }
    return true;
}

bool Placer::annotation(const Entity& e, const Context& c, const ShapeStyle& style)
{
    // Text strokes, hatch pattern lines (their pattern is their own) and
    // fills take no dashes from the line type; a lineweight still widens
    // them.
    ShapeStyle s = style;
    switch (e.kind) {
    case Kind::Text:
    case Kind::Attrib:
    case Kind::Attdef:
    case Kind::MText:
    case Kind::Hatch:
    case Kind::Solid:
    case Kind::Trace:
    case Kind::Wipeout:
        s.LineType = without_dashes(s.LineType);
        break;
    default:
        break;
    }
    switch (e.kind) {
    case Kind::Text:
    case Kind::Attrib:
    case Kind::Attdef:
        return text_entity(e, c, s);
    case Kind::MText:
        return mtext(e, c, s);
    case Kind::Hatch:
        return hatch(e, c, s);
    case Kind::Solid:
    case Kind::Trace:
    case Kind::Face3d:
    case Kind::Wipeout:
        return face(e, c, s);
    case Kind::Mesh:
        return mesh(e, c, s);
    case Kind::Dimension:
        return dimension(e, c, s);
    case Kind::Leader:
        return leader(e, c, s);
    case Kind::MultiLeader:
        return multileader(e, c, s);
    default:
        return false;
    }
}

void Placer::insert(const Entity& e, const Context& c)
{
    const auto found = blocks_.find(name_key(e.block));
    if (found == blocks_.end() || c.depth >= kMaxNesting)
        return;
    reached_.insert(found->first);
    const Block& block = found->second;
    if (block.entities.empty())
        return;
    const Look own = look_of(e, c);
    Context inner;
    inner.layer = (c.depth > 0 && e.layer == "0") ? c.layer : e.layer;
    inner.colour = own.style.Colour;
    inner.dash = own.dash;
    inner.weight = own.weight;
    inner.repeat = own.repeat;
    inner.depth = c.depth + 1;
    inner.dimension = c.dimension;
    const Vec3 at = e.points.empty() ? Vec3{0, 0, 0} : e.points.front().p;
    const double sx = first_or(e.g41, 1), sy = or_default(e.g42, 1), sz = or_default(e.g43, 1);
    const Matrix placed = ocs_map(e, c).after(Matrix::translation(at)).after(Matrix::rotation_z(or_default(e.g50, 0)));
    const Matrix scaled = Matrix::scaling(sx, sy, sz).after(Matrix::translation(block.base * -1.0));
    const int columns = std::clamp(e.g70, 1, 10000), rows = std::clamp(e.g71, 1, 10000);
    const double dx = or_default(e.g44, 0), dy = or_default(e.g45, 0);
    placements_ += static_cast<long long>(rows) * columns;
    if (placements_ > kMaxPlacements)
        throw ERangeError("the file places blocks more than " + std::to_string(kMaxPlacements) + " times");
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            inner.toWorld = placed.after(Matrix::translation({column * dx, row * dy, 0})).after(scaled);
            for (const Entity& child : block.entities)
                if (child.kind != Kind::Attdef || shown_in_block(child))
                    place(child, inner);
        }
    // The attributes stand in the world already (the insert's OCS only).
    for (const Entity& attribute : e.attributes)
        place(attribute, c);
}

bool Placer::place_block(const std::string& name, const Matrix& toWorld, const Entity& owner, const Context& c)
{
    const auto found = blocks_.find(name_key(name));
    if (found == blocks_.end() || c.depth >= kMaxNesting)
        return false;
    reached_.insert(found->first);
    if (++placements_ > kMaxPlacements)
        throw ERangeError("the file places blocks more than " + std::to_string(kMaxPlacements) + " times");
    Context inner;
    inner.layer = (c.depth > 0 && owner.layer == "0") ? c.layer : owner.layer;
    const Look own = look_of(owner, c);
    inner.colour = own.style.Colour;
    inner.dash = own.dash;
    inner.weight = own.weight;
    inner.repeat = own.repeat;
    inner.depth = c.depth + 1;
    inner.dimension = c.dimension || owner.kind == Kind::Dimension;
    inner.toWorld = c.toWorld.after(toWorld).after(Matrix::translation(found->second.base * -1.0));
    for (const Entity& child : found->second.entities)
        if (child.kind != Kind::Attdef || shown_in_block(child))
            place(child, inner);
    return true;
}

void Placer::ocs_arc(const Matrix& m, const Vec3& centre, double radius, double start, double end, bool full,
                     const ShapeStyle& s)
{
    const Vec3 x = m.direction(1, 0, 0), y = m.direction(0, 1, 0);
    if (x[0] == 1 && x[1] == 0 && x[2] == 0 && y[0] == 0 && y[1] == 1 && y[2] == 0) {
        shapes_.arc(m.apply(centre), radius, x, {0, 0, 1}, start, end, full, s); // moved only
        return;
    }
    const double lx = norm(x), ly = norm(y);
    const bool similar = lx > 0 && std::fabs(lx - ly) <= 1e-9 * lx && std::fabs(dot(x, y)) <= 1e-9 * lx * ly;
    if (similar) {
        shapes_.arc(m.apply(centre), radius * lx, x * (1 / lx), unit(cross(x, y)), start, end, full, s);
        return;
    }
    // Scaled unevenly: an ellipse, drawn as a chain.
    const double t0 = start / kDegreesPerRadian, t1 = sweep_end(t0, full ? t0 + kTurn : end / kDegreesPerRadian, kTurn);
    std::vector<Vec3> box;
    for (const double dx : {-radius, radius})
        for (const double dy : {-radius, radius})
            box.push_back(m.apply(centre + Vec3{dx, dy, 0}));
    shapes_.curve(
        [=](double t) {
            return m.apply(centre + Vec3{radius * std::cos(t), radius * std::sin(t), 0});
        },
        t0, t1, 16, box, s);
}

void Placer::bulge_segment(const Matrix& m, const Vec3& a, const Vec3& b, double bulge, const ShapeStyle& s)
{
    const Vec3 d = b - a;
    if (std::fabs(bulge) < 1e-12 || !(norm(d) > 0)) {
        if (norm(d) > 0)
            shapes_.line(m.apply(a), m.apply(b), fitted(s, norm(d)));
        return;
    }
    // The centre lies on the chord's perpendicular; the bulge is the tangent
    // of a quarter of the included angle, positive counter-clockwise.
    const Vec3 mid = (a + b) * 0.5;
    const Vec3 perpendicular{-d[1], d[0], 0};
    const Vec3 centre = mid + perpendicular * ((1 - bulge * bulge) / (4 * bulge));
    const double r = norm(a - centre);
    double start = degrees_of(a[1] - centre[1], a[0] - centre[0]);
    double end = degrees_of(b[1] - centre[1], b[0] - centre[0]);
    if (bulge < 0)
        std::swap(start, end);
    ocs_arc(m, centre, r, start, end, false, fitted(s, r * 4 * std::atan(std::fabs(bulge))));
}

void Placer::polyline(const Entity& e, const Context& c, const ShapeStyle& s)
{
    const int flags = e.g70;
    std::vector<Vec3> positions;
    if (flags & 64) { // polyface mesh: positions, then faces naming them
        for (const Vertex& v : e.points)
            if ((v.flags & 64) || !(v.flags & 128))
                positions.push_back(c.toWorld.apply(v.p));
        std::set<std::pair<int, int>> edges;
        for (const Vertex& v : e.points) {
            if (!(v.flags & 128) || (v.flags & 64))
                continue;
            int count = 0;
            while (count < 4 && v.face[count] != 0)
                ++count;
            for (int k = 0; k < count; ++k) {
                const int from = v.face[k], to = v.face[(k + 1) % count];
                if (from < 0 || count < 2)
                    continue; // an invisible edge
                const int a = std::abs(from), b = std::abs(to);
                if (a > static_cast<int>(positions.size()) || b > static_cast<int>(positions.size()) || a == b)
                    continue;
                if (edges.insert({std::min(a, b), std::max(a, b)}).second)
                    shapes_.line(positions[static_cast<std::size_t>(a - 1)], positions[static_cast<std::size_t>(b - 1)],
                                 s);
            }
        }
        return;
    }
    if (flags & 16) { // polygon mesh: rows of vertices
        for (const Vertex& v : e.points)
            positions.push_back(c.toWorld.apply(v.p));
        const int m = e.g71, n = e.g72;
        if (m < 1 || n < 1 || static_cast<std::size_t>(m) * static_cast<std::size_t>(n) > positions.size())
            return;
        auto at = [&](int i, int j) { return positions[static_cast<std::size_t>(i * n + j)]; };
        for (int i = 0; i < m; ++i)
            for (int j = 0; j < n; ++j) {
                if (j + 1 < n || ((flags & 32) && n > 2))
                    shapes_.line(at(i, j), at(i, (j + 1) % n), s);
                if (i + 1 < m || ((flags & 1) && m > 2))
                    shapes_.line(at(i, j), at((i + 1) % m, j), s);
            }
        return;
    }
    std::vector<const Vertex*> vertices;
    for (const Vertex& v : e.points)
        if (!(v.flags & 16)) // spline frame control points are not on the curve
            vertices.push_back(&v);
    const std::size_t n = vertices.size();
    const std::size_t segments = (flags & 1) && n > 2 ? n : (n > 0 ? n - 1 : 0);
    if (flags & 8) { // 3-D polyline, in world coordinates
        for (std::size_t i = 0; i < segments; ++i) {
            const Vec3 &a = vertices[i]->p, &b = vertices[(i + 1) % n]->p;
            shapes_.line(c.toWorld.apply(a), c.toWorld.apply(b), fitted(s, norm(b - a)));
        }
        return;
    }
    const Matrix ocs = ocs_map(e, c);
    for (std::size_t i = 0; i < segments; ++i) {
        Vec3 a = vertices[i]->p, b = vertices[(i + 1) % n]->p;
        a[2] = b[2] = e.elevation;
        bulge_segment(ocs, a, b, vertices[i]->bulge, s);
    }
}

void Placer::ellipse(const Entity& e, const Context& c, const ShapeStyle& s)
{
    if (e.points.empty() || e.second.empty())
        return;
    const Vec3 centre = e.points.front().p, major = e.second.front();
    const Vec3 minor = cross(unit(e.extrusion), major) * first_or(e.g40, 1);
    const double t0 = first_or(e.g41, 0), t1 = sweep_end(t0, or_default(e.g42, kTurn), kTurn);
    const Matrix m = c.toWorld;
    std::vector<Vec3> box;
    for (const double a : {-1.0, 1.0})
        for (const double b : {-1.0, 1.0})
            box.push_back(m.apply(centre + major * a + minor * b));
    shapes_.curve([=](double t) { return m.apply(centre + major * std::cos(t) + minor * std::sin(t)); }, t0, t1, 16,
                  box, s);
}

void Placer::spline(const Entity& e, const Context& c, const ShapeStyle& s)
{
    const int p = e.g71 > 0 ? e.g71 : 3;
    const std::size_t n = e.points.size();
    const Matrix m = c.toWorld;
    if (n >= static_cast<std::size_t>(p + 1) && e.g40.size() == n + static_cast<std::size_t>(p) + 1) {
        const std::vector<double> knots = e.g40, weights = e.g41;
        std::vector<Vec3> control;
        for (const Vertex& v : e.points)
            control.push_back(v.p);
        const double u0 = knots[static_cast<std::size_t>(p)], u1 = knots[n];
        if (!(u1 > u0))
            return;
        int spans = 0;
        for (std::size_t i = static_cast<std::size_t>(p); i < n; ++i)
            spans += knots[i + 1] > knots[i];
        std::vector<Vec3> box;
        for (const Vec3& v : control)
            box.push_back(m.apply(v));
        shapes_.curve([=](double u) { return m.apply(nurbs_point(p, knots, control, weights, u)); }, u0, u1,
                      4 * std::max(1, spans), box, s);
        return;
    }
    // Only fit points: the chain through them.
    std::vector<Vec3> fit;
    for (const Vec3& f : e.second)
        fit.push_back(m.apply(f));
    shapes_.chain(fit, s);
}

void Placer::note(const std::string& line)
{
    // A hatch in a block placed many times would say the same each time.
    constexpr std::size_t kMaxNotes = 100;
    TLoadReport* report = sink_.report();
    if (report == nullptr || notes_.size() > kMaxNotes || !notes_.insert(line).second)
        return;
    report->Notes.push_back(notes_.size() > kMaxNotes ? std::string("more notes left out") : line);
}

void Placer::finish()
{
    shapes_.finish();
    settle_layer_numbers();
}

void Placer::colour_as_written(const std::vector<std::uint8_t>& numbers)
{
    if (shapes_.made_count() != static_cast<int>(numbers.size()))
        return;
    std::size_t next = 0;
    shapes_.for_each_made([&](TElement& e) { e.SetColor(colour_from_number(numbers[next++], background_)); });
}

} // namespace orvex::formats::dxf::full
