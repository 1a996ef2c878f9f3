#pragma once

#include "platform/FileSystemLookups.h"

#include <functional>

class MessageBoxes;
class ProgramEnd;
struct Failure;

// dirExists and FileExists with their disk-error dialogs.
class ExistenceTests {
public:
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
};
