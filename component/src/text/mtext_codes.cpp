#include "text/mtext_codes.h"

#include "text/code_points.h"
#include "text/text_codes.h"
#include "text/utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvex::text {
namespace {

bool ends_with(std::u32string_view s, std::u32string_view tail)
{
    if (s.size() < tail.size())
        return false;
    for (std::size_t k = 0; k < tail.size(); ++k)
        if (ascii_lower(s[s.size() - tail.size() + k]) != tail[k])
            return false;
    return true;
}

class Parser {
public:
    Parser(std::u32string_view s, const MTextFormat& initial) : s_(s), current_(initial) {}

    MTextContent run()
    {
        while (i_ < s_.size()) {
            const char32_t c = s_[i_];
            if (c == U'\\')
                code();
            else if (c == U'{') {
                saved_.push_back(current_);
                ++i_;
            } else if (c == U'}') {
                if (!saved_.empty()) {
                    set(saved_.back());
                    saved_.pop_back();
                }
                ++i_;
            } else if (c == U'^' && i_ + 1 < s_.size())
                caret();
            else if (c == U'%' && i_ + 2 < s_.size() && s_[i_ + 1] == U'%' && percent_character(s_[i_ + 2]) != 0) {
                put(MTextItem::Glyph, percent_character(s_[i_ + 2]));
                i_ += 3;
            } else {
                character(c);
                ++i_;
            }
        }
        return std::move(out_);
    }

private:
    void set(const MTextFormat& format)
    {
        current_ = format;
        fresh_ = false;
    }

    std::uint32_t format_index()
    {
        if (!fresh_) {
            if (out_.formats.empty() || !(out_.formats.back() == current_))
                out_.formats.push_back(current_);
            fresh_ = true;
        }
        return static_cast<std::uint32_t>(out_.formats.size() - 1);
    }

    void put(MTextItem::Kind kind, char32_t code = 0) { out_.items.push_back({kind, format_index(), code}); }

    // A character as written: control characters as spaces, breaks and tabs.
    void character(char32_t c)
    {
        if (c == U'\n')
            put(MTextItem::Break);
        else if (c == U'\t')
            put(MTextItem::Tab);
        else if (c == U'\r')
            return;
        else if (c == U' ' || c < 0x20)
            put(MTextItem::Space);
        else
            put(MTextItem::Glyph, c);
    }

    // ^I a tab, ^J a line break, ^M a carriage return (dropped), "^ " a caret.
    void caret()
    {
        const char32_t next = s_[i_ + 1];
        i_ += 2;
        if (next == U'I')
            put(MTextItem::Tab);
        else if (next == U'J')
            put(MTextItem::Break);
        else if (next == U'M')
            return;
        else if (next == U' ')
            put(MTextItem::Glyph, U'^');
        else {
            put(MTextItem::Glyph, U'^');
            --i_; // the letter after the caret is text of its own
        }
    }

    // A code after a backslash at i_.
    void code()
    {
        if (i_ + 1 >= s_.size()) {
            put(MTextItem::Glyph, U'\\');
            ++i_;
            return;
        }
        const char32_t cmd = s_[i_ + 1];
        const std::size_t start = i_;
        i_ += 2;
        MTextFormat next = current_;
        switch (cmd) {
        case U'\\':
        case U'{':
        case U'}':
            put(MTextItem::Glyph, cmd);
            return;
        case U'P':
        case U'X':
        case U'N': // a new column: columns are drawn as one
            put(MTextItem::Break);
            return;
        case U'~':
            put(MTextItem::Glyph, U' ');
            return;
        case U'L':
        case U'l':
        case U'O':
        case U'o':
        case U'K':
        case U'k': {
            const char32_t up = cmd == U'l' ? U'L' : cmd == U'o' ? U'O' : cmd == U'k' ? U'K' : cmd;
            const std::uint8_t mark = up == U'L' ? kMTextUnderline : up == U'O' ? kMTextOverline : kMTextStrike;
            next.marks = up == cmd ? next.marks | mark : next.marks & ~mark;
            break;
        }
        case U'H':
            scaled_value(next.height, 0, 1e300);
            break;
        case U'W':
            scaled_value(next.width_factor, 0.01, 100);
            break;
        case U'T':
            scaled_value(next.tracking, 0.75, 4);
            break;
        case U'Q': {
            double angle = 0;
            bool relative = false;
            if (number(angle, relative) && std::isfinite(angle))
                next.oblique_deg = std::clamp(angle, -85.0, 85.0);
            terminator();
            break;
        }
        case U'A':
            if (i_ < s_.size() && s_[i_] >= U'0' && s_[i_] <= U'2')
                next.align = static_cast<MTextAlign>(s_[i_++] - U'0');
            terminator();
            break;
        case U'C':
        case U'c': {
            double value = 0;
            bool relative = false;
            if (number(value, relative) && value >= 0 && value <= 0xFFFFFF && value == std::floor(value)) {
                const auto v = static_cast<std::uint32_t>(value);
                if (cmd == U'c') // written blue, green, red from the high byte down
                    next.colour = {MTextColour::Rgb, ((v & 0xFF) << 16) | (v & 0xFF00) | (v >> 16)};
                else if (v == 0 || v == 256)
                    next.colour = {};
                else if (v < 256)
                    next.colour = {MTextColour::Index, v};
            }
            terminator();
            break;
        }
        case U'f':
        case U'F': {
            const std::u32string_view face = argument();
            if (!face.empty())
                next.font = font_of_face(face);
            break;
        }
        case U'p': // paragraph indents, tabs and alignment: not drawn
            argument();
            break;
        case U'S':
            stack();
            return;
        case U'U':
            if (unicode())
                return;
            keep(start);
            return;
        case U'M':
            // A character of a multibyte code page, \M+nXXXX: there is no
            // code page to map it through, so it is left out.
            if (i_ + 6 <= s_.size() && s_[i_] == U'+') {
                i_ += 6;
                return;
            }
            keep(start);
            return;
        default:
            keep(start);
            return;
        }
        if (!(next == current_))
            set(next);
    }

    // An unknown code: the backslash drawn, and the rest read as text.
    void keep(std::size_t start)
    {
        put(MTextItem::Glyph, U'\\');
        i_ = start + 1;
    }

    void terminator()
    {
        if (i_ < s_.size() && s_[i_] == U';')
            ++i_;
    }

    // The text up to the next ';' (consumed), or to the end.
    std::u32string_view argument()
    {
        const std::size_t end = s_.find(U';', i_);
        const std::u32string_view arg = s_.substr(i_, end == std::u32string_view::npos ? s_.npos : end - i_);
        i_ = end == std::u32string_view::npos ? s_.size() : end + 1;
        return arg;
    }

    // A number as [+-]digits[.digits][e[+-]digits], then an 'x' that makes
    // it relative.
    bool number(double& value, bool& relative)
    {
        char buffer[40];
        std::size_t n = 0;
        std::size_t k = i_;
        auto take = [&](auto accept) {
            while (k < s_.size() && n + 1 < sizeof buffer && accept(s_[k]))
                buffer[n++] = static_cast<char>(s_[k++]);
        };
        if (k < s_.size() && (s_[k] == U'+' || s_[k] == U'-'))
            buffer[n++] = static_cast<char>(s_[k++]);
        const std::size_t digits = n;
        take(decimal_digit);
        if (k < s_.size() && s_[k] == U'.') {
            buffer[n++] = '.';
            ++k;
            take(decimal_digit);
        }
        if (n == digits || (n == digits + 1 && buffer[digits] == '.'))
            return false;
        if (k + 1 < s_.size() && (s_[k] == U'e' || s_[k] == U'E') &&
            (decimal_digit(s_[k + 1]) ||
             ((s_[k + 1] == U'+' || s_[k + 1] == U'-') && k + 2 < s_.size() && decimal_digit(s_[k + 2])))) {
            buffer[n++] = 'e';
            ++k;
            take([first = true](char32_t c) mutable {
                const bool ok = decimal_digit(c) || (first && (c == U'+' || c == U'-'));
                first = false;
                return ok;
            });
        }
        buffer[n] = 0;
        value = std::strtod(buffer, nullptr);
        relative = k < s_.size() && s_[k] == U'x';
        i_ = relative ? k + 1 : k;
        return true;
    }

    // \H, \W, \T: an absolute value, or a factor on the current one when it
    // ends in x; values outside [low, high] leave it as it was.
    void scaled_value(double& value, double low, double high)
    {
        double read = 0;
        bool relative = false;
        if (number(read, relative)) {
            const double v = relative ? value * std::abs(read) : std::abs(read);
            if (std::isfinite(v) && v > low && v <= high)
                value = v;
        }
        terminator();
    }

    bool unicode()
    {
        if (i_ + 5 > s_.size() || s_[i_] != U'+')
            return false;
        char32_t code = 0;
        for (std::size_t k = i_ + 1; k < i_ + 5; ++k) {
            const int d = hex_digit(s_[k]);
            if (d < 0)
                return false;
            code = code * 16 + static_cast<char32_t>(d);
        }
        i_ += 5;
        put(MTextItem::Glyph, code);
        return true;
    }

    // \Stop^bottom; \Stop/bottom; \Stop#bottom; — a backslash escapes the
    // next character. Without a stacking sign the text is drawn as it is.
    void stack()
    {
        MTextStack made;
        bool split = false;
        while (i_ < s_.size() && s_[i_] != U';') {
            char32_t c = s_[i_++];
            bool escaped = false;
            if (c == U'\\' && i_ < s_.size()) {
                c = s_[i_++];
                escaped = true;
            }
            if (c < 0x20)
                c = U' ';
            if (!split && !escaped && (c == U'^' || c == U'/' || c == U'#')) {
                made.type = c;
                split = true;
                continue;
            }
            (split ? made.bottom : made.top).push_back(c);
        }
        terminator();
        if (!split) {
            for (char32_t c : made.top)
                put(MTextItem::Glyph, c); // spaces too: a stack is one word
            return;
        }
        out_.stacks.push_back(std::move(made));
        put(MTextItem::Stack, static_cast<char32_t>(out_.stacks.size() - 1));
    }

    std::u32string_view s_;
    std::size_t i_ = 0;
    MTextContent out_;
    MTextFormat current_;
    bool fresh_ = false; // the last format of out_ is current_
    std::vector<MTextFormat> saved_;
};

} // namespace

Font font_of_face(std::u32string_view face)
{
    const std::size_t bar = face.find(U'|');
    const std::u32string_view file = face.substr(0, bar);
    if (ends_with(file, U".ttf") || ends_with(file, U".ttc") || ends_with(file, U".otf"))
        return Font::Sans;
    if (ends_with(file, U".shx") || bar == std::u32string_view::npos)
        return Font::Simplex;
    // Bold, italic and pitch options belong to TrueType faces; shape fonts
    // carry at most a code page (|c).
    for (std::size_t k = bar; k + 1 < face.size(); ++k)
        if (face[k] == U'|' &&
            (ascii_lower(face[k + 1]) == U'b' || ascii_lower(face[k + 1]) == U'i' || ascii_lower(face[k + 1]) == U'p'))
            return Font::Sans;
    return Font::Simplex;
}

MTextContent parse_mtext(std::string_view utf8, const MTextFormat& initial)
{
    const std::u32string s = decode_utf8(utf8);
    return Parser(s, initial).run();
}

} // namespace orvex::text
