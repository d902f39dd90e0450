#include "text/mtext_lines.h"

#include <algorithm>
#include <cmath>

namespace orvex::text {
namespace {

// Drawing units per font unit along the text in a format.
double along_scale(const MTextFormat& f, Font font)
{
    return f.height / units_per_height(font) * f.width_factor * f.tracking;
}

double item_advance(const MTextContent& content, const MTextItem& item)
{
    const MTextFormat& f = content.formats[item.format];
    switch (item.kind) {
    case MTextItem::Glyph:
        return drawn_glyph(f.font, item.code).advance * along_scale(f, f.font);
    case MTextItem::Space:
        return drawn_glyph(f.font, U' ').advance * along_scale(f, f.font);
    case MTextItem::Stack:
        return item.code < content.stacks.size() ? stack_advance(content.stacks[item.code], f) : 0.0;
    default:
        return 0.0;
    }
}

bool in_word(MTextItem::Kind kind) { return kind == MTextItem::Glyph || kind == MTextItem::Stack; }

} // namespace

double stack_advance(const MTextStack& stack, const MTextFormat& f)
{
    const double scale = kStackScale * f.height * f.tracking;
    const double top = text_advance(f.font, stack.top, f.width_factor) * scale;
    const double bottom = text_advance(f.font, stack.bottom, f.width_factor) * scale;
    if (stack.type == U'#')
        return top + 0.4 * f.height + bottom; // the slash leans across 0.4 heights
    return std::max(top, bottom);
}

MTextLines break_mtext_lines(const MTextContent& content, double width, double base_height)
{
    MTextLines out;
    const std::vector<MTextItem>& items = content.items;
    out.advances.resize(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        out.advances[i] = item_advance(content, items[i]);
    const bool wraps = std::isfinite(width) && width > 0;
    const double tab = 4.0 * base_height;

    MTextLine line;
    double pen = 0;
    bool has_word = false;
    auto close = [&](std::uint32_t next) {
        if (line.height <= 0)
            line.height = base_height;
        if (!has_word)
            line.end = line.begin; // spaces only: nothing to draw, no text lines either
        out.lines.push_back(line);
        line = MTextLine{next, next, 0, 0};
        pen = 0;
        has_word = false;
    };

    std::uint32_t i = 0;
    const auto n = static_cast<std::uint32_t>(items.size());
    while (i < n) {
        const MTextItem& item = items[i];
        if (item.kind == MTextItem::Break) {
            if (!has_word && line.height <= 0)
                line.height = content.formats[item.format].height;
            close(i + 1);
            ++i;
            continue;
        }
        if (item.kind == MTextItem::Space || item.kind == MTextItem::Tab) {
            if (item.kind == MTextItem::Tab && tab > 0)
                out.advances[i] = (std::floor(pen / tab + 1e-9) + 1) * tab - pen;
            pen += out.advances[i];
            ++i;
            continue;
        }
        std::uint32_t end = i;
        double word = 0, height = 0;
        while (end < n && in_word(items[end].kind)) {
            word += out.advances[end];
            height = std::max(height, content.formats[items[end].format].height);
            ++end;
        }
        if (wraps && pen + word > width * (1 + 1e-9)) {
            if (has_word) {
                close(i);
            } else {
                // Spaces that push the line's first word past the width
                // are dropped rather than given a line of their own.
                line.begin = i;
                pen = 0;
            }
        }
        pen += word;
        line.end = end;
        line.width = pen;
        line.height = std::max(line.height, height);
        has_word = true;
        i = end;
    }
    if (line.begin < n) // a break at the very end opens no further line
        close(n);
    return out;
}

} // namespace orvex::text
