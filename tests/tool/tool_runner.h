// Runs the orvex tool and collects its exit code and both output streams.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace orvex::test {

struct ToolRun {
    int exitCode = -1;
    bool crashed = false;
    QString out, err;
};

inline ToolRun run_tool(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(ORVEX_TOOL), args);
    ToolRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.crashed = true;
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace orvex::test
