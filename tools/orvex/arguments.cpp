#include "arguments.h"

#include "tool_error.h"

namespace orvex::tool {

namespace {

std::string see_help(const QString& command) { return " (see orvex " + command.toStdString() + " --help)"; }

} // namespace

Arguments parse_arguments(const QString& command, const QStringList& args, const OptionSpec& spec)
{
    Arguments parsed;
    bool options = true;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!options || !arg.startsWith(QLatin1String("-")) || arg == QLatin1String("-")) {
            parsed.files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            parsed.help = true;
            continue;
        }
        const int equals = arg.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? arg : arg.left(equals);
        if (spec.switches.count(name) != 0 && equals < 0) {
            parsed.switches.insert(name);
        } else if (spec.valued.count(name) != 0) {
            if (equals >= 0)
                parsed.values[name] = arg.mid(equals + 1);
            else if (i + 1 < args.size())
                parsed.values[name] = args[++i];
            else
                throw ToolError("option " + name.toStdString() + " needs a value" + see_help(command));
        } else {
            throw ToolError("unknown option " + name.toStdString() + " for " + command.toStdString() +
                            see_help(command));
        }
    }
    return parsed;
}

} // namespace orvex::tool
