// Drawing text as strokes: the font tables and their metrics, the layout's
// attachment points, rotation, slant and mirrors, the missing-glyph box, the
// TEXT control codes and UTF-8.
#include "text/text_layout.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

using namespace orvex::text;

namespace {

using Strokes = std::vector<std::vector<Vec2>>;
constexpr double kEps = 1e-9;
constexpr Font kFonts[] = {Font::Simplex, Font::Sans};

Strokes draw(const DecodedText& text, const TextStyle& style, Vec2 insert = {}, Attachment at = Attachment::BottomLeft,
             TextBox* box = nullptr)
{
    Strokes out;
    const TextBox b =
        layout_text(text, style, insert, at, [&](auto line) { out.emplace_back(line.begin(), line.end()); });
    if (box)
        *box = b;
    return out;
}
Strokes draw(std::string_view utf8, const TextStyle& style, Vec2 insert = {}, Attachment at = Attachment::BottomLeft,
             TextBox* box = nullptr)
{
    return draw(plain_text(utf8), style, insert, at, box);
}

struct Bounds {
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
};
Bounds ink(const Strokes& strokes)
{
    Bounds b;
    for (const auto& s : strokes)
        for (Vec2 p : s)
            b = {std::min(b.x0, p.x), std::min(b.y0, p.y), std::max(b.x1, p.x), std::max(b.y1, p.y)};
    return b;
}

// Every point of got is map(point) of the same point of want.
template <class Map>
void expect_mapped(const Strokes& got, const Strokes& want, Map map)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].size(), want[i].size());
        for (std::size_t k = 0; k < got[i].size(); ++k) {
            const Vec2 m = map(want[i][k]);
            EXPECT_NEAR(got[i][k].x, m.x, kEps);
            EXPECT_NEAR(got[i][k].y, m.y, kEps);
        }
    }
}

std::vector<table::Point> points(const table::Glyph& g)
{
    return {table::kPoints + g.first, table::kPoints + g.first + g.count};
}

} // namespace

TEST(StrokeFont, CapitalHIsExactlyTheTextHeightAndAdvancesSumTimesWidthFactor)
{
    for (Font font : kFonts) {
        const auto& H = drawn_glyph(font, U'H');
        int top = -1000;
        for (table::Point p : points(H))
            top = p.x == table::kPenUp ? top : std::max<int>(top, p.y);
        EXPECT_EQ(top, units_per_height(font));
        for (double height : {1.0, 2.5, 0.35}) {
            const Bounds b = ink(draw("H", {.height = height, .font = font}));
            EXPECT_NEAR(b.y0, 0.0, kEps);
            EXPECT_NEAR(b.y1, height, kEps);
        }
        const std::u32string text = U"Hello, World 42";
        double units = 0;
        for (char32_t c : text)
            units += drawn_glyph(font, c).advance;
        const Bounds unstretched = ink(draw("Hello, World 42", {.height = 3, .font = font}));
        for (double factor : {1.0, 0.75, 2.0}) {
            EXPECT_NEAR(text_advance(font, text, factor), units / units_per_height(font) * factor, kEps);
            TextBox box;
            const Bounds b = ink(draw("Hello, World 42", {.height = 3, .width_factor = factor, .font = font}, {},
                                      Attachment::BottomLeft, &box));
            EXPECT_NEAR(box[1].x - box[0].x, 3 * text_advance(font, text, factor), kEps);
            EXPECT_NEAR(b.x0, factor * unstretched.x0, kEps); // strokes stretch with the advances
            EXPECT_NEAR(b.x1, factor * unstretched.x1, kEps);
            EXPECT_NEAR(b.y0, unstretched.y0, kEps); // and only in the text's direction
            EXPECT_NEAR(b.y1, unstretched.y1, kEps);
        }
        EXPECT_NEAR(font_metrics(font).capital_advance, H.advance / units_per_height(font), kEps);
    }
}

TEST(StrokeFont, CoversGreekCyrillicLatin1LettersAndDrawingSigns)
{
    std::u32string wanted = U"°±·×÷µ⌀ØøЁёÇç";
    for (char32_t c = 0x20; c < 0x7F; ++c)
        wanted += c;
    for (char32_t c = 0x391; c <= 0x3C9; ++c)
        if (c != 0x3A2 && (c <= 0x3A9 || c >= 0x3B1))
            wanted += c;
    for (char32_t c = 0x410; c <= 0x44F; ++c)
        wanted += c;
    for (char32_t c : std::u32string_view(U"ÀÁÂÃÄÅÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝàáâãäåèéêëìíîïñòóôõöùúûüýÿ"))
        wanted += c;
    for (Font font : kFonts)
        for (char32_t c : wanted)
            EXPECT_NE(find_glyph(font, c), nullptr) << std::hex << static_cast<unsigned>(c);
}

TEST(StrokeFont, AccentedLettersAreTheBaseLetterWithAMarkAboveOrBelow)
{
    struct Row {
        char32_t accented, base;
        bool above;
    };
    for (Row r : {Row{U'é', U'e', true},
                  {U'Ñ', U'N', true},
                  {U'Å', U'A', true},
                  {U'Ç', U'C', false},
                  {U'Ё', U'Е', true},
                  {U'Й', U'И', true}}) {
        const auto whole = points(drawn_glyph(Font::Simplex, r.accented));
        const auto base = points(drawn_glyph(Font::Simplex, r.base));
        ASSERT_GT(whole.size(), base.size() + 1);
        int base_top = -1000, base_foot = 1000;
        for (table::Point p : base)
            if (p.x != table::kPenUp)
                base_top = std::max<int>(base_top, p.y), base_foot = std::min<int>(base_foot, p.y);
        for (std::size_t k = 0; k < whole.size(); ++k) {
            if (k < base.size()) {
                EXPECT_EQ(whole[k].x, base[k].x);
                EXPECT_EQ(whole[k].y, base[k].y);
            } else if (whole[k].x != table::kPenUp) {
                EXPECT_TRUE(r.above ? whole[k].y > base_top : whole[k].y <= base_foot)
                    << static_cast<unsigned>(r.accented);
            }
        }
    }
    expect_mapped(draw("⌀", {}), draw("Ø", {}), [](Vec2 p) { return p; });
}

TEST(StrokeFont, MissingGlyphIsACapitalHighBoxWithACapitalsAdvance)
{
    for (Font font : kFonts) {
        ASSERT_EQ(find_glyph(font, U'中'), nullptr);
        TextBox box;
        const Strokes strokes = draw("中", {.height = 2, .font = font}, {}, Attachment::BottomLeft, &box);
        ASSERT_EQ(strokes.size(), 1u);
        ASSERT_EQ(strokes[0].size(), 5u);
        EXPECT_NEAR(strokes[0].front().x, strokes[0].back().x, kEps);
        EXPECT_NEAR(strokes[0].front().y, strokes[0].back().y, kEps);
        const Bounds b = ink(strokes);
        const Bounds h = ink(draw("H", {.height = 2, .font = font}));
        EXPECT_NEAR(b.x0, h.x0, kEps);
        EXPECT_NEAR(b.x1, h.x1, kEps);
        EXPECT_NEAR(b.y0, 0, kEps);
        EXPECT_NEAR(b.y1, 2, kEps);
        EXPECT_NEAR(box[1].x, 2 * font_metrics(font).capital_advance, kEps);
    }
}

TEST(TextLayout, AttachmentPointsAndRotationPlaceTheBoxAndTurnTheStrokes)
{
    struct Row {
        Attachment at;
        double fx, fy, rotation;
    };
    const Row rows[] = {
        {Attachment::TopLeft, 0, 1, 0},           {Attachment::TopCentre, 0.5, 1, 0},
        {Attachment::TopRight, 1, 1, 0},          {Attachment::MiddleLeft, 0, 0.5, 0},
        {Attachment::MiddleCentre, 0.5, 0.5, 0},  {Attachment::MiddleRight, 1, 0.5, 0},
        {Attachment::BottomLeft, 0, 0, 0},        {Attachment::BottomCentre, 0.5, 0, 0},
        {Attachment::BottomRight, 1, 0, 0},       {Attachment::BottomLeft, 0, 0, 90},
        {Attachment::MiddleCentre, 0.5, 0.5, 30}, {Attachment::TopRight, 1, 1, -135},
    };
    const Vec2 insert{10, -4};
    const TextStyle upright{.height = 2.5, .width_factor = 0.8};
    const Strokes reference = draw("AxgÖ%", upright);
    const double w = 2.5 * text_advance(Font::Simplex, U"AxgÖ%", 0.8), h = 2.5;
    for (const Row& r : rows) {
        TextStyle style = upright;
        style.rotation_deg = r.rotation;
        const double c = std::cos(r.rotation * std::numbers::pi / 180),
                     s = std::sin(r.rotation * std::numbers::pi / 180);
        auto place = [&](Vec2 p) {
            const double u = p.x - r.fx * w, v = p.y - r.fy * h;
            return Vec2{insert.x + u * c - v * s, insert.y + u * s + v * c};
        };
        TextBox box;
        const Strokes got = draw("AxgÖ%", style, insert, r.at, &box);
        const Vec2 corners[4] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(box[k].x, place(corners[k]).x, kEps) << static_cast<int>(r.at) << " corner " << k;
            EXPECT_NEAR(box[k].y, place(corners[k]).y, kEps) << static_cast<int>(r.at) << " corner " << k;
        }
        expect_mapped(got, reference, place);
    }
}

TEST(TextLayout, SlantAndMirrorsMapTheUprightStrokesAboutTheInsertionPoint)
{
    struct Row {
        double oblique;
        bool backwards, upside_down;
        Attachment at;
        double baseline; // text heights from the attachment point down to the baseline
    };
    const Vec2 insert{3, 1};
    const double height = 1.5;
    for (Row r : {Row{15, false, false, Attachment::BottomLeft, 0},
                  {0, true, false, Attachment::BottomRight, 0},
                  {0, false, true, Attachment::TopLeft, 1},
                  {-10, true, true, Attachment::MiddleCentre, 0.5}}) {
        const Strokes upright = draw("Slant 7", {.height = height}, insert, r.at);
        const Strokes got =
            draw("Slant 7",
                 {.height = height, .oblique_deg = r.oblique, .backwards = r.backwards, .upside_down = r.upside_down},
                 insert, r.at);
        const double t = std::tan(r.oblique * std::numbers::pi / 180);
        expect_mapped(got, upright, [&](Vec2 p) {
            double u = p.x - insert.x, v = p.y - insert.y;
            u += (v + r.baseline * height) * t; // slanted about the baseline, before mirroring
            return Vec2{insert.x + (r.backwards ? -u : u), insert.y + (r.upside_down ? -v : v)};
        });
    }
}

TEST(StrokeFont, ArcsRunThroughTheirStrokesPointsWithinHalfAFontUnit)
{
    ASSERT_GT(table::kArcCount, 100u);
    for (std::size_t i = 0; i < table::kArcCount; ++i) {
        const table::Arc& a = table::kArcs[i];
        ASSERT_LT(a.first + 1, a.last) << i; // at least two of the stroke's lines
        for (std::uint32_t k = a.first; k <= a.last; ++k) {
            const table::Point p = table::kPoints[k];
            ASSERT_NE(p.x, table::kPenUp) << i;
            const double off = std::hypot(p.x - a.cx, p.y - a.cy) - a.radius;
            EXPECT_LE(std::abs(off), k == a.first || k == a.last ? kEps : 0.5) << i;
        }
        const table::Point from = table::kPoints[a.first], to = table::kPoints[a.last];
        EXPECT_NEAR(std::atan2(from.y - a.cy, from.x - a.cx), a.start, kEps) << i;
        EXPECT_NEAR(std::atan2(to.y - a.cy, to.x - a.cx), a.end, kEps) << i;
    }
}

TEST(TextLayout, RoundStrokesGoToArcsThatFollowThePlainStrokes)
{
    struct Arc {
        Vec2 c;
        double r, start, sweep;
        Vec2 at(double t) const
        {
            return {c.x + r * std::cos(start + t * sweep), c.y + r * std::sin(start + t * sweep)};
        }
    };
    auto segment_distance = [](Vec2 p, Vec2 a, Vec2 b) {
        const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
        return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
    };
    auto strokes_distance = [&](Vec2 p, const Strokes& strokes) {
        double best = INFINITY;
        for (const auto& s : strokes)
            for (std::size_t k = 1; k < s.size(); ++k)
                best = std::min(best, segment_distance(p, s[k - 1], s[k]));
        return best;
    };
    const std::string text = "Og8S@&e 3";
    // The fit holds its points and its chords' middles within half a font
    // unit of the arc; between them the arc strays a little further.
    const double height = 2.5, tolerance = 0.55 * height / units_per_height(Font::Simplex);
    for (const TextStyle& style :
         {TextStyle{.height = height}, TextStyle{.height = height, .rotation_deg = 30},
          TextStyle{.height = height, .rotation_deg = -135, .backwards = true},
          TextStyle{.height = height, .upside_down = true},
          TextStyle{.height = height, .rotation_deg = 90, .backwards = true, .upside_down = true},
          TextStyle{.height = height, .font = Font::Sans}, TextStyle{.height = height, .width_factor = 2},
          TextStyle{.height = height, .oblique_deg = 15}}) {
        SCOPED_TRACE(testing::Message() << style.rotation_deg << " " << style.backwards << style.upside_down
                                        << " factor " << style.width_factor << " oblique " << style.oblique_deg);
        const Strokes plain = draw(text, style, {4, -2}, Attachment::MiddleCentre);
        Strokes straight;
        std::vector<Arc> arcs;
        layout_text(
            plain_text(text), style, {4, -2}, Attachment::MiddleCentre,
            [&](auto line) { straight.emplace_back(line.begin(), line.end()); },
            [&](Vec2 c, double r, double start, double end) {
                double sweep = std::remainder(end - start, 2 * std::numbers::pi);
                arcs.push_back({c, r, start, sweep <= 0 ? sweep + 2 * std::numbers::pi : sweep});
            });
        if (style.width_factor != 1 || style.oblique_deg != 0) {
            EXPECT_TRUE(arcs.empty()); // circles would not stay round
            expect_mapped(straight, plain, [](Vec2 p) { return p; });
            continue;
        }
        std::size_t plainLines = 0, lines = arcs.size();
        for (const auto& s : plain)
            plainLines += s.size() - 1;
        for (const auto& s : straight)
            lines += s.size() - 1;
        EXPECT_LT(2 * lines, plainLines);
        // Arcs and the straight rest follow the plain strokes, and so join
        // where they do; every plain point lies on what is drawn instead.
        for (const Arc& a : arcs)
            for (int k = 0; k <= 32; ++k)
                EXPECT_LE(strokes_distance(a.at(k / 32.0), plain), k == 0 || k == 32 ? kEps : tolerance);
        for (const auto& s : straight)
            for (Vec2 p : s)
                EXPECT_LE(strokes_distance(p, plain), kEps);
        for (const auto& s : plain)
            for (Vec2 p : s) {
                double best = strokes_distance(p, straight);
                for (const Arc& a : arcs)
                    for (int k = 0; k <= 64; ++k)
                        best = std::min(best, std::hypot(p.x - a.at(k / 64.0).x, p.y - a.at(k / 64.0).y));
                EXPECT_LE(best, tolerance + 0.05 * height) << p.x << " " << p.y;
            }
    }
}

TEST(TextLayout, UnderlineAndOverlineSpanTheMarkedAdvanceAndBadStylesDrawNothing)
{
    const DecodedText text = decode_text_codes("a%%uBC%%u%%oD");
    const Strokes plain = draw(DecodedText{text.chars, {}}, {.height = 2});
    const Strokes lined = draw(text, {.height = 2});
    ASSERT_EQ(lined.size(), plain.size() + 2);
    const double a = 2 * text_advance(Font::Simplex, U"a"), abc = 2 * text_advance(Font::Simplex, U"aBC");
    const double all = 2 * text_advance(Font::Simplex, U"aBCD");
    const std::vector<Vec2> under{{a, -0.4}, {abc, -0.4}}, over{{abc, 2.4}, {all, 2.4}};
    expect_mapped(Strokes(lined.end() - 2, lined.end()), Strokes{under, over}, [](Vec2 p) { return p; });

    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (TextStyle bad : {TextStyle{.height = 0}, TextStyle{.height = -1}, TextStyle{.height = nan},
                          TextStyle{.width_factor = INFINITY}, TextStyle{.rotation_deg = nan}})
        EXPECT_TRUE(draw("X", bad, {1, 2}).empty());
    EXPECT_TRUE(draw("X", {}, {nan, 0}).empty());
}

TEST(TextCodes, ResolveToCharactersAndLineMarks)
{
    struct Row {
        const char* in;
        std::u32string chars;
        std::vector<std::uint8_t> lines; // empty: all 0
    };
    const Row rows[] = {
        {"%%c25", U"⌀25", {}},
        {"90%%d %%C%%D%%P", U"90° ⌀°±", {}},
        {"%%p0.1", U"±0.1", {}},
        {"100%%%", U"100%", {}},
        {"%%065%%1", U"A%%1", {}},
        {"50% %%x %%", U"50% %%x %%", {}},
        {"\\U+03A9=\\U+03a9 \\U+3G9 \\U+12", U"Ω=Ω \\U+3G9 \\U+12", {}},
        {"a%%ub%%uc", U"abc", {0, 1, 0}},
        {"%%o%%uX%%OY", U"XY", {3, 1}},
        {"Ø %%c", U"Ø ⌀", {}},
    };
    for (const Row& r : rows) {
        const DecodedText got = decode_text_codes(r.in);
        EXPECT_EQ(got.chars, r.chars) << r.in;
        EXPECT_EQ(got.lines, r.lines.empty() ? std::vector<std::uint8_t>(r.chars.size()) : r.lines) << r.in;
    }
}

TEST(TextUtf8, DecodesGreekCyrillicAndReplacesEachBadByte)
{
    const char32_t bad = kReplacement;
    const std::pair<std::string, std::u32string> rows[] = {
        {"Ωμέγα", U"Ωμέγα"},
        {"Привет, Ёж", U"Привет, Ёж"},
        {"€😀", U"€😀"},
        {"a\x80z", {U'a', bad, U'z'}},
        {"\xC3", {bad}},
        {"\xC0\xAF", {bad, bad}},
        {"\xE2\x82", {bad, bad}},
        {"\xED\xA0\x80", {bad, bad, bad}},
        {"\xF4\x90\x80\x80", {bad, bad, bad, bad}},
        {"\xFF\xCE\xA9", {bad, U'Ω'}},
    };
    for (const auto& [in, want] : rows)
        EXPECT_EQ(decode_utf8(in), want);
}
