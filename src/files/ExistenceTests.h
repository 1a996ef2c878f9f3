#pragma once

#include "core/services/FileSystemLookups.h"

#include <functional>

class MessageBoxes;
class ProgramEnd;
struct Failure;

// dirExists and FileExists with their disk-error dialogs. An unexpected failure of a look-up ends the
// program only while it starts; inside a command it is reported and ends the command (CommandAbandoned),
// so that answers not yet saved are not lost with the program.
class ExistenceTests {
public:
    // While it lives, the program is starting.
    class DuringStartUp {
    public:
        explicit DuringStartUp(ExistenceTests& tests) : tests_(tests) { tests_.startingUp_ = true; }
        ~DuringStartUp() { tests_.startingUp_ = false; }
        DuringStartUp(const DuringStartUp&) = delete;
        DuringStartUp& operator=(const DuringStartUp&) = delete;

    private:
        ExistenceTests& tests_;
    };

    ExistenceTests(FileSystemLookups& lookups, MessageBoxes& messages, ProgramEnd& end,
                   std::function<void()> unloadMainWindow);

    // True for an existing directory.
    bool dirExists(const QString& path);
    // True for an existing file that is neither hidden nor a directory.
    bool FileExists(const QString& path);

private:
    enum class AfterFailure { Retry, AnswerFalse };
    bool test(const QString& routine, const QString& path, FileSystemLookups::Entry wanted,
              const std::function<void()>& onUnexpected);
    AfterFailure handle(const QString& title, const QString& path, const Failure& failure,
                        const std::function<void()>& onUnexpected);

    FileSystemLookups& lookups_;
    MessageBoxes& messages_;
    ProgramEnd& end_;
    std::function<void()> unloadMainWindow_;
    bool startingUp_ = false;
};
