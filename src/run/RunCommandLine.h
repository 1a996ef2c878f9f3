#pragma once

#include <QString>
#include <QStringList>

// What a run starts: the installation's run script through /bin/sh, with the input file's name, its
// directory and "exit" or "wait" as separate arguments, never as one shell line.
struct RunCommand {
    QString program;
    QStringList arguments;
};

RunCommand runCommandLine(const QString& programDirectory, const QString& fileName, const QString& userPath,
                          bool autoExit);
