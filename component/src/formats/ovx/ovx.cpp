// OVX drawings: VIEW records for the arc-view table, then one record per
// point, line, arc or circle (and the three dimension kinds, written only).
#include "formats/ovx/ovx.h"

#include "formats/common/line_reader.h"
#include "formats/common/read_back.h"
#include "formats/common/read_error.h"
#include "formats/common/record_fields.h"
#include "formats/common/text_writer.h"

#include <OrvexGDI/OpsFileText.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace orvex::formats::ovx {

namespace {

// Keywords a record may hold, tested in this order.
enum Keyword : unsigned {
    kView = 1u << 0,
    kSpline = 1u << 1,
    kVLine = 1u << 2,
    kLine = 1u << 3,
    kArc = 1u << 4,
    kCircle = 1u << 5,
    kVPoint = 1u << 6,
    kPoint = 1u << 7,
};

struct KeywordText {
    std::string_view text;
    Keyword flag;
};
constexpr KeywordText kKeywords[] = {
    {"VIEW", kView}, {"SPLINE", kSpline}, {"VLINE", kVLine},   {"LINE", kLine},
    {"ARC", kArc},   {"CIRCLE", kCircle}, {"VPOINT", kVPoint}, {"POINT", kPoint},
};

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }

// The keywords held by one run of upper-case letters.
unsigned keywords_in(std::string_view run)
{
    // A run that is exactly one keyword (the usual case) holds that keyword
    // and the keywords inside it.
    switch (run.size()) {
    case 3:
        if (run == "ARC")
            return kArc;
        break;
    case 4:
        if (run == "LINE")
            return kLine;
        if (run == "VIEW")
            return kView;
        break;
    case 5:
        if (run == "POINT")
            return kPoint;
        if (run == "VLINE")
            return kVLine | kLine;
        break;
    case 6:
        if (run == "CIRCLE")
            return kCircle;
        if (run == "VPOINT")
            return kVPoint | kPoint;
        if (run == "SPLINE")
            return kSpline | kLine;
        break;
    default:
        break;
    }
    unsigned found = 0;
    for (const KeywordText& k : kKeywords)
        if (run.find(k.text) != std::string_view::npos)
            found |= k.flag;
    return found;
}

// The keywords that occur anywhere in the line. Each keyword is upper-case
// letters only, so it can only occur inside a run of upper-case letters.
unsigned find_keywords(std::string_view line)
{
    unsigned found = 0;
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (i < n) {
        if (!is_upper(line[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && is_upper(line[i]))
            ++i;
        if (i - start >= 3)
            found |= keywords_in(line.substr(start, i - start));
    }
    return found;
}

int layer_field(double value)
{
    const int layer = round_int(value);
    if (layer < 0 || layer > 255)
        throw ERangeError("layer " + std::to_string(layer) + " outside 0..255");
    return layer;
}

// Makes what one record holds from its fields (RecordFields or PlainFields).
template <typename Fields>
void read_record(unsigned keywords, const Fields& f, DrawingSink& sink)
{
    const TColor background = sink.background_color();
    auto colour = [&](int n) { return Ops::set_ovx_color(round_int(f.value(n)), background); };

    if (keywords & kView) {
        int number = round_int(f.value(1));
        if (number > 90)
            number = 90;
        TArcView& view = sink.arc_views()[number];
        view = TArcView{f.value(2), f.value(3), f.value(4), f.value(5),  f.value(6),
                        f.value(7), f.value(8), f.value(9), f.value(10), true};
    }
    if (keywords & kSpline)
        return;
    if (keywords & kVLine) {
        round_int(f.value(7)); // the view number is read and not used
        sink.make_element(etLine, f.value(1), f.value(2), f.value(3), f.value(4), f.value(5), f.value(6), colour(8),
                          round_int(f.value(10)), layer_field(f.value(9)), 0, 0);
        return;
    }
    if (keywords & kLine)
        sink.make_element(etLine, f.value(1), f.value(2), f.value(3), f.value(4), f.value(5), f.value(6), colour(7),
                          round_int(f.value(9)), layer_field(f.value(8)), 0, 0);
    if (keywords & kArc) {
        const double radius = f.value(4);
        if (!(radius > 0))
            return;
        double end = f.value(6);
        if (std::fabs(end) < 0.0001)
            end = 0;
        int view = round_int(f.value(7));
        if (view < 1 || view > 90)
            view = 1;
        sink.make_element(etArc, f.value(1), f.value(2), f.value(3), radius, f.value(5), end, colour(8),
                          round_int(f.value(10)), layer_field(f.value(9)), 0, view);
    }
    if (keywords & kCircle) {
        const double radius = f.value(4);
        if (!(radius > 0))
            return;
        int code = round_int(f.value(5));
        if (code < 1 || code > 90)
            code = 1;
        double x = f.value(1), y = f.value(2), z = f.value(3);
        int view = 1;
        Ops::fix_circle(x, y, z, code, view);
        sink.make_element(etArc, x, y, z, radius, 0, 360, colour(6), round_int(f.value(8)), layer_field(f.value(7)), 0,
                          view);
    }
    if (keywords & kVPoint) {
        round_int(f.value(4)); // the view number is read and not used
        sink.make_element(etPoint, f.value(1), f.value(2), f.value(3), 0, 0, 0, colour(5), 0, layer_field(f.value(6)),
                          0, 0);
        return;
    }
    if (keywords & kPoint)
        sink.make_element(etPoint, f.value(1), f.value(2), f.value(3), 0, 0, 0, colour(4), 0, layer_field(f.value(5)),
                          0, 0);
}

// The length of the keyword run that starts a record in the shape our
// writers give it ("LINE   1.5,..."): upper-case letters and then a space;
// 0 for a record of any other shape.
std::size_t leading_keyword(std::string_view line)
{
    std::size_t n = 0;
    while (n < line.size() && is_upper(line[n]))
        ++n;
    return n >= 3 && n < line.size() && line[n] == ' ' ? n : 0;
}

// Refuses an element whose record the reader would not make again as it
// is: left out for its coordinates or radius, or moved to another layer,
// arc view or sweep.
void require_record_reads_back(const TElement& e)
{
    if (!require_placed_as_written(e) || e.GetEtype() == etPoint || e.GetEtype() == etLine)
        return;
    if (!(read_back(e.GetCoord(4)) > 0)) // the reader skips arcs without a radius
        refuse(e, "slot 4", e.GetCoord(4));
    // A circle's view is its fill code: the record gives it back as an arc
    // of the top plane, as it gives back every circle as an arc.
    if (e.GetEtype() != etArc)
        return;
    if (e.GetView() < 1 || e.GetView() > 90)
        refuse(e, "view", e.GetView());
    require_arc_stays_an_arc(e, read_back(e.GetCoord(5)), read_back(e.GetCoord(6)));
}

} // namespace

void read(std::istream& in, DrawingSink& sink)
{
    LineReader reader(in);
    RecordFields general;
    PlainFields plain;
    std::string_view line;
    while (reader.next(line)) {
        // A record of a keyword, spaces and plain decimals holds no other
        // upper-case letter and no other space, so its keywords are those of
        // its first word and its fields follow the spaces: it is read in one
        // pass. Any other line goes the general way, with the same result.
        if (const std::size_t run = leading_keyword(line)) {
            std::size_t fields = run;
            while (fields < line.size() && line[fields] == ' ')
                ++fields;
            if (plain.parse(line.substr(fields))) {
                if (const unsigned keywords = keywords_in(line.substr(0, run)))
                    on_line(reader.line_number(), [&] { read_record(keywords, plain, sink); });
                continue;
            }
        }
        if (const unsigned keywords = find_keywords(line))
            on_line(reader.line_number(), [&] {
                general.split_ovx(line);
                read_record(keywords, general, sink);
            });
    }
}

std::string general_text(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0)
        return "0";
    // 15 significant digits, then the shortest form of them.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    std::string_view text(buffer);
    const bool negative = text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const std::size_t e = text.find('e');
    std::string digits;
    digits.push_back(text[0]);
    digits.append(text.substr(2, e - 2));
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out;
    if (negative)
        out.push_back('-');
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= whole) {
                out += digits;
                out.append(whole - digits.size(), '0');
            } else {
                out += digits.substr(0, whole);
                out.push_back('.');
                out += digits.substr(whole);
            }
        }
    } else {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out += digits.substr(1);
        }
        out.push_back('E');
        out += std::to_string(exponent);
    }
    return out;
}

bool write(std::ostream& out, const DrawingSource& drawing)
{
    TextWriter w(out);
    for (int n = 1; n <= 90; ++n) {
        const TArcView& v = drawing.ArcViews[n];
        if (!v.Defined)
            continue;
        w.put("VIEW   ");
        w.integer(n);
        for (double c : {v.M11, v.M12, v.M13, v.M21, v.M22, v.M23, v.M31, v.M32, v.M33}) {
            if (!std::isfinite(c))
                throw UnwritableValue(c);
            w.put(',');
            w.put(general_text(c));
        }
        w.crlf();
    }
    auto slot = [&](const TElement& e, int n) {
        w.real(e.GetCoord(n));
        w.put(',');
    };
    // Integer fields, separated by commas.
    auto integers = [&](std::initializer_list<int> values) {
        const char* separator = "";
        for (int value : values) {
            w.put(separator);
            w.integer(value);
            separator = ",";
        }
    };
    for (const TElement* element : drawing.Elements) {
        const TElement& e = *element;
        if (e.GetDeleted())
            continue;
        require_record_reads_back(e);
        const int colour = Ops::get_ovx_color(e.GetColor());
        switch (e.GetEtype()) {
        case etPoint:
            w.put("POINT  ");
            for (int n : {1, 2, 3})
                slot(e, n);
            integers({colour, e.GetLayer(), e.GetLineType()});
            break;
        case etLine:
            w.put("LINE   ");
            for (int n : {1, 2, 3, 4, 5, 6})
                slot(e, n);
            integers({colour, e.GetLayer(), e.GetLineType(), 1});
            break;
        case etArc:
            w.put("ARC    ");
            for (int n : {1, 2, 3, 4, 5, 6})
                slot(e, n);
            integers({e.GetView(), colour, e.GetLayer(), e.GetLineType(), 1});
            break;
        case etCircle:
            w.put("CIRCLE ");
            for (int n : {1, 2, 3, 4})
                slot(e, n);
            integers({e.GetView(), colour, e.GetLayer(), e.GetLineType()});
            w.put(",,1");
            break;
        case etArrow:
            w.put("ARROW  ");
            for (int n : {1, 2, 3, 4})
                slot(e, n);
            integers({e.GetView(), colour, e.GetLayer()});
            break;
        case etLeader:
            w.put("LEADER  ");
            for (int n : {3, 4, 1, 2})
                slot(e, n);
            w.put(".1,0,");
            integers({e.GetView(), colour, e.GetLayer()});
            break;
        case etWitness:
            w.put("WITNESS  ");
            for (int n : {1, 2, 4, 5})
                slot(e, n);
            integers({e.GetView(), colour, e.GetLayer()});
            break;
        default:
            continue;
        }
        w.crlf();
        if (!w.good())
            break;
    }
    return w.finish();
}

} // namespace orvex::formats::ovx
