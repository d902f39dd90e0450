// A buffered line scanner over an input stream: reads in chunks into one
// buffer and hands out each line as a view into it, without copying lines.
// Binary formats take raw bytes from the same buffer. The stream is only
// read forward, so a pipe or any other stream that cannot seek will do.
#pragma once

#include <cstddef>
#include <cstring>
#include <istream>
#include <string_view>
#include <vector>

namespace orvex::formats {

class LineReader {
public:
    /// Lines longer than this stop the read with an error.
    static constexpr std::size_t kMaxLine = std::size_t{1} << 20;

    explicit LineReader(std::istream& in, std::size_t chunk = std::size_t{1} << 16);

    /// The next line without its end (CR LF, LF or a lone CR). False at the
    /// end of the input. The view stays valid until the next call.
    bool next(std::string_view& line)
    {
        if (skipLF_) {
            skipLF_ = false;
            if (pos_ == end_ && !fill())
                return false;
            if (buf_[pos_] == '\n')
                ++pos_;
            scan_ = pos_;
        }
        for (;;) {
            const char* data = buf_.data();
            const std::size_t i = line_end(data, scan_, end_);
            if (i < end_) {
                line = std::string_view(data + pos_, i - pos_);
                std::size_t next = i + 1;
                if (data[i] == '\r') {
                    if (next < end_) {
                        if (data[next] == '\n')
                            ++next;
                    } else {
                        skipLF_ = true;
                    }
                }
                pos_ = scan_ = next;
                ++number_;
                return true;
            }
            scan_ = end_;
            if (end_ - pos_ > kMaxLine)
                too_long();
            if (!fill()) {
                if (pos_ == end_)
                    return false;
                line = std::string_view(buf_.data() + pos_, end_ - pos_);
                pos_ = scan_ = end_;
                ++number_;
                return true;
            }
        }
    }

    /// Up to `n` bytes ahead, left unread (fewer at the end of the input).
    std::string_view peek(std::size_t n)
    {
        while (end_ - pos_ < n && fill()) {
        }
        return std::string_view(buf_.data() + pos_, end_ - pos_ < n ? end_ - pos_ : n);
    }
    /// Passes over `n` bytes that peek has shown.
    void skip(std::size_t n) { pos_ = scan_ = pos_ + n; }
    /// The next `n` bytes into `to`; false when the input ends first.
    bool read(void* to, std::size_t n)
    {
        const std::string_view bytes = peek(n);
        std::memcpy(to, bytes.data(), bytes.size());
        skip(bytes.size());
        return bytes.size() == n;
    }
    /// The next byte, or -1 at the end of the input.
    int get()
    {
        if (pos_ == end_ && !fill())
            return -1;
        scan_ = pos_ + 1;
        return static_cast<unsigned char>(buf_[pos_++]);
    }

    /// Number of the line last returned (1-based); 0 before the first.
    long long line_number() const { return number_; }
    /// No line is left.
    bool at_end()
    {
        if (skipLF_) {
            if (pos_ == end_ && !fill())
                return true;
            if (buf_[pos_] == '\n')
                ++pos_;
            skipLF_ = false;
            scan_ = pos_;
        }
        return pos_ == end_ && !fill();
    }

private:
    /// Where the first CR or LF at or after `from` stands; `to` when none.
    /// Short lines (DXF's) are looked through a byte at a time; the rest of a
    /// longer line with the library's wide search, first for the LF and then
    /// for a CR before it.
    static std::size_t line_end(const char* data, std::size_t from, std::size_t to)
    {
        const std::size_t shortEnd = from + 16 < to ? from + 16 : to;
        for (std::size_t i = from; i < shortEnd; ++i)
            if (data[i] == '\n' || data[i] == '\r')
                return i;
        from = shortEnd;
        const void* lf = std::memchr(data + from, '\n', to - from);
        const std::size_t limit = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : to;
        const void* cr = std::memchr(data + from, '\r', limit - from);
        return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : limit;
    }

    /// Reads more input after the unread rest; false when none came.
    bool fill();
    [[noreturn]] void too_long() const;

    std::istream& in_;
    std::vector<char> buf_;
    std::size_t chunk_;
    std::size_t pos_ = 0;  // start of the unread text
    std::size_t scan_ = 0; // scanned up to here without a line end
    std::size_t end_ = 0;  // end of the buffered text
    long long number_ = 0;
    bool eof_ = false;
    bool skipLF_ = false;
};

} // namespace orvex::formats
