#pragma once

#include "core/services/Shell.h"

#include <functional>

class QWidget;
class RunWindow;

class QtShell : public Shell {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    bool openDocument(const QString& target) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override;
    RunEnd runAndWait(const QString& program, const QStringList& arguments, const QString& workingDirectory,
                      const QString& outputFile = QString()) override;

    // Stops a run that is going, then calls then once it has ended; calls it at once when none is.
    void endRunThen(std::function<void()> then);
    // Collects ended processes that came back to the program, leaving a run's own to its window.
    void reapOrphans();

private:
    QWidget* parent_ = nullptr;
    RunWindow* running_ = nullptr;
    std::function<void()> afterRun_;
};
