#include "RunCommandLine.h"

RunCommand runCommandLine(const QString& programDirectory, const QString& fileName, const QString& userPath,
                          bool autoExit) {
    return {QStringLiteral("/bin/sh"),
            {programDirectory + QStringLiteral("/run-TolW.sh"), fileName, userPath,
             autoExit ? QStringLiteral("exit") : QStringLiteral("wait")}};
}
