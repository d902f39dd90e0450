// Writing a picture file so that a failed write leaves an existing file as it was.
#pragma once

#include <QString>

#include <functional>
#include <ostream>

namespace orvex::output {

/// Writes FileName (used unchanged) through write(out) into a temporary file
/// beside it, which replaces the target only when everything was written.
/// EFileError naming the file when the target exists and is not a regular
/// file (a device, a FIFO, a directory), cannot be created, or the write
/// fails; an EFileError that write raises gets the file name added; other errors pass
/// unchanged.
void write_picture_file(const QString& FileName, const std::function<void(std::ostream& out)>& write);

} // namespace orvex::output
