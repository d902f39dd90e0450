// orvex: the command-line companion of the OrvexGDI library.
//
//   orvex info FILE...        what a drawing holds
//   orvex convert IN OUT      OVX, DXF and IGES into each other
//   orvex render IN OUT       a picture or vector drawing of it
//
// It runs on Qt's offscreen platform, so it needs no display. Exit status 0
// on success; 1 with one line on stderr naming the file and the reason.
#include "arguments.h"
#include "commands.h"
#include "tool_error.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <exception>
#include <map>

namespace {

// Qt's own diagnostics (missing runtime folder, font notes) are not the
// tool's output: stderr carries only the tool's one line.
void quiet_messages(QtMsgType, const QMessageLogContext&, const QString&) {}

int fail(const char* message)
{
    std::fprintf(stderr, "orvex: %s\n", message);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet_messages);
    QApplication app(argc, argv);

    QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty())
        return fail("no command given (see orvex --help)");
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        QTextStream(stdout) << orvex::tool::help_text(args.isEmpty() ? QString() : args.first());
        return 0;
    }
    static const std::map<QString, void (*)(const QStringList&)> commands = {
        {"info", orvex::tool::info_command},
        {"convert", orvex::tool::convert_command},
        {"render", orvex::tool::render_command},
    };
    const auto it = commands.find(command);
    if (it == commands.end())
        return fail(("unknown command '" + command.toStdString() + "' (see orvex --help)").c_str());
    try {
        it->second(args);
    } catch (const std::exception& e) {
        return fail(e.what());
    } catch (...) {
        return fail("unexpected failure");
    }
    return 0;
}
