#include "text/mtext_layout.h"

#include "text/mtext_lines.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace orvex::text {
namespace {

// Underlines lie this many heights below the baseline, overlines as far
// above the capital height; strike-through lines at half the height.
constexpr double kLineGap = 0.2;

double line_offset(std::uint8_t mark)
{
    return mark == kMTextUnderline ? -kLineGap : mark == kMTextOverline ? 1.0 + kLineGap : 0.5;
}

// Draws into the text plane with the attachment point moved to the origin.
class Pen {
public:
    Pen(const MTextSink& sink, double ax, double ay) : sink_(sink), ax_(ax), ay_(ay) {}

    // The characters of s from (x, y) in a format, `height` tall.
    void string(std::u32string_view s, const MTextFormat& f, double height, double x, double y)
    {
        for (char32_t c : s)
            x += glyph(drawn_glyph(f.font, c), f, height, x, y);
    }

    // One glyph with its left edge at x and its baseline at y; returns its advance.
    double glyph(const table::Glyph& g, const MTextFormat& f, double height, double x, double y)
    {
        const double sy = height / units_per_height(f.font);
        const double sx = sy * f.width_factor;
        const double slant = std::tan(f.oblique_deg * std::numbers::pi / 180.0);
        stroke_.clear();
        for (std::uint32_t k = g.first; k < g.first + g.count; ++k) {
            const table::Point p = table::kPoints[k];
            if (p.x == table::kPenUp) {
                flush(f.colour);
                continue;
            }
            const double v = p.y * sy;
            stroke_.push_back({x + p.x * sx + v * slant - ax_, y + v - ay_});
        }
        flush(f.colour);
        return g.advance * sx * f.tracking;
    }

    void segment(double x0, double y0, double x1, double y1, MTextColour colour)
    {
        const Vec2 ends[2] = {{x0 - ax_, y0 - ay_}, {x1 - ax_, y1 - ay_}};
        sink_(ends, colour);
    }

private:
    void flush(MTextColour colour)
    {
        if (stroke_.size() >= 2)
            sink_(stroke_, colour);
        stroke_.clear();
    }

    const MTextSink& sink_;
    double ax_, ay_;
    std::vector<Vec2> stroke_;
};

void draw_stack(Pen& pen, const MTextStack& stack, const MTextFormat& f, double x, double y, double advance)
{
    const double h = f.height;
    const double small = kStackScale * h;
    const double top = text_advance(f.font, stack.top, f.width_factor) * small * f.tracking;
    const double bottom = text_advance(f.font, stack.bottom, f.width_factor) * small * f.tracking;
    if (stack.type == U'#') {
        pen.string(stack.top, f, small, x, y + h - small);
        pen.segment(x + top, y, x + top + 0.4 * h, y + h, f.colour);
        pen.string(stack.bottom, f, small, x + top + 0.4 * h, y);
        return;
    }
    const bool centred = stack.type == U'/';
    pen.string(stack.top, f, small, x + (centred ? (advance - top) / 2 : 0), y + 0.6 * h);
    pen.string(stack.bottom, f, small, x + (centred ? (advance - bottom) / 2 : 0), y - 0.3 * h);
    if (centred)
        pen.segment(x, y + 0.5 * h, x + advance, y + 0.5 * h, f.colour);
}

// The underlines, overlines or strike-through lines of one line: runs of
// marked items in one colour at one level become one segment.
class MarkRuns {
public:
    explicit MarkRuns(Pen& pen) : pen_(pen) {}

    void item(std::uint8_t marks, MTextColour colour, double x, double advance, double baseline, double height)
    {
        for (std::size_t k = 0; k < 3; ++k) {
            const auto mark = static_cast<std::uint8_t>(1u << k);
            Run& run = runs_[k];
            if (!(marks & mark)) {
                flush(run);
                continue;
            }
            const double v = baseline + line_offset(mark) * height;
            if (run.open && (run.v != v || !(run.colour == colour) || std::abs(run.x1 - x) > 1e-9 * (1 + std::abs(x))))
                flush(run);
            if (!run.open)
                run = {true, x, x, v, colour};
            run.x1 = x + advance;
        }
    }

    void end_line()
    {
        for (Run& run : runs_)
            flush(run);
    }

private:
    struct Run {
        bool open = false;
        double x0 = 0, x1 = 0, v = 0;
        MTextColour colour;
    };
    void flush(Run& run)
    {
        if (run.open && run.x1 > run.x0)
            pen_.segment(run.x0, run.v, run.x1, run.v, run.colour);
        run.open = false;
    }

    Pen& pen_;
    Run runs_[3];
};

} // namespace

MTextPlaced layout_mtext(const MTextContent& content, const MTextBlock& block, const MTextSink& sink)
{
    MTextPlaced placed;
    if (!(std::isfinite(block.height) && block.height > 0))
        return placed;
    const double width = std::isfinite(block.width) && block.width > 0 ? block.width : 0.0;
    const double factor =
        std::isfinite(block.line_spacing) && block.line_spacing > 0 ? std::clamp(block.line_spacing, 0.25, 4.0) : 1.0;
    const MTextLines broken = break_mtext_lines(content, width, block.height);
    const std::vector<MTextLine>& lines = broken.lines;
    placed.lines = lines.size();

    // Baselines down from the top of the first line's capitals.
    std::vector<double> baselines(lines.size());
    double top = 0;
    double widest = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double h = block.exact_spacing ? block.height : lines[i].height;
        baselines[i] = top - h;
        top -= kLineSpacing * factor * h;
        widest = std::max(widest, lines[i].width);
    }
    const double bottom = baselines.empty() ? 0.0 : baselines.back();
    const double box_width = width > 0 ? width : widest;
    const int index = static_cast<int>(block.attachment) - 1;
    const int column = std::clamp(index, 0, 8) % 3;
    const int row = std::clamp(index, 0, 8) / 3;
    const double ax = column * box_width / 2;
    const double ay = row == 0 ? 0.0 : row == 1 ? bottom / 2 : bottom;
    placed.box = {Vec2{-ax, bottom - ay}, Vec2{box_width - ax, bottom - ay}, Vec2{box_width - ax, -ay}, Vec2{-ax, -ay}};

    Pen pen(sink, ax, ay);
    MarkRuns marks(pen);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const MTextLine& line = lines[i];
        double x = column * (box_width - line.width) / 2;
        for (std::uint32_t k = line.begin; k < line.end; ++k) {
            const MTextItem& item = content.items[k];
            const MTextFormat& f = content.formats[item.format];
            const double advance = broken.advances[k];
            const double rise = f.align == MTextAlign::Bottom   ? 0.0
                                : f.align == MTextAlign::Centre ? (line.height - f.height) / 2
                                                                : line.height - f.height;
            const double y = baselines[i] + rise;
            if (item.kind == MTextItem::Glyph)
                pen.glyph(drawn_glyph(f.font, item.code), f, f.height, x, y);
            else if (item.kind == MTextItem::Stack && item.code < content.stacks.size())
                draw_stack(pen, content.stacks[item.code], f, x, y, advance);
            marks.item(f.marks, f.colour, x, advance, y, f.height);
            x += advance;
        }
        marks.end_line();
    }
    return placed;
}

} // namespace orvex::text
