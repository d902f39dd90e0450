// The command line of one orvex command: its file operands and options.
#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <set>

namespace orvex::tool {

/// What a command accepts: options that take a value and plain switches.
struct OptionSpec {
    std::set<QString> valued;   ///< e.g. "--size"
    std::set<QString> switches; ///< e.g. "--aa"
};

struct Arguments {
    QStringList files;
    std::map<QString, QString> values;
    std::set<QString> switches;
    bool help = false;

    bool has(const QString& name) const { return values.count(name) != 0 || switches.count(name) != 0; }
    QString value(const QString& name, const QString& fallback = {}) const
    {
        const auto it = values.find(name);
        return it == values.end() ? fallback : it->second;
    }
};

/// Splits the arguments after the command name. "--name value" and
/// "--name=value" both work; "--" ends the options. ToolError for an
/// option the command does not know or a value that is missing.
Arguments parse_arguments(const QString& command, const QStringList& args, const OptionSpec& spec);

/// The --help text of a command ("" for the tool itself).
QString help_text(const QString& command);

} // namespace orvex::tool
