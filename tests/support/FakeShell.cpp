#include "FakeShell.h"

bool FakeShell::openDocument(const QString& target) {
    opened << target;
    return openSucceeds;
}

bool FakeShell::startDetached(const QString& program, const QStringList& arguments,
                              const QString& workingDirectory) {
    started.append({program, arguments, workingDirectory, false});
    return startSucceeds;
}

RunEnd FakeShell::runAndWait(const QString& program, const QStringList& arguments,
                             const QString& workingDirectory, const QString&) {
    started.append({program, arguments, workingDirectory, true});
    return {};
}
