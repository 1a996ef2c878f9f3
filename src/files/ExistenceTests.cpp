#include "ExistenceTests.h"

#include "core/CommandAbandoned.h"
#include "core/DiskErrorPrompt.h"
#include "core/Failure.h"
#include "core/services/MessageBoxes.h"
#include "settings/ProgramEnd.h"

ExistenceTests::ExistenceTests(FileSystemLookups& lookups, MessageBoxes& messages, ProgramEnd& end,
                               std::function<void()> unloadMainWindow)
    : lookups_(lookups), messages_(messages), end_(end), unloadMainWindow_(std::move(unloadMainWindow)) {}

bool ExistenceTests::dirExists(const QString& path) {
    return test(QStringLiteral("dirExists"), path, FileSystemLookups::Entry::Directory, unloadMainWindow_);
}

bool ExistenceTests::FileExists(const QString& path) {
    return test(QStringLiteral("FileExists"), path, FileSystemLookups::Entry::File,
                [this] { end_.EndProgram(); });
}

bool ExistenceTests::test(const QString& routine, const QString& path, FileSystemLookups::Entry wanted,
                          const std::function<void()>& onUnexpected) {
    const QString title = QStringLiteral("In '") + routine + QStringLiteral("' routine ...");
    for (;;) {
        try {
            return lookups_.lookUp(path) == wanted;
        } catch (const Failure& failure) {
            if (handle(title, path, failure, onUnexpected) == AfterFailure::AnswerFalse)
                return false;
        }
    }
}

ExistenceTests::AfterFailure ExistenceTests::handle(const QString& title, const QString& path,
                                                    const Failure& failure,
                                                    const std::function<void()>& onUnexpected) {
    if (const std::optional<bool> retry = askRetryAfterDiskError(messages_, title, failure, path))
        return *retry ? AfterFailure::Retry : AfterFailure::AnswerFalse;
    if (failure.number == FailureNumber::DialogCancelled)
        return AfterFailure::AnswerFalse;
    messages_.show(title, unexpectedErrorText(failure), MessageBoxes::Icon::Critical,
                   MessageBoxes::Buttons::Ok);
    if (!startingUp_)
        throw CommandAbandoned{};
    onUnexpected();
    return AfterFailure::AnswerFalse;
}
