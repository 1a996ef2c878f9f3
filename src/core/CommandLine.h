#pragma once

#include <QString>
#include <QStringList>

// The command line a program and its arguments stand for, for display only: an argument holding
// blanks, quotes or nothing is quoted so that each argument stays recognisable as one.
QString commandLineText(const QString& program, const QStringList& arguments);

// The arguments of "cmd /S /C" for a batch file and its arguments: each argument quoted, "%" kept
// out of the quotes and escaped, so that no name can start a command or expand a variable. Names
// cannot hold a double quote on Windows; one is dropped.
QString cmdArguments(const QString& batchFile, const QStringList& arguments);
