#include "formats/common/line_reader.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <cstring>
#include <string>

namespace orvex::formats {

LineReader::LineReader(std::istream& in, std::size_t chunk) : in_(in), buf_(chunk), chunk_(chunk) {}

bool LineReader::fill()
{
    if (eof_)
        return false;
    // Keep the unread rest at the front of the buffer.
    if (pos_ > 0) {
        const std::size_t rest = end_ - pos_;
        std::memmove(buf_.data(), buf_.data() + pos_, rest);
        scan_ -= pos_;
        end_ = rest;
        pos_ = 0;
    }
    // A line longer than the buffer grows it (a full buffer of a chunk of
    // one byte included).
    const std::size_t room = buf_.size() - end_;
    if (room == 0 || room < chunk_ / 2)
        buf_.resize(buf_.size() * 2);
    in_.read(buf_.data() + end_, static_cast<std::streamsize>(buf_.size() - end_));
    const auto got = static_cast<std::size_t>(in_.gcount());
    if (in_.bad())
        throw EFileError("line " + std::to_string(number_ + 1) + ": read error");
    end_ += got;
    if (got == 0) {
        eof_ = true;
        return false;
    }
    if (in_.eof())
        eof_ = true;
    return true;
}

} // namespace orvex::formats

namespace orvex::formats {

void LineReader::too_long() const
{
    throw ERangeError("line " + std::to_string(number_ + 1) + ": longer than " + std::to_string(kMaxLine) +
                      " characters");
}

} // namespace orvex::formats
