// Binary DXF: the sentinel, one- or two-byte group codes, and values whose
// binary type follows from the group code.
#include "dxf_pairs.h"

#include "read_error.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <cstring>
#include <type_traits>

namespace orvex::formats::dxf {

namespace {

constexpr char kSentinel[] = "AutoCAD Binary DXF\r\n\x1a";
constexpr std::size_t kSentinelSize = sizeof kSentinel; // with its closing NUL

enum class Value { Text, Real, Int16, Int32, Int64, Bool, Chunk };

Value value_type(int code)
{
    if (code >= 10 && code <= 59)
        return Value::Real;
    if ((code >= 60 && code <= 79) || (code >= 170 && code <= 179) || (code >= 270 && code <= 289) ||
        (code >= 370 && code <= 389) || (code >= 400 && code <= 409) || (code >= 1060 && code <= 1070))
        return Value::Int16;
    if ((code >= 90 && code <= 99) || (code >= 420 && code <= 429) || (code >= 440 && code <= 459) ||
        code == 1071)
        return Value::Int32;
    if (code >= 160 && code <= 169)
        return Value::Int64;
    if ((code >= 110 && code <= 149) || (code >= 210 && code <= 239) || (code >= 460 && code <= 469) ||
        (code >= 1010 && code <= 1059))
        return Value::Real;
    if (code >= 290 && code <= 299)
        return Value::Bool;
    if ((code >= 310 && code <= 319) || code == 1004)
        return Value::Chunk;
    return Value::Text;
}

template <typename T>
T little_endian(const unsigned char* b)
{
    std::uint64_t v = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        v = (v << 8) | b[i];
    T out;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&out, &v, 8);
    } else {
        using U = std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint32_t>;
        const U u = static_cast<U>(v);
        std::memcpy(&out, &u, sizeof(T));
    }
    return out;
}

} // namespace

PairReader::PairReader(std::istream& in) : in_(in), lines_(in)
{
    const std::istream::pos_type start = in.tellg();
    char head[kSentinelSize + 2] = {};
    in.read(head, kSentinelSize + 2);
    const bool got = in.gcount() == static_cast<std::streamsize>(kSentinelSize + 2);
    if (got && std::memcmp(head, kSentinel, kSentinelSize) == 0) {
        binary_ = true;
        // The first pair is (0, "SECTION"): a two-byte code puts a second
        // zero byte before the text.
        shortCodes_ = head[kSentinelSize + 1] != 0;
        in.clear();
        in.seekg(start + static_cast<std::streamoff>(kSentinelSize));
        return;
    }
    in.clear();
    in.seekg(start);
}

void PairReader::value_missing(int code) const
{
    throw EFileError(line_prefix(line_number() + 1) + "group code " + std::to_string(code) + " has no value");
}

void PairReader::ended_inside(long long begun) const
{
    throw EFileError(line_prefix(line_number()) + "the file ends inside the entity begun at line " +
                     std::to_string(begun));
}

bool PairReader::read_bytes(void* to, std::size_t n)
{
    in_.read(static_cast<char*>(to), static_cast<std::streamsize>(n));
    if (in_.bad())
        throw EFileError(line_prefix(line_number() + 1) + "read error");
    return in_.gcount() == static_cast<std::streamsize>(n);
}

bool PairReader::next_binary(Pair& pair, bool& cut)
{
    unsigned char b[8];
    if (!read_bytes(b, 1))
        return false;
    int code = b[0];
    // One-byte codes escape the larger ones with 255 and two bytes.
    if (!shortCodes_ || code == 255) {
        const std::size_t at = shortCodes_ ? 0 : 1;
        if (!read_bytes(b + at, 2 - at)) {
            pair = Pair{};
            cut = true;
            return true;
        }
        code = little_endian<std::int16_t>(b);
    }
    ++binaryPairs_;
    pair.Code = code;
    pair.StartsEntity = code == 0;
    pair.HasNumber = true;
    pair.Text = {};
    const Value type = value_type(code);
    bool whole = true;
    switch (type) {
    case Value::Real:
        whole = read_bytes(b, 8);
        pair.Number = little_endian<double>(b);
        break;
    case Value::Int16:
        whole = read_bytes(b, 2);
        pair.Number = little_endian<std::int16_t>(b);
        break;
    case Value::Int32:
        whole = read_bytes(b, 4);
        pair.Number = little_endian<std::int32_t>(b);
        break;
    case Value::Int64:
        whole = read_bytes(b, 8);
        pair.Number = static_cast<double>(little_endian<std::int64_t>(b));
        break;
    case Value::Bool:
        whole = read_bytes(b, 1);
        pair.Number = b[0];
        break;
    case Value::Chunk: {
        pair.HasNumber = false;
        whole = read_bytes(b, 1);
        text_.resize(whole ? b[0] : 0);
        whole = whole && read_bytes(text_.data(), text_.size());
        pair.Text = {};
        break;
    }
    case Value::Text: {
        pair.HasNumber = false;
        text_.clear();
        for (;;) {
            const int c = in_.get();
            if (c == std::char_traits<char>::eof()) {
                whole = false;
                break;
            }
            if (c == 0)
                break;
            if (text_.size() < LineReader::kMaxLine)
                text_.push_back(static_cast<char>(c));
        }
        pair.Text = text_;
        break;
    }
    }
    if (!whole) {
        cut = true;
        pair.HasNumber = false;
        pair.Text = {};
    }
    return true;
}

} // namespace orvex::formats::dxf
