#include "text/text_layout.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace orvex::text {
namespace {

// Underlines lie this many text heights below the baseline, overlines as far
// above the capital height.
constexpr double kLineGap = 0.2;

// Cosine and sine of an angle in degrees, exact at the quarter turns that
// drawings use most.
void turn(double degrees, double& c, double& s)
{
    const double reduced = std::fmod(degrees, 360.0);
    const double quarter = reduced / 90.0;
    if (quarter == std::floor(quarter)) {
        static constexpr double kCos[] = {1, 0, -1, 0};
        const auto k = static_cast<std::size_t>((static_cast<int>(quarter) + 4) % 4);
        c = kCos[k];
        s = kCos[(k + 3) % 4];
        return;
    }
    const double radians = reduced * std::numbers::pi / 180.0;
    c = std::cos(radians);
    s = std::sin(radians);
}

// Maps text units (along the text from its left end, up from the baseline)
// and glyph points (font units) into the text plane.
class Placement {
public:
    Placement(const TextStyle& style, double advance, Vec2 insert, Attachment attachment) : insert_(insert)
    {
        scale_y_ = style.height / units_per_height(style.font);
        scale_x_ = scale_y_ * style.width_factor;
        slant_ = std::tan(style.oblique_deg * std::numbers::pi / 180.0);
        const int index = static_cast<int>(attachment) - 1;
        width_ = advance * style.height;
        ax_ = width_ * (index % 3) / 2.0;
        ay_ = style.height * (2 - index / 3) / 2.0;
        sx_ = style.backwards ? -1.0 : 1.0;
        sy_ = style.upside_down ? -1.0 : 1.0;
        turn(style.rotation_deg, cos_, sin_);
        turn_ = std::fmod(style.rotation_deg, 360.0) * std::numbers::pi / 180.0;
    }

    double width() const { return width_; }

    Vec2 at(double u, double v) const
    {
        u = (u - ax_) * sx_;
        v = (v - ay_) * sy_;
        return {insert_.x + u * cos_ - v * sin_, insert_.y + u * sin_ + v * cos_};
    }

    // A glyph point (font units) of the glyph whose left edge is pen units
    // along the text; strokes slant about the baseline.
    Vec2 glyph_point(double pen, double x, double y) const
    {
        const double v = y * scale_y_;
        return at((pen + x) * scale_x_ + v * slant_, v);
    }

    double units_to_text(double units) const { return units * scale_x_; }

    // A glyph's arc in the text plane, counterclockwise, as the sink takes
    // it: centre, radius and end angles mirrored and turned with the text.
    // Only for texts whose circles stay round (width factor 1, upright).
    void arc(double pen, const table::Arc& a, const ArcSink& sink) const
    {
        double start = mirrored(a.start) + turn_, end = mirrored(a.end) + turn_;
        if (a.counterclockwise == (sx_ * sy_ < 0))
            std::swap(start, end); // a clockwise arc runs counterclockwise from its end
        sink(glyph_point(pen, a.cx, a.cy), a.radius * scale_y_, start, end);
    }

private:
    Vec2 insert_;
    double scale_x_ = 0, scale_y_ = 0, slant_ = 0;
    double width_ = 0, ax_ = 0, ay_ = 0, sx_ = 1, sy_ = 1;
    double cos_ = 1, sin_ = 0, turn_ = 0;

    // The angle of a glyph's direction after the text's mirroring.
    double mirrored(double angle) const
    {
        if (sx_ < 0 && sy_ < 0)
            return angle + std::numbers::pi;
        if (sx_ < 0)
            return std::numbers::pi - angle;
        return sy_ < 0 ? -angle : angle;
    }
};

// Draws a glyph's strokes; with arcs given (null otherwise), each of the
// glyph's round runs goes there as one arc instead of its points.
void draw_glyph(const table::Glyph& glyph, double pen, const Placement& place, std::vector<Vec2>& stroke,
                const StrokeSink& sink, const ArcSink* arcs)
{
    auto flush = [&] {
        if (stroke.size() >= 2)
            sink(stroke);
        stroke.clear();
    };
    const table::Arc* arc = arcs != nullptr ? table::kArcs + glyph.arcs : nullptr;
    const table::Arc* lastArc = arcs != nullptr ? arc + glyph.arc_count : nullptr;
    stroke.clear();
    for (std::uint32_t k = glyph.first; k < glyph.first + glyph.count; ++k) {
        const table::Point p = table::kPoints[k];
        if (p.x == table::kPenUp) {
            flush();
            continue;
        }
        stroke.push_back(place.glyph_point(pen, p.x, p.y));
        for (; arc != lastArc && arc->first == k; ++arc) {
            flush(); // the straight part up to the arc's start
            place.arc(pen, *arc, *arcs);
            const table::Point end = table::kPoints[arc->last];
            stroke.push_back(place.glyph_point(pen, end.x, end.y));
            k = arc->last;
        }
    }
    flush();
}

// One line along the characters [begin, end) of the text, at v text units
// from the baseline, upright whatever the oblique angle; pens holds each
// character's left edge in font units.
void draw_line(const std::vector<double>& pens, std::size_t begin, std::size_t end, double v, const Placement& place,
               const StrokeSink& sink)
{
    const Vec2 ends[2] = {place.at(place.units_to_text(pens[begin]), v), place.at(place.units_to_text(pens[end]), v)};
    sink(ends);
}

bool finite(const TextStyle& style, Vec2 insert)
{
    return std::isfinite(style.height) && style.height > 0 && std::isfinite(style.width_factor) &&
           std::isfinite(style.oblique_deg) && std::isfinite(style.rotation_deg) && std::isfinite(insert.x) &&
           std::isfinite(insert.y);
}

} // namespace

TextBox layout_text(const DecodedText& text, const TextStyle& style, Vec2 insert, Attachment attachment,
                    const StrokeSink& sink, const ArcSink& arcs)
{
    if (!finite(style, insert))
        return {insert, insert, insert, insert};
    // Left edge of every character in font units, and the end of the last.
    std::vector<double> pens(text.chars.size() + 1, 0.0);
    for (std::size_t i = 0; i < text.chars.size(); ++i)
        pens[i + 1] = pens[i] + drawn_glyph(style.font, text.chars[i]).advance;
    const double advance = pens.back() / units_per_height(style.font) * style.width_factor;
    const Placement place(style, advance, insert, attachment);

    // A stretched or slanted text turns circles into ellipses: only lines then.
    const bool round = arcs && style.width_factor == 1 && style.oblique_deg == 0;
    std::vector<Vec2> stroke;
    for (std::size_t i = 0; i < text.chars.size(); ++i)
        draw_glyph(drawn_glyph(style.font, text.chars[i]), pens[i], place, stroke, sink, round ? &arcs : nullptr);

    for (const auto& [mark, v] : {std::pair{kUnderline, -kLineGap}, std::pair{kOverline, 1.0 + kLineGap}}) {
        for (std::size_t i = 0; i < text.chars.size();) {
            if (i >= text.lines.size() || !(text.lines[i] & mark)) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < text.chars.size() && end < text.lines.size() && (text.lines[end] & mark))
                ++end;
            draw_line(pens, i, end, v * style.height, place, sink);
            i = end;
        }
    }
    return {place.at(0, 0), place.at(place.width(), 0), place.at(place.width(), style.height),
            place.at(0, style.height)};
}

TextBox layout_text(std::string_view utf8, const TextStyle& style, Vec2 insert, Attachment attachment,
                    const StrokeSink& sink)
{
    return layout_text(plain_text(utf8), style, insert, attachment, sink);
}

} // namespace orvex::text
