// Binary DXF: the sentinel, one- or two-byte group codes, and values whose
// binary type follows from the group code.
#include "formats/dxf/dxf_pairs.h"

#include "formats/common/read_error.h"

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
    if ((code >= 90 && code <= 99) || (code >= 420 && code <= 429) || (code >= 440 && code <= 459) || code == 1071)
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

PairReader::PairReader(std::istream& in) : lines_(in)
{
    // The head is looked at in the reader's own buffer, so the stream need
    // not seek back: an ASCII file's lines start at its first byte.
    const std::string_view head = lines_.peek(kSentinelSize + 2);
    if (head.size() == kSentinelSize + 2 && std::memcmp(head.data(), kSentinel, kSentinelSize) == 0) {
        binary_ = true;
        // The first pair is (0, "SECTION"): a two-byte code puts a second
        // zero byte before the text.
        shortCodes_ = head[kSentinelSize + 1] != 0;
        lines_.skip(kSentinelSize);
    }
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

bool PairReader::read_bytes(void* to, std::size_t n) { return lines_.read(to, n); }

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
            const int c = lines_.get();
            if (c < 0) {
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
