// A std::ostream over a QIODevice, so the Qt-free writers can write into Qt
// files (a QSaveFile) without a copy.
#pragma once

#include <QIODevice>

#include <ostream>
#include <streambuf>

namespace orvex::output {

/// Every block goes straight to the device; a short write makes the stream fail.
class DeviceBuffer : public std::streambuf {
public:
    explicit DeviceBuffer(QIODevice& device) : device_(device) {}

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return device_.write(&byte, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* data, std::streamsize n) override
    {
        const qint64 written = device_.write(data, n);
        return written < 0 ? 0 : static_cast<std::streamsize>(written);
    }

private:
    QIODevice& device_;
};

} // namespace orvex::output
