#pragma once

#include "support/TestPaths.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs the headless tool of this build and keeps what it said, line by line.
namespace testcli {

struct TRun {
    int ExitCode = -1;
    QStringList Out;
    QStringList Err;
};

inline TRun RunCli(const QStringList& arguments,
                   const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromStdString((testpaths::ProgramDir() / "tessalyn-cli").string()), arguments);
    TRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.ExitCode = process.exitCode();
    run.Out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.Err = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    return run;
}

} // namespace testcli
