#include "ExistenceTests.h"

#include "ProgramEnd.h"
#include "core/Failure.h"
#include "platform/MessageBoxes.h"

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

// Every retry is offered with a Cancel, so a drive that stays unavailable cannot hold the user.
ExistenceTests::AfterFailure ExistenceTests::handle(const QString& title, const QString& path,
                                                    const Failure& failure,
                                                    const std::function<void()>& onUnexpected) {
    using Box = MessageBoxes;
    switch (failure.number) {
    case FailureNumber::DiskNotReady:
        return messages_.show(title,
                              QStringLiteral("Put a floppy disk in the drive and cloce the drive door."),
                              Box::Icon::Exclamation, Box::Buttons::OkCancel) == Box::Answer::Ok
                   ? AfterFailure::Retry
                   : AfterFailure::AnswerFalse;
    case FailureNumber::DeviceUnavailable:
        return messages_.show(title, QStringLiteral("This drive or path does not exist: ") + path,
                              Box::Icon::Exclamation, Box::Buttons::OkCancel) == Box::Answer::Ok
                   ? AfterFailure::Retry
                   : AfterFailure::AnswerFalse;
    case FailureNumber::DialogCancelled:
        return AfterFailure::AnswerFalse;
    default:
        messages_.show(title, unexpectedErrorText(failure), Box::Icon::Critical, Box::Buttons::Ok);
        onUnexpected();
        return AfterFailure::AnswerFalse;
    }
}
