#include "text/stroke_font.h"

#include <algorithm>
#include <array>

namespace orvex::text {
namespace {

const table::Face& face(Font font) { return table::kFaces[static_cast<std::size_t>(font)]; }

const table::Glyph* search(const table::Face& f, char32_t code)
{
    const table::Glyph* end = f.glyphs + f.glyph_count;
    const table::Glyph* found =
        std::lower_bound(f.glyphs, end, code, [](const table::Glyph& g, char32_t c) { return g.code < c; });
    return found != end && found->code == code ? found : nullptr;
}

} // namespace

double units_per_height(Font font) { return face(font).cap_height; }

FontMetrics font_metrics(Font font)
{
    const table::Face& f = face(font);
    const double units = f.cap_height;
    const table::Glyph& capital = drawn_glyph(font, U'H');
    return {1.0, f.x_height / units, f.descender / units, capital.advance / units};
}

const table::Glyph* find_glyph(Font font, char32_t code)
{
    // Most drawing text is ASCII: its glyphs are looked up directly.
    using AsciiGlyphs = std::array<std::array<const table::Glyph*, 128>, table::kFaceCount>;
    static const AsciiGlyphs ascii = [] {
        AsciiGlyphs glyphs{};
        for (std::size_t f = 0; f < table::kFaceCount; ++f)
            for (char32_t c = 0; c < 128; ++c)
                glyphs[f][c] = search(table::kFaces[f], c);
        return glyphs;
    }();
    if (code < 128)
        return ascii[static_cast<std::size_t>(font)][code];
    return search(face(font), code);
}

const table::Glyph& drawn_glyph(Font font, char32_t code)
{
    const table::Glyph* glyph = find_glyph(font, code);
    return glyph ? *glyph : face(font).missing;
}

double text_advance(Font font, std::u32string_view text, double width_factor)
{
    double units = 0;
    for (char32_t code : text)
        units += drawn_glyph(font, code).advance;
    return units / units_per_height(font) * width_factor;
}

} // namespace orvex::text
