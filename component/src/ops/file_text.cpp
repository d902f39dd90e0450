// Integer texts, space removal, circle view codes and the colour tables of
// the drawing files.
#include <OrvexGDI/OpsFileText.h>

#include "formats/iges/iges_colours.h"

#include <array>
#include <cstdint>

namespace orvex::Ops {

int val_int(std::string_view S)
{
    // One pass over the text, spaces skipped: an optional sign first, then
    // at least one digit and nothing else.
    std::size_t i = 0;
    const std::size_t n = S.size();
    auto skip_spaces = [&] {
        while (i < n && S[i] == ' ')
            ++i;
    };
    skip_spaces();
    if (i == n)
        return 0;
    bool negative = false;
    if (S[i] == '+' || S[i] == '-') {
        negative = S[i] == '-';
        ++i;
        skip_spaces();
    }
    std::int64_t value = 0;
    bool digits = false;
    for (; i < n; ++i) {
        const char c = S[i];
        if (c == ' ')
            continue;
        if (c < '0' || c > '9')
            return 0;
        digits = true;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return 0;
    }
    if (!digits)
        return 0;
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return 0;
    return static_cast<int>(value);
}

std::string strip_spaces(std::string_view S)
{
    std::string result;
    result.reserve(S.size());
    for (char c : S)
        if (c != ' ')
            result.push_back(c);
    return result;
}

void fix_circle(double& X, double& Y, double& Z, int ViewCode, int& NewView)
{
    const double x = X, y = Y, z = Z;
    switch (ViewCode) {
    case 1:
        NewView = 1;
        break;
    case 2:
        NewView = 2;
        X = x, Y = -z, Z = y;
        break;
    case 3:
        NewView = 2;
        X = -x, Y = z, Z = y;
        break;
    case 4:
        NewView = 1;
        X = -x, Y = y, Z = -z;
        break;
    case 6:
        NewView = 3;
        X = -z, Y = -x, Z = y;
        break;
    case 44:
        NewView = 1;
        X = -x, Y = y, Z = z;
        break;
    default:
        NewView = ViewCode;
        break;
    }
}

namespace {
constexpr std::array<TColor, 16> kOvxColors = {
    0x000000, 0x008000, 0x000080, 0x008080, 0x00FFFF, 0x808000, 0x800080, 0x808080,
    0x800000, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0xC0C0C0, 0xFFFFFF,
};
constexpr TColor kSilver = 0xC0C0C0;
} // namespace

int get_ovx_color(TColor Colour)
{
    for (std::size_t i = 0; i < kOvxColors.size(); ++i)
        if (kOvxColors[i] == Colour)
            return static_cast<int>(i);
    return 10;
}

TColor set_ovx_color(int Index, TColor Background)
{
    if (Index < 0)
        return kSilver;
    if (Index > 15)
        Index = 1;
    if (Index == 0 && Background == 0x000000)
        return kSilver;
    if (Index == 15 && Background == 0xFFFFFF)
        return kSilver;
    return kOvxColors[static_cast<std::size_t>(Index)];
}

TColor set_iges_color(int Number) { return iges_colours::colour_of(Number); }

} // namespace orvex::Ops
