// The IGES colour numbers both ways, in one place: the colour each number
// 0..15 reads as, and the number each colour of the drawing is written as.
// Numbers 9..15 are the brighter twins of 1..8 in other systems' files; the
// writer gives dark shades and greys the number of their hue.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

#include <array>

namespace orvex::Ops::iges_colours {

/// The colour of a number outside 0..15, and the number of a colour not in the table.
inline constexpr TColor kUnknownColour = 0x00FF00;
inline constexpr int kUnknownNumber = 3;

inline constexpr std::array<TColor, 16> kRead = {
    0x000000, 0x0000FF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00,
    0xFFFFFF, 0x0000FF, 0x00FFFF, 0xFFFF00, 0x00FF00, 0xFF0000, 0xFF00FF, 0xFFFFFF,
};

struct Written {
    TColor Colour;
    int Number;
};
inline constexpr Written kWritten[] = {
    {0x000000, 0}, {0x0000FF, 2}, {0x000080, 2}, {0x00FF00, 3}, {0x008000, 3}, {0xFF0000, 4},
    {0x800000, 4}, {0x00FFFF, 5}, {0x008080, 5}, {0xFF00FF, 6}, {0x800080, 6}, {0xFFFF00, 7},
    {0x808000, 7}, {0xFFFFFF, 8}, {0xC0C0C0, 8}, {0x808080, 8},
};

inline TColor colour_of(int Number)
{
    return Number >= 0 && Number < static_cast<int>(kRead.size()) ? kRead[static_cast<std::size_t>(Number)]
                                                                  : kUnknownColour;
}

inline int number_of(TColor Colour)
{
    for (const Written& w : kWritten)
        if (w.Colour == Colour)
            return w.Number;
    return kUnknownNumber;
}

} // namespace orvex::Ops::iges_colours
