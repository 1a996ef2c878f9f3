#pragma once

#include "Shell.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// Modal window shown while a program runs: elapsed time, the program's output lines as they come,
// and a Stop button that ends the program and everything it started.
class RunWindow : public QDialog {
    Q_OBJECT
public:
    RunWindow(const QString& program, const QStringList& arguments, const QString& workingDirectory,
              QWidget* parent = nullptr);

    RunEnd runToEnd();

private:
    void appendOutput();
    void stopProgram();
    void programFinished(int exitCode, QProcess::ExitStatus status);
    void showElapsed();
    void signalGroup(int signal) const;

    QProcess process_;
    QElapsedTimer clock_;
    QTimer ticker_;
    QLabel* elapsed_;
    QPlainTextEdit* output_;
    QPushButton* stop_;
    RunEnd end_;
    bool stopRequested_ = false;
};
