// Errors of a reader carry the number of the line they stopped at.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

#include <string>

namespace orvex::formats {

inline std::string line_prefix(long long number)
{
    return "line " + std::to_string(number) + ": ";
}

/// Runs `work` for line `number`; an error it raises is raised again, of the
/// same class, with the line number in front of its message.
template <typename Work>
void on_line(long long number, Work&& work)
{
    try {
        work();
    } catch (const ERangeError& e) {
        throw ERangeError(line_prefix(number) + e.what());
    } catch (const EListError& e) {
        throw EListError(line_prefix(number) + e.what());
    } catch (const EConvertError& e) {
        throw EConvertError(line_prefix(number) + e.what());
    }
}

} // namespace orvex::formats
