// General notes (212) as stroke text. Every string carries its own box:
// the start point is the box's lower left corner, the box height is the
// capital height, and a box width stretches or narrows the letters so the
// string's advance fills it. The forms that stack strings (dual stacks,
// fractions, super- and subscripts) give each string its own start point, so
// every form is laid out string by string.
#include "formats/iges/iges_annotation.h"

#include "text/text_layout.h"
#include "text/utf8.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvex::formats::iges {

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
// Values a string takes in the record: NC, WT, HT, FC, SL, A, M, VH, XS, YS,
// ZS and the text.
constexpr std::size_t kStringFields = 12;
// Slants beyond this many degrees from upright are read as upright: they
// stand for empty fields or values in the wrong unit, not for lettering.
constexpr double kMaxOblique = 80.0;

struct NoteString {
    double width, height, slant, rotation;
    int mirror;
    bool vertical;
    double x, y, z;
    std::string text;
};

text::StrokeSink stroke_sink(const Matrix& m, double z, const ShapeStyle& s, WorldShapes& shapes)
{
    return [&m, z, s, &shapes](std::span<const text::Vec2> stroke) {
        Vec3 previous = m.apply(stroke[0].x, stroke[0].y, z);
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            const Vec3 next = m.apply(stroke[i].x, stroke[i].y, z);
            shapes.line(previous, next, s);
            previous = next;
        }
    };
}

// The oblique angle of a slant angle given in radians from the baseline
// (pi/2 upright).
double oblique_of(double slant)
{
    if (!(slant > 0 && slant < std::numbers::pi))
        return 0;
    const double oblique = 90.0 - slant * kDegreesPerRadian;
    return std::fabs(oblique) <= kMaxOblique ? oblique : 0.0;
}

// The characters of a note's text: UTF-8, or Latin-1 bytes where the text is
// no UTF-8 (the sign of degrees as the one byte B0, say).
text::DecodedText note_text(const std::string& bytes)
{
    text::DecodedText decoded = text::plain_text(bytes);
    if (decoded.chars.find(text::kReplacement) != std::u32string::npos &&
        bytes.find("\xEF\xBF\xBD") == std::string::npos) {
        decoded.chars.clear();
        for (const char c : bytes)
            decoded.chars.push_back(static_cast<unsigned char>(c));
        decoded.lines.clear();
    }
    return decoded;
}

bool add_string(const NoteString& s, const Matrix& m, const ShapeStyle& shapeStyle, WorldShapes& shapes)
{
    const text::DecodedText decoded = note_text(s.text);
    if (decoded.chars.empty() || !(s.height > 0) || !std::isfinite(s.height))
        return false;
    text::TextStyle style;
    style.height = s.height;
    style.oblique_deg = oblique_of(s.slant);
    style.rotation_deg = s.rotation * kDegreesPerRadian;
    // Mirror 1: about an axis across the baseline; 2: about the baseline.
    style.backwards = s.mirror == 1;
    style.upside_down = s.mirror == 2;
    const text::StrokeSink sink = stroke_sink(m, s.z, shapeStyle, shapes);

    if (s.vertical) {
        // Letters one under another, upright, down from the top of the box:
        // each has an equal cell of the box height, two thirds of it lettered.
        const double cell = s.height / static_cast<double>(decoded.chars.size());
        style.height = cell * 2 / 3;
        const double turn = style.rotation_deg / kDegreesPerRadian;
        const double across = s.width > 0 ? s.width / 2 : 0;
        for (std::size_t i = 0; i < decoded.chars.size(); ++i) {
            const double down = s.height - cell * static_cast<double>(i);
            const text::Vec2 at{s.x + across * std::cos(turn) - down * std::sin(turn),
                                s.y + across * std::sin(turn) + down * std::cos(turn)};
            text::DecodedText one;
            one.chars.assign(1, decoded.chars[i]);
            text::layout_text(one, style, at, s.width > 0 ? text::Attachment::TopCentre : text::Attachment::TopLeft,
                              sink);
        }
        return true;
    }
    const double advance = text::text_advance(style.font, decoded.chars, 1.0);
    if (s.width > 0 && advance > 0) {
        const double factor = s.width / (advance * s.height);
        if (std::isfinite(factor) && factor > 0)
            style.width_factor = factor;
    }
    text::layout_text(decoded, style, {s.x, s.y}, text::Attachment::BottomLeft, sink);
    return true;
}

} // namespace

bool add_note(const AnnotationEntity& e, WorldShapes& shapes)
{
    const std::vector<double>& v = e.values;
    if (v.empty() || !(v[0] >= 1))
        return false;
    // No more strings than the record has room for.
    const std::size_t count = static_cast<std::size_t>(std::min(v[0], static_cast<double>(v.size())));
    bool made = false;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t at = 1 + k * kStringFields;
        if (at + kStringFields > v.size())
            break;
        const int mirror = v[at + 6] == 1 ? 1 : v[at + 6] == 2 ? 2 : 0;
        NoteString s{v[at + 1],      v[at + 2], v[at + 4], v[at + 5],  mirror,
                     v[at + 7] == 1, v[at + 8], v[at + 9], v[at + 10], {}};
        if (at + 11 < e.texts.size())
            s.text = e.texts[at + 11];
        made = add_string(s, e.matrix, e.style, shapes) || made;
    }
    return made;
}

} // namespace orvex::formats::iges
