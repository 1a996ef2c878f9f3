#include "QtShell.h"

#include "RunWindow.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool QtShell::openDocument(const QString& target) {
    const QUrl url = QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtShell::startDetached(const QString& program, const QStringList& arguments,
                            const QString& workingDirectory) {
    return QProcess::startDetached(program, arguments, workingDirectory);
}

RunEnd QtShell::runAndWait(const QString& program, const QStringList& arguments,
                           const QString& workingDirectory, const QString& outputFile) {
    RunWindow window(program, arguments, workingDirectory, outputFile, parent_);
    return window.runToEnd();
}
