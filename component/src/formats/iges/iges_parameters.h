// The fields of an IGES parameter record of any length: numbers (with "D"
// exponents), pointers, and Hollerith texts passed over whole.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvex::formats::iges {

/// Values of the record's fields after the entity type, in order; empty
/// fields and texts count as 0. The record ends at the record delimiter.
/// EConvertError for a "D" exponent that is not a number.
void parameter_values(std::string_view record, char parameter, char recordEnd, std::vector<double>& values);

/// The Hollerith text of the record's field `Index` after the first (0 the
/// second field, as in parameter_values); "" for a field that holds none.
std::string parameter_text(std::string_view record, char parameter, char recordEnd, std::size_t Index);

/// The Hollerith texts of the record's fields, indexed as parameter_values
/// indexes their numbers: "" for a field that holds none.
void parameter_texts(std::string_view record, char parameter, char recordEnd, std::vector<std::string>& texts);

} // namespace orvex::formats::iges
