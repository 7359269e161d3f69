#pragma once

#include "support/TestPaths.h"

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the headless tool of this build and keeps what it said, line by line.
namespace testcli {

struct TRun {
    int ExitCode = -1;
    QStringList Out;
    QStringList Err;
};

inline TRun RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromStdString((testpaths::ProgramDir() / "tessalyn-cli").string()), arguments);
    TRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.ExitCode = process.exitCode();
    run.Out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    // The toolkit's own notes about the environment are not the tool's words.
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts))
        if (!line.startsWith(QStringLiteral("QStandardPaths:")))
            run.Err << line;
    return run;
}

} // namespace testcli
