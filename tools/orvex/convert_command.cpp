#include "arguments.h"
#include "commands.h"
#include "drawing_files.h"
#include "tool_error.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QTextStream>

namespace orvex::tool {

void convert_command(const QStringList& args)
{
    const Arguments a =
        parse_arguments(QStringLiteral("convert"), args, {{"--from", "--to", "--import", "--iso-lines"}, {}});
    if (a.help) {
        QTextStream(stdout) << help_text(QStringLiteral("convert"));
        return;
    }
    if (a.files.size() != 2)
        throw ToolError("convert needs IN and OUT (see orvex convert --help)");
    const QString& in = a.files[0];
    const QString& out = a.files[1];
    const DrawingFormat from = drawing_format(in, a.value("--from"));
    const DrawingFormat to = drawing_format(out, a.value("--to"));
    const TImportMode mode = import_mode(a.value("--import"));

    TOrvexGDI control;
    load_drawing(control, in, from, mode, iso_lines(a.value("--iso-lines")));
    save_drawing(control, out, to);
}

} // namespace orvex::tool
