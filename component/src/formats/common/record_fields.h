// Number texts and the comma-separated records of the OVX and IGES files.
#pragma once

#include "formats/common/decimal_digits.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvex::formats {

/// The value of a decimal number text: optional sign, digits with an optional
/// fraction (".5" and "5." count), optional exponent after "E" or "e". The
/// whole text must be such a number; nothing else (no blanks, no "inf").
std::optional<double> parse_decimal(std::string_view text);

/// The value of an IGES number field: a decimal with an optional exponent
/// after "D" (1.5D3 = 1500); 0 for a text that is not a number. EConvertError
/// for a "D" exponent that is not a number.
double iges_number(std::string_view field);

/// The value rounded to the nearest integer, halves to the even neighbour;
/// ERangeError when it does not fit in 32 bits.
int round_int(double value);

/// The integer part of the value; ERangeError when it does not fit in 32 bits.
int trunc_int(double value);

/// One record split into its fields once. Spaces are removed before
/// splitting; a field may carry a decimal exponent after "D" (1.5D3 = 1500).
/// A record with more than 22 commas has no usable fields: every value is 0.
class RecordFields {
public:
    static constexpr int kMaxCommas = 22;

    /// An OVX record: the fields start at the first space (the whole line
    /// when it has none) and a comma is appended. An empty line has no fields.
    void split_ovx(std::string_view line);
    /// An IGES parameter record: the first record delimiter becomes a
    /// parameter delimiter.
    void split_iges(std::string_view data, char parameter = ',', char record = ';');
    /// A record split as it stands.
    void split_plain(std::string_view line);

    /// Value of field N (1-based); 0 for an empty or missing field and for a
    /// text that is not a number. EConvertError for a "D" exponent that is
    /// not a number.
    double value(int N) const;
    /// Number of fields (0 when the record has too many commas).
    int count() const { return overflow_ ? 0 : commas_; }

private:
    /// Splits at `delimiter`; the first `firstAlso` counts as one too.
    void split(std::string_view text, char delimiter, char firstAlso);

    std::string text_;      // the record without spaces, when it had any
    std::string_view view_; // the text the fields are read from
    std::array<std::uint32_t, kMaxCommas> comma_{};
    int commas_ = 0;
    bool overflow_ = false;
    bool hasExponentD_ = false; // some field may hold a "D" exponent
};

/// A record whose fields are all plain decimals of at most kExactDigits
/// digits, or empty: the shape of every element record our writers make.
/// Its values come from the one pass that finds its commas; a record of any
/// other shape is refused and left to RecordFields, which reads the same
/// values from such a record.
class PlainFields {
public:
    /// Parses the fields of `text` (the record after its keyword and the
    /// spaces that follow it). False when a field is not such a decimal or
    /// the record has more fields than RecordFields allows.
    bool parse(std::string_view text)
    {
        const char* p = text.data();
        const char* const last = p + text.size();
        count_ = 0;
        for (;;) {
            if (count_ == RecordFields::kMaxCommas)
                return false;
            DecimalDigits d;
            p = scan_decimal(p, last, d);
            if (d.digits > kExactDigits)
                return false;
            // A field without digits ("", "-", ".") counts as 0.
            values_[static_cast<std::size_t>(count_++)] = d.digits == 0 ? 0.0 : exact_value(d);
            if (p == last)
                return true;
            if (*p != ',')
                return false;
            ++p;
        }
    }

    /// Value of field N (1-based); 0 for a missing field.
    double value(int N) const { return N >= 1 && N <= count_ ? values_[static_cast<std::size_t>(N - 1)] : 0.0; }

private:
    std::array<double, RecordFields::kMaxCommas> values_{};
    int count_ = 0;
};

/// Value of field N of a text record as the OVX (CadType 1) or IGES
/// (CadType 3) reader sees it; other types split the line as it stands.
double item(int N, std::string_view Line, int CadType);

} // namespace orvex::formats
