// Dimensions and leaders of the full DXF import: a DIMENSION by its block
// when it has one, else drawn from its definition points; LEADER and
// MULTILEADER as their lines, arrowheads and text.
#include "formats/dxf/dxf_dimension_build.h"
#include "formats/dxf/dxf_full_place.h"

#include <algorithm>
#include <cmath>

namespace orvex::formats::dxf::full {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kLineSpacing = 5.0 / 3.0; // baseline to baseline, in text heights

// The point of group `code` (x), code + 10 (y) and code + 20 (z), the
// first of them written; `found` tells whether there was one.
Vec3 point_of(const Entity& e, int code, bool* found = nullptr)
{
    Vec3 p{0, 0, 0};
    bool seen = false;
    for (std::size_t i = 0; i < e.groups.size(); ++i) {
        if (e.groups[i].code != code)
            continue;
        seen = true;
        p[0] = e.groups[i].number;
        for (std::size_t j = i + 1; j < e.groups.size() && j <= i + 2; ++j) {
            if (e.groups[j].code == code + 10)
                p[1] = e.groups[j].number;
            else if (e.groups[j].code == code + 20)
                p[2] = e.groups[j].number;
        }
        break;
    }
    if (found != nullptr)
        *found = seen;
    return p;
}

bool finite(const Vec3& p) { return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]); }

// World coordinates in the object coordinate system of `extrusion`.
Vec3 to_ocs(const Vec3& extrusion, const Vec3& p)
{
    const Matrix m = ocs_to_world(extrusion);
    const Vec3 x = m.direction(1, 0, 0), y = m.direction(0, 1, 0), z = m.direction(0, 0, 1);
    return {dot(p, x), dot(p, y), dot(p, z)};
}

// Applies an entity's own dimension variables, written as extended data
// of the ACAD application: 1000 "DSTYLE", 1002 "{", then pairs of a 1070
// group code and its value, 1002 "}".
void apply_overrides(const Entity& e, DimStyleDef& style)
{
    const std::vector<Group>& g = e.groups;
    std::size_t i = 0;
    while (i < g.size() && !(g[i].code == 1000 && g[i].text == "DSTYLE"))
        ++i;
    for (i += 1; i + 1 < g.size(); ++i) {
        if (g[i].code == 1002 && g[i].text == "}")
            break;
        if (g[i].code != 1070 || text_code(g[i + 1].code))
            continue;
        style.set(whole_number(g[i].number), g[i + 1].number);
        ++i;
    }
}

// A smooth curve through the points in order (a Catmull-Rom spline, its
// ends continued straight), as a spline leader's path.
Vec3 through_points(const std::vector<Vec3>& v, double t)
{
    const std::size_t last = v.size() - 1;
    const std::size_t i = std::min(static_cast<std::size_t>(std::max(t, 0.0)), last - 1);
    const double u = std::clamp(t - static_cast<double>(i), 0.0, 1.0);
    const Vec3& p1 = v[i];
    const Vec3& p2 = v[i + 1];
    const Vec3 p0 = i > 0 ? v[i - 1] : p1 * 2.0 - p2;
    const Vec3 p3 = i + 2 <= last ? v[i + 2] : p2 * 2.0 - p1;
    return (p1 * 2.0 + (p2 - p0) * u + (p0 * 2.0 - p1 * 5.0 + p2 * 4.0 - p3) * (u * u) +
            (p1 * 3.0 - p0 - p2 * 3.0 + p3) * (u * u * u)) *
           0.5;
}

} // namespace

void Placer::leader_path(const std::vector<Vec3>& vertices, bool spline, const ShapeStyle& s)
{
    if (!spline || vertices.size() < 3) {
        shapes_.chain(vertices, s);
        return;
    }
    shapes_.curve([vertices](double t) { return through_points(vertices, t); }, 0,
                  static_cast<double>(vertices.size() - 1), 4 * static_cast<int>(vertices.size()), vertices, s);
}

DimStyleDef Placer::dimension_style(const Entity& e) const
{
    std::string_view name = e.text(3);
    if (name.empty())
        name = "STANDARD";
    const auto found = tables_.dimStyles.find(name_key(name));
    DimStyleDef style = found != tables_.dimStyles.end() ? found->second : DimStyleDef::defaults(tables_.metric);
    apply_overrides(e, style);
    return style;
}

void Placer::text_lines(const std::vector<std::string>& lines, const TextPlacement& at, const Matrix& m,
                        const ShapeStyle& s)
{
    if (lines.empty() || !(at.height > 0) || !std::isfinite(at.height) || !finite(at.point))
        return;
    const TextStyleDef* def = text_style(at.styleName);
    text::TextStyle style;
    style.font = font_of(def);
    style.height = at.height;
    style.width_factor = def != nullptr && def->widthFactor > 0 ? def->widthFactor : 1.0;
    style.oblique_deg = def != nullptr ? def->obliqueDeg : 0.0;
    style.rotation_deg = at.rotationDeg;
    // Lines one under the other; the attachment's row places the block of
    // them, its column each line.
    const int attachment = at.attachment >= 1 && at.attachment <= 9 ? at.attachment : 5;
    const int row = (attachment - 1) / 3, column = (attachment - 1) % 3;
    const double n = static_cast<double>(lines.size());
    const double total = at.height * (1 + (n - 1) * kLineSpacing);
    const double fromTop = row == 0 ? 0 : row == 1 ? total / 2 : total;
    const double turn = at.rotationDeg / kDegreesPerRadian;
    const Vec3 down{std::sin(turn), -std::cos(turn), 0};
    const Vec3 top = at.point - down * fromTop;
    const auto sink = text_sink(m, at.point[2], s);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        const Vec3 p = top + down * (static_cast<double>(i) * kLineSpacing * at.height);
        text::layout_text(text::decode_text_codes(lines[i]), style, {p[0], p[1]},
                          static_cast<text::Attachment>(column + 1), sink);
    }
}

bool Placer::dimension(const Entity& e, const Context& c, const ShapeStyle& s)
{
    const Vec3 n = e.extrusion;
    // The block stands where it is (ezdxf and AutoCAD place it unscaled,
    // unturned), moved by the insertion point 12 when one is written.
    const auto block = e.block.empty() ? blocks_.end() : blocks_.find(name_key(e.block));
    if (block != blocks_.end() && !block->second.entities.empty()) {
        const Vec3 at = ocs_to_world(n).apply(point_of(e, 12));
        if (finite(at) && place_block(e.block, Matrix::translation(at + block->second.base), e, c))
            return true;
    }
    // No block: drawn from the definition points, in the OCS.
    DimensionPoints d;
    const int flags = e.integer(70, 0);
    d.type = flags & 7;
    d.ordinateX = (flags & 64) != 0;
    d.p10 = to_ocs(n, point_of(e, 10));
    d.p13 = to_ocs(n, point_of(e, 13));
    d.p14 = to_ocs(n, point_of(e, 14));
    d.p15 = to_ocs(n, point_of(e, 15));
    d.p16 = point_of(e, 16);
    d.textAt = point_of(e, 11, &d.hasTextAt);
    d.angle = e.number(50, 0);
    if (const Group* rotation = e.find(53))
        d.textRotation = rotation->number;
    d.attachment = e.integer(71, 5);
    d.text = std::string(e.text(1));
    for (const Vec3* p : {&d.p10, &d.p13, &d.p14, &d.p15, &d.p16, &d.textAt})
        if (!finite(*p))
            return true; // nothing sound to draw
    if (!std::isfinite(d.angle))
        d.angle = 0;
    const DimStyleDef style = dimension_style(e);
    const DimensionDrawing drawing = build_dimension(d, style);
    const Matrix m = ocs_map(e, c);
    for (const auto& [a, b] : drawing.lines)
        shapes_.line(m.apply(a), m.apply(b), s);
    for (const DimensionDrawing::Arc& arc : drawing.arcs)
        ocs_arc(m, arc.centre, arc.radius, arc.start, arc.end, false, s);
    for (const std::vector<Vec3>& arrow : drawing.arrows) {
        std::vector<Vec3> loop;
        for (const Vec3& p : arrow)
            loop.push_back(m.apply(p));
        shapes_.fill({loop}, s);
    }
    TextPlacement at;
    at.point = drawing.label.at;
    at.height = drawing.label.height;
    at.rotationDeg = drawing.label.rotation;
    at.attachment = drawing.label.attachment;
    at.styleName = style.textStyle;
    text_lines(drawing.label.lines, at, m, s);
    return true;
}

void Placer::leader_arrow(const Vec3& tip, const Vec3& next, const Vec3& normal, double size, const Matrix& m,
                          const ShapeStyle& s)
{
    const Vec3 v = next - tip;
    const double length = norm(v);
    const double n = norm(normal);
    if (!(size > 0) || !std::isfinite(size) || !(length > 0) || !(n > 0))
        return;
    std::vector<Vec3> loop;
    for (const Vec3& p : arrowhead(tip, v * (1 / length), normal * (1 / n), size))
        loop.push_back(m.apply(p));
    shapes_.fill({loop}, s);
}

bool Placer::leader(const Entity& e, const Context& c, const ShapeStyle& s)
{
    // The vertices are in world coordinates; the extrusion gives the plane
    // the arrowhead lies in.
    std::vector<Vec3> vertices;
    for (const Group& g : e.groups) {
        if (g.code >= 1000)
            break;
        if (g.code == 10)
            vertices.push_back({g.number, 0, 0});
        else if ((g.code == 20 || g.code == 30) && !vertices.empty())
            vertices.back()[static_cast<std::size_t>(g.code / 10 - 1)] = g.number;
    }
    for (const Vec3& v : vertices)
        if (!finite(v))
            return true;
    std::vector<Vec3> placed;
    for (const Vec3& v : vertices)
        placed.push_back(c.toWorld.apply(v));
    leader_path(placed, e.number(72, 0) == 1, s);
    if (vertices.size() >= 2 && e.number(71, 1) != 0) {
        const DimStyleDef style = dimension_style(e);
        leader_arrow(vertices[0], vertices[1], e.extrusion, style.arrowSize * style.overall(), c.toWorld, s);
    }
    return true;
}

bool Placer::multileader(const Entity& e, const Context& c, const ShapeStyle& s)
{
    // The context data: its leaders (each with leader lines of vertices, a
    // last point and a landing) and its text, all in world coordinates.
    struct LeaderPart {
        std::vector<std::vector<Vec3>> lines;
        Vec3 last{0, 0, 0}, dogleg{1, 0, 0};
        double doglegLength = 0;
        bool hasLast = false, hasDogleg = false;
    };
    std::vector<LeaderPart> leaders;
    double arrowSize = 0, textHeight = 0;
    bool hasText = false;
    std::string content;
    Vec3 textAt{0, 0, 0}, textDirection{1, 0, 0}, textNormal{0, 0, 1};
    int attachment = 1, leaderType = 1;
    bool landing = true;
    enum class In { Entity, Context, Text, Leader, Line } in = In::Entity;
    auto set_axis = [](Vec3& p, int code, int base, double v) {
        if (code >= base && code <= base + 20 && (code - base) % 10 == 0)
            p[static_cast<std::size_t>((code - base) / 10)] = v;
    };
    for (const Group& g : e.groups) {
        if (g.code >= 1000)
            break;
        const double v = g.number;
        if (g.code == 300 && g.text == "CONTEXT_DATA{") {
            in = In::Context;
            continue;
        }
        if (in == In::Entity) {
            if (g.code == 170)
                leaderType = whole_number(v);
            else if (g.code == 291)
                landing = v != 0;
            continue;
        }
        if (g.code == 302 && g.text == "LEADER{") {
            leaders.emplace_back();
            in = In::Leader;
            continue;
        }
        if (g.code == 304 && g.text == "LEADER_LINE{" && in == In::Leader) {
            leaders.back().lines.emplace_back();
            in = In::Line;
            continue;
        }
        if (g.code == 305 && in == In::Line) {
            in = In::Leader;
            continue;
        }
        if (g.code == 303 && in == In::Leader) {
            in = In::Context;
            continue;
        }
        if (g.code == 301) {
            in = In::Entity;
            continue;
        }
        switch (in) {
        case In::Line:
            if (g.code == 10)
                leaders.back().lines.back().push_back({v, 0, 0});
            else if ((g.code == 20 || g.code == 30) && !leaders.back().lines.back().empty())
                leaders.back().lines.back().back()[static_cast<std::size_t>(g.code / 10 - 1)] = v;
            break;
        case In::Leader: {
            LeaderPart& l = leaders.back();
            if (g.code == 290)
                l.hasLast = v != 0;
            else if (g.code == 291)
                l.hasDogleg = v != 0;
            else if (g.code == 40)
                l.doglegLength = v;
            set_axis(l.last, g.code, 10, v);
            set_axis(l.dogleg, g.code, 11, v);
            break;
        }
        case In::Context:
            if (g.code == 290 && !hasText) {
                hasText = v != 0;
                in = hasText ? In::Text : In::Context;
            } else if (g.code == 41) {
                textHeight = v;
            } else if (g.code == 140) {
                arrowSize = v;
            }
            break;
        case In::Text:
            if (g.code == 304)
                content = g.text;
            else if (g.code == 171)
                attachment = whole_number(v);
            else if (g.code == 296 || g.code == 110)
                in = In::Context; // the text's groups end where the block's or the plane's begin
            set_axis(textAt, g.code, 12, v);
            set_axis(textDirection, g.code, 13, v);
            set_axis(textNormal, g.code, 11, v);
            break;
        default:
            break;
        }
    }
    // The leader lines: their vertices, the last leader point, the landing.
    for (const LeaderPart& l : leaders) {
        Vec3 landingStep = l.dogleg;
        const double length = norm(landingStep);
        landingStep = length > 0 ? landingStep * (l.doglegLength / length) : Vec3{0, 0, 0};
        for (const std::vector<Vec3>& line : l.lines) {
            if (leaderType == 0)
                break;
            std::vector<Vec3> vertices = line;
            vertices.push_back(l.last);
            if (landing && leaderType != 2 && norm(landingStep) > 0)
                vertices.push_back(l.last + landingStep);
            bool sound = true;
            for (const Vec3& p : vertices)
                sound = sound && finite(p);
            if (!sound)
                continue;
            std::vector<Vec3> placed;
            for (const Vec3& p : vertices)
                placed.push_back(c.toWorld.apply(p));
            leader_path(placed, leaderType == 2, s);
            std::size_t next = 1;
            while (next < vertices.size() && !(norm(vertices[next] - vertices[0]) > 0))
                ++next;
            if (next < vertices.size())
                leader_arrow(vertices[0], vertices[next], textNormal, arrowSize, c.toWorld, s);
        }
    }
    // The text, line by line, in the plane of its normal.
    if (hasText && !content.empty() && finite(textAt) && finite(textDirection) && norm(textNormal) > 0) {
        const Vec3 normal = textNormal * (1 / norm(textNormal));
        const Vec3 at = to_ocs(normal, textAt), along = to_ocs(normal, textDirection);
        TextPlacement place;
        place.point = at;
        place.height = textHeight;
        place.rotationDeg = std::atan2(along[1], along[0]) * kDegreesPerRadian;
        place.attachment = attachment;
        text_lines(dimension_text(content, ""), place, c.toWorld.after(ocs_to_world(normal)), s);
    }
    return true;
}

} // namespace orvex::formats::dxf::full
