// Drawing files as the tool sees them: the format from an extension or a
// name, checked loading into a drawing control, checked saving.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

#include <QString>

namespace orvex {
class TOrvexGDI;
}

namespace orvex::tool {

/// The control's CadType numbers.
enum class DrawingFormat { Ovx = 1, Dxf = 2, Iges = 3 };

/// "OVX", "DXF" or "IGES".
const char* format_name(DrawingFormat format);

/// The format named by --from/--to (ovx, dxf, igs, iges, any case) or, when
/// that is empty, by the file's extension. ToolError naming the file otherwise.
DrawingFormat drawing_format(const QString& file, const QString& forced);

/// The import mode named by --import (basic or full); full when empty, since
/// people converting files want everything in them. ToolError otherwise.
TImportMode import_mode(const QString& name);

/// Replaces the control's drawing with the file's. ToolError, naming the
/// file, for a file that is missing, not a regular file, unreadable, or
/// whose content the reader rejects (with the line number the reader gives),
/// and "no drawing found" for one that no reader recognises.
/// A progress line goes to stderr for a large file when stderr is a terminal.
void load_drawing(TOrvexGDI& control, const QString& file, DrawingFormat format, TImportMode mode, int isoLines = 0);

/// The iso-parameter lines named by --iso-lines (0 to 10); 0 when empty.
/// ToolError otherwise.
int iso_lines(const QString& count);

/// Why the file holds no drawing a reader of `format` recognises ("empty
/// file", "no DXF sections or entities", ...), or "" when it holds one.
QString missing_drawing(const QString& file, DrawingFormat format);

/// Writes the control's drawing. ToolError naming the file when it cannot be written.
void save_drawing(TOrvexGDI& control, const QString& file, DrawingFormat format);

/// The version a file declares ("AC1009" from a DXF header, "5.3" from an
/// IGES global section), or "" when it declares none (OVX never does).
QString file_version(const QString& file, DrawingFormat format);

} // namespace orvex::tool
