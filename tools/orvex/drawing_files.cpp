#include "drawing_files.h"

#include "progress_line.h"
#include "tool_error.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QFile>
#include <QFileInfo>

#include <exception>

namespace orvex::tool {

namespace {

std::string text(const QString& s) { return s.toStdString(); }

bool format_from_name(const QString& name, DrawingFormat& format)
{
    const QString n = name.toLower();
    if (n == QLatin1String("ovx"))
        format = DrawingFormat::Ovx;
    else if (n == QLatin1String("dxf"))
        format = DrawingFormat::Dxf;
    else if (n == QLatin1String("igs") || n == QLatin1String("iges"))
        format = DrawingFormat::Iges;
    else
        return false;
    return true;
}

// A reader's message names the file as "<name>, line N: ..."; the tool's
// line reads "<name>: line N: ...".
std::string reader_message(const QString& file, const char* what)
{
    const std::string message(what);
    const std::string prefix = QFile::encodeName(file).toStdString() + ", ";
    if (message.rfind(prefix, 0) == 0)
        return text(file) + ": " + message.substr(prefix.size());
    return text(file) + ": " + message;
}

} // namespace

const char* format_name(DrawingFormat format)
{
    switch (format) {
    case DrawingFormat::Dxf:
        return "DXF";
    case DrawingFormat::Iges:
        return "IGES";
    default:
        return "OVX";
    }
}

DrawingFormat drawing_format(const QString& file, const QString& forced)
{
    DrawingFormat format = DrawingFormat::Ovx;
    if (!forced.isEmpty()) {
        if (!format_from_name(forced, format))
            throw ToolError("unknown format '" + text(forced) + "' (use ovx, dxf or iges)");
        return format;
    }
    const QString suffix = QFileInfo(file).suffix();
    if (!format_from_name(suffix, format))
        throw ToolError(text(file) + ": unknown extension '" + (suffix.isEmpty() ? "" : ".") + text(suffix) +
                        "' (use .ovx, .dxf, .igs or .iges, or name the format with --from/--to)");
    return format;
}

TImportMode import_mode(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String("full"))
        return imFull;
    if (name == QLatin1String("basic"))
        return imBasic;
    throw ToolError("invalid --import '" + text(name) + "' (use basic or full)");
}

int iso_lines(const QString& count)
{
    if (count.isEmpty())
        return 0;
    bool ok = false;
    const int n = count.toInt(&ok);
    if (!ok || n < 0 || n > 10)
        throw ToolError("invalid --iso-lines '" + text(count) + "' (use 0 to 10)");
    return n;
}

void load_drawing(TOrvexGDI& control, const QString& file, DrawingFormat format, TImportMode mode, int isoLines)
{
    const QFileInfo info(file);
    if (!info.exists())
        throw ToolError(text(file) + ": no such file");
    if (!info.isFile())
        throw ToolError(text(file) + ": not a regular file");
    QFile probe(file);
    if (!probe.open(QIODevice::ReadOnly))
        throw ToolError(text(file) + ": cannot be read (" + text(probe.errorString()) + ")");
    probe.close();
    if (const QString why = missing_drawing(file, format); !why.isEmpty())
        throw ToolError(text(file) + ": no drawing found (" + text(why) + ")");

    control.SetCadType(static_cast<int>(format));
    control.SetImportMode(mode);
    control.SetIsoLines(isoLines);
    ProgressLine progress(file, info.size());
    try {
        control.LoadFromFile(file);
    } catch (const std::exception& e) {
        throw ToolError(reader_message(file, e.what()));
    }
}

void save_drawing(TOrvexGDI& control, const QString& file, DrawingFormat format)
{
    control.SetCadType(static_cast<int>(format));
    bool written = false;
    std::string reason;
    try {
        written = control.save_cad(file);
    } catch (const std::exception& e) {
        reason = e.what();
    }
    if (written)
        return;
    if (reason.empty()) {
        const QFileInfo info(file);
        const QFileInfo folder(info.absolutePath());
        if (!folder.isDir())
            reason = "no such folder " + text(info.absolutePath());
        else if (info.isDir())
            reason = "a folder of that name exists";
        else if (!folder.isWritable() || (info.exists() && !info.isWritable()))
            reason = "permission denied";
        else
            reason = "the drawing could not be written";
    }
    throw ToolError(text(file) + ": cannot be written (" + reason + ")");
}

} // namespace orvex::tool
