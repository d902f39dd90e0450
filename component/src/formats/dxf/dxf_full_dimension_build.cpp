// Dimensions drawn from their definition points (see dxf_dimension_build.h).
#include "formats/dxf/dxf_dimension_build.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvex::formats::dxf::full {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr Vec3 kUp{0, 0, 1};

Vec3 flat(const Vec3& p, double z) { return {p[0], p[1], z}; }
Vec3 direction_at(double degrees)
{
    return {std::cos(degrees / kDegreesPerRadian), std::sin(degrees / kDegreesPerRadian), 0};
}
double degrees_of(const Vec3& v) { return std::atan2(v[1], v[0]) * kDegreesPerRadian; }
Vec3 left_of(const Vec3& v) { return {-v[1], v[0], 0}; }

// The angle in (-90, 90] that reads the same line upright.
double readable(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a <= -180)
        a += 360;
    else if (a > 180)
        a -= 360;
    if (a > 90)
        a -= 180;
    else if (a <= -90)
        a += 180;
    return a;
}

// Counter-clockwise sweep from a to b in degrees, in [0, 360).
double sweep(double a, double b)
{
    double s = std::fmod(b - a, 360.0);
    return s < 0 ? s + 360 : s;
}

class Builder {
public:
    Builder(const DimensionPoints& d, const DimStyleDef& style) : d_(d), style_(style)
    {
        const double k = style.overall();
        arrow_ = style.no_arrows() ? 0.0 : std::max(0.0, style.arrowSize * k);
        tick_ = std::max(0.0, style.tickSize * k);
        if (tick_ == 0 && style.tick_block())
            tick_ = arrow_;
        exo_ = style.extOffset * k;
        exe_ = style.extBeyond * k;
        gap_ = std::fabs(style.textGap * k);
        out_.label.height = style.textHeight * k;
        z_ = d.p10[2];
    }

    DimensionDrawing run()
    {
        switch (d_.type) {
        case 0:
        case 1:
            linear();
            break;
        case 2:
        case 5:
            angular();
            break;
        case 3:
            diameter();
            break;
        case 4:
            radius();
            break;
        default:
            ordinate();
            break;
        }
        return std::move(out_);
    }

private:
    void line(const Vec3& a, const Vec3& b)
    {
        if (norm(b - a) > 0)
            out_.lines.push_back({flat(a, z_), flat(b, z_)});
    }

    // An extension line from the object's point `from` to the dimension
    // line at `to`: off the object by DIMEXO, past the line by DIMEXE.
    void extension(const Vec3& from, const Vec3& to)
    {
        const Vec3 v = flat(to, 0) - flat(from, 0);
        const double length = norm(v);
        if (!(length > 1e-12) || exo_ >= length + exe_)
            return;
        const Vec3 u = v * (1 / length);
        line(from + u * exo_, to + u * exe_);
    }

    // An arrowhead (or a tick) at `tip` whose tail lies towards `back`.
    void arrow(const Vec3& tip, const Vec3& back)
    {
        if (tick_ > 0) {
            const Vec3 slant = (back + left_of(back)) * (tick_ / 2);
            line(tip - slant, tip + slant);
        } else if (arrow_ > 0) {
            out_.arrows.push_back(arrowhead(flat(tip, z_), back, kUp, arrow_));
        }
    }

    // The label: the measurement in the written text, at the text point or
    // else by the middle of the dimension line (above it when the text runs
    // along it). `inside` tells whether the text stands between the
    // extension lines (inside the circle, on the arc).
    void label(double measured, bool angle, const std::string& prefix, const std::string& suffix, const Vec3& middle,
               double alongDeg, bool inside)
    {
        out_.measurement = measured;
        // Angles have their own decimal places (DIMDEC when -1) and zero
        // suppression (DIMAZIN: 1 leading, 2 trailing).
        const int decimals = angle && style_.angleDecimals >= 0 ? style_.angleDecimals : style_.decimals;
        const int zeros = angle ? ((style_.angleZeros & 1) ? 4 : 0) | ((style_.angleZeros & 2) ? 8 : 0) : style_.zeros;
        out_.label.lines =
            dimension_text(d_.text, prefix + format_measurement(measured, decimals, zeros, style_.separator) + suffix);
        const bool horizontal = inside ? style_.horizontalInside : style_.horizontalOutside;
        out_.label.rotation = given(d_.textRotation) ? d_.textRotation : horizontal ? 0.0 : readable(alongDeg);
        if (d_.hasTextAt) {
            out_.label.at = flat(d_.textAt, z_);
            out_.label.attachment = d_.attachment >= 1 && d_.attachment <= 9 ? d_.attachment : 5;
        } else {
            const Vec3 up = left_of(direction_at(readable(alongDeg)));
            out_.label.at = flat(horizontal ? middle : middle + up * (gap_ + out_.label.height / 2), z_);
            out_.label.attachment = 5;
        }
    }

    void linear()
    {
        Vec3 along = direction_at(d_.angle);
        if (d_.type == 1) {
            const Vec3 v = flat(d_.p14, 0) - flat(d_.p13, 0);
            along = norm(v) > 0 ? v * (1 / norm(v)) : Vec3{1, 0, 0};
        }
        const Vec3 q1 = d_.p10 + along * dot(flat(d_.p13 - d_.p10, 0), along);
        const Vec3 q2 = d_.p10 + along * dot(flat(d_.p14 - d_.p10, 0), along);
        extension(d_.p13, q1);
        extension(d_.p14, q2);
        dimension_line(q1, q2);
        const double t1 = dot(flat(q1, 0), along), t2 = dot(flat(q2, 0), along);
        const double t = d_.hasTextAt ? dot(flat(d_.textAt, 0), along) : (t1 + t2) / 2;
        label(std::fabs(dot(flat(d_.p14 - d_.p13, 0), along)) * style_.linearFactor, false, "", "", (q1 + q2) * 0.5,
              degrees_of(along), t >= std::min(t1, t2) && t <= std::max(t1, t2));
    }

    // A straight dimension line with arrowheads at both ends: inside when
    // both fit, else outside, pointing in, with the line drawn past them.
    void dimension_line(const Vec3& a, const Vec3& b)
    {
        const double length = norm(flat(b - a, 0));
        if (!(length > 0))
            return;
        const Vec3 u = flat(b - a, 0) * (1 / length);
        line(a, b);
        if (tick_ > 0 || length >= 2 * arrow_) {
            arrow(a, u);
            arrow(b, u * -1.0);
        } else {
            line(a, a - u * (2 * arrow_));
            line(b, b + u * (2 * arrow_));
            arrow(a, u * -1.0);
            arrow(b, u);
        }
    }

    void radius()
    {
        const Vec3 centre = d_.p10, onArc = d_.p15;
        const Vec3 v = flat(onArc - centre, 0);
        const double r = norm(v);
        if (!(r > 0))
            return;
        const Vec3 u = v * (1 / r);
        line(centre, onArc);
        // A text beyond the arc: the line reaches out to it.
        if (d_.hasTextAt) {
            const double reach = dot(flat(d_.textAt - centre, 0), u);
            if (reach > r)
                line(onArc, centre + u * reach);
        }
        arrow(onArc, u * -1.0);
        label(r * style_.linearFactor, false, "R", "", (centre + onArc) * 0.5, degrees_of(u),
              !d_.hasTextAt || norm(flat(d_.textAt - centre, 0)) <= r);
    }

    void diameter()
    {
        const Vec3 a = d_.p10, b = d_.p15;
        const Vec3 v = flat(b - a, 0);
        const double length = norm(v);
        if (!(length > 0))
            return;
        const Vec3 u = v * (1 / length);
        line(a, b);
        arrow(a, u);
        arrow(b, u * -1.0);
        const Vec3 centre = (a + b) * 0.5;
        label(length * style_.linearFactor, false, "%%c", "", centre, degrees_of(u),
              !d_.hasTextAt || norm(flat(d_.textAt - centre, 0)) <= length / 2);
    }

    void angular()
    {
        Vec3 centre, at; // the angle's vertex and a point on the dimension arc
        Vec3 ray1, ray2; // a point on each side other than the vertex
        if (d_.type == 5) {
            centre = d_.p15, ray1 = d_.p13, ray2 = d_.p14, at = d_.p10;
        } else {
            // Two lines, 13-14 and 15-10, meeting at the vertex.
            const Vec3 a = flat(d_.p13, 0), b = flat(d_.p14, 0), c = flat(d_.p15, 0), e = flat(d_.p10, 0);
            const Vec3 r = b - a, s = e - c;
            const double denominator = r[0] * s[1] - r[1] * s[0];
            if (!(std::fabs(denominator) > 1e-12 * norm(r) * norm(s)))
                return; // parallel lines make no angle
            const double t = ((c[0] - a[0]) * s[1] - (c[1] - a[1]) * s[0]) / denominator;
            centre = a + r * t;
            centre[2] = z_;
            at = d_.p16;
            ray1 = norm(b - centre) >= norm(a - centre) ? b : a;
            ray2 = norm(e - centre) >= norm(c - centre) ? e : c;
        }
        const double radius = norm(flat(at - centre, 0));
        const double a1 = degrees_of(flat(ray1 - centre, 0)), a2 = degrees_of(flat(ray2 - centre, 0));
        const double toArc = degrees_of(flat(at - centre, 0));
        double start = a1, end = a2;
        if (d_.type == 2) {
            // Of the four sectors the two lines make, the one holding the
            // arc's point.
            const std::array<double, 4> rays{a1, a1 + 180, a2, a2 + 180};
            double best = 1e300;
            for (const double from : rays)
                for (const double to : rays) {
                    const double s = sweep(from, to);
                    if (s > 1e-9 && s < 180 + 1e-9 && sweep(from, toArc) <= s && s < best)
                        best = s, start = from, end = to;
                }
        } else if (sweep(a1, toArc) > sweep(a1, a2)) {
            std::swap(start, end);
        }
        const double angle = sweep(start, end);
        if (!(radius > 0) || !(angle > 1e-9))
            return;
        out_.arcs.push_back({flat(centre, z_), radius, start, end});
        const Vec3 from = centre + direction_at(start) * radius, to = centre + direction_at(end) * radius;
        // Extension lines where the arc ends off the defining lines.
        const bool startOnFirst = std::fabs(std::remainder(start - a1, 180.0)) < 1e-6;
        const Vec3 onFirst = startOnFirst ? from : to, onSecond = startOnFirst ? to : from;
        if (d_.type == 5) {
            reach(d_.p13, d_.p13, onFirst);
            reach(d_.p14, d_.p14, onSecond);
        } else {
            reach(d_.p13, d_.p14, onFirst);
            reach(d_.p15, d_.p10, onSecond);
        }
        arrow(from, direction_at(start + 90));
        arrow(to, direction_at(end + 90) * -1.0);
        const double middle = start + angle / 2;
        label(angle, true, "", "%%d", centre + direction_at(middle) * radius, middle - 90, true);
    }

    // An extension line to `onArc` from the nearer end of the segment a-b,
    // unless the arc ends on the segment itself.
    void reach(const Vec3& a, const Vec3& b, const Vec3& onArc)
    {
        const Vec3 ab = flat(b - a, 0);
        const double length2 = dot(ab, ab);
        const double t = length2 > 0 ? dot(flat(onArc - a, 0), ab) / length2 : 0;
        if (length2 > 0 && t >= 0 && t <= 1)
            return;
        extension(t < 0.5 ? a : b, onArc);
    }

    void ordinate()
    {
        const Vec3 v = flat(d_.p14 - d_.p13, 0);
        if (norm(v) > 0)
            line(d_.p13 + v * (std::min(exo_, norm(v)) / norm(v)), d_.p14);
        const Vec3 offset = flat(d_.p13 - d_.p10, 0);
        const double measured = std::fabs(d_.ordinateX ? offset[0] : offset[1]) * style_.linearFactor;
        label(measured, false, "", "", d_.p14, d_.ordinateX ? 90 : 0, false);
    }

    const DimensionPoints& d_;
    const DimStyleDef& style_;
    double arrow_ = 0, tick_ = 0, exo_ = 0, exe_ = 0, gap_ = 0, z_ = 0;
    DimensionDrawing out_;
};

} // namespace

DimensionDrawing build_dimension(const DimensionPoints& d, const DimStyleDef& style) { return Builder(d, style).run(); }

std::string format_measurement(double value, int decimals, int zeros, int separator)
{
    if (!std::isfinite(value))
        return {};
    decimals = std::clamp(decimals, 0, 8);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-')
        text.erase(0, 1); // no "-0.00"
    const std::size_t point = text.find('.');
    if (point != std::string::npos && (zeros & 8)) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if ((zeros & 4) && text.size() > 2) {
        const std::size_t digit = text[0] == '-' ? 1 : 0;
        if (text[digit] == '0' && text[digit + 1] == '.')
            text.erase(digit, 1);
    }
    const char mark = separator > 32 && separator < 127 ? static_cast<char>(separator) : '.';
    std::replace(text.begin(), text.end(), '.', mark);
    return text;
}

std::vector<std::string> dimension_text(const std::string& written, const std::string& measured)
{
    if (written == " ")
        return {};
    std::string text = written.empty() ? std::string("<>") : written;
    for (std::size_t at = text.find("<>"); at != std::string::npos; at = text.find("<>", at + measured.size()))
        text.replace(at, 2, measured);
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{' || c == '}')
            continue;
        if (c != '\\' || i + 1 == text.size()) {
            lines.back() += c;
            continue;
        }
        const char code = text[++i];
        switch (code) {
        case 'P':
            lines.emplace_back();
            break;
        case 'A':
        case 'C':
        case 'c':
        case 'H':
        case 'F':
        case 'f':
        case 'Q':
        case 'T':
        case 'W':
        case 'p': {
            const std::size_t end = text.find(';', i);
            i = end == std::string::npos ? text.size() : end;
            break;
        }
        case 'S': { // a stacked fraction, written across
            const std::size_t end = text.find(';', i);
            std::string stack = text.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            std::replace_if(
                stack.begin(), stack.end(), [](char s) { return s == '^' || s == '#'; }, '/');
            lines.back() += stack;
            i = end == std::string::npos ? text.size() : end;
            break;
        }
        case 'L':
        case 'l':
        case 'O':
        case 'o':
        case 'K':
        case 'k':
            break;
        case '~':
            lines.back() += ' ';
            break;
        case 'U':
        case 'u':
            lines.back() += '\\';
            lines.back() += code;
            break;
        default: // \\, \{, \} and the like: the character itself
            lines.back() += code;
            break;
        }
    }
    return lines;
}

std::vector<Vec3> arrowhead(const Vec3& tip, const Vec3& back, const Vec3& normal, double size)
{
    const Vec3 across = cross(normal, back) * (size / 6);
    const Vec3 tail = tip + back * size;
    return {tip, tail + across, tail - across};
}

} // namespace orvex::formats::dxf::full
