// DXF as a sequence of group pairs (group code, value), from ASCII text or
// from binary DXF. Both readers take entity names only from pairs whose
// code is 0, so a layer or block called "LINE" never starts an entity.
#pragma once

#include "formats/common/line_reader.h"
#include "formats/common/record_fields.h"

#include <OrvexGDI/OpsFileText.h>

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace orvex::formats::dxf {

/// One group pair. In ASCII the value is its line; in binary DXF numbers
/// come as numbers and texts as texts.
struct Pair {
    int Code = 0;
    /// The code line is "0" (spaces aside) or the binary code is 0: the value
    /// names an entity, a section or a table.
    bool StartsEntity = false;
    /// The code line as written, when the reader keeps it (ASCII only).
    std::string_view CodeText;
    std::string_view Text;
    bool HasNumber = false; // binary numbers
    double Number = 0;

    /// The value as a decimal number; a text that is not one counts as 0.
    double value() const
    {
        if (HasNumber)
            return Number;
        std::string_view t = Text;
        while (!t.empty() && t.front() == ' ')
            t.remove_prefix(1);
        while (!t.empty() && t.back() == ' ')
            t.remove_suffix(1);
        return parse_decimal(t).value_or(0.0);
    }
};

/// Hands out the pairs of a DXF stream, ASCII or binary (told apart by the
/// binary sentinel at the start).
class PairReader {
public:
    explicit PairReader(std::istream& in);

    /// The next pair; false at the end of the input. `cut` is set when the
    /// input ended after a group code, before its value.
    bool next(Pair& pair, bool& cut)
    {
        cut = false;
        if (binary_)
            return next_binary(pair, cut);
        std::string_view code;
        if (!lines_.next(code))
            return false;
        pair.Code = Ops::val_int(code);
        pair.StartsEntity = is_zero_code(code);
        if (keepCodeText_) {
            codeText_.assign(code); // reading the value's line may move the code's
            pair.CodeText = codeText_;
        }
        pair.HasNumber = false;
        if (!lines_.next(pair.Text)) {
            // A blank last line ends the file; a code without its value cuts it.
            if (code.find_first_not_of(" \t") == std::string_view::npos)
                return false;
            pair.Text = {};
            cut = true;
            return true;
        }
        return true;
    }

    /// The next pair; false at the end of the input. A group code without
    /// its value is a cut file (EFileError naming the line), unless the end
    /// marker came before: what follows it is not drawing data.
    bool next_whole(Pair& pair, bool afterEndMarker)
    {
        bool cut = false;
        if (!next(pair, cut))
            return false;
        if (cut && !afterEndMarker)
            value_missing(pair.Code);
        return !cut;
    }

    /// Whether pairs carry their code line as written (for telling writers
    /// apart by their layout); off at first.
    void keep_code_text(bool keep) { keepCodeText_ = keep; }

    /// The input ended inside the entity whose name stood on line `begun`.
    [[noreturn]] void ended_inside(long long begun) const;

    /// Line of the value last read (1-based). In binary DXF the line the
    /// value would stand on in the ASCII form of the same file.
    long long line_number() const { return binary_ ? 2 * binaryPairs_ : lines_.line_number(); }
    bool binary() const { return binary_; }

private:
    static bool is_zero_code(std::string_view line)
    {
        bool zero = false;
        for (char c : line) {
            if (c == ' ')
                continue;
            if (c != '0' || zero)
                return false;
            zero = true;
        }
        return zero;
    }

    bool next_binary(Pair& pair, bool& cut);
    [[noreturn]] void value_missing(int code) const;
    bool read_bytes(void* to, std::size_t n);

    LineReader lines_;
    bool binary_ = false;
    bool shortCodes_ = false; // one-byte group codes (R12 and older)
    bool keepCodeText_ = false;
    long long binaryPairs_ = 0;
    std::string text_;
    std::string codeText_;
};

} // namespace orvex::formats::dxf
