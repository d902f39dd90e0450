// The fields of an IGES parameter record of any length: numbers (with "D"
// exponents), pointers, and Hollerith texts passed over whole.
#pragma once

#include <string_view>
#include <vector>

namespace orvex::formats::iges {

/// Values of the record's fields after the entity type, in order; empty
/// fields and texts count as 0. The record ends at the record delimiter.
/// EConvertError for a "D" exponent that is not a number.
void parameter_values(std::string_view record, char parameter, char recordEnd, std::vector<double>& values);

} // namespace orvex::formats::iges
