#pragma once

#include <QString>
#include <QStringList>

// How a program that the shell ran and waited for came to its end.
struct RunEnd {
    enum class State { Finished, Crashed, FailedToStart, Stopped };
    State state = State::Finished;
};

// Opening documents and starting programs. Programs always get argument lists, never a shell line.
class Shell {
public:
    virtual ~Shell() = default;
    // A document path, web address or mail link, in the user's default program for it.
    virtual bool openDocument(const QString& target) = 0;
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDirectory) = 0;
    // Runs the program and waits for its end; the window stays painted but takes no input meanwhile.
    // outputFile, when given, names the file (relative to the working directory) that a good run
    // writes, so that a run which wrote none is not shown as a clean finish.
    virtual RunEnd runAndWait(const QString& program, const QStringList& arguments,
                              const QString& workingDirectory, const QString& outputFile = QString()) = 0;
};
