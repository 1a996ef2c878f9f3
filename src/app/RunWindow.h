#pragma once

#include "core/RefreshPacer.h"
#include "core/services/FileStamp.h"
#include "core/services/Shell.h"
#include "os/RunProcesses.h"
#include "run/OutputLines.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// Modal window shown while a program runs: its command line, the elapsed time, the last lines of its
// output as they come (error output marked) and a Stop button that ends the program and everything it
// started: TERM to all of it first, KILL to what is left after a grace. At the end it says how the run
// ended; it closes by itself only after a clean finish.
class RunWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int graceMilliseconds = 2000;

    // outputFile, when given, is the file a good run writes: a run that leaves it as it found it (or
    // leaves none) has not finished cleanly.
    RunWindow(const QString& program, const QStringList& arguments, const QString& workingDirectory,
              const QString& outputFile = QString(), QWidget* parent = nullptr);
    // Whatever of a stopped run is still there is killed before the window goes.
    ~RunWindow() override;

    RunEnd runToEnd();
    // Stops the run, as when the program itself must end; the window closes once the run has ended.
    void stopAndClose();
    // The run's own program, which its QProcess collects at its end.
    pid_t programId() const { return program_; }

    // What the window says of the run's end, empty while it runs.
    QString endText() const;

signals:
    // The run has ended and the window says how, before it closes by itself after a clean finish.
    void ended(const QString& text);

protected:
    void reject() override;

private:
    QString directory() const;
    QString outputPath() const;
    void readOutput(QProcess::ProcessChannel channel);
    void refreshOutput();
    void followEnd();
    void clearView();
    void stopProgram();
    void killWhatIsLeft();
    void programFinished(int exitCode, QProcess::ExitStatus status);
    void programFailedToStart();
    void showEnd(const QString& text, bool clean);
    void showElapsed();
    bool wroteOutput() const;

    QProcess process_;
    RunProcesses processes_;
    pid_t program_ = 0;
    OutputLines lines_;
    QString outputFile_;
    FileStamp outputFound_; // the output file as it was before the run
    QElapsedTimer clock_;
    QTimer ticker_;
    RefreshPacer refresh_;
    QTimer grace_;
    QLabel* elapsed_;
    QLabel* dropped_;
    QLabel* end_;
    QPlainTextEdit* output_;
    QPushButton* stop_;
    RunEnd result_;
    int unfinishedShown_ = 0; // lines at the view's end that are not complete yet
    bool viewEmpty_ = true;
    bool followEnd_ = true; // until the user scrolls away from the end
    bool refreshing_ = false;
    bool stopRequested_ = false;
    bool closeWhenEnded_ = false;
    bool ended_ = false;
};
