// IGES writing: every entity goes into two directory lines and one
// parameter record (on several lines when its data is long).
#include "formats/iges/iges.h"
#include "formats/iges/iges_colours.h"

#include "formats/common/read_back.h"
#include "formats/common/record_fields.h"
#include "formats/common/text_writer.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsFileText.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace orvex::formats::iges {

namespace {

constexpr long double kDegreesPerRadian = Ops::DegreesPerRadian;

// ---------------------------------------------------------------- writing

// One output line built in place: data columns, then the suffix placed so
// that it ends in column 80 (or right after the data when that is longer).
class Card {
public:
    Card& text(std::string_view t)
    {
        for (char c : t)
            put(c);
        return *this;
    }
    Card& spaces(std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i)
            put(' ');
        return *this;
    }
    Card& integer(long long n)
    {
        const auto r = std::to_chars(number_, number_ + sizeof number_, n);
        return text(std::string_view(number_, static_cast<std::size_t>(r.ptr - number_)));
    }
    // Right-justified in 8 columns.
    Card& pad8(long long n)
    {
        const auto r = std::to_chars(number_, number_ + sizeof number_, n);
        const std::size_t len = static_cast<std::size_t>(r.ptr - number_);
        spaces(len < 8 ? 8 - len : 0);
        return text(std::string_view(number_, len));
    }
    Card& zero7(long long n)
    {
        char z[16];
        const auto r = std::to_chars(z, z + sizeof z, n);
        const std::size_t len = static_cast<std::size_t>(r.ptr - z);
        for (std::size_t i = len; i < 7; ++i)
            put('0');
        return text(std::string_view(z, len));
    }
    // Ends the data part: what follows is the suffix.
    Card& suffix()
    {
        data_ = used_;
        return *this;
    }
    void write(TextWriter& w) const
    {
        const std::string_view line(buf_, used_);
        const std::size_t suffixLength = used_ - data_;
        w.put(line.substr(0, data_));
        if (used_ < 80)
            w.spaces(80 - used_);
        w.put(line.substr(data_, suffixLength));
        w.crlf();
    }

private:
    void put(char c)
    {
        if (used_ < sizeof buf_)
            buf_[used_++] = c;
    }
    char buf_[256];
    char number_[24];
    std::size_t used_ = 0;
    std::size_t data_ = 0;
};

bool writable(const TElement& e)
{
    return !e.GetDeleted() && (e.GetEtype() == etPoint || e.GetEtype() == etLine || e.GetEtype() == etArc);
}

int iges_type(int etype) { return etype == etPoint ? 116 : etype == etLine ? 110 : 100; }

// The start and end points an arc is written with.
struct ArcEnds {
    double sx, sy, ex, ey;
};

ArcEnds arc_ends(const TElement& e)
{
    const double cx = e.GetCoord(1), cy = e.GetCoord(2), r = e.GetCoord(4);
    const double a1 = static_cast<double>(e.GetCoord(5) / kDegreesPerRadian);
    const double a2 = static_cast<double>(e.GetCoord(6) / kDegreesPerRadian);
    return {cx + r * std::cos(a1), cy + r * std::sin(a1), cx + r * std::cos(a2), cy + r * std::sin(a2)};
}

// Refuses an element that the reader would not make again as it is: left
// out for its coordinates, moved to another layer, or an arc whose end
// points, as written, coincide (the reader takes it for a whole circle).
void require_entity_reads_back(const TElement& e)
{
    if (!require_placed_as_written(e) || e.GetEtype() != etArc)
        return;
    const ArcEnds ends = arc_ends(e);
    const double cx = read_back(e.GetCoord(1)), cy = read_back(e.GetCoord(2));
    require_arc_stays_an_arc(e, Ops::get_angle_degrees(cx, cy, read_back(ends.sx), read_back(ends.sy)),
                             Ops::get_angle_degrees(cx, cy, read_back(ends.ex), read_back(ends.ey)));
}

// The parameter data of an element, "110,x1,y1,z1,x2,y2,z2;" and so on, in
// `out` (room for 8 numbers); returns its length.
std::size_t parameter_text(const TElement& e, char* out)
{
    std::size_t n = 0;
    auto text = [&](std::string_view t) {
        std::memcpy(out + n, t.data(), t.size());
        n += t.size();
    };
    auto real = [&](double x, char after) {
        n += real_text(x, out + n);
        out[n++] = after;
    };
    switch (e.GetEtype()) {
    case etPoint:
        text("116,");
        real(e.GetCoord(1), ','), real(e.GetCoord(2), ','), real(e.GetCoord(3), ';');
        break;
    case etLine:
        text("110,");
        for (int s = 1; s <= 6; ++s)
            real(e.GetCoord(s), s < 6 ? ',' : ';');
        break;
    default: {
        const ArcEnds ends = arc_ends(e);
        text("100,");
        real(e.GetCoord(3), ','), real(e.GetCoord(1), ','), real(e.GetCoord(2), ',');
        real(ends.sx, ','), real(ends.sy, ',');
        real(ends.ex, ','), real(ends.ey, ';');
        break;
    }
    }
    return n;
}

// Data longer than the 64 columns of the parameter field goes on several
// lines, each broken after a delimiter.
constexpr std::size_t kParameterColumns = 64;

template <typename Line>
int split_parameter_text(std::string_view t, Line&& emit)
{
    if (t.size() <= kParameterColumns) {
        emit(t);
        return 1;
    }
    int lines = 0;
    while (!t.empty()) {
        std::size_t cut = t.size();
        if (cut > kParameterColumns) {
            cut = t.find_last_of(",;", kParameterColumns - 1);
            cut = cut == std::string_view::npos ? kParameterColumns : cut + 1;
        }
        emit(t.substr(0, cut));
        t.remove_prefix(cut);
        ++lines;
    }
    return lines;
}

} // namespace

int number_from_colour(TColor Colour) { return Ops::iges_colours::number_of(Colour); }

bool write(std::ostream& out, const DrawingSource& drawing)
{
    TextWriter w(out);
    auto line = [&](std::string_view text, std::string_view suffix) {
        Card().text(text).suffix().text(suffix).write(w);
    };
    std::string_view start = drawing.StartText;
    if (start.size() > 70)
        start.remove_prefix(start.size() - 70);
    line(start, "S0000001");
    const bool mm = drawing.Units == uMM;
    line(std::string("1H,,1H;,,,6HQUOREL,1H1,16,8,24,8,56,,1.,") + (mm ? "2,2HMM" : "1,4HINCH") + ",1,0.01,",
         "G0000001");
    line("13H850101.010000,1.000000000E-04,100.,,;", "G0000002");
    Card()
        .spaces(5)
        .text("124")
        .pad8(1)
        .pad8(1)
        .pad8(1)
        .pad8(1)
        .spaces(8)
        .pad8(0)
        .suffix()
        .text("00000000D0000001")
        .write(w);
    Card().spaces(5).text("124").pad8(0).pad8(3).pad8(1).suffix().text("D0000002").write(w);

    // Directory: two lines per entity; the parameter pointer counts the
    // parameter lines written before it.
    char text[256];
    int d = 2, p = 1;
    for (const TElement* element : drawing.Elements) {
        const TElement& e = *element;
        if (!writable(e))
            continue;
        require_entity_reads_back(e);
        const int lines =
            split_parameter_text(std::string_view(text, parameter_text(e, text)), [](std::string_view) {});
        const int type = iges_type(e.GetEtype());
        ++d;
        Card()
            .spaces(5)
            .integer(type)
            .pad8(p + 1)
            .pad8(1)
            .spaces(7)
            .integer(e.GetLineType())
            .pad8(0)
            .pad8(0)
            .pad8(0)
            .suffix()
            .text("00000000D")
            .zero7(d)
            .write(w);
        ++d;
        Card()
            .spaces(5)
            .integer(type)
            .pad8(0)
            .pad8(number_from_colour(e.GetColor()))
            .pad8(lines)
            .pad8(e.GetLayer())
            .suffix()
            .text("D")
            .zero7(d)
            .write(w);
        p += lines;
        if (!w.good())
            return w.finish();
    }

    line("124,1.,0.,0.,0.,0.,1.,0.,0.,0.,0.,1.,0.;", "1P0000001");
    p = 1;
    int k = 0;
    for (const TElement* element : drawing.Elements) {
        const TElement& e = *element;
        if (!writable(e))
            continue;
        ++k;
        split_parameter_text(std::string_view(text, parameter_text(e, text)), [&](std::string_view part) {
            Card().text(part).suffix().integer(2 * k + 1).text("P").zero7(++p).write(w);
        });
        if (!w.good())
            return w.finish();
    }
    Card().text("S0000001G0000002D").zero7(d).text("P").zero7(p).suffix().text("T0000001").write(w);
    return w.finish();
}

} // namespace orvex::formats::iges
