// Buffered text output of the writers: bytes are gathered in one fixed
// buffer and handed to the stream in large blocks.
#pragma once

#include <cstddef>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::formats {

/// A value that a drawing file cannot hold so that it reads back; the
/// writers stop at it, and a save that meets it writes nothing.
class UnwritableValue : public std::runtime_error {
public:
    explicit UnwritableValue(double Value, std::string Holder = {});
    const double Value;
    /// What holds the value ("element 3 (slot 4)"); empty when the writer
    /// met it in a number alone.
    const std::string Holder;
};

/// Whether real_text writes x so that it reads back: x is finite and its
/// text, cut to 15 characters, keeps every digit before the decimal point
/// (below 1e15, and above -1e14 where the sign takes a character).
bool writable_real(double x);

/// Writes the drawing files' text of a real number (that of Ops::str_real,
/// at most 15 characters) to `out`, which holds 16; returns its length.
/// UnwritableValue for a value that would not read back.
std::size_t real_text(double x, char* out);

class TextWriter {
public:
    explicit TextWriter(std::ostream& out, std::size_t size = std::size_t{1} << 16)
        : out_(out), buf_(size), limit_(size - kReserve)
    {
    }
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    void put(char c)
    {
        buf_[used_++] = c;
        if (used_ >= limit_)
            flush();
    }
    void put(std::string_view text)
    {
        if (text.size() > limit_ - used_) {
            flush();
            if (text.size() > limit_) {
                out_.write(text.data(), static_cast<std::streamsize>(text.size()));
                return;
            }
        }
        for (char c : text)
            buf_[used_++] = c;
        if (used_ >= limit_)
            flush();
    }
    void spaces(std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i)
            put(' ');
    }
    /// A number in the drawing files' text (four decimals, no spare zeros).
    void real(double x);
    /// The plain decimal text of an integer.
    void integer(int i);
    void crlf()
    {
        put('\r');
        put('\n');
    }

    /// Hands the rest to the stream and flushes it; false when the stream
    /// reported an error at any point.
    bool finish()
    {
        flush();
        out_.flush();
        return static_cast<bool>(out_);
    }
    /// Whether the stream is still good (writers stop early when it is not).
    bool good() const { return static_cast<bool>(out_); }

private:
    static constexpr std::size_t kReserve = 64;

    void flush()
    {
        if (used_ > 0 && out_)
            out_.write(buf_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }

    std::ostream& out_;
    std::vector<char> buf_;
    std::size_t limit_;
    std::size_t used_ = 0;
};

} // namespace orvex::formats
