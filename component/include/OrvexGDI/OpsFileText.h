// Small text and colour functions of the drawing files: integer texts,
// space removal, the circle view codes of OVX files and the colour tables of
// the OVX and IGES formats.
//
// This header includes no Qt header.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

#include <string>
#include <string_view>

namespace orvex::Ops {

/// The integer value of S with every space removed; 0 when nothing is left,
/// when anything but "+", "-" and the digits 0-9 remains, or when the text is
/// not a valid 32-bit integer.
ORVEXGDI_EXPORT int val_int(std::string_view S);

/// S without its space characters (U+0020); other white space stays.
ORVEXGDI_EXPORT std::string strip_spaces(std::string_view S);

/// Turns the view code of an OVX CIRCLE record into an arc-view number and
/// moves the centre into that view's plane coordinates.
ORVEXGDI_EXPORT void fix_circle(double& X, double& Y, double& Z, int ViewCode, int& NewView);

/// Index 0..15 of a colour in the OVX colour table; 10 for any other colour.
ORVEXGDI_EXPORT int get_ovx_color(TColor Colour);

/// The colour of an OVX colour index as it is read into a drawing with this
/// background: an index above 15 is 1, a negative one silver, and black (0)
/// or white (15) become silver on a background of the same colour.
ORVEXGDI_EXPORT TColor set_ovx_color(int Index, TColor Background);

/// The colour of an IGES colour number; unknown numbers give lime.
ORVEXGDI_EXPORT TColor set_iges_color(int Number);

} // namespace orvex::Ops
