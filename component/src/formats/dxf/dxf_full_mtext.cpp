// Multi-line text of the full DXF import (MTEXT) as stroke elements: the
// string's inline codes resolved, its lines wrapped at the reference width
// and set by the attachment point in the plane of the text's direction.
#include "formats/dxf/dxf_full_place.h"

#include "formats/dxf/dxf_palette.h"
#include "text/mtext_layout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvex::formats::dxf::full {

namespace {

// The groups of an MTEXT that place it. After an embedded object (101),
// which describes columns, only the text's direction (its first group 10)
// is read: newer files may write it there alone.
struct MTextGroups {
    std::string text; // the chunks of group 3 in order, then group 1
    Vec3 insert{0, 0, 0};
    Vec3 direction{0, 0, 0};
    Vec3 embeddedDirection{0, 0, 0};
    double rotationDeg = 0;
    bool hasRotation = false;
    double height = 0;
    double width = 0;
    double spacing = 1;
    int spacingStyle = 1;
    int attachment = 1;
    std::string_view style;

    explicit MTextGroups(const Entity& e)
    {
        std::string_view last;
        bool embedded = false;
        for (const Group& g : e.groups) {
            if (embedded) {
                if (g.code == 10 || g.code == 20 || g.code == 30) {
                    embeddedDirection[static_cast<std::size_t>(g.code / 10 - 1)] = g.number;
                    if (g.code == 30)
                        break;
                }
                continue;
            }
            switch (g.code) {
            case 101:
                embedded = true;
                break;
            case 1:
                last = g.text;
                break;
            case 3:
                text += g.text;
                break;
            case 7:
                style = g.text;
                break;
            case 10:
            case 20:
            case 30:
                insert[static_cast<std::size_t>(g.code / 10 - 1)] = g.number;
                break;
            case 11:
            case 21:
            case 31:
                direction[static_cast<std::size_t>(g.code / 10 - 1)] = g.number;
                break;
            case 40:
                height = g.number;
                break;
            case 41:
                width = g.number;
                break;
            case 44:
                spacing = g.number;
                break;
            case 50:
                rotationDeg = g.number;
                hasRotation = true;
                break;
            case 71:
                attachment = whole_number(g.number);
                break;
            case 73:
                spacingStyle = whole_number(g.number);
                break;
            default:
                break;
            }
        }
        text += last;
    }
};

bool finite(const Vec3& v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

} // namespace

bool Placer::mtext(const Entity& e, const Context& c, const ShapeStyle& s)
{
    const MTextGroups g(e);
    if (g.text.empty())
        return true;
    const TextStyleDef* def = text_style(g.style);

    // The text plane: its X along group 11 (world) made square to the
    // extrusion, else along the rotation in the object coordinate system,
    // else along the world's X (as ezdxf reads a text that gives neither).
    const Vec3 normal = unit(finite(e.extrusion) && norm(e.extrusion) > 0 ? e.extrusion : Vec3{0, 0, 1});
    const Matrix ocs = ocs_to_world(normal);
    const double turn = std::isfinite(g.rotationDeg) ? g.rotationDeg * std::numbers::pi / 180.0 : 0.0;
    const Vec3 turned = ocs.direction(std::cos(turn), std::sin(turn), 0);
    Vec3 xAxis{0, 0, 0};
    for (const Vec3& direction : {g.direction, g.embeddedDirection, g.hasRotation ? turned : Vec3{1, 0, 0}, turned})
        if (!(norm(xAxis) > 0.5) && finite(direction))
            xAxis = unit(direction - normal * dot(direction, normal));
    if (!finite(g.insert))
        return true;
    const Matrix m = c.toWorld.after(Matrix::from_axes(xAxis, cross(normal, xAxis), normal, g.insert));

    text::MTextFormat initial;
    initial.height = g.height > 0 ? g.height : def != nullptr && def->fixedHeight > 0 ? def->fixedHeight : 2.5;
    initial.font = font_of(def);
    if (def != nullptr) {
        initial.width_factor = def->widthFactor > 0 ? def->widthFactor : 1.0;
        initial.oblique_deg = std::isfinite(def->obliqueDeg) ? std::clamp(def->obliqueDeg, -85.0, 85.0) : 0.0;
    }
    if (!std::isfinite(initial.height))
        return true;
    const text::MTextContent content = text::parse_mtext(g.text, initial);

    text::MTextBlock block;
    block.height = initial.height;
    block.width = g.width;
    block.line_spacing = g.spacing;
    block.exact_spacing = g.spacingStyle == 2;
    block.attachment = g.attachment >= 1 && g.attachment <= 9 ? static_cast<text::Attachment>(g.attachment)
                                                              : text::Attachment::TopLeft;
    text::layout_mtext(content, block, [&](std::span<const text::Vec2> stroke, text::MTextColour colour) {
        ShapeStyle own = s;
        if (colour.kind == text::MTextColour::Index)
            own.Colour = aci(static_cast<int>(colour.value));
        else if (colour.kind == text::MTextColour::Rgb)
            own.Colour = colour_of_rgb(colour.value);
        Vec3 previous = m.apply(stroke[0].x, stroke[0].y, 0);
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            const Vec3 next = m.apply(stroke[i].x, stroke[i].y, 0);
            shapes_.line(previous, next, own);
            previous = next;
        }
    });
    return true;
}

} // namespace orvex::formats::dxf::full
