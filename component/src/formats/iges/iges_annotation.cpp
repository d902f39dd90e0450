// Dimensions, flag notes, labels, witness and section lines, and the choice
// of what an annotation entity draws.
#include "formats/iges/iges_annotation.h"

#include "formats/iges/iges_curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvex::formats::iges {

namespace {

enum Kind {
    kAngular = 202,
    kCurveDimension = 204,
    kDiameter = 206,
    kFlagNote = 208,
    kLabel = 210,
    kNote = 212,
    kLeader = 214,
    kLinear = 216,
    kOrdinate = 218,
    kPointDimension = 220,
    kRadius = 222,
};

constexpr double kTurn = 2 * std::numbers::pi;

bool finite_all(const std::vector<double>& v)
{
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

bool is_section(int form) { return form >= 31 && form <= 38; }
bool is_witness(int form) { return form == 40; }

int pointer_at(const std::vector<double>& v, std::size_t i)
{
    return i < v.size() && v[i] > 0 && v[i] < 2147483648.0 ? static_cast<int>(v[i]) : 0;
}

// Where the pointers to its parts stand among a kind's values.
std::vector<std::size_t> part_fields(int type, int form, const std::vector<double>& v)
{
    switch (type) {
    case kAngular: // note, witness lines, vertex, radius, leaders
        return {0, 1, 2, 6, 7};
    case kCurveDimension: // note, the measured curves (model geometry), leaders, witness lines
        return {0, 3, 4, 5, 6};
    case kDiameter: // note, leaders, centre
        return {0, 1, 2};
    case kLinear: // note, leaders, witness lines
        return {0, 1, 2, 3, 4};
    case kOrdinate: // note, a witness line or a leader (form 1: both)
        return form == 1 ? std::vector<std::size_t>{0, 1, 2} : std::vector<std::size_t>{0, 1};
    case kPointDimension: // note, leader, the arc or curve about the note
        return {0, 1, 2};
    case kRadius: // note, leader, centre (form 1: a second leader)
        return form == 1 ? std::vector<std::size_t>{0, 1, 4} : std::vector<std::size_t>{0, 1};
    case kFlagNote:
    case kLabel: {
        // Flag note: corner, angle, note, then the leaders counted;
        // label: the note, then the leaders counted.
        const std::size_t note = type == kFlagNote ? 4 : 0;
        std::vector<std::size_t> fields{note};
        const double count = note + 1 < v.size() ? v[note + 1] : 0;
        for (std::size_t i = 0; i < v.size() - std::min(v.size(), note + 2) && i < count; ++i)
            fields.push_back(note + 2 + i);
        return fields;
    }
    default:
        return {};
    }
}

// Witness lines leave out their first segment, the gap between the object
// and the line, and the segments then alternate: drawn, left out, drawn.
// Section lines are separate segments between pairs of points. Both hold
// pairs at a common depth.
bool add_lines(const AnnotationEntity& e, WorldShapes& shapes)
{
    const std::vector<double>& v = e.values;
    if (v.size() < 3 || v[0] != 1 || !(is_witness(e.Form) || is_section(e.Form)))
        return add_curve(106, e.Form, v, e.matrix, shapes, e.style); // a path or points named as a part
    const std::size_t room = (v.size() - 3) / 2;
    const std::size_t n = v[1] > 0 ? static_cast<std::size_t>(std::min(v[1], static_cast<double>(room))) : 0;
    auto point = [&](std::size_t i) { return e.matrix.apply(v[3 + 2 * i], v[4 + 2 * i], v[2]); };
    // A witness line of two points has no gap to leave out.
    const std::size_t first = is_witness(e.Form) && n > 2 ? 1 : 0;
    bool made = false;
    for (std::size_t i = first; i + 1 < n; i += 2) {
        shapes.line(point(i), point(i + 1), e.style);
        made = true;
    }
    return made;
}

// A circular arc (100) drawn as a part: counter-clockwise about its centre
// from its start to its end, a whole circle when they meet.
bool add_arc(const AnnotationEntity& e, WorldShapes& shapes)
{
    const std::vector<double>& v = e.values;
    if (v.size() < 7)
        return false;
    const double z = v[0], cx = v[1], cy = v[2];
    const double r = std::hypot(v[3] - cx, v[4] - cy);
    if (!(r > 0))
        return false;
    const double a0 = std::atan2(v[4] - cy, v[3] - cx);
    double sweep = std::atan2(v[6] - cy, v[5] - cx) - a0;
    while (sweep <= 0)
        sweep += kTurn;
    const Matrix m = e.matrix;
    const std::vector<Vec3> box{m.apply(cx - r, cy - r, z), m.apply(cx + r, cy - r, z), m.apply(cx + r, cy + r, z),
                                m.apply(cx - r, cy + r, z)};
    shapes.curve(
        [=](double t) {
            const double a = a0 + sweep * t;
            return m.apply(cx + r * std::cos(a), cy + r * std::sin(a), z);
        },
        0, 1, 8, box, e.style);
    return true;
}

// The outline of a flag note: a box about the note's first string with a
// pointed end on either side, at the lower left corner, turned by the angle.
void add_flag(const AnnotationEntity& flag, const AnnotationEntity* note, WorldShapes& shapes)
{
    const std::vector<double>& v = flag.values;
    if (note == nullptr || note->values.size() < 13 || v.size() < 4)
        return;
    const double character = note->values[3], text = note->values[2];
    if (!(character > 0) || !(text >= 0))
        return;
    const double height = 2 * character, length = text + 0.4 * character;
    const double tip = 0.5 * height / std::tan(35 * std::numbers::pi / 180);
    const double c = std::cos(v[3]), s = std::sin(v[3]);
    const double corner[][2] = {
        {0, 0}, {length, 0}, {length + tip, height / 2}, {length, height}, {0, height}, {-tip, height / 2}, {0, 0}};
    std::vector<Vec3> points;
    for (const auto& p : corner)
        points.push_back(flag.matrix.apply(v[0] + p[0] * c - p[1] * s, v[1] + p[0] * s + p[1] * c, v[2]));
    shapes.chain(points, flag.style);
}

// A part named by a dimension.
bool add_part(const AnnotationEntity& p, const double* arcCentre, WorldShapes& shapes)
{
    switch (p.Type) {
    case kNote:
        return add_note(p, shapes);
    case kLeader:
        return add_leader(p, shapes, arcCentre);
    case 106:
        return add_lines(p, shapes);
    case 100:
        return add_arc(p, shapes);
    default:
        return false;
    }
}

} // namespace

bool is_dimension(int type)
{
    switch (type) {
    case kAngular:
    case kCurveDimension:
    case kDiameter:
    case kFlagNote:
    case kLabel:
    case kLinear:
    case kOrdinate:
    case kPointDimension:
    case kRadius:
        return true;
    default:
        return false;
    }
}

bool is_annotation(int type, int form)
{
    return type == kNote || type == kLeader || is_dimension(type) ||
           (type == 106 && (is_section(form) || is_witness(form)));
}

bool is_annotation_part(int type) { return type == kNote || type == kLeader || type == 106 || type == 100; }

std::vector<int> annotation_parts(int type, int form, const std::vector<double>& v)
{
    std::vector<int> parts;
    for (const std::size_t field : part_fields(type, form, v))
        if (const int pointer = pointer_at(v, field); pointer > 0)
            parts.push_back(pointer);
    return parts;
}

bool add_annotation(const AnnotationEntity& e, const PartLookup& part, WorldShapes& shapes)
{
    if (!finite_all(e.values))
        return false;
    if (!is_dimension(e.Type))
        return add_part(e, nullptr, shapes);

    // An angular dimension's leaders run on arcs about its vertex.
    const double vertex[2] = {e.values.size() > 4 ? e.values[3] : 0, e.values.size() > 4 ? e.values[4] : 0};
    const double* arcCentre = e.Type == kAngular && e.values.size() > 4 ? vertex : nullptr;
    bool made = false;
    std::optional<AnnotationEntity> note;
    for (const std::size_t field : part_fields(e.Type, e.Form, e.values)) {
        const int pointer = pointer_at(e.values, field);
        if (pointer <= 0)
            continue;
        std::optional<AnnotationEntity> p = part(pointer, e.matrix);
        if (!p || !is_annotation_part(p->Type) || !finite_all(p->values))
            continue;
        made = add_part(*p, arcCentre, shapes) || made;
        if (p->Type == kNote && !note)
            note = std::move(p);
    }
    if (e.Type == kFlagNote)
        add_flag(e, note ? &*note : nullptr, shapes);
    return made;
}

} // namespace orvex::formats::iges
