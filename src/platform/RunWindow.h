#pragma once

#include "Shell.h"

#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringDecoder>
#include <QTimer>

#include <sys/types.h>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// Modal window shown while a program runs: its command line, the elapsed time, its output lines as
// they come (error output marked) and a Stop button that ends the program and everything it started.
// At the end it says how the run ended; it closes by itself only after a clean finish.
class RunWindow : public QDialog {
    Q_OBJECT
public:
    // outputFile, when given, is the file a good run writes: a run that leaves none newer than its
    // start has not finished cleanly.
    RunWindow(const QString& program, const QStringList& arguments, const QString& workingDirectory,
              const QString& outputFile = QString(), QWidget* parent = nullptr);

    RunEnd runToEnd();

    // What the window says of the run's end, empty while it runs.
    QString endText() const;

protected:
    void reject() override;

private:
    void appendOutput(QProcess::ProcessChannel channel);
    // "! " before every line of error output, also when a line comes in several reads.
    QString markedErrorLines(const QString& text);
    void stopProgram();
    void programFinished(int exitCode, QProcess::ExitStatus status);
    void programFailedToStart();
    void showEnd(const QString& text, bool clean);
    void showElapsed();
    bool wroteOutput() const;

    QProcess process_;
    QString outputFile_;
    QDateTime started_;
    QElapsedTimer clock_;
    QTimer ticker_;
    QStringDecoder outDecoder_;
    QStringDecoder errDecoder_;
    QLabel* elapsed_;
    QLabel* end_;
    QPlainTextEdit* output_;
    QPushButton* stop_;
    RunEnd result_;
    bool stopRequested_ = false;
    bool closeWhenEnded_ = false;
    bool ended_ = false;
    bool errorLineStarts_ = true;
    pid_t group_ = 0; // the process group of the program and everything it starts
};
