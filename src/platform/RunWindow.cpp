#include "RunWindow.h"

#include "CommandLine.h"

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
                     QWidget* parent)
    : QDialog(parent), elapsed_(new QLabel(this)), output_(new QPlainTextEdit(this)),
      stop_(new QPushButton(tr("Stop"), this)) {
    setWindowTitle(tr("Running %1").arg(commandLineText(program, arguments)));
    setModal(true);
    output_->setObjectName(QStringLiteral("output"));
    stop_->setObjectName(QStringLiteral("stop"));
    output_->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(elapsed_);
    layout->addWidget(output_);
    layout->addWidget(stop_);
    resize(640, 360);

    process_.setProgram(program);
    process_.setArguments(arguments);
    process_.setWorkingDirectory(workingDirectory);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    // Its own process group, so that Stop reaches whatever it starts.
    process_.setChildProcessModifier([] { ::setpgid(0, 0); });

    connect(&process_, &QProcess::readyRead, this, &RunWindow::appendOutput);
    connect(&process_, &QProcess::finished, this, &RunWindow::programFinished);
    connect(stop_, &QPushButton::clicked, this, &RunWindow::stopProgram);
    connect(&ticker_, &QTimer::timeout, this, &RunWindow::showElapsed);
}

RunEnd RunWindow::runToEnd() {
    process_.start();
    if (!process_.waitForStarted())
        return RunEnd{RunEnd::State::FailedToStart, -1};
    clock_.start();
    showElapsed();
    ticker_.start(500);
    exec();
    return end_;
}

void RunWindow::appendOutput() {
    const QString text = QString::fromLocal8Bit(process_.readAll());
    output_->moveCursor(QTextCursor::End);
    output_->insertPlainText(text);
}

void RunWindow::showElapsed() {
    elapsed_->setText(tr("Elapsed: %1 s").arg(clock_.elapsed() / 1000));
}

void RunWindow::signalGroup(int signal) const {
    const qint64 pid = process_.processId();
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), signal);
}

void RunWindow::stopProgram() {
    stopRequested_ = true;
    stop_->setEnabled(false);
    signalGroup(SIGTERM);
    QTimer::singleShot(graceMilliseconds, this, [this] {
        if (process_.state() != QProcess::NotRunning)
            signalGroup(SIGKILL);
    });
}

void RunWindow::programFinished(int exitCode, QProcess::ExitStatus status) {
    ticker_.stop();
    appendOutput();
    if (stopRequested_)
        end_ = RunEnd{RunEnd::State::Stopped, exitCode};
    else if (status == QProcess::CrashExit)
        end_ = RunEnd{RunEnd::State::Crashed, exitCode};
    else
        end_ = RunEnd{RunEnd::State::Finished, exitCode};
    accept();
}
