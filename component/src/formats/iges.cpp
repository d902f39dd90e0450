// IGES reading and writing. The writer puts every entity into two directory
// lines and one parameter record; the reader links parameter records to
// their directory entries through the pointer in columns 66-72, joins
// records that span several lines, and places entities through the matrix
// entity their directory entry names.
#include "iges.h"

#include "line_reader.h"
#include "read_error.h"
#include "record_fields.h"
#include "text_writer.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsFileText.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvex::formats::iges {

namespace {

constexpr long double kDegreesPerRadian = Ops::DegreesPerRadian;

int mapped_type(int igesType)
{
    switch (igesType) {
    case 116:
        return etPoint;
    case 110:
        return etLine;
    case 100:
        return etArc;
    default:
        return etNone;
    }
}

// ---------------------------------------------------------------- placing through a matrix

// x' = R x + T; rows R[0..2] with the translation in column 3.
struct Matrix {
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

    std::array<double, 3> apply(double x, double y, double z) const
    {
        return {m[0][0] * x + m[0][1] * y + m[0][2] * z + m[0][3], m[1][0] * x + m[1][1] * y + m[1][2] * z + m[1][3],
                m[2][0] * x + m[2][1] * y + m[2][2] * z + m[2][3]};
    }
    std::array<double, 3> direction(double x, double y, double z) const
    {
        return {m[0][0] * x + m[0][1] * y + m[0][2] * z, m[1][0] * x + m[1][1] * y + m[1][2] * z,
                m[2][0] * x + m[2][1] * y + m[2][2] * z};
    }
    // this after inner: x' = this(inner(x)).
    Matrix after(const Matrix& inner) const
    {
        Matrix r;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 4; ++j) {
                double s = j == 3 ? m[i][3] : 0.0;
                for (int k = 0; k < 3; ++k)
                    s += m[i][k] * inner.m[k][j];
                r.m[i][j] = s;
            }
        return r;
    }
};

using Vec3 = std::array<double, 3>;

double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double norm(const Vec3& a) { return std::sqrt(dot(a, a)); }
Vec3 scaled(const Vec3& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }

bool near(double a, double b) { return std::fabs(a - b) <= 1e-9; }

bool same_plane(const TArcView& v, const Vec3& x, const Vec3& y, const Vec3& n)
{
    return near(v.M11, x[0]) && near(v.M21, x[1]) && near(v.M31, x[2]) && near(v.M12, y[0]) && near(v.M22, y[1]) &&
           near(v.M32, y[2]) && near(v.M13, n[0]) && near(v.M23, n[1]) && near(v.M33, n[2]);
}

// Moves a point, line or arc element (values in the entity's own space)
// through the matrix. An arc whose plane is no longer parallel to the top
// view goes into an arc view with that plane: an entry already holding it,
// or the first undefined one.
void place(TElement& e, const Matrix& m, ArcViewTable& views)
{
    auto move_point = [&](int slot) {
        const Vec3 p = m.apply(e.GetCoord(slot), e.GetCoord(slot + 1), e.GetCoord(slot + 2));
        for (int k = 0; k < 3; ++k)
            e.SetCoord(slot + k, p[static_cast<std::size_t>(k)]);
    };
    switch (e.GetEtype()) {
    case etPoint:
        move_point(1);
        return;
    case etLine:
        move_point(1);
        move_point(4);
        return;
    case etArc:
        break;
    default:
        return;
    }

    const double cx = e.GetCoord(1), cy = e.GetCoord(2), zt = e.GetCoord(3), r = e.GetCoord(4);
    const double a1 = e.GetCoord(5), a2 = e.GetCoord(6);
    const bool full = a1 == 0 && a2 == 360;
    const Vec3 ax = m.direction(1, 0, 0), ay = m.direction(0, 1, 0);
    Vec3 n = cross(ax, ay);
    const double scale = norm(ax);
    const double nn = norm(n);
    if (!(scale > 0) || !(nn > 0))
        return; // a degenerate matrix: leave the arc as it was
    n = scaled(n, 1 / nn);

    // The plane's axes in model space: the top view when the arc lies
    // parallel to it, otherwise the arc's own first axis and normal.
    Vec3 vx{1, 0, 0}, vy{0, 1, 0}, vn{0, 0, 1};
    int view = 1;
    if (!(std::fabs(std::fabs(n[2]) - 1) <= 1e-9)) {
        vn = n;
        vx = scaled(ax, 1 / scale);
        vy = cross(vn, vx);
        view = 0;
        for (int i = 1; i <= 90 && view == 0; ++i)
            if (views[i].Defined && same_plane(views[i], vx, vy, vn))
                view = i;
        for (int i = 2; i <= 90 && view == 0; ++i)
            if (!views[i].Defined) {
                views[i] = TArcView{vx[0], vy[0], vn[0], vx[1], vy[1], vn[1], vx[2], vy[2], vn[2], true};
                view = i;
            }
        if (view == 0)
            return; // every arc view is taken
    }
    auto local = [&](const Vec3& p) { return Vec3{dot(vx, p), dot(vy, p), dot(vn, p)}; };
    const Vec3 centre = local(m.apply(cx, cy, zt));
    auto angle_of = [&](double a) {
        const double t = static_cast<double>(a / kDegreesPerRadian);
        const Vec3 p = local(m.apply(cx + r * std::cos(t), cy + r * std::sin(t), zt));
        return Ops::get_angle_degrees(centre[0], centre[1], p[0], p[1]);
    };
    e.SetCoord(1, centre[0]);
    e.SetCoord(2, centre[1]);
    e.SetCoord(3, centre[2]);
    e.SetCoord(4, r * scale);
    e.SetView(view);
    if (full)
        return;
    double start = angle_of(a1), end = angle_of(a2);
    // A mirroring matrix turns the arc's sense round.
    if (dot(cross(local(ax), local(ay)), Vec3{0, 0, 1}) < 0)
        std::swap(start, end);
    if (start == end) {
        start = 0;
        end = 360;
    }
    e.SetCoord(5, start);
    e.SetCoord(6, end);
}

// ---------------------------------------------------------------- reading

struct DirectoryEntry {
    int Type = 0;
    int Element = -1; // index of the element made for it, -1 for none
    int Matrix = 0;   // directory entry of its transformation matrix, 0 for none
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

class Reader {
public:
    Reader(std::istream& in, DrawingSink& sink) : lines_(in), sink_(sink) {}

    void run()
    {
        sink_.set_units(uINCH);
        std::string_view line;
        while (lines_.next(line)) {
            const long long number = lines_.line_number();
            on_line(number, [&] { read_line(line, number); });
        }
        finish_record();
        on_line(lines_.line_number(), [&] { place_all(); });
    }

private:
    static constexpr std::size_t kMaxRecord = std::size_t{1} << 16;
    static constexpr std::size_t kMaxGlobal = std::size_t{1} << 16;

    static void check_length(std::string_view line)
    {
        if (line.size() < 73)
            throw ERangeError("a line of " + std::to_string(line.size()) + " characters; IGES lines have 80");
    }

    void read_line(std::string_view line, long long number)
    {
        check_length(line);
        if (line.find("2HMM") != std::string_view::npos)
            sink_.set_units(uMM);

        // A parameter record longer than 80 columns on one line carries its
        // section letter and sequence number at its end.
        std::size_t letter = 72;
        if (line.size() > 80 && line[line.size() - 8] == 'P') {
            bool digits = true;
            for (std::size_t i = line.size() - 7; i < line.size(); ++i)
                digits = digits && is_digit(line[i]);
            if (digits)
                letter = line.size() - 8;
        }
        const char section = line[letter];
        if (section != 'P')
            finish_record();
        if (section == 'G') {
            if (global_.size() < kMaxGlobal)
                global_.append(line.substr(0, 72));
        } else if (section == 'D' && line[71] != ' ') {
            directory_entry(line);
        } else if (section == 'P') {
            parameter_line(line, letter, number);
        }
    }

    void directory_entry(std::string_view first)
    {
        const int type1 = Ops::val_int(first.substr(0, 8));
        const int lineType = Ops::val_int(first.substr(24, 8)) == 2 ? 2 : 1;
        const int matrix = Ops::val_int(first.substr(48, 8));
        const int sequence = Ops::val_int(first.substr(73, 7));
        std::string_view second;
        if (!lines_.next(second))
            throw ERangeError("the directory entry has no second line");
        check_length(second);
        const int type2 = Ops::val_int(second.substr(0, 8));
        const TColor colour = Ops::set_iges_color(Ops::val_int(second.substr(17, 8)));
        int layer = Ops::val_int(second.substr(32, 8));
        if (layer > 255)
            throw ERangeError("layer " + std::to_string(layer) + " outside 0..255");
        if (layer == 0)
            layer = 1;
        else if (layer == 255)
            layer = 254;
        DirectoryEntry entry;
        entry.Type = type1 == type2 ? type1 : 0;
        entry.Matrix = matrix;
        const int kind = type1 == type2 ? mapped_type(type1) : etNone;
        if (kind != etNone)
            entry.Element = sink_.make_element(kind, 0, 0, 0, 0, 0, 0, colour, lineType, layer, 0, 0);
        directory_[sequence] = entry;
    }

    void delimiters()
    {
        if (delimitersKnown_)
            return;
        delimitersKnown_ = true;
        const std::string_view g = global_;
        std::size_t pos = 0;
        if (g.size() >= 3 && g[0] == '1' && g[1] == 'H') {
            parameter_ = g[2];
            pos = 3;
        }
        if (pos < g.size() && g[pos] == parameter_)
            ++pos;
        if (g.size() >= pos + 3 && g[pos] == '1' && g[pos + 1] == 'H')
            record_ = g[pos + 2];
    }

    void parameter_line(std::string_view line, std::size_t letter, long long number)
    {
        delimiters();
        std::size_t begin = letter;
        while (begin > 0 && letter - begin < 7 && is_digit(line[begin - 1]))
            --begin;
        if (begin == letter)
            throw EListError("the parameter line names no directory entry");
        const int pointer = Ops::val_int(line.substr(begin, letter - begin));
        const std::string_view data = line.substr(0, begin);
        if (recordOpen_ && pointer == recordPointer_) {
            if (record_text_.size() < kMaxRecord)
                record_text_.append(data);
            return;
        }
        finish_record();
        recordOpen_ = true;
        recordPointer_ = pointer;
        recordLine_ = number;
        record_text_.assign(data);
    }

    void finish_record()
    {
        if (!recordOpen_)
            return;
        recordOpen_ = false;
        on_line(recordLine_, [&] { parameter_record(); });
    }

    void parameter_record()
    {
        fields_.split_iges(record_text_, parameter_, record_);
        auto f = [&](int n) { return fields_.value(n); };
        const int type = round_int(f(1));
        if (type == 124) {
            Matrix m;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 4; ++j)
                    m.m[i][j] = f(2 + 4 * i + j);
            matrices_[recordPointer_] = m;
            return;
        }
        const int kind = mapped_type(type);
        if (kind == etNone)
            return;
        const auto entry = directory_.find(recordPointer_);
        if (entry == directory_.end())
            throw EListError("the parameter record points to directory entry " + std::to_string(recordPointer_) +
                             ", which does not exist");
        if (entry->second.Element < 0)
            return;
        TElement& e = sink_.element(entry->second.Element);
        switch (kind) {
        case etPoint:
            for (int s = 1; s <= 3; ++s)
                e.SetCoord(s, f(s + 1));
            break;
        case etLine:
            for (int s = 1; s <= 6; ++s)
                e.SetCoord(s, f(s + 1));
            break;
        default: {
            const double cx = f(3), cy = f(4), sx = f(5), sy = f(6), ex = f(7), ey = f(8);
            e.SetCoord(3, f(2));
            e.SetCoord(1, cx);
            e.SetCoord(2, cy);
            // The true distance, however far the start point lies.
            e.SetCoord(4, std::sqrt((sx - cx) * (sx - cx) + (sy - cy) * (sy - cy)));
            double start = Ops::get_angle_degrees(cx, cy, sx, sy);
            double end = Ops::get_angle_degrees(cx, cy, ex, ey);
            if (start == end) {
                start = 0;
                end = 360;
            }
            e.SetCoord(5, start);
            e.SetCoord(6, end);
            break;
        }
        }
        if (entry->second.Matrix > 0)
            placed_.push_back({entry->second.Element, entry->second.Matrix});
    }

    // The matrix of a directory entry, after the matrices it refers to.
    std::optional<Matrix> matrix_of(int pointer, int depth) const
    {
        const auto entry = directory_.find(pointer);
        const auto values = matrices_.find(pointer);
        if (entry == directory_.end() || entry->second.Type != 124 || values == matrices_.end())
            return std::nullopt;
        Matrix m = values->second;
        if (entry->second.Matrix > 0 && depth < 16) {
            if (const auto outer = matrix_of(entry->second.Matrix, depth + 1))
                m = outer->after(m);
        }
        return m;
    }

    void place_all()
    {
        for (const auto& [element, pointer] : placed_)
            if (const auto m = matrix_of(pointer, 0))
                place(sink_.element(element), *m, sink_.arc_views());
    }

    LineReader lines_;
    DrawingSink& sink_;
    RecordFields fields_;
    std::string global_;
    bool delimitersKnown_ = false;
    char parameter_ = ',';
    char record_ = ';';
    std::unordered_map<int, DirectoryEntry> directory_;
    std::unordered_map<int, Matrix> matrices_;
    std::vector<std::pair<int, int>> placed_;
    bool recordOpen_ = false;
    int recordPointer_ = 0;
    long long recordLine_ = 0;
    std::string record_text_;
};

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
        const double cx = e.GetCoord(1), cy = e.GetCoord(2), r = e.GetCoord(4);
        const double a1 = static_cast<double>(e.GetCoord(5) / kDegreesPerRadian);
        const double a2 = static_cast<double>(e.GetCoord(6) / kDegreesPerRadian);
        text("100,");
        real(e.GetCoord(3), ','), real(cx, ','), real(cy, ',');
        real(cx + r * std::cos(a1), ','), real(cy + r * std::sin(a1), ',');
        real(cx + r * std::cos(a2), ','), real(cy + r * std::sin(a2), ';');
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

int number_from_colour(TColor Colour)
{
    switch (Colour) {
    case 0x000000:
        return 0;
    case 0x0000FF:
    case 0x000080:
        return 2;
    case 0x00FF00:
    case 0x008000:
        return 3;
    case 0xFF0000:
    case 0x800000:
        return 4;
    case 0x00FFFF:
    case 0x008080:
        return 5;
    case 0xFF00FF:
    case 0x800080:
        return 6;
    case 0xFFFF00:
    case 0x808000:
        return 7;
    case 0xFFFFFF:
    case 0xC0C0C0:
    case 0x808080:
        return 8;
    default:
        return 3;
    }
}

void read(std::istream& in, DrawingSink& sink)
{
    Reader(in, sink).run();
}

bool write(std::ostream& out, const DrawingSource& drawing)
{
    TextWriter w(out);
    auto line = [&](std::string_view text, std::string_view suffix) { Card().text(text).suffix().text(suffix).write(w); };
    std::string_view start = drawing.StartText;
    if (start.size() > 70)
        start.remove_prefix(start.size() - 70);
    line(start, "S0000001");
    const bool mm = drawing.Units == uMM;
    line(std::string("1H,,1H;,,,6HQUOREL,1H1,16,8,24,8,56,,1.,") + (mm ? "2,2HMM" : "1,4HINCH") + ",1,0.01,",
         "G0000001");
    line("13H850101.010000,1.000000000E-04,100.,,;", "G0000002");
    Card().spaces(5).text("124").pad8(1).pad8(1).pad8(1).pad8(1).spaces(8).pad8(0).suffix().text(
        "00000000D0000001").write(w);
    Card().spaces(5).text("124").pad8(0).pad8(3).pad8(1).suffix().text("D0000002").write(w);

    // Directory: two lines per entity; the parameter pointer counts the
    // parameter lines written before it.
    char text[256];
    int d = 2, p = 1;
    for (const TElement* element : drawing.Elements) {
        const TElement& e = *element;
        if (!writable(e))
            continue;
        const int lines = split_parameter_text(std::string_view(text, parameter_text(e, text)), [](std::string_view) {});
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
