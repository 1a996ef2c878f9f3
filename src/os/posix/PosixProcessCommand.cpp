#include "os/ProcessCommand.h"

#include <QProcess>

void setProcessCommand(QProcess& process, const QString& program, const QStringList& arguments) {
    process.setProgram(program);
    process.setArguments(arguments);
}
