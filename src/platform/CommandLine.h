#pragma once

#include <QString>
#include <QStringList>

// The command line a program and its arguments stand for, for display only: an argument holding
// blanks, quotes or nothing is quoted so that each argument stays recognisable as one.
QString commandLineText(const QString& program, const QStringList& arguments);
