#include "drawing_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orvex::model {

namespace {

constexpr double kDegreesPerRadian = 57.2957795131;
constexpr double kLimit = 1e9;  // the factory's coordinate range
constexpr double kExtent = 1e9; // extents are kept within this

constexpr int kHighlightGroup = 2;

bool in_range(double v)
{
    return v >= -kLimit && v <= kLimit; // false for NaN
}

// Two corrections at most, as the drawing's angles are normalised.
double fix_angle(double a)
{
    for (int i = 0; i < 2; ++i)
        if (a > 360)
            a -= 360;
    for (int i = 0; i < 2; ++i)
        if (a < 0)
            a += 360;
    return a;
}

// Direction from point 1 to point 2 in degrees; an exact axis direction
// comes out just off the axis, as the drawing's angle routine has it.
double direction(double x1, double y1, double x2, double y2)
{
    if (x1 == x2 && y1 == y2)
        return 0;
    double t = std::fabs(y2 - y1);
    if (t == 0) {
        t = 1e-7;
        y1 += 1e-7;
    }
    double u = std::fabs(x2 - x1);
    if (u == 0) {
        u = 1e-7;
        x1 += 1e-7;
    }
    double r = std::atan(t / u) * kDegreesPerRadian;
    if (x1 > x2 && y1 < y2)
        r = 180 - r;
    else if (x1 > x2 && y1 > y2)
        r = r + 180;
    else if (x1 < x2 && y1 > y2)
        r = 360 - r;
    return fix_angle(r);
}

// The value a file gives back for a real written with four decimals.
double four_decimals(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", v);
    return std::strtod(text, nullptr);
}

// The value a file gives back for an arc-view coefficient (15 digits).
double fifteen_digits(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", v);
    return std::strtod(text, nullptr);
}

// The 16-colour table of the native format, by index.
constexpr Colour kOvxColours[16] = {0x000000, 0x008000, 0x000080, 0x008080, 0x00FFFF, 0x808000, 0x800080, 0x808080,
                                    0x800000, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0xC0C0C0, 0xFFFFFF};
// DXF colour numbers 0 to 15 (16, white again, is never written).
constexpr Colour kDxfColours[16] = {0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0x808000, 0xFF0000, 0xFF00FF, 0xFFFFFF,
                                    0x808080, 0x000080, 0x008080, 0xFFFF00, 0x008000, 0x800000, 0x800080, 0xC0C0C0};
constexpr Colour kSilver = 0xC0C0C0;

// The first position of a colour in a 16-colour file table, or Otherwise.
int table_index(const Colour (&table)[16], Colour c, int Otherwise)
{
    for (int i = 0; i < 16; ++i)
        if (table[i] == c)
            return i;
    return Otherwise;
}

Colour ovx_round_trip(Colour c, Colour background)
{
    const int index = table_index(kOvxColours, c, 10);
    if ((index == 0 && background == 0x000000) || (index == 15 && background == 0xFFFFFF))
        return kSilver;
    return kOvxColours[index];
}

Colour dxf_round_trip(Colour c, Colour background)
{
    const int number = table_index(kDxfColours, c, 3);
    if (number == 0 && background == 0x000000)
        return kSilver;
    return kDxfColours[number];
}

Colour iges_round_trip(Colour c, Colour background)
{
    struct Row {
        Colour a, b, c, read;
    };
    // Written colour values (up to three per number) and what the number reads as.
    static constexpr Row kRows[] = {
        {0x0000FF, 0x000080, -1, 0x0000FF},       {0x00FF00, 0x008000, -1, 0x00FF00},
        {0xFF0000, 0x800000, -1, 0xFF0000},       {0x00FFFF, 0x008080, -1, 0x00FFFF},
        {0xFF00FF, 0x800080, -1, 0xFF00FF},       {0xFFFF00, 0x808000, -1, 0xFFFF00},
        {0xFFFFFF, 0xC0C0C0, 0x808080, 0xFFFFFF},
    };
    if (c == 0x000000) // number 0 reads like DXF's black
        return background == 0x000000 ? kSilver : 0x000000;
    for (const Row& row : kRows)
        if (c == row.a || c == row.b || c == row.c)
            return row.read;
    return 0x00FF00; // number 3
}

// The centre of a circle record read back, and its arc view, by view code.
int fix_circle(double& x, double& y, double& z, int code)
{
    const double ox = x, oy = y, oz = z;
    switch (code) {
    case 2:
        x = ox, y = -oz, z = oy;
        return 2;
    case 3:
        x = -ox, y = oz, z = oy;
        return 2;
    case 4:
        x = -ox, y = oy, z = -oz;
        return 1;
    case 6:
        x = -oz, y = -ox, z = oy;
        return 3;
    case 44:
        x = -ox;
        return 1;
    default:
        return code;
    }
}

bool in_group(const Element& e) { return !e.deleted && e.highlight == kHighlightGroup; }

} // namespace

Drawing::Drawing()
{
    layerVisible.fill(true);
    reset_arc_views();
    // A new control defines the front, side and isometric planes too.
    arcViews[2] = {{1, 0, 0, 0, 0, -1, 0, 1, 0}, true};
    arcViews[3] = {{0, 0, 1, 1, 0, 0, 0, 1, 0}, true};
    arcViews[4] = {{0, 0, 0, 0, 0, 0, 0, 0, 0}, true};
}

void Drawing::reset_arc_views()
{
    for (ArcView& v : arcViews)
        v.defined = false;
    arcViews[1] = {{1, 0, 0, 0, 1, 0, 0, 0, 1}, true};
}

Element Drawing::fresh()
{
    Element e;
    e.id = nextId_++;
    return e;
}

void Drawing::widen(double x, double y)
{
    if (x > extents.maxX)
        extents.maxX = x;
    if (x < extents.minX)
        extents.minX = x;
    if (y > extents.maxY)
        extents.maxY = y;
    if (y < extents.minY)
        extents.minY = y;
}

void Drawing::widen_by(const Element& e)
{
    const auto& s = e.slot;
    switch (e.type) {
    case 1:
        widen(s[0], s[1]);
        break;
    case 2:
        widen(s[0], s[1]);
        widen(s[3], s[4]);
        break;
    case 3: {
        // An arc in another defined plane widens where that plane puts it.
        static constexpr std::array<double, 9> kTop = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        const bool inPlane = e.view > 1 && e.view <= 90 && arcViews[e.view].defined;
        const auto& p = inPlane ? arcViews[e.view].m : kTop;
        const double cx = p[0] * s[0] + p[1] * s[1] + p[2] * s[2];
        const double cy = p[3] * s[0] + p[4] * s[1] + p[5] * s[2];
        const double r = s[3];
        if (s[5] - s[4] > 180) {
            const double hx = r * std::hypot(p[0], p[1]), hy = r * std::hypot(p[3], p[4]);
            widen(cx + hx, cy + hy);
            widen(cx - hx, cy - hy);
        } else {
            for (double degrees : {s[4], s[5]}) {
                const double du = r * std::cos(degrees / kDegreesPerRadian);
                const double dv = r * std::sin(degrees / kDegreesPerRadian);
                widen(cx + p[0] * du + p[1] * dv, cy + p[3] * du + p[4] * dv);
            }
        }
        break;
    }
    default:
        return;
    }
    extents.minX = std::max(extents.minX, -kExtent);
    extents.minY = std::max(extents.minY, -kExtent);
    extents.maxX = std::min(extents.maxX, kExtent);
    extents.maxY = std::min(extents.maxY, kExtent);
}

int Drawing::make(int type, std::array<double, 6> c, Colour colour, int lt, int layer, int highlight, int view)
{
    switch (type) {
    case 1:
        if (!in_range(c[0]) || !in_range(c[1]))
            return -1;
        break;
    case 2:
        if (!in_range(c[0]) || !in_range(c[1]) || !in_range(c[3]) || !in_range(c[4]))
            return -1;
        if (!in_range(c[5]))
            c[5] = 0;
        break;
    case 3:
    case 4:
        if (!in_range(c[0]) || !in_range(c[1]) || !in_range(c[3]) || !std::isfinite(c[4]) || !std::isfinite(c[5]))
            return -1;
        break;
    case 10:
    case 12:
    case 13:
    case 14:
        if (!std::all_of(c.begin(), c.end(), in_range))
            return -1;
        break;
    default:
        break;
    }
    if ((type >= 1 && type <= 4) && !in_range(c[2]))
        c[2] = 0;
    if (type == 3 && std::fabs(c[4] - c[5]) < 0.0001) {
        c[4] = 0;
        c[5] = 360;
    }
    Element e = fresh();
    e.type = type;
    if (type != 0) {
        e.slot = c;
        e.colour = colour;
        const bool construction = lt == 10 || lt == 20;
        e.lineType = construction ? lt / 10 : lt;
        e.layer = layer < 1 || layer > 254 ? 252 : layer;
        e.highlight = highlight;
        e.view = view < 1 ? 1 : view;
        if (!construction)
            widen_by(e);
    }
    elements.push_back(e);
    return static_cast<int>(elements.size()) - 1;
}

int Drawing::make_with_current(int type, std::array<double, 6> c, int view)
{
    return make(type, c, drawColour, lineType, currentLayer, 0, view);
}

void Drawing::add_to_group(int n)
{
    if (n == 0) {
        for (Element& e : elements)
            if (!e.deleted)
                e.highlight = kHighlightGroup;
    } else if (n >= 1 && n < static_cast<int>(elements.size()) && !elements[n].deleted) {
        elements[n].highlight = kHighlightGroup;
    }
}

void Drawing::clear_group()
{
    for (Element& e : elements)
        if (!e.deleted)
            e.highlight = 0;
}

void Drawing::delete_element(Element& e)
{
    e.deleted = true;
    e.highlight = 0;
    deletions.push_back(e.id);
}

void Drawing::delete_group()
{
    for (Element& e : elements)
        if (in_group(e))
            delete_element(e);
}

void Drawing::rotated_copy(const Element& source, double pu, double pv, double angle)
{
    // The view's rotation plane: which coordinates are u and v.
    const int u = viewNumber == 3 ? 1 : 0;
    const int v = viewNumber == 2 || viewNumber == 3 ? 2 : 1;
    const auto turn = [&](std::array<double, 6>& c, int base) {
        const double cu = c[base + u], cv = c[base + v];
        const double r = std::sqrt((cu - pu) * (cu - pu) + (cv - pv) * (cv - pv));
        const double a = (direction(pu, pv, cu, cv) + angle) / kDegreesPerRadian;
        c[base + u] = pu + r * std::cos(a);
        c[base + v] = pv + r * std::sin(a);
    };
    const Element e = source; // the list may grow under the reference
    std::array<double, 6> c = e.slot;
    switch (e.type) {
    case 1:
        turn(c, 0);
        break;
    case 2:
        turn(c, 0);
        turn(c, 3);
        break;
    case 3:
        turn(c, 0);
        if (viewNumber == 1 || viewNumber == 4) {
            c[4] += angle;
            c[5] += angle;
            if (c[4] > 360) {
                c[4] -= 360;
                c[5] -= 360;
            }
        }
        break;
    default:
        return;
    }
    make(e.type, c, e.colour, e.lineType, e.layer, kHighlightGroup, e.view);
}

void Drawing::rotate_group(double angle, double pu, double pv, int times, bool keepSource)
{
    if (angle == 0 || times < 0)
        return;
    if (times == 0)
        times = 1;
    const std::size_t count = elements.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (!in_group(elements[i]))
            continue;
        for (int k = 1; k <= times; ++k) {
            double theta = k * angle;
            if (theta > 360)
                theta -= 360;
            rotated_copy(elements[i], pu, pv, theta);
        }
        if (!keepSource)
            delete_element(elements[i]);
    }
}

void Drawing::shift_group(double dx, double dy, double dz, int times, bool keepSource)
{
    if (times < 1)
        return;
    for (int k = 1; k <= times; ++k) {
        const double ox = k * dx, oy = k * dy, oz = k * dz;
        const std::size_t count = elements.size();
        for (std::size_t i = 0; i < count; ++i) {
            const Element e = elements[i];
            if (!in_group(e))
                continue;
            const auto& s = e.slot;
            switch (e.type) {
            case 1:
                make(1, {s[0] + ox, s[1] + oy, s[2] + oz, s[3], s[4], s[5]}, e.colour, 0, e.layer, 0, e.view);
                break;
            case 2:
                make(2, {s[0] + ox, s[1] + oy, s[2] + oz, s[3] + ox, s[4] + oy, s[5] + oz}, e.colour, e.lineType,
                     e.layer, 0, e.view);
                break;
            case 3:
                make(3, {s[0] + ox, s[1] + oy, s[2] + oz, s[3], s[4], s[5]}, e.colour, e.lineType, e.layer, 0, e.view);
                break;
            default:
                break;
            }
        }
    }
    if (keepSource)
        return;
    for (Element& e : elements)
        if (in_group(e)) {
            e.deleted = true; // the group highlight stays
            deletions.push_back(e.id);
        }
}

Raises Drawing::rotate_element(int n, double angle, double pu, double pv)
{
    if (n < 0 || n >= static_cast<int>(elements.size()))
        return Raises::ListIndex;
    rotated_copy(elements[n], pu, pv, angle);
    elements[n].deleted = false;
    return Raises::Nothing;
}

namespace {
// Subtracts an origin from a live element's position slots, by type.
void shift(Element& e, double x, double y, double z)
{
    if (e.deleted)
        return;
    auto& s = e.slot;
    switch (e.type) {
    case 1:
    case 3:
    case 6:
        s[0] -= x, s[1] -= y, s[2] -= z;
        break;
    case 2:
    case 9:
        s[0] -= x, s[3] -= x, s[1] -= y, s[4] -= y, s[2] -= z, s[5] -= z;
        break;
    case 5:
        s[0] -= x, s[1] -= y;
        break;
    case 7:
        s[0] -= x, s[2] -= x, s[1] -= y, s[3] -= y;
        break;
    default:
        break;
    }
}
} // namespace

Raises Drawing::shift_element(int n, double x, double y, double z)
{
    if (n < 0 || n >= static_cast<int>(elements.size()))
        return Raises::ListIndex;
    shift(elements[n], x, y, z);
    return Raises::Nothing;
}

void Drawing::new_origin(double x, double y, double z)
{
    for (Element& e : elements)
        shift(e, x, y, z);
}

void Drawing::set_is_deleted(int n, bool deleted)
{
    if (n < 0 || n >= static_cast<int>(elements.size()))
        return;
    Element& e = elements[n];
    const bool wasLive = !e.deleted;
    e.deleted = deleted;
    e.highlight = 0;
    if (deleted && wasLive)
        deletions.push_back(e.id);
}

void Drawing::undelete_last()
{
    while (!deletions.empty()) {
        const int id = deletions.back();
        deletions.pop_back();
        const auto e = std::find_if(elements.begin(), elements.end(), [id](const Element& x) { return x.id == id; });
        if (e != elements.end() && e->deleted) {
            e->deleted = false;
            return;
        }
    }
}

Raises Drawing::set_element(int target, int source)
{
    const int count = static_cast<int>(elements.size());
    if (target < 0 || target >= count || source < 0 || source >= count)
        return Raises::ListIndex;
    const int id = elements[target].id;
    elements[target] = elements[source];
    elements[target].id = id;
    return Raises::Nothing;
}

Raises Drawing::insert(int index)
{
    if (index < 0 || index > static_cast<int>(elements.size()))
        return Raises::ListIndex;
    elements.insert(elements.begin() + index, fresh());
    return Raises::Nothing;
}

void Drawing::add() { elements.push_back(fresh()); }

void Drawing::clear_elements()
{
    elements.clear();
    deletions.clear();
}

void Drawing::set_extents()
{
    extents.maxX = extents.maxY = -9000;
    extents.minX = extents.minY = 9000;
    for (const Element& e : elements)
        if (!e.deleted && layerVisible[static_cast<std::size_t>(e.layer)])
            widen_by(e);
}

Drawing::FileContents Drawing::saved(Format format) const
{
    FileContents file;
    file.arcViews[1] = {{1, 0, 0, 0, 1, 0, 0, 0, 1}, true};
    if (format == OVX)
        for (int n = 1; n <= 90; ++n)
            if (arcViews[n].defined) {
                file.arcViews[n].defined = true;
                for (int i = 0; i < 9; ++i)
                    file.arcViews[n].m[i] = fifteen_digits(arcViews[n].m[i]);
            }

    // Builds the read element through the same factory rules.
    Drawing reader;
    reader.background = background;
    const auto read = [&](int type, std::array<double, 6> c, Colour colour, int lt, int layer, int view) {
        reader.make(type, c, colour, lt, layer, 0, view);
    };
    const auto r4 = four_decimals;
    for (const Element& e : elements) {
        if (e.deleted)
            continue;
        const auto& s = e.slot;
        switch (format) {
        case OVX: {
            const Colour colour = ovx_round_trip(e.colour, background);
            if (e.type == 1) {
                read(1, {r4(s[0]), r4(s[1]), r4(s[2]), 0, 0, 0}, colour, 0, e.layer, 0);
            } else if (e.type == 2) {
                read(2, {r4(s[0]), r4(s[1]), r4(s[2]), r4(s[3]), r4(s[4]), r4(s[5])}, colour, e.lineType, e.layer, 0);
            } else if (e.type == 3 && r4(s[3]) > 0) {
                double end = r4(s[5]);
                if (std::fabs(end) < 0.0001)
                    end = 0;
                const int view = e.view < 1 || e.view > 90 ? 1 : e.view;
                read(3, {r4(s[0]), r4(s[1]), r4(s[2]), r4(s[3]), r4(s[4]), end}, colour, e.lineType, e.layer, view);
            } else if (e.type == 4 && r4(s[3]) > 0) {
                double x = r4(s[0]), y = r4(s[1]), z = r4(s[2]);
                const int view = fix_circle(x, y, z, e.view < 1 || e.view > 90 ? 1 : e.view);
                read(3, {x, y, z, r4(s[3]), 0, 360}, colour, e.lineType, e.layer, view);
            }
            break;
        }
        case DXF: {
            const Colour colour = dxf_round_trip(e.colour, background);
            if (e.type == 1)
                read(1, {r4(s[0]), r4(s[1]), r4(s[2]), 0, 0, 0}, colour, 0, e.layer, 0);
            else if (e.type == 2)
                read(2, {r4(s[0]), r4(s[1]), r4(s[2]), r4(s[3]), r4(s[4]), r4(s[5])}, colour, 1, e.layer, 0);
            else if (e.type == 3)
                read(3, {r4(s[0]), r4(s[1]), r4(s[2]), r4(s[3]), r4(s[4]), r4(s[5])}, colour, 1, e.layer, 1);
            else if (e.type == 4)
                read(3, {r4(s[0]), r4(s[1]), r4(s[2]), r4(s[3]), 0, 0}, colour, 1, e.layer, 1);
            break;
        }
        case IGES: {
            const Colour colour = iges_round_trip(e.colour, background);
            const int lt = e.lineType == 2 ? 2 : 1;
            if (e.type == 1) {
                read(1, {r4(s[0]), r4(s[1]), r4(s[2]), 0, 0, 0}, colour, lt, e.layer, 0);
            } else if (e.type == 2) {
                read(2, {r4(s[0]), r4(s[1]), r4(s[2]), r4(s[3]), r4(s[4]), r4(s[5])}, colour, lt, e.layer, 0);
            } else if (e.type == 3) {
                // Written as centre, start and end points; read back as radius and directions.
                const double a1 = s[4] / kDegreesPerRadian, a2 = s[5] / kDegreesPerRadian;
                const double cx = r4(s[0]), cy = r4(s[1]);
                const double sx = r4(s[0] + s[3] * std::cos(a1)), sy = r4(s[1] + s[3] * std::sin(a1));
                const double ex = r4(s[0] + s[3] * std::cos(a2)), ey = r4(s[1] + s[3] * std::sin(a2));
                const double radius = std::sqrt((sx - cx) * (sx - cx) + (sy - cy) * (sy - cy));
                double start = direction(cx, cy, sx, sy), end = direction(cx, cy, ex, ey);
                if (start == end)
                    start = 0, end = 360;
                read(3, {cx, cy, r4(s[2]), radius, start, end}, colour, lt, e.layer, 0);
            }
            break;
        }
        }
    }
    file.elements = std::move(reader.elements);
    return file;
}

void Drawing::read(const FileContents& file, bool merge)
{
    reset_arc_views();
    for (int n = 1; n <= 90; ++n)
        if (file.arcViews[n].defined)
            arcViews[n] = file.arcViews[n];
    if (!merge) {
        clear_elements();
        extents.maxX = extents.maxY = extents.maxZ = -100;
        extents.minX = extents.minY = 100;
    }
    for (Element e : file.elements) {
        e.id = nextId_++;
        elements.push_back(e);
    }
    set_extents();
}

} // namespace orvex::model
