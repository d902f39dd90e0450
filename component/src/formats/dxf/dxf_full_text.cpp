// Single-line text of the full DXF import (TEXT, ATTRIB, ATTDEF) as stroke
// elements: the string's control codes resolved, laid out by the entity's
// style and justification in its object coordinate system.
#include "formats/dxf/dxf_full_place.h"

#include "text/text_codes.h"

#include <OrvexGDI/Ops.h>

#include <cmath>

namespace orvex::formats::dxf::full {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

bool ends_with_truetype(std::string_view file)
{
    if (file.size() < 4)
        return false;
    std::string tail = name_key(file.substr(file.size() - 4));
    return tail == ".TTF" || tail == ".TTC" || tail == ".OTF";
}

// Horizontal justification (group 72) of single-line text.
enum Justify { Left = 0, Centre = 1, Right = 2, Aligned = 3, Middle = 4, Fit = 5 };
// Vertical justification (group 73 of TEXT, 74 of attributes).
enum Vertical { Baseline = 0, Bottom = 1, Mid = 2, Top = 3 };

} // namespace

const TextStyleDef* Placer::text_style(std::string_view name) const
{
    const auto found = tables_.styles.find(name_key(name.empty() ? std::string_view("STANDARD") : name));
    return found == tables_.styles.end() ? nullptr : &found->second;
}

text::Font Placer::font_of(const TextStyleDef* style)
{
    if (style == nullptr)
        return text::Font::Simplex;
    return !style->trueTypeFace.empty() || ends_with_truetype(style->fontFile) ? text::Font::Sans : text::Font::Simplex;
}

text::StrokeSink Placer::text_sink(const Matrix& m, double z, const ShapeStyle& s)
{
    return [this, m, z, s](std::span<const text::Vec2> stroke) {
        Vec3 previous = m.apply(stroke[0].x, stroke[0].y, z);
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            const Vec3 next = m.apply(stroke[i].x, stroke[i].y, z);
            shapes_.line(previous, next, s);
            previous = next;
        }
    };
}

text::ArcSink Placer::text_arcs(const Matrix& m, double z, const ShapeStyle& s)
{
    // Circles of the text plane stay circles only where the plane's map
    // neither stretches one way nor shears.
    const Vec3 u = m.direction(1, 0, 0), v = m.direction(0, 1, 0);
    const double uu = dot(u, u), vv = dot(v, v);
    if (!(uu > 0) || std::abs(uu - vv) > 1e-9 * uu || std::abs(dot(u, v)) > 1e-9 * uu)
        return {};
    const double scale = std::sqrt(uu);
    // Arcs keep the control's degrees, which the painter turns back into
    // radians by the same factor.
    const double degrees = static_cast<double>(Ops::DegreesPerRadian);
    const Vec3 normal = unit(cross(u, v));
    if (u[2] == 0 && v[2] == 0 && normal[2] > 0) {
        // A plane of the top view, turned by `turn` about Z: the arcs' angles
        // are the text plane's, turned.
        const double turn = std::atan2(u[1], u[0]);
        auto angle = [degrees, turn](double a) {
            const double d = std::fmod((a + turn) * degrees, 360.0);
            return d < 0 ? d + 360.0 : d;
        };
        return [this, m, z, s, scale, angle](text::Vec2 centre, double radius, double start, double end) {
            shapes_.arc(m.apply(centre.x, centre.y, z), radius * scale, {1, 0, 0}, {0, 0, 1}, angle(start), angle(end),
                        false, s);
        };
    }
    const Vec3 xAxis = u * (1 / scale);
    return [this, m, z, s, scale, xAxis, normal, degrees](text::Vec2 centre, double radius, double start, double end) {
        shapes_.arc(m.apply(centre.x, centre.y, z), radius * scale, xAxis, normal, start * degrees, end * degrees,
                    false, s);
    };
}

bool Placer::text_entity(const Entity& e, const Context& c, const ShapeStyle& s)
{
    const bool attribute = e.kind != Kind::Text;
    const int flags = e.integer(70, 0);
    if (attribute && (flags & 1))
        return true; // an invisible attribute: read, nothing to draw
    // An attribute definition standing on its own shows its tag, as CAD
    // programs show it; one inside a block stands for a constant value.
    const bool tagShown = e.kind == Kind::Attdef && !(flags & 2);
    const std::string_view written = tagShown ? std::string_view(e.block) : e.text(1);
    if (written.empty())
        return true;
    const TextStyleDef* def = text_style(e.text(7));
    text::TextStyle style;
    style.font = font_of(def);
    style.height = e.number(40, def != nullptr && def->fixedHeight > 0 ? def->fixedHeight : 1.0);
    style.width_factor = e.number(41, def != nullptr ? def->widthFactor : 1.0);
    if (!(style.width_factor > 0))
        style.width_factor = 1;
    style.oblique_deg = e.number(51, def != nullptr ? def->obliqueDeg : 0.0);
    style.rotation_deg = e.number(50, 0);
    const int generation = e.integer(71, def != nullptr ? def->generation : 0);
    style.backwards = (generation & 2) != 0;
    style.upside_down = (generation & 4) != 0;

    const text::DecodedText decoded = text::decode_text_codes(written);
    const int justify = e.integer(72, 0);
    const int vertical = e.integer(attribute ? 74 : 73, 0);
    const Vec3 first = e.points.empty() ? Vec3{0, 0, 0} : e.points.front().p;
    const bool aligned = justify != Left || vertical != Baseline;
    Vec3 at = aligned && !e.second.empty() ? e.second.front() : first;
    text::Attachment attachment = text::Attachment::BottomLeft;

    if ((justify == Aligned || justify == Fit) && !e.second.empty()) {
        // Between the two points: the text's direction and length are theirs.
        const Vec3 along = e.second.front() - first;
        const double length = std::hypot(along[0], along[1]);
        const double advance = text::text_advance(style.font, decoded.chars, 1.0);
        if (length > 0 && advance > 0) {
            style.rotation_deg = std::atan2(along[1], along[0]) * kDegreesPerRadian;
            if (justify == Aligned)
                style.height = length / (advance * style.width_factor);
            else
                style.width_factor = length / (advance * style.height);
        }
        at = first;
    } else if (justify == Middle) {
        attachment = text::Attachment::MiddleCentre;
    } else {
        const int column = justify == Centre ? 1 : justify == Right ? 2 : 0;
        const int row = vertical == Top ? 0 : vertical == Mid ? 1 : 2;
        attachment = static_cast<text::Attachment>(row * 3 + column + 1);
        if (vertical == Bottom) {
            // The descenders' foot on the point: the baseline stands above it.
            const double rise = -text::font_metrics(style.font).descender * style.height;
            const double turn = style.rotation_deg / kDegreesPerRadian;
            const double up = style.upside_down ? -rise : rise;
            at = at + Vec3{-std::sin(turn) * up, std::cos(turn) * up, 0};
        }
    }
    if (!(style.height > 0) || !std::isfinite(style.height))
        return true;
    const Matrix plane = ocs_map(e, c);
    text::layout_text(decoded, style, {at[0], at[1]}, attachment, text_sink(plane, at[2], s),
                      text_arcs(plane, at[2], s));
    return true;
}

} // namespace orvex::formats::dxf::full
