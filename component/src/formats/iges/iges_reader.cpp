// The IGES reader. Directory entries are collected first; parameter records
// are linked to their entry through the pointer in columns 66-72 and joined
// when they span several lines. Once the whole file is read, every entry
// that is model geometry becomes an element in directory order: its values
// placed through the matrix chain it names, then made by the element
// factory, which leaves out values it does not accept.
#include "formats/iges/iges.h"

#include "formats/common/line_reader.h"
#include "formats/common/read_error.h"
#include "formats/common/record_fields.h"
#include "formats/iges/iges_annotation.h"
#include "formats/iges/iges_curves.h"
#include "formats/iges/iges_parameters.h"
#include "formats/iges/iges_place.h"
#include "formats/iges/iges_surfaces.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsFileText.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvex::formats::iges {

namespace {

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

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A directory pointer held in a parameter value: its integer part, or 0
// (no entry) for a value beyond the integers.
int pointer_value(double v) { return v > -2147483649.0 && v < 2147483648.0 ? static_cast<int>(v) : 0; }

// A count held in a parameter value: its integer part, 0 when it is not
// positive, and at most `limit` (the number of values that could follow).
std::size_t count_value(double v, std::size_t limit)
{
    if (!(v > 0))
        return 0;
    return v < static_cast<double>(limit) ? static_cast<std::size_t>(v) : limit;
}

bool is_blank(std::string_view line)
{
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\x1a')
            return false;
    return true;
}

// One fixed 80-column record: its section letter in column 73 and seven
// digits after it.
bool is_record(std::string_view r)
{
    if (r.size() != 80)
        return false;
    const char s = r[72];
    if (s != 'S' && s != 'G' && s != 'D' && s != 'P' && s != 'T')
        return false;
    for (std::size_t i = 73; i < 80; ++i)
        if (!is_digit(r[i]) && r[i] != ' ')
            return false;
    return true;
}

struct DirectoryEntry {
    int Type = 0; // 0 when the entry's two type numbers differ
    int Form = 0;
    int Level = 0;
    int Matrix = 0; // directory entry of its transformation matrix, 0 for none
    TColor Colour = 0;
    int ColourNumber = 0; // negative: the directory entry of a colour definition (314)
    int LineType = 1;
    int Layer = 1;
    bool Blanked = false;    // blank status 01
    bool Parametric = false; // use flag 05: a 2-D curve in a surface's parameter space
    long long Line = 0;      // its first directory line
    bool HasRecord = false;
    long long RecordLine = 0;
    std::string Record; // the parameter data
};

class Reader {
public:
    Reader(std::istream& in, DrawingSink& sink, bool full) : lines_(in), sink_(sink), full_(full) {}

    void run()
    {
        sink_.set_units(uINCH);
        std::string_view line;
        while (next_record(line)) {
            const long long number = number_;
            on_line(number, [&] { read_line(line, number); });
        }
        finish_record();
        make_elements();
    }

private:
    static constexpr std::size_t kMaxRecord = std::size_t{1} << 16;
    static constexpr std::size_t kMaxGlobal = std::size_t{1} << 16;

    // The next record: blank lines are passed over, and a line made of
    // several 80-column records without line ends is handed out a record at
    // a time. The record number counts the records so handed out and the
    // lines passed over.
    bool next_record(std::string_view& record)
    {
        for (;;) {
            if (!pending_.empty()) {
                record = pending_.substr(0, 80);
                pending_.remove_prefix(80);
                ++number_;
                return true;
            }
            std::string_view line;
            if (!lines_.next(line))
                return false;
            if (line.size() >= 160 && line.size() % 80 == 0 && all_records(line)) {
                pending_ = line;
                continue;
            }
            ++number_;
            if (is_blank(line))
                continue;
            record = line;
            return true;
        }
    }

    static bool all_records(std::string_view line)
    {
        for (std::size_t i = 0; i < line.size(); i += 80)
            if (!is_record(line.substr(i, 80)))
                return false;
        return true;
    }

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
        } else if (section == 'D' && (line[71] != ' ' || is_blank(line.substr(64, 8)))) {
            // A blank status field stands for 00000000.
            directory_entry(line, number);
        } else if (section == 'P') {
            parameter_line(line, letter, number);
        }
    }

    static int two_digits(std::string_view status, std::size_t at)
    {
        return status.size() >= at + 2 ? Ops::val_int(status.substr(at, 2)) : 0;
    }

    void directory_entry(std::string_view first, long long number)
    {
        const int type1 = Ops::val_int(first.substr(0, 8));
        const int lineType = Ops::val_int(first.substr(24, 8)) == 2 ? 2 : 1;
        const int level = Ops::val_int(first.substr(32, 8));
        const int matrix = Ops::val_int(first.substr(48, 8));
        const std::string_view status = first.substr(64, 8);
        const int sequence = Ops::val_int(first.substr(73, 7));
        DirectoryEntry entry;
        entry.Blanked = two_digits(status, 0) == 1;
        entry.Parametric = two_digits(status, 4) == 5;
        entry.Line = number;

        std::string_view second;
        if (!next_record(second))
            throw ERangeError("the directory entry has no second line");
        check_length(second);
        const int type2 = Ops::val_int(second.substr(0, 8));
        const int colourNumber = Ops::val_int(second.substr(16, 8));
        // Colour 0 is "no colour": drawn like DXF's colour 0.
        entry.ColourNumber = colourNumber;
        entry.Colour = colourNumber == 0 ? (sink_.background_color() == 0x000000 ? 0xC0C0C0 : 0x000000)
                                         : Ops::set_iges_color(colourNumber);
        // Our files keep the layer in the form number. Other systems' form
        // numbers above 255 are left to the factory (layer 252); where the
        // form is 0, the level names the layer.
        const int form = Ops::val_int(second.substr(32, 8));
        int layer = form;
        if (form == 0)
            layer = level >= 1 && level <= 254 ? level : 1;
        else if (form == 255)
            layer = 254;
        entry.Type = type1 == type2 ? type1 : 0;
        entry.Form = form;
        entry.Level = level;
        entry.Matrix = matrix;
        entry.LineType = lineType;
        entry.Layer = layer;
        if (directory_.emplace(sequence, std::move(entry)).second)
            order_.push_back(sequence);
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
        // Data fills columns 1-64 of an 80-column line; column 65 is a
        // separator, which would otherwise fall inside a text that goes on
        // over the next line (the full import reads texts).
        const std::size_t end = full_ && letter == 72 ? std::min<std::size_t>(begin, 64) : begin;
        const std::string_view data = line.substr(0, end);
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

    // Keeps the record with its directory entry.
    void parameter_record()
    {
        // The entity type is the first field, however long the record.
        const std::size_t end = record_text_.find_first_of(std::string{parameter_, record_});
        fields_.split_iges(std::string_view(record_text_).substr(0, end == std::string::npos ? end : end + 1),
                           parameter_, record_);
        const int type = round_int(fields_.value(1));
        const auto entry = directory_.find(recordPointer_);
        if (entry == directory_.end()) {
            if (mapped_type(type) != etNone)
                throw EListError("the parameter record points to directory entry " + std::to_string(recordPointer_) +
                                 ", which does not exist");
            return;
        }
        DirectoryEntry& e = entry->second;
        if (e.Type != type || e.HasRecord)
            return;
        e.HasRecord = true;
        e.RecordLine = recordLine_;
        e.Record = record_text_;
    }

    const DirectoryEntry* entry_with_record(int pointer, int type) const
    {
        const auto entry = directory_.find(pointer);
        if (entry == directory_.end() || entry->second.Type != type || !entry->second.HasRecord)
            return nullptr;
        return &entry->second;
    }

    // The matrix of a directory entry, after the matrices it refers to.
    std::optional<Matrix> matrix_of(int pointer, int depth)
    {
        const DirectoryEntry* entry = entry_with_record(pointer, 124);
        if (entry == nullptr)
            return std::nullopt;
        Matrix m;
        on_line(entry->RecordLine, [&] {
            fields_.split_iges(entry->Record, parameter_, record_);
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 4; ++j)
                    m.m[i][j] = fields_.value(2 + 4 * i + j);
        });
        if (entry->Matrix > 0 && depth < 16) {
            if (const auto outer = matrix_of(entry->Matrix, depth + 1))
                m = outer->after(m);
        }
        return m;
    }

    // Curves in a surface's parameter space: the curves every
    // curve-on-surface entity (142) names as its parameter-space curve, with
    // the members of those that are composite curves (102).
    std::unordered_set<int> parameter_space_curves()
    {
        std::unordered_set<int> curves;
        std::vector<double> values;
        for (const int sequence : order_) {
            const DirectoryEntry* entry = entry_with_record(sequence, 142);
            if (entry == nullptr)
                continue;
            on_line(entry->RecordLine, [&] { parameter_values(entry->Record, parameter_, record_, values); });
            if (values.size() >= 3)
                mark_curve(pointer_value(values[2]), curves, 0);
        }
        // A boundary entity (141) names, after each model-space curve, the
        // parameter-space curves of the same piece.
        for (const int sequence : order_) {
            const DirectoryEntry* entry = entry_with_record(sequence, 141);
            if (entry == nullptr)
                continue;
            on_line(entry->RecordLine, [&] { parameter_values(entry->Record, parameter_, record_, values); });
            const std::size_t n = values.size() > 3 ? count_value(values[3], values.size()) : 0;
            std::size_t at = 4;
            for (std::size_t piece = 0; piece < n && at + 2 < values.size(); ++piece) {
                const std::size_t k = count_value(values[at + 2], values.size());
                for (std::size_t i = 0; i < k && at + 3 + i < values.size(); ++i)
                    mark_curve(pointer_value(values[at + 3 + i]), curves, 0);
                at += 3 + k;
            }
        }
        // In a full import, also the curves that only define a surface: the
        // axis and generatrix of a surface of revolution (120), the
        // directrix of a tabulated cylinder (122).
        for (const int sequence : order_) {
            if (!full_)
                break;
            const DirectoryEntry& entry = directory_.at(sequence);
            if ((entry.Type != 120 && entry.Type != 122) || !entry.HasRecord)
                continue;
            on_line(entry.RecordLine, [&] { parameter_values(entry.Record, parameter_, record_, values); });
            for (std::size_t i = 0; i < (entry.Type == 120 ? 2u : 1u) && i < values.size(); ++i)
                mark_curve(pointer_value(values[i]), curves, 0);
        }
        return curves;
    }

    void mark_curve(int pointer, std::unordered_set<int>& curves, int depth)
    {
        if (pointer <= 0 || !curves.insert(pointer).second || depth >= 16)
            return;
        const DirectoryEntry* composite = entry_with_record(pointer, 102);
        if (composite == nullptr)
            return;
        std::vector<double> members;
        on_line(composite->RecordLine, [&] { parameter_values(composite->Record, parameter_, record_, members); });
        const std::size_t n = members.empty() ? 0 : count_value(members[0], members.size());
        for (std::size_t i = 1; i <= n && i < members.size(); ++i)
            mark_curve(pointer_value(members[i]), curves, depth + 1);
    }

    // The element values of a point, line or arc record, in its own space.
    Shape shape_of(const DirectoryEntry& entry, int kind)
    {
        Shape s;
        s.Etype = kind;
        fields_.split_iges(entry.Record, parameter_, record_);
        auto f = [&](int n) { return fields_.value(n); };
        switch (kind) {
        case etPoint:
            for (int i = 0; i < 3; ++i)
                s.c[i] = f(i + 2);
            break;
        case etLine:
            for (int i = 0; i < 6; ++i)
                s.c[i] = f(i + 2);
            break;
        default: {
            const double cx = f(3), cy = f(4), sx = f(5), sy = f(6), ex = f(7), ey = f(8);
            s.c[2] = f(2);
            s.c[0] = cx;
            s.c[1] = cy;
            // The true distance, however far the start point lies.
            s.c[3] = std::sqrt((sx - cx) * (sx - cx) + (sy - cy) * (sy - cy));
            double start = Ops::get_angle_degrees(cx, cy, sx, sy);
            double end = Ops::get_angle_degrees(cx, cy, ex, ey);
            if (start == end) {
                start = 0;
                end = 360;
            }
            s.c[4] = start;
            s.c[5] = end;
            break;
        }
        }
        return s;
    }

    // Kinds that make no element themselves but whose curves are drawn as
    // the entities they name: composite curves, boundaries, curves on
    // surfaces, trimmed surfaces.
    static bool drawn_through_others(int type) { return type == 102 || type == 141 || type == 142 || type == 144; }

    // The report's name of an entity kind: its number and its name, or the
    // number alone for a kind without a name here.
    static std::string kind_name(int type)
    {
        static const std::pair<int, const char*> kNames[] = {
            {100, "CIRCULAR ARC"},
            {102, "COMPOSITE CURVE"},
            {104, "CONIC ARC"},
            {106, "COPIOUS DATA"},
            {108, "PLANE"},
            {110, "LINE"},
            {112, "PARAMETRIC SPLINE CURVE"},
            {114, "PARAMETRIC SPLINE SURFACE"},
            {116, "POINT"},
            {118, "RULED SURFACE"},
            {120, "SURFACE OF REVOLUTION"},
            {122, "TABULATED CYLINDER"},
            {123, "DIRECTION"},
            {124, "TRANSFORMATION MATRIX"},
            {125, "FLASH"},
            {126, "B-SPLINE CURVE"},
            {128, "RATIONAL B-SPLINE SURFACE"},
            {130, "OFFSET CURVE"},
            {140, "OFFSET SURFACE"},
            {141, "BOUNDARY"},
            {142, "CURVE ON SURFACE"},
            {143, "BOUNDED SURFACE"},
            {144, "TRIMMED SURFACE"},
            {150, "BLOCK"},
            {152, "RIGHT ANGULAR WEDGE"},
            {154, "RIGHT CIRCULAR CYLINDER"},
            {156, "RIGHT CIRCULAR CONE FRUSTUM"},
            {158, "SPHERE"},
            {160, "TORUS"},
            {162, "SOLID OF REVOLUTION"},
            {164, "SOLID OF LINEAR EXTRUSION"},
            {168, "ELLIPSOID"},
            {180, "BOOLEAN TREE"},
            {182, "SELECTED COMPONENT"},
            {184, "SOLID ASSEMBLY"},
            {186, "MANIFOLD SOLID B-REP OBJECT"},
            {190, "PLANE SURFACE"},
            {192, "RIGHT CIRCULAR CYLINDRICAL SURFACE"},
            {194, "RIGHT CIRCULAR CONICAL SURFACE"},
            {196, "SPHERICAL SURFACE"},
            {198, "TOROIDAL SURFACE"},
            {202, "ANGULAR DIMENSION"},
            {204, "CURVE DIMENSION"},
            {206, "DIAMETER DIMENSION"},
            {208, "FLAG NOTE"},
            {210, "GENERAL LABEL"},
            {212, "GENERAL NOTE"},
            {213, "NEW GENERAL NOTE"},
            {214, "LEADER"},
            {216, "LINEAR DIMENSION"},
            {218, "ORDINATE DIMENSION"},
            {220, "POINT DIMENSION"},
            {222, "RADIUS DIMENSION"},
            {228, "GENERAL SYMBOL"},
            {230, "SECTIONED AREA"},
            {302, "ASSOCIATIVITY DEFINITION"},
            {304, "LINE FONT DEFINITION"},
            {306, "MACRO DEFINITION"},
            {308, "SUBFIGURE DEFINITION"},
            {310, "TEXT FONT DEFINITION"},
            {312, "TEXT DISPLAY TEMPLATE"},
            {314, "COLOR DEFINITION"},
            {316, "UNITS DATA"},
            {320, "NETWORK SUBFIGURE DEFINITION"},
            {322, "ATTRIBUTE TABLE DEFINITION"},
            {402, "ASSOCIATIVITY INSTANCE"},
            {404, "DRAWING"},
            {406, "PROPERTY"},
            {408, "SINGULAR SUBFIGURE INSTANCE"},
            {410, "VIEW"},
            {412, "RECTANGULAR ARRAY SUBFIGURE INSTANCE"},
            {414, "CIRCULAR ARRAY SUBFIGURE INSTANCE"},
            {416, "EXTERNAL REFERENCE"},
            {418, "NODAL LOAD/CONSTRAINT"},
            {420, "NETWORK SUBFIGURE INSTANCE"},
            {422, "ATTRIBUTE TABLE INSTANCE"},
            {430, "SOLID INSTANCE"},
            {502, "VERTEX"},
            {504, "EDGE"},
            {508, "LOOP"},
            {510, "FACE"},
            {514, "SHELL"},
        };
        for (const auto& [number, name] : kNames)
            if (number == type)
                return std::to_string(type) + " " + name;
        return std::to_string(type);
    }

    void count(int type, bool read)
    {
        TLoadReport* report = sink_.report();
        if (report == nullptr || !full_)
            return;
        const std::string name = kind_name(type);
        auto k = std::find_if(report->Kinds.begin(), report->Kinds.end(),
                              [&](const TLoadCount& c) { return c.Kind == name; });
        if (k == report->Kinds.end())
            k = report->Kinds.insert(report->Kinds.end(), TLoadCount{name, 0, 0});
        ++(read ? k->Read : k->Skipped);
    }

    // The numbers of the global section's fields from its second on.
    std::vector<double> global_values()
    {
        delimiters();
        std::vector<double> values;
        parameter_values(global_, parameter_, record_, values);
        return values;
    }

    // The units of the global section as the file states them: the name of
    // its units flag (field 14), or the units name (field 15) when the flag
    // defers to it or is not one of the standard's; "" when it states none.
    std::string units()
    {
        const std::vector<double> values = global_values();
        static const char* const kFlags[] = {"",  "inch", "mm",   "",        "feet", "miles",
                                             "m", "km",   "mils", "microns", "cm",   "microinches"};
        const double flag = values.size() >= 13 ? values[12] : 0;
        if (flag >= 1 && flag <= 11 && flag == std::trunc(flag) && *kFlags[static_cast<int>(flag)] != '\0')
            return kFlags[static_cast<int>(flag)];
        return parameter_text(global_, parameter_, record_, 13);
    }

    // The version flag of the global section (its 23rd field).
    std::string version()
    {
        const std::vector<double> values = global_values();
        static const char* const kVersions[] = {"",
                                                "1.0",
                                                "ANSI Y14.26M-1981",
                                                "2.0",
                                                "3.0",
                                                "ANSI Y14.26M-1987",
                                                "4.0",
                                                "ASME/ANSI Y14.26M-1989",
                                                "5.0",
                                                "5.1",
                                                "5.2",
                                                "5.3"};
        if (values.size() < 22 || !(values[21] >= 1 && values[21] <= 11))
            return {};
        return std::string("IGES ") + kVersions[static_cast<int>(values[21])];
    }

    // A full import draws in the colour a colour definition (314) gives, its
    // red, green and blue in percent.
    TColor colour_of(const DirectoryEntry& entry)
    {
        if (!full_ || entry.ColourNumber >= 0)
            return entry.Colour;
        const DirectoryEntry* definition = entry_with_record(-entry.ColourNumber, 314);
        if (definition == nullptr)
            return entry.Colour;
        std::vector<double> rgb;
        on_line(definition->RecordLine, [&] { parameter_values(definition->Record, parameter_, record_, rgb); });
        if (rgb.size() < 3)
            return entry.Colour;
        auto byte = [](double percent) {
            return static_cast<TColor>(
                std::lround(std::clamp(std::isfinite(percent) ? percent : 0.0, 0.0, 100.0) * 255 / 100));
        };
        const TColor colour = byte(rgb[0]) | byte(rgb[1]) << 8 | byte(rgb[2]) << 16;
        // Black is read as colour number 0 is: silver on a black background.
        return colour == 0x000000 && sink_.background_color() == 0x000000 ? 0xC0C0C0 : colour;
    }

    // The parts of dimensions, flag notes and labels (their notes, leaders,
    // witness lines and enclosing arcs): each is drawn through its parent,
    // placed by the parent's matrix after its own, and not on its own.
    std::unordered_set<int> annotation_parts_of_file()
    {
        std::unordered_set<int> parts;
        std::vector<double> values;
        for (const int sequence : order_) {
            const DirectoryEntry& entry = directory_.at(sequence);
            if (!entry.HasRecord || !is_dimension(entry.Type))
                continue;
            on_line(entry.RecordLine, [&] { parameter_values(entry.Record, parameter_, record_, values); });
            for (const int pointer : annotation_parts(entry.Type, entry.Form, values)) {
                const auto part = directory_.find(pointer);
                if (part != directory_.end() && part->second.HasRecord && is_annotation_part(part->second.Type))
                    parts.insert(pointer);
            }
        }
        return parts;
    }

    ShapeStyle style_of(const DirectoryEntry& entry)
    {
        // Other systems' form numbers are real forms: the level names the layer.
        return {colour_of(entry), entry.LineType, entry.Level >= 1 && entry.Level <= 254 ? entry.Level : 1};
    }

    AnnotationEntity annotation_of(const DirectoryEntry& entry, const Matrix& parent)
    {
        AnnotationEntity a;
        a.Type = entry.Type;
        a.Form = entry.Form;
        a.style = style_of(entry);
        on_line(entry.RecordLine, [&] {
            parameter_values(entry.Record, parameter_, record_, a.values);
            parameter_texts(entry.Record, parameter_, record_, a.texts);
            const Matrix own = entry.Matrix > 0 ? matrix_of(entry.Matrix, 0).value_or(Matrix{}) : Matrix{};
            a.matrix = parent.after(own);
        });
        return a;
    }

    // Draws an annotation entity of the full import; false when it made nothing.
    bool add_annotation_entity(const DirectoryEntry& entry, WorldShapes& shapes, std::unordered_set<int>& drawnParts)
    {
        const PartLookup part = [&](int pointer, const Matrix& parent) -> std::optional<AnnotationEntity> {
            const auto found = directory_.find(pointer);
            if (found == directory_.end())
                return std::nullopt;
            const DirectoryEntry& p = found->second;
            if (!p.HasRecord || p.Blanked || !is_annotation_part(p.Type) || !drawnParts.insert(pointer).second)
                return std::nullopt;
            return annotation_of(p, parent);
        };
        const AnnotationEntity a = annotation_of(entry, Matrix{});
        bool made = false;
        on_line(entry.RecordLine, [&] { made = add_annotation(a, part, shapes); });
        return made;
    }

    // The data of an entity that surfaces and solids are built from, read
    // once: its values and the matrix chain it names.
    const GeometryEntity* geometry(int pointer)
    {
        if (const auto known = geometry_.find(pointer); known != geometry_.end())
            return known->second ? &*known->second : nullptr;
        std::optional<GeometryEntity>& slot = geometry_[pointer];
        const auto found = directory_.find(pointer);
        if (found == directory_.end() || !found->second.HasRecord || found->second.Type == 0)
            return nullptr;
        const DirectoryEntry& entry = found->second;
        GeometryEntity g;
        g.Type = entry.Type;
        g.Form = entry.Form;
        on_line(entry.RecordLine, [&] {
            parameter_values(entry.Record, parameter_, record_, g.Values);
            if (entry.Matrix > 0)
                g.Placement = matrix_of(entry.Matrix, 0).value_or(Matrix{});
        });
        slot = std::move(g);
        return &*slot;
    }

    // Surfaces, curves on surfaces and the parts of solids that other
    // entities draw (not drawn on their own), and the curves that only
    // define surfaces, which join the parameter-space curves.
    std::unordered_set<int> surface_parts(std::unordered_set<int>& parameterCurves)
    {
        std::unordered_set<int> parts;
        std::vector<double> values;
        std::vector<int> pointers;
        for (const int sequence : order_) {
            const DirectoryEntry& entry = directory_.at(sequence);
            if (!entry.HasRecord || !names_parts(entry.Type))
                continue;
            on_line(entry.RecordLine, [&] { parameter_values(entry.Record, parameter_, record_, values); });
            parts_of(entry.Type, values, pointers);
            parts.insert(pointers.begin(), pointers.end());
            defining_curves_of(entry.Type, values, pointers);
            for (const int curve : pointers)
                mark_curve(curve, parameterCurves, 0);
        }
        return parts;
    }

    // Kinds whose records name parts or defining curves (the others, the
    // surfaces with the most numbers among them, need not be read here).
    static bool names_parts(int type)
    {
        switch (type) {
        case 118:
        case 140:
        case 141:
        case 142:
        case 143:
        case 144:
        case 186:
        case 508:
        case 510:
        case 514:
            return true;
        default:
            return false;
        }
    }

    static bool drawn_through_solids(int type)
    {
        return type == 141 || type == 502 || type == 504 || type == 508 || type == 510;
    }

    void make_elements()
    {
        std::unordered_set<int> parameterCurves = parameter_space_curves();
        const std::unordered_set<int> parts = full_ ? annotation_parts_of_file() : std::unordered_set<int>{};
        const SurfaceOptions options = sink_.surface_options();
        const bool surfaces = full_ && options.Surfaces;
        const std::unordered_set<int> surfaceParts =
            surfaces ? surface_parts(parameterCurves) : std::unordered_set<int>{};
        std::unordered_set<int> drawnParts;
        WorldShapes curves(sink_);
        // The curves this loop draws on its own: visible model-space curves.
        auto drawnOnItsOwn = [&](int pointer) {
            const auto found = directory_.find(pointer);
            if (found == directory_.end())
                return false;
            const DirectoryEntry& e = found->second;
            const bool curve = mapped_type(e.Type) != etNone || e.Type == 104 || e.Type == 106 || e.Type == 126;
            return curve && e.HasRecord && !e.Blanked && !e.Parametric && parameterCurves.count(pointer) == 0;
        };
        SurfaceDrawer drawer([this](int pointer) { return geometry(pointer); }, drawnOnItsOwn, curves, options);
        std::vector<double> values;
        for (const int sequence : order_) {
            const DirectoryEntry& entry = directory_.at(sequence);
            if (surfaces && (is_surface_kind(entry.Type) || drawn_through_solids(entry.Type))) {
                if (surfaceParts.count(sequence) > 0 || drawn_through_solids(entry.Type)) {
                    count(entry.Type, true); // drawn through the entity that names it
                    continue;
                }
                bool made = false;
                if (!entry.Blanked && !entry.Parametric && entry.HasRecord)
                    on_line(entry.RecordLine,
                            [&] { made = drawer.draw(sequence, entry.Type, style_of(entry), kind_name(entry.Type)); });
                count(entry.Type, made);
                continue;
            }
            if (parts.count(sequence) > 0) {
                count(entry.Type, true); // drawn through the dimension that names it
                continue;
            }
            if (full_ && is_annotation(entry.Type, entry.Form)) {
                const bool shown = !entry.Blanked && !entry.Parametric && entry.HasRecord;
                count(entry.Type, shown && add_annotation_entity(entry, curves, drawnParts));
                continue;
            }
            const int kind = mapped_type(entry.Type);
            const bool curve = full_ && (entry.Type == 104 || entry.Type == 106 || entry.Type == 126);
            if (kind == etNone && !curve) {
                if (entry.Type == 124 || drawn_through_others(entry.Type))
                    count(entry.Type, true);
                else if (entry.Type != 0)
                    count(entry.Type, false);
                continue;
            }
            if (entry.Blanked || entry.Parametric || parameterCurves.count(sequence) > 0) {
                count(entry.Type, false);
                continue;
            }
            if (!entry.HasRecord)
                throw EFileError(line_prefix(entry.Line) + "directory entry " + std::to_string(sequence) + " (entity " +
                                 std::to_string(entry.Type) + ") has no parameter data");
            if (curve) {
                const ShapeStyle style = style_of(entry);
                bool made = false;
                on_line(entry.RecordLine, [&] {
                    parameter_values(entry.Record, parameter_, record_, values);
                    const Matrix m = entry.Matrix > 0 ? matrix_of(entry.Matrix, 0).value_or(Matrix{}) : Matrix{};
                    made = add_curve(entry.Type, entry.Form, values, m, curves, style);
                });
                count(entry.Type, made);
                continue;
            }
            Shape shape;
            on_line(entry.RecordLine, [&] {
                shape = shape_of(entry, kind);
                if (entry.Matrix > 0)
                    if (const auto m = matrix_of(entry.Matrix, 0))
                        place(shape, *m, sink_.arc_views());
            });
            count(entry.Type, true);
            int made = -1;
            on_line(entry.RecordLine, [&] {
                made = sink_.make_element(kind, shape.c[0], shape.c[1], shape.c[2], shape.c[3], shape.c[4], shape.c[5],
                                          colour_of(entry), entry.LineType, entry.Layer, 0, shape.View);
            });
            if (made >= 0) { // the factory leaves out values beyond its range
                curves.include({shape.c[0], shape.c[1], shape.c[2]});
                if (kind == etLine)
                    curves.include({shape.c[3], shape.c[4], shape.c[5]});
            }
        }
        curves.finish();
        if (TLoadReport* report = sink_.report(); report != nullptr) {
            for (const std::string& note : curves.capped())
                report->Notes.push_back(note);
            if (full_)
                report->Version = version();
            // A global section whose numbers do not read states no units.
            try {
                report->Units = units();
            } catch (const std::exception&) {
                report->Units.clear();
            }
        }
    }

    LineReader lines_;
    DrawingSink& sink_;
    bool full_;
    RecordFields fields_;
    std::string_view pending_; // 80-column records of a line without line ends
    long long number_ = 0;
    std::string global_;
    bool delimitersKnown_ = false;
    char parameter_ = ',';
    char record_ = ';';
    std::unordered_map<int, DirectoryEntry> directory_;
    std::unordered_map<int, std::optional<GeometryEntity>> geometry_;
    std::vector<int> order_;
    bool recordOpen_ = false;
    int recordPointer_ = 0;
    long long recordLine_ = 0;
    std::string record_text_;
};

} // namespace

void read(std::istream& in, DrawingSink& sink) { Reader(in, sink, false).run(); }

void read_full(std::istream& in, DrawingSink& sink) { Reader(in, sink, true).run(); }

} // namespace orvex::formats::iges
