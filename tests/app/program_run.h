#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The real program run to its end: exit code, output lines and error text.
struct ProgramRun {
    explicit ProgramRun(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(PRIZEDRAW_EXE), arguments);
        if (!process.waitForFinished(30000))
            return;
        exitCode = process.exitCode();
        lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        errors = QString::fromUtf8(process.readAllStandardError());
    }
    int exitCode = -1;
    QStringList lines;
    QString errors;
};
