// The DXF reader reads the file as group pairs, takes an entity name from
// each pair whose code is 0, reads the entity's pairs and makes its element;
// POLYLINE, VERTEX and SEQEND drive a small state machine that turns
// vertices into line segments.
#include "formats/dxf/dxf.h"

#include "formats/common/read_back.h"
#include "formats/common/read_error.h"
#include "formats/common/record_fields.h"
#include "formats/common/text_writer.h"
#include "formats/dxf/dxf_pairs.h"

#include <OrvexGDI/OpsFileText.h>

#include <array>
#include <cmath>
#include <iterator>
#include <string_view>

namespace orvex::formats::dxf {

namespace {

constexpr std::array<TColor, 17> kColours = {
    0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0x808000, 0xFF0000, 0xFF00FF, 0xFFFFFF, 0x808080,
    0x000080, 0x008080, 0xFFFF00, 0x008000, 0x800000, 0x800080, 0xC0C0C0, 0xFFFFFF,
};

// SEQEND makes only the closing line of a closed polyline.
enum class Kind { Unknown, Line, Arc, Point, SeqEnd };

struct Vec {
    double v[3] = {0, 0, 0};
};

// What one entity's group pairs set; reset before every entity.
struct Entity {
    int Layer = 1;
    int LineType = 1;
    TColor Colour = 0x00FF00;
    int View = 1;
    Vec First, Second;
    double Radius = 0, Start = 0, End = 0;
};

// Kept across entities for the whole read.
struct Polyline {
    Vec Previous, Current, FirstVertex;
    bool InPolyline = false, VerticesStarted = false, VertexSeen = false;
    bool SegmentReady = false, Closed = false, Closing = false;
    // Extrusion components, rounded; the view is decided at group 230.
    double ExtrusionX = 0, ExtrusionY = 0, ExtrusionZ = 0;
    std::array<bool, 7> ViewWritten{};
};

class Reader {
public:
    Reader(std::istream& in, DrawingSink& sink) : pairs_(in), sink_(sink), background_(sink.background_color()) {}

    void run()
    {
        Pair pair;
        bool more = next(pair);
        while (more) {
            if (!pair.StartsEntity) {
                if (pair.Code == 9 && pair.Text == "$INSUNITS") {
                    more = next(pair);
                    if (more && pair.Code == 70)
                        report_units(pair);
                    continue;
                }
                more = next(pair); // a pair of an entity this reader passes over
                continue;
            }
            const Kind kind = entity_kind(pair.Text);
            if (kind == Kind::Unknown) {
                more = next(pair);
                continue;
            }
            const long long begun = pairs_.line_number();
            Entity entity;
            more = read_pairs(kind, entity, pair);
            if (!more && !afterEndMarker_)
                pairs_.ended_inside(begun);
            on_line(pairs_.line_number(), [&] { make(kind, entity); });
            poly_.Closing = false;
        }
    }

private:
    bool next(Pair& pair) { return pairs_.next_whole(pair, afterEndMarker_); }

    void report_units(const Pair& pair)
    {
        if (TLoadReport* report = sink_.report())
            on_line(pairs_.line_number(), [&] { report->Units = units_name(trunc_int(pair.value())); });
    }

    // The kind of entity a name starts, with the polyline state changes of
    // VERTEX, SEQEND and POLYLINE. Names are compared exactly.
    Kind entity_kind(std::string_view name)
    {
        switch (name.size()) {
        case 3:
            if (name == "ARC")
                return Kind::Arc;
            if (name == "EOF") {
                sink_.stop_reading();
                afterEndMarker_ = true;
            }
            break;
        case 4:
            if (name == "LINE")
                return Kind::Line;
            break;
        case 5:
            if (name == "POINT")
                return Kind::Point;
            break;
        case 6:
            if (name == "CIRCLE")
                return Kind::Arc;
            if (name == "VERTEX") {
                if (poly_.InPolyline && poly_.VerticesStarted && poly_.VertexSeen)
                    poly_.SegmentReady = true;
                poly_.VertexSeen = true;
                return Kind::Line;
            }
            if (name == "SEQEND") {
                poly_.VertexSeen = poly_.SegmentReady = poly_.InPolyline = poly_.VerticesStarted = false;
                poly_.Closing = poly_.Closed;
                poly_.Closed = false;
                return Kind::SeqEnd;
            }
            break;
        case 8:
            if (name == "POLYLINE") {
                poly_.InPolyline = true;
                poly_.VertexSeen = false;
                return Kind::Line;
            }
            break;
        default:
            break;
        }
        return Kind::Unknown;
    }

    // The entity's pairs up to the pair with code 0 that closes it, which is
    // left in `pair`. False when the input ended first.
    bool read_pairs(Kind kind, Entity& entity, Pair& pair)
    {
        while (next(pair)) {
            if (pair.StartsEntity) {
                if (poly_.InPolyline && !poly_.VerticesStarted)
                    poly_.VerticesStarted = true;
                if (poly_.Closing) {
                    poly_.Previous = poly_.Current;
                    poly_.Current = poly_.FirstVertex;
                }
                return true;
            }
            const double value = pair.value();
            on_line(pairs_.line_number(), [&] { group(pair.Code, value, kind, entity); });
        }
        return false;
    }

    void coordinate(int axis, double value, Entity& entity)
    {
        if (poly_.SegmentReady) {
            poly_.Previous.v[axis] = poly_.Current.v[axis];
            poly_.Current.v[axis] = value;
            poly_.InPolyline = poly_.VerticesStarted = false;
        }
        if (poly_.VerticesStarted && poly_.InPolyline) {
            poly_.FirstVertex.v[axis] = value;
            poly_.Current.v[axis] = value;
        }
        if (!poly_.VertexSeen && !poly_.InPolyline)
            entity.First.v[axis] = value;
    }

    void group(int code, double value, Kind kind, Entity& entity)
    {
        const bool lineOrArc = kind == Kind::Line || kind == Kind::SeqEnd || kind == Kind::Arc;
        switch (code) {
        case 6: {
            const int lineType = trunc_int(value);
            entity.LineType = lineType == 0 ? 1 : lineType;
            break;
        }
        case 8: {
            const int layer = trunc_int(value);
            entity.Layer = layer == 0 ? 1 : layer;
            break;
        }
        case 10:
        case 20:
        case 30:
            coordinate(code / 10 - 1, value, entity);
            break;
        case 11:
        case 21:
        case 31:
            entity.Second.v[code / 10 - 1] = value;
            break;
        case 40:
            if (lineOrArc)
                entity.Radius = value;
            break;
        case 50:
            entity.Start = value;
            break;
        case 51:
            entity.End = value;
            break;
        case 62:
            entity.Colour = colour_from_number(trunc_int(value), background_);
            break;
        case 70:
            if (value == 1)
                poly_.Closed = true;
            break;
        case 210:
            if (lineOrArc)
                poly_.ExtrusionX = std::nearbyint(value);
            break;
        case 220:
            if (lineOrArc)
                poly_.ExtrusionY = std::nearbyint(value);
            break;
        case 230:
            if (lineOrArc) {
                poly_.ExtrusionZ = std::nearbyint(value);
                extrusion_view(entity);
            }
            break;
        default:
            break;
        }
    }

    // The axis extrusions become arc views; (0, 0, -1) is mirrored into the
    // top view when the arc is made.
    void extrusion_view(Entity& entity)
    {
        const double x = poly_.ExtrusionX, y = poly_.ExtrusionY, z = poly_.ExtrusionZ;
        int view = 0;
        TArcView plane;
        if (x == 0 && y == -1 && z == 0) {
            view = 2;
            plane = {1, 0, 0, 0, 0, -1, 0, 1, 0, true};
        } else if (x == 0 && y == 1 && z == 0) {
            view = 3;
            plane = {-1, 0, 0, 0, 0, 1, 0, 1, 0, true};
        } else if (x == 0 && y == 0 && z == -1) {
            entity.View = 4;
            return;
        } else if (x == 1 && y == 0 && z == 0) {
            view = 5;
            plane = {0, 0, 1, 1, 0, 0, 0, 1, 0, true};
        } else if (x == -1 && y == 0 && z == 0) {
            view = 6;
            plane = {0, 0, -1, -1, 0, 0, 0, 1, 0, true};
        } else {
            return;
        }
        entity.View = view;
        if (!poly_.ViewWritten[static_cast<std::size_t>(view)]) {
            poly_.ViewWritten[static_cast<std::size_t>(view)] = true;
            sink_.arc_views()[view] = plane;
        }
    }

    static double mirror(double a)
    {
        if (a >= 0 && a <= 180)
            return 180 - a;
        if (a > 180 && a <= 360)
            return 540 - a;
        return a;
    }

    void make(Kind kind, Entity& e)
    {
        switch (kind) {
        case Kind::Point:
            sink_.make_element(etPoint, e.First.v[0], e.First.v[1], e.First.v[2], 0, 0, 0, e.Colour, 0, e.Layer, 0, 0);
            break;
        case Kind::Line:
        case Kind::SeqEnd:
            if (poly_.SegmentReady || poly_.Closing) {
                const Vec& a = poly_.Previous;
                const Vec& b = poly_.Current;
                sink_.make_element(etLine, a.v[0], a.v[1], a.v[2], b.v[0], b.v[1], b.v[2], e.Colour, e.LineType,
                                   e.Layer, 0, 0);
            } else if (kind == Kind::Line && !poly_.InPolyline && !poly_.VerticesStarted) {
                sink_.make_element(etLine, e.First.v[0], e.First.v[1], e.First.v[2], e.Second.v[0], e.Second.v[1],
                                   e.Second.v[2], e.Colour, e.LineType, e.Layer, 0, 0);
            }
            break;
        case Kind::Arc: {
            double x = e.First.v[0], z = e.First.v[2];
            double start = e.Start, end = e.End;
            int view = e.View;
            if (view == 4) {
                x = -x;
                z = -z;
                start = mirror(e.End);
                end = mirror(e.Start);
                view = 1;
            }
            sink_.make_element(etArc, x, e.First.v[1], z, e.Radius, start, end, e.Colour, e.LineType, e.Layer, 0, view);
            break;
        }
        case Kind::Unknown:
            break;
        }
    }

    PairReader pairs_;
    DrawingSink& sink_;
    TColor background_;
    Polyline poly_;
    bool afterEndMarker_ = false;
};

// Refuses an element whose entity the reader would not make again as it
// is: left out for its coordinates, or moved to another layer or sweep.
void require_entity_reads_back(const TElement& e)
{
    if (require_placed_as_written(e) && e.GetEtype() == etArc)
        require_arc_stays_an_arc(e, read_back(e.GetCoord(5)), read_back(e.GetCoord(6)));
}

} // namespace

std::string units_name(int Code)
{
    static const char* const kNames[] = {"unitless",
                                         "inch",
                                         "feet",
                                         "miles",
                                         "mm",
                                         "cm",
                                         "m",
                                         "km",
                                         "microinches",
                                         "mils",
                                         "yards",
                                         "angstroms",
                                         "nanometres",
                                         "microns",
                                         "decimetres",
                                         "decametres",
                                         "hectometres",
                                         "gigametres",
                                         "astronomical units",
                                         "light years",
                                         "parsecs",
                                         "US survey feet",
                                         "US survey inches",
                                         "US survey yards",
                                         "US survey miles"};
    if (Code >= 0 && Code < static_cast<int>(std::size(kNames)))
        return kNames[Code];
    return "units code " + std::to_string(Code);
}

TColor colour_from_number(int Number, TColor Background)
{
    if (Number < 0 || Number > 16)
        return 0x00FF00;
    if (Number == 0 && Background == 0x000000)
        return 0xC0C0C0;
    return kColours[static_cast<std::size_t>(Number)];
}

int number_from_colour(TColor Colour)
{
    for (std::size_t i = 0; i < 16; ++i)
        if (kColours[i] == Colour)
            return static_cast<int>(i);
    return 3;
}

void read(std::istream& in, DrawingSink& sink) { Reader(in, sink).run(); }

bool write(std::ostream& out, const DrawingSource& drawing)
{
    TextWriter w(out);
    w.put("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\n");
    auto pair = [&](std::string_view code, double value) {
        w.put(code);
        w.real(value);
        w.crlf();
    };
    for (const TElement* element : drawing.Elements) {
        const TElement& e = *element;
        if (e.GetDeleted())
            continue;
        require_entity_reads_back(e);
        const int type = e.GetEtype();
        switch (type) {
        case etPoint:
            w.put("POINT\r\n8\r\n");
            break;
        case etLine:
            w.put("LINE\r\n8\r\n");
            break;
        case etArc:
            w.put("ARC\r\n8\r\n");
            break;
        case etCircle:
            w.put("CIRCLE\r\n8\r\n");
            break;
        default:
            continue;
        }
        w.integer(e.GetLayer());
        w.crlf();
        pair("10\r\n", e.GetCoord(1));
        pair("20\r\n", e.GetCoord(2));
        pair("30\r\n", e.GetCoord(3));
        if (type == etLine) {
            pair("11\r\n", e.GetCoord(4));
            pair("21\r\n", e.GetCoord(5));
            pair("31\r\n", e.GetCoord(6));
        } else if (type == etArc || type == etCircle) {
            pair("40\r\n", e.GetCoord(4));
            if (type == etArc) {
                pair("50\r\n", e.GetCoord(5));
                pair("51\r\n", e.GetCoord(6));
            }
        }
        w.put("62\r\n");
        w.integer(number_from_colour(e.GetColor()));
        w.put("\r\n0\r\n");
        if (!w.good())
            break;
    }
    w.put("ENDSEC\r\n0\r\nEOF\r\n");
    return w.finish();
}

namespace {

// The groups the writer puts in each entity it writes, in order.
constexpr std::string_view kPointGroups[] = {"8", "10", "20", "30", "62"};
constexpr std::string_view kLineGroups[] = {"8", "10", "20", "30", "11", "21", "31", "62"};
constexpr std::string_view kArcGroups[] = {"8", "10", "20", "30", "40", "50", "51", "62"};
constexpr std::string_view kCircleGroups[] = {"8", "10", "20", "30", "40", "62"};

bool integer_text(std::string_view t)
{
    if (!t.empty() && t.front() == '-')
        t.remove_prefix(1);
    return !t.empty() && t.size() <= 9 && t.find_first_not_of("0123456789") == std::string_view::npos;
}

// A colour number of the writer's table as it writes one (0 to 15); -1 for
// any other text.
int table_number(std::string_view t)
{
    if (t.empty() || t.size() > 2 || t.find_first_not_of("0123456789") != std::string_view::npos ||
        (t.size() == 2 && t[0] == '0'))
        return -1;
    const int n = t.size() == 1 ? t[0] - '0' : (t[0] - '0') * 10 + (t[1] - '0');
    return n <= 15 ? n : -1;
}

} // namespace

void WrittenLayout::see(const Pair& pair)
{
    if (holds_)
        holds_ = expected(pair);
}

bool WrittenLayout::expected(const Pair& pair)
{
    switch (stage_) {
    case Stage::Section:
        stage_ = Stage::Entities;
        return pair.CodeText == "  0" && pair.Text == "SECTION";
    case Stage::Entities:
        stage_ = Stage::Name;
        return pair.CodeText == "  2" && pair.Text == "ENTITIES";
    case Stage::Name:
        return entity_name(pair);
    case Stage::Groups:
        return group(pair);
    case Stage::EndMarker:
        stage_ = Stage::Ended;
        return pair.CodeText == "0" && pair.Text == "EOF";
    case Stage::Ended:
        return false; // the writer writes nothing after the end marker
    }
    return false;
}

bool WrittenLayout::entity_name(const Pair& pair)
{
    if (pair.CodeText != nameCode_)
        return false;
    nameCode_ = "0";
    const std::string_view name = pair.Text;
    if (name == "ENDSEC") {
        stage_ = Stage::EndMarker;
        return true;
    }
    auto groups = [&](const auto& list) {
        codes_ = list;
        codeCount_ = std::size(list);
    };
    if (name == "POINT")
        groups(kPointGroups);
    else if (name == "LINE")
        groups(kLineGroups);
    else if (name == "ARC")
        groups(kArcGroups);
    else if (name == "CIRCLE")
        groups(kCircleGroups);
    else
        return false;
    stage_ = Stage::Groups;
    nextCode_ = 0;
    return true;
}

bool WrittenLayout::group(const Pair& pair)
{
    if (nextCode_ == codeCount_) { // the code 0 after the last group names the next entity
        stage_ = Stage::Name;
        return entity_name(pair);
    }
    if (pair.CodeText != codes_[nextCode_++])
        return false;
    if (pair.Code == 8)
        return integer_text(pair.Text);
    if (pair.Code == 62) {
        const int number = table_number(pair.Text);
        if (number < 0)
            return false;
        colours_.push_back(static_cast<std::uint8_t>(number));
    }
    return true;
}

} // namespace orvex::formats::dxf
