// The tool's commands. Each takes the arguments after its name, writes its
// result to stdout and raises ToolError on failure.
#pragma once

#include <QStringList>

namespace orvex::tool {

void info_command(const QStringList& args);
void convert_command(const QStringList& args);
void render_command(const QStringList& args);

} // namespace orvex::tool
