#include <OrvexGDI/VUvuDAVTypes.h>

namespace orvex {

namespace {
CheckedArray<std::string, 902, 908> make_calcerrstr()
{
    CheckedArray<std::string, 902, 908> table;
    table[902] = "PARALLEL LINES";
    table[903] = "UNDEFINED LINE";
    table[904] = "ARC DOES NOT INTERSECT";
    table[905] = "RADIUS DOES NOT INTERSECT";
    table[906] = "CONCENTRIC CIRCLES";
    table[907] = "CAN'T ALLOCATE MEMORY";
    table[908] = "3 POINTS ON SAME LINE";
    return table;
}
} // namespace

const CheckedArray<std::string, 902, 908> calcerrstr = make_calcerrstr();

} // namespace orvex
