#pragma once

#include <QStringList>

class QProcess;

// Gives a process its program and arguments as this system passes them on. On Windows the command
// interpreter reads its line by rules of its own, not those QProcess quotes for: a batch file, or
// "cmd /C" with a batch file, gets a line quoted for it.
void setProcessCommand(QProcess& process, const QString& program, const QStringList& arguments);
