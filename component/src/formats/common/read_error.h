// Errors of a reader carry the number of the line they stopped at, once.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

#include <cctype>
#include <exception>
#include <string>

namespace orvex::formats {

inline std::string line_prefix(long long number) { return "line " + std::to_string(number) + ": "; }

/// Whether a message already starts with "line <number>: ".
inline bool has_line_prefix(const char* message)
{
    const std::string text(message);
    if (text.rfind("line ", 0) != 0)
        return false;
    std::size_t i = 5;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    return i > 5 && text.compare(i, 2, ": ") == 0;
}

/// Raises `e` again as its own error class with `prefix` in front of its
/// message. Returns for other exceptions, which the caller rethrows as they are.
inline void raise_prefixed(const std::exception& e, const std::string& prefix)
{
    if (dynamic_cast<const ERangeError*>(&e))
        throw ERangeError(prefix + e.what());
    if (dynamic_cast<const EListError*>(&e))
        throw EListError(prefix + e.what());
    if (dynamic_cast<const EConvertError*>(&e))
        throw EConvertError(prefix + e.what());
    if (dynamic_cast<const EFileError*>(&e))
        throw EFileError(prefix + e.what());
}

/// Runs `work` for line `number`; an error it raises is raised again, of the
/// same class, with the line number in front of its message, unless a
/// nested step already named its line.
template <typename Work>
void on_line(long long number, Work&& work)
{
    try {
        work();
    } catch (const std::exception& e) {
        if (!has_line_prefix(e.what()))
            raise_prefixed(e, line_prefix(number));
        throw;
    }
}

} // namespace orvex::formats
