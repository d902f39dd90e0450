// Multi-line text: the inline codes and the formats they leave in force,
// word wrapping at the reference width, line spacing, stacked fractions,
// text lines and the block's attachment points.
#include "text/mtext_layout.h"
#include "text/mtext_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace orvex::text;

namespace {

constexpr double kEps = 1e-9;

// The items as text: glyphs as themselves, wrapping spaces '_', tabs '\t',
// breaks '\n', stacks as [top?bottom] with their stacking sign.
std::u32string shown(const MTextContent& c)
{
    std::u32string out;
    for (const MTextItem& item : c.items) {
        switch (item.kind) {
        case MTextItem::Glyph:
            out += item.code;
            break;
        case MTextItem::Space:
            out += U'_';
            break;
        case MTextItem::Tab:
            out += U'\t';
            break;
        case MTextItem::Break:
            out += U'\n';
            break;
        case MTextItem::Stack: {
            const MTextStack& s = c.stacks.at(item.code);
            out += U"[" + s.top + s.type + s.bottom + U"]";
            break;
        }
        }
    }
    return out;
}

struct Stroke {
    std::vector<Vec2> points;
    MTextColour colour;
};

std::vector<Stroke> draw(std::string_view text, const MTextBlock& block, MTextPlaced* placed = nullptr,
                         MTextFormat initial = {})
{
    initial.height = block.height;
    std::vector<Stroke> out;
    const MTextPlaced p = layout_mtext(parse_mtext(text, initial), block, [&](auto line, MTextColour colour) {
        out.push_back({{line.begin(), line.end()}, colour});
    });
    if (placed)
        *placed = p;
    return out;
}

struct Bounds {
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
};
Bounds ink(const std::vector<Stroke>& strokes, MTextColour only)
{
    Bounds b;
    for (const Stroke& s : strokes)
        if (s.colour == only)
            for (Vec2 p : s.points)
                b = {std::min(b.x0, p.x), std::min(b.y0, p.y), std::max(b.x1, p.x), std::max(b.y1, p.y)};
    return b;
}

double advance(std::u32string_view s, double height = 1) { return text_advance(Font::Simplex, s) * height; }

} // namespace

TEST(MTextCodes, ResolveToItems)
{
    struct Row {
        const char* in;
        std::u32string out;
    };
    const Row rows[] = {
        {"a\\Pb\\Xc\\Nd", U"a\nb\nc\nd"},
        {"a b\\~c", U"a_b c"},
        {"\\\\\\{\\}", U"\\{}"},
        {"%%c%%D%%p%%%%%z", U"\u2300\u00B0\u00B1%%%z"},
        {"a^Ib^Jc^Md^ e", U"a\tb\ncd^e"},
        {"\\U+00B0\\U+zz", U"\u00B0\\U+zz"},
        {"\\M+C8140z\\M", U"z\\M"},
        {"\\Sa^b;\\S1#2;\\S1/2\\/3;", U"[a^b][1#2][1/2/3]"},
        {"\\S1\\/2;x", U"1/2x"},
        {"\\pxqc,i-1;t\\pi2", U"t"},
        {"{\\H2;\\fArial|b1;\\C3;\\L\\O\\K\\A1;\\Q9;\\T2;\\W2;}x", U"x"},
        {"}}x{\\Zq\\", U"x\\Zq\\"},
        {"\\H;a\\Hb", U"ab"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(shown(parse_mtext(r.in, {})), r.out) << r.in;
}

TEST(MTextCodes, FormatInForceAtTheLastCharacter)
{
    struct Row {
        const char* in;
        void (*want)(MTextFormat&); // the change from the initial format
    };
    const Row rows[] = {
        {"{\\H3;a}b", [](MTextFormat&) {}},
        {"\\H0.5x;\\H3x;b", [](MTextFormat& f) { f.height = 1.5; }},
        {"\\H4;\\H-2;\\H0;b", [](MTextFormat& f) { f.height = 2; }},
        {"\\W0.8;\\Q15;\\T2;b", [](MTextFormat& f) { f.width_factor = 0.8, f.oblique_deg = 15, f.tracking = 2; }},
        {"\\C1;b",
         [](MTextFormat& f) {
             f.colour = {MTextColour::Index, 1};
         }},
        {"\\C1;{\\c255;}\\C256;b", [](MTextFormat&) {}},
        {"\\c16711935;b",
         [](MTextFormat& f) {
             f.colour = {MTextColour::Rgb, 0xFF00FF};
         }},
        {"\\c255;b",
         [](MTextFormat& f) {
             f.colour = {MTextColour::Rgb, 0xFF0000};
         }},
        {"\\L\\O\\K\\ob", [](MTextFormat& f) { f.marks = kMTextUnderline | kMTextStrike; }},
        {"{\\L\\O}\\A2;b", [](MTextFormat& f) { f.align = MTextAlign::Top; }},
        {"\\fArial|b1|i0;b", [](MTextFormat& f) { f.font = Font::Sans; }},
        {"\\Fisocp.ttf;\\Fromans.shx;b", [](MTextFormat&) {}},
        {"\\Fgothic.TTF;b", [](MTextFormat& f) { f.font = Font::Sans; }},
        {"\\fArial|b1;\\Ftxt|c0;b", [](MTextFormat&) {}},
    };
    for (const Row& r : rows) {
        const MTextContent c = parse_mtext(r.in, {});
        MTextFormat want;
        r.want(want);
        ASSERT_FALSE(c.items.empty()) << r.in;
        EXPECT_EQ(c.formats.at(c.items.back().format), want) << r.in;
    }
}

TEST(MTextLines, WordsWrapAtTheReferenceWidth)
{
    struct Row {
        const char* in;
        std::u32string width_of; // the width is this text's advance; empty: no wrapping
        std::vector<std::u32string> lines;
    };
    const Row rows[] = {
        {"nnn nn nnnn nn", U"", {U"nnn_nn_nnnn_nn"}},
        {"nnn nn nnnn nn", U"nnn nn", {U"nnn_nn", U"nnnn", U"nn"}},
        {"nn nnnnnnnn nn", U"nnn", {U"nn", U"nnnnnnnn", U"nn"}},
        {"nn\\Pnn nn", U"nn n", {U"nn", U"nn", U"nn"}},
        {"nn\\~nn", U"nn", {U"nn nn"}},
        {"  nn   nnn", U"  nn", {U"__nn", U"nnn"}},
        {"nn\\P    nnn", U"nnn", {U"nn", U"nnn"}},
        {"nn{\\C1;nn} nn", U"nnnn", {U"nnnn", U"nn"}},
        {"nn\\S1/2; nn", U"nnn", {U"nn[1/2]", U"nn"}},
        {"nn\\P", U"", {U"nn"}},
        {"\\P\\Pnn", U"", {U"", U"", U"nn"}},
    };
    for (const Row& r : rows) {
        const MTextContent c = parse_mtext(r.in, {});
        const double width = r.width_of.empty() ? 0 : advance(r.width_of) * (1 + 1e-12);
        const MTextLines broken = break_mtext_lines(c, width, 1);
        std::vector<std::u32string> got;
        for (const MTextLine& line : broken.lines) {
            MTextContent part = c;
            part.items.assign(c.items.begin() + line.begin, c.items.begin() + line.end);
            got.push_back(shown(part));
        }
        EXPECT_EQ(got, r.lines) << r.in;
    }
}

TEST(MTextLayout, LineSpacingFollowsTheTallestCharacterTheFactorAndTheStyle)
{
    struct Row {
        const char* in;
        double factor;
        bool exact;
        double bottom; // the last baseline below the top of the block
    };
    const Row rows[] = {
        {"n", 1, false, -2},
        {"n\\Pn", 1, false, -2 - 10.0 / 3},
        {"n\\Pn\\Pn", 1.5, false, -2 - 2 * 5.0},
        {"{\\H3x;n}\\Pn", 1, false, -12}, // the tall line spaces 5/3 of its own height down
        {"{\\H3x;n}\\Pn", 1, true, -2 - 10.0 / 3},
        {"n\\P\\Pn", 1, false, -2 - 20.0 / 3},
    };
    for (const Row& r : rows) {
        MTextPlaced placed;
        draw(r.in, {.height = 2, .line_spacing = r.factor, .exact_spacing = r.exact}, &placed);
        EXPECT_NEAR(placed.box[0].y, r.bottom, kEps) << r.in;
        EXPECT_NEAR(placed.box[3].y, 0, kEps) << r.in;
    }
}

TEST(MTextLayout, AttachmentPointsPlaceTheBlockAndAlignItsLines)
{
    // Two lines of different widths in two colours; the top-left block
    // without a reference width is the reference.
    const char* text = "\\C1;nnnn\\P\\C2;nn";
    const double h = 2;
    const std::vector<Stroke> reference = draw(text, {.height = h});
    const MTextColour colours[] = {{MTextColour::Index, 1}, {MTextColour::Index, 2}};
    const double widths[] = {advance(U"nnnn", h), advance(U"nn", h)};
    const double bottom = -h - 5.0 / 3 * h;
    for (const double reference_width : {0.0, 30.0}) {
        const double box_width = reference_width > 0 ? reference_width : widths[0];
        for (int at = 1; at <= 9; ++at) {
            const int column = (at - 1) % 3, row = (at - 1) / 3;
            const double ax = column * box_width / 2, ay = row == 0 ? 0 : row == 1 ? bottom / 2 : bottom;
            MTextPlaced placed;
            const std::vector<Stroke> got =
                draw(text, {.height = h, .width = reference_width, .attachment = static_cast<Attachment>(at)}, &placed);
            const Vec2 corners[4] = {{0, bottom}, {box_width, bottom}, {box_width, 0}, {0, 0}};
            for (int k = 0; k < 4; ++k) {
                EXPECT_NEAR(placed.box[k].x, corners[k].x - ax, kEps) << at << " corner " << k;
                EXPECT_NEAR(placed.box[k].y, corners[k].y - ay, kEps) << at << " corner " << k;
            }
            for (int line = 0; line < 2; ++line) {
                const Bounds want = ink(reference, colours[line]), have = ink(got, colours[line]);
                const double dx = column * (box_width - widths[line]) / 2 - ax;
                EXPECT_NEAR(have.x0, want.x0 + dx, kEps) << at << " line " << line;
                EXPECT_NEAR(have.x1, want.x1 + dx, kEps) << at << " line " << line;
                EXPECT_NEAR(have.y0, want.y0 - ay, kEps) << at << " line " << line;
                EXPECT_NEAR(have.y1, want.y1 - ay, kEps) << at << " line " << line;
            }
        }
    }
}

TEST(MTextLayout, StackedFractionsStandOverTheirBarAtAReducedHeight)
{
    struct Row {
        const char* in;
        double width;
        bool bar, slash;
    };
    const double one = advance(U"1", 0.7), two = advance(U"2", 0.7);
    const Row rows[] = {
        {"\\S1/2;", std::max(one, two), true, false},
        {"\\S1^2;", std::max(one, two), false, false},
        {"\\S1#2;", one + 0.4 + two, false, true},
    };
    for (const Row& r : rows) {
        MTextPlaced placed;
        const std::vector<Stroke> got = draw(r.in, {.height = 1, .attachment = Attachment::BottomLeft}, &placed);
        EXPECT_NEAR(placed.box[1].x - placed.box[0].x, r.width, kEps) << r.in;
        int bars = 0, slashes = 0;
        double top = -INFINITY, low = INFINITY;
        for (const Stroke& s : got) {
            const Vec2 a = s.points.front(), b = s.points.back();
            bars += s.points.size() == 2 && a.y == 0.5 && b.y == 0.5 && std::abs(b.x - a.x - r.width) < kEps;
            slashes += s.points.size() == 2 && std::abs(a.x - one) < kEps && a.y == 0 && b.y == 1;
            for (Vec2 p : s.points)
                top = std::max(top, p.y), low = std::min(low, p.y);
        }
        EXPECT_EQ(bars, r.bar ? 1 : 0) << r.in;
        EXPECT_EQ(slashes, r.slash ? 1 : 0) << r.in;
        // Digits are capital-high: the numerator 0.7 tall, the denominator's foot below the baseline.
        EXPECT_NEAR(top, r.slash ? 1.0 : 0.6 + 0.7, 1e-6) << r.in;
        EXPECT_NEAR(low, r.slash ? 0.0 : -0.3, 0.05) << r.in;
    }
}

TEST(MTextLayout, TextLinesRunAlongTheMarkedWordsAndTheSpacesBetween)
{
    struct Row {
        const char* in;
        double level;
    };
    const Row rows[] = {{"a \\Lbb cc\\l dd", -0.2}, {"a \\Obb cc\\o dd", 1.2}, {"a \\Kbb cc\\k dd", 0.5}};
    for (const Row& r : rows) {
        const std::vector<Stroke> got = draw(r.in, {.height = 1, .attachment = Attachment::BottomLeft});
        int lines = 0;
        for (const Stroke& s : got) {
            if (s.points.size() != 2 || std::abs(s.points[0].y - r.level) > kEps ||
                std::abs(s.points[1].y - r.level) > kEps)
                continue;
            ++lines;
            EXPECT_NEAR(s.points[0].x, advance(U"a "), kEps) << r.in;
            EXPECT_NEAR(s.points[1].x, advance(U"a bb cc"), kEps) << r.in;
        }
        EXPECT_EQ(lines, 1) << r.in;
    }
}
