#include "core/CommandLine.h"
#include "os/ProcessCommand.h"

#include <QDir>
#include <QProcess>

void setProcessCommand(QProcess& process, const QString& program, const QStringList& arguments) {
    if (program.endsWith(QLatin1String(".bat"), Qt::CaseInsensitive)) {
        process.setProgram(QStringLiteral("cmd"));
        process.setNativeArguments(cmdArguments(QDir::toNativeSeparators(program), arguments));
    } else if (program == QLatin1String("cmd") && arguments.value(0) == QLatin1String("/C")) {
        process.setProgram(program);
        process.setNativeArguments(cmdArguments(arguments.value(1), arguments.mid(2)));
    } else {
        process.setProgram(program);
        process.setArguments(arguments);
    }
}
