#include "RunWindow.h"

#include "core/CommandLine.h"
#include "os/ProcessCommand.h"

#include <QAccessible>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QThread>
#include <QVBoxLayout>

RunWindow::RunWindow(const QString& program, const QStringList& arguments, const QString& workingDirectory,
                     const QString& outputFile, QWidget* parent)
    : QDialog(parent), outputFile_(outputFile), refresh_([this] { refreshOutput(); }),
      elapsed_(new QLabel(this)), dropped_(new QLabel(this)), end_(new QLabel(this)),
      output_(new QPlainTextEdit(this)), stop_(new QPushButton(tr("Stop"), this)) {
    const QString commandLine = commandLineText(program, arguments);
    setWindowTitle(tr("Running %1").arg(commandLine));
    setModal(true);
    output_->setObjectName(QStringLiteral("output"));
    stop_->setObjectName(QStringLiteral("stop"));
    end_->setObjectName(QStringLiteral("end"));
    dropped_->setObjectName(QStringLiteral("dropped"));
    elapsed_->setObjectName(QStringLiteral("elapsed"));
    end_->setAccessibleName(tr("Run state"));
    output_->setAccessibleName(tr("Output"));
    output_->setReadOnly(true);
    output_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // No block limit of its own: the view drops lines in step with the kept ones, and shows the
    // unfinished lines besides, which a limit of keptLines would trim from its top unasked.
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    dropped_->setWordWrap(true);
    dropped_->hide();
    auto* command = new QLabel(commandLine, this);
    command->setTextInteractionFlags(Qt::TextSelectableByMouse);
    command->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(command);
    layout->addWidget(elapsed_);
    layout->addWidget(dropped_);
    layout->addWidget(output_);
    layout->addWidget(end_);
    layout->addWidget(stop_);
    resize(640, 360);

    setProcessCommand(process_, program, arguments);
    process_.setWorkingDirectory(workingDirectory);

    connect(&process_, &QProcess::readyReadStandardOutput, this,
            [this] { readOutput(QProcess::StandardOutput); });
    connect(&process_, &QProcess::readyReadStandardError, this,
            [this] { readOutput(QProcess::StandardError); });
    connect(&process_, &QProcess::finished, this, &RunWindow::programFinished);
    connect(stop_, &QPushButton::clicked, this, [this] { ended_ ? accept() : stopProgram(); });
    connect(&ticker_, &QTimer::timeout, this, &RunWindow::showElapsed);
    QScrollBar* scroll = output_->verticalScrollBar();
    // Only the user's own scrolling decides whether the view follows the newest lines; the view's
    // changes (lines dropped at its top, a late layout) do not.
    connect(scroll, &QScrollBar::valueChanged, this, [this, scroll] {
        if (!refreshing_)
            followEnd_ = scroll->value() == scroll->maximum();
    });
    connect(scroll, &QScrollBar::rangeChanged, this, [this] {
        const bool was = refreshing_;
        refreshing_ = true;
        followEnd();
        refreshing_ = was;
    });
    grace_.setSingleShot(true);
    connect(&grace_, &QTimer::timeout, this, &RunWindow::killWhatIsLeft);
}

RunWindow::~RunWindow() {
    if (!ended_)
        processes_.end();
}

RunEnd RunWindow::runToEnd() {
    if (!outputFile_.isEmpty())
        outputFound_ = FileStamp::of(outputPath());
    processes_.prepare(process_);
    process_.start();
    if (process_.waitForStarted()) {
        program_ = static_cast<pid_t>(process_.processId());
        processes_.setProgram(program_);
        clock_.start();
        showElapsed();
        ticker_.start(500);
    } else {
        programFailedToStart();
    }
    exec();
    return result_;
}

void RunWindow::stopAndClose() {
    closeWhenEnded_ = true;
    if (ended_)
        QDialog::reject();
    else
        stopProgram();
}

QString RunWindow::endText() const {
    return end_->text();
}

QString RunWindow::directory() const {
    return process_.workingDirectory().isEmpty() ? QDir::currentPath() : process_.workingDirectory();
}

QString RunWindow::outputPath() const {
    return QDir(directory()).filePath(outputFile_);
}

void RunWindow::readOutput(QProcess::ProcessChannel channel) {
    process_.setReadChannel(channel);
    lines_.add(channel == QProcess::StandardError ? OutputLines::Channel::Error
                                                  : OutputLines::Channel::Output,
               process_.readAll());
    refresh_.schedule();
}

void RunWindow::refreshOutput() {
    QElapsedTimer spent;
    spent.start();
    const OutputLines::Update update = lines_.take();
    refreshing_ = true;
    QTextCursor cursor(output_->document());
    if (update.restart || update.dropFirst >= output_->blockCount()) {
        clearView();
    } else {
        if (update.dropFirst > 0) {
            // What the kept lines no longer hold goes from the view too.
            cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, int(update.dropFirst));
            cursor.removeSelectedText();
        }
        // The unfinished lines shown last time are shown again, finished or not.
        if (output_->blockCount() <= unfinishedShown_) {
            clearView();
        } else if (unfinishedShown_ > 0) {
            cursor.movePosition(QTextCursor::End);
            cursor.movePosition(QTextCursor::PreviousBlock, QTextCursor::KeepAnchor, unfinishedShown_);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
    }
    const QStringList shown = update.lines + update.unfinished;
    if (!shown.isEmpty()) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText((viewEmpty_ ? QString() : QStringLiteral("\n")) + shown.join(QLatin1Char('\n')));
        viewEmpty_ = false;
    }
    unfinishedShown_ = static_cast<int>(update.unfinished.size());
    followEnd();
    refreshing_ = false;
    if (lines_.droppedLines() > 0 && dropped_->isHidden()) {
        const QString where = outputFile_.isEmpty()
                                  ? QString()
                                  : tr(" The whole report is in %1 in %2.")
                                        .arg(outputFile_, QDir::toNativeSeparators(directory()));
        dropped_->setText(tr("Earlier lines are not shown here.") + where);
        dropped_->show();
    }
    refresh_.refreshed(spent.elapsed());
}

void RunWindow::clearView() {
    output_->clear();
    viewEmpty_ = true;
}

// Whoever scrolled up to read is left there; otherwise the view shows the newest lines.
void RunWindow::followEnd() {
    QScrollBar* scroll = output_->verticalScrollBar();
    if (followEnd_)
        scroll->setValue(scroll->maximum());
}

void RunWindow::showElapsed() {
    elapsed_->setText(tr("Elapsed: %1 s").arg(clock_.elapsed() / 1000));
}

void RunWindow::stopProgram() {
    if (stopRequested_ || ended_ || program_ <= 0)
        return;
    stopRequested_ = true;
    stop_->setEnabled(false);
    end_->setText(tr("Stopping ..."));
    processes_.askToEnd();
    grace_.start(graceMilliseconds);
}

// The grace is over: what did not end on TERM is killed. The window says "Stopped." only when nothing
// of the run is left.
void RunWindow::killWhatIsLeft() {
    processes_.end();
    // A KILL takes effect a moment after it is sent: "Stopped." waits for that, a second at most.
    const QDeadlineTimer deadline(1000);
    while (!processes_.living().isEmpty() && !deadline.hasExpired())
        QThread::msleep(10);
    RunProcesses::reapOrphans(program_);
    if (process_.state() == QProcess::NotRunning)
        programFinished(process_.exitCode(), process_.exitStatus());
}

// Esc and the close box (through QDialog, which keeps a window that reject() leaves shown) act as
// Stop while the program runs; the window closes once it has ended.
void RunWindow::reject() {
    if (ended_) {
        QDialog::reject();
        return;
    }
    closeWhenEnded_ = true;
    stopProgram();
}

// Judged by the file alone: the run script puts a new one in place, a program may write it over.
bool RunWindow::wroteOutput() const {
    const FileStamp now = FileStamp::of(outputPath());
    return now.exists && now != outputFound_;
}

void RunWindow::programFinished(int exitCode, QProcess::ExitStatus status) {
    if (ended_)
        return;
    readOutput(QProcess::StandardOutput);
    readOutput(QProcess::StandardError);
    lines_.finish();
    refresh_.cancel();
    refreshOutput();
    if (stopRequested_) {
        // Until the grace is over, something of the run that ignored TERM may still be going.
        if (grace_.isActive() && !processes_.living().isEmpty())
            return;
        grace_.stop();
        RunProcesses::reapOrphans(program_);
        result_ = RunEnd{RunEnd::State::Stopped};
        showEnd(tr("Stopped."), false);
    } else if (status == QProcess::CrashExit) {
        result_ = RunEnd{RunEnd::State::Crashed};
        showEnd(tr("The program ended abnormally."), false);
    } else {
        result_ = RunEnd{RunEnd::State::Finished};
        if (exitCode != 0)
            showEnd(tr("Finished with exit code %1.").arg(exitCode), false);
        else if (!outputFile_.isEmpty() && !wroteOutput())
            showEnd(tr("Finished, but wrote no output (%1).").arg(outputFile_), false);
        else
            showEnd(tr("Finished."), true);
    }
}

void RunWindow::programFailedToStart() {
    result_ = RunEnd{RunEnd::State::FailedToStart};
    showEnd(tr("Failed to start: %1").arg(process_.errorString()), false);
}

void RunWindow::showEnd(const QString& text, bool clean) {
    ended_ = true;
    // The time runs on while a stopped run's helpers are still ending.
    ticker_.stop();
    if (clock_.isValid())
        showElapsed();
    end_->setText(text);
    end_->setAccessibleDescription(text);
    stop_->setText(tr("Close"));
    stop_->setAccessibleDescription(text);
    stop_->setEnabled(true);
    stop_->setFocus();
    // Told before anything else, as a screen reader tells an alert.
    QAccessibleEvent alert(end_, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    emit ended(text);
    if (clean || closeWhenEnded_)
        QTimer::singleShot(0, this, &QDialog::accept);
}
