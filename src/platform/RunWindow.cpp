#include "RunWindow.h"

#include "CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <csignal>
#include <unistd.h>

namespace {
constexpr int graceMilliseconds = 2000;
}

RunWindow::RunWindow(const QString& program, const QStringList& arguments, const QString& workingDirectory,
                     const QString& outputFile, QWidget* parent)
    : QDialog(parent), outputFile_(outputFile), outDecoder_(QStringDecoder::System),
      errDecoder_(QStringDecoder::System), elapsed_(new QLabel(this)), end_(new QLabel(this)),
      output_(new QPlainTextEdit(this)), stop_(new QPushButton(tr("Stop"), this)) {
    const QString commandLine = commandLineText(program, arguments);
    setWindowTitle(tr("Running %1").arg(commandLine));
    setModal(true);
    output_->setObjectName(QStringLiteral("output"));
    stop_->setObjectName(QStringLiteral("stop"));
    end_->setObjectName(QStringLiteral("end"));
    output_->setReadOnly(true);
    auto* command = new QLabel(commandLine, this);
    command->setTextInteractionFlags(Qt::TextSelectableByMouse);
    command->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(command);
    layout->addWidget(elapsed_);
    layout->addWidget(output_);
    layout->addWidget(end_);
    layout->addWidget(stop_);
    resize(640, 360);

    process_.setProgram(program);
    process_.setArguments(arguments);
    process_.setWorkingDirectory(workingDirectory);
    // Its own process group, so that Stop reaches whatever it starts.
    process_.setChildProcessModifier([] { ::setpgid(0, 0); });

    connect(&process_, &QProcess::readyReadStandardOutput, this,
            [this] { appendOutput(QProcess::StandardOutput); });
    connect(&process_, &QProcess::readyReadStandardError, this,
            [this] { appendOutput(QProcess::StandardError); });
    connect(&process_, &QProcess::finished, this, &RunWindow::programFinished);
    connect(stop_, &QPushButton::clicked, this, [this] { ended_ ? accept() : stopProgram(); });
    connect(&ticker_, &QTimer::timeout, this, &RunWindow::showElapsed);
}

RunEnd RunWindow::runToEnd() {
    started_ = QDateTime::currentDateTime();
    process_.start();
    if (process_.waitForStarted()) {
        group_ = static_cast<pid_t>(process_.processId());
        clock_.start();
        showElapsed();
        ticker_.start(500);
    } else {
        programFailedToStart();
    }
    exec();
    return result_;
}

QString RunWindow::endText() const {
    return end_->text();
}

// Error output is marked line by line; a character split across two reads is decoded whole.
void RunWindow::appendOutput(QProcess::ProcessChannel channel) {
    process_.setReadChannel(channel);
    const QByteArray bytes = process_.readAll();
    QString text = channel == QProcess::StandardError ? errDecoder_.decode(bytes) : outDecoder_.decode(bytes);
    if (text.isEmpty())
        return;
    if (channel == QProcess::StandardError)
        text = markedErrorLines(text);
    output_->moveCursor(QTextCursor::End);
    output_->insertPlainText(text);
}

QString RunWindow::markedErrorLines(const QString& text) {
    QString marked;
    for (const QChar c : text) {
        if (errorLineStarts_)
            marked += QStringLiteral("! ");
        marked += c;
        errorLineStarts_ = c == QLatin1Char('\n');
    }
    return marked;
}

void RunWindow::showElapsed() {
    elapsed_->setText(tr("Elapsed: %1 s").arg(clock_.elapsed() / 1000));
}

void RunWindow::stopProgram() {
    if (stopRequested_ || group_ <= 0)
        return;
    stopRequested_ = true;
    stop_->setEnabled(false);
    ::kill(-group_, SIGTERM);
    // What ignores the request is killed after the grace, also when the program itself has ended
    // and the window has closed meanwhile.
    QTimer::singleShot(graceMilliseconds, qApp, [group = group_] { ::kill(-group, SIGKILL); });
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

bool RunWindow::wroteOutput() const {
    const QString directory =
        process_.workingDirectory().isEmpty() ? QDir::currentPath() : process_.workingDirectory();
    const QFileInfo output(QDir(directory), outputFile_);
    return output.exists() && output.lastModified() >= started_.addMSecs(-started_.time().msec());
}

void RunWindow::programFinished(int exitCode, QProcess::ExitStatus status) {
    ticker_.stop();
    appendOutput(QProcess::StandardOutput);
    appendOutput(QProcess::StandardError);
    if (stopRequested_) {
        result_ = RunEnd{RunEnd::State::Stopped, exitCode};
        showEnd(tr("Stopped."), false);
    } else if (status == QProcess::CrashExit) {
        result_ = RunEnd{RunEnd::State::Crashed, exitCode};
        showEnd(tr("The program ended abnormally."), false);
    } else {
        result_ = RunEnd{RunEnd::State::Finished, exitCode};
        if (exitCode != 0)
            showEnd(tr("Finished with exit code %1.").arg(exitCode), false);
        else if (!outputFile_.isEmpty() && !wroteOutput())
            showEnd(tr("Finished, but wrote no output (%1).").arg(outputFile_), false);
        else
            showEnd(tr("Finished."), true);
    }
}

void RunWindow::programFailedToStart() {
    result_ = RunEnd{RunEnd::State::FailedToStart, -1};
    showEnd(tr("Failed to start: %1").arg(process_.errorString()), false);
}

void RunWindow::showEnd(const QString& text, bool clean) {
    ended_ = true;
    end_->setText(text);
    stop_->setText(tr("Close"));
    stop_->setEnabled(true);
    if (clean || closeWhenEnded_)
        QTimer::singleShot(0, this, &QDialog::accept);
}
