#include "QtShell.h"

#include "app/RunWindow.h"
#include "os/ProcessCommand.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <utility>

bool QtShell::openDocument(const QString& target) {
    const QUrl url = QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtShell::startDetached(const QString& program, const QStringList& arguments,
                            const QString& workingDirectory) {
    QProcess process;
    setProcessCommand(process, program, arguments);
    process.setWorkingDirectory(workingDirectory);
    return process.startDetached();
}

RunEnd QtShell::runAndWait(const QString& program, const QStringList& arguments,
                           const QString& workingDirectory, const QString& outputFile) {
    RunEnd end;
    {
        RunWindow window(program, arguments, workingDirectory, outputFile, parent_);
        running_ = &window;
        end = window.runToEnd();
        running_ = nullptr;
    }
    if (afterRun_)
        std::exchange(afterRun_, nullptr)();
    return end;
}

void QtShell::endRunThen(std::function<void()> then) {
    if (!running_) {
        then();
        return;
    }
    afterRun_ = std::move(then);
    running_->stopAndClose();
}

void QtShell::reapOrphans() {
    RunProcesses::reapOrphans(running_ ? running_->programId() : 0);
}
